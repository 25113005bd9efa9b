#pragma once
// One run of the solver program, started by the page as
//
//   <NAME>.EXE /DIAGRAMINPUT=<input file>
//
// It reads the equations file <NAME>.EQN (the program's own file name with the
// extension replaced, letter case ignored, looked up beside the program and then in
// the working directory), then the input file; solves; checks declared ranges; writes
// each requested plot picture and finally the result file named by $EXPORT. On any
// failure it writes instead the error file (the input file's name with the extension
// ".err") holding one line, the message, and makes sure no result file of this run is
// left: a run leaves the result file or the error file, never both.
//
// Exit status: 0 results written, 1 error file written, 2 bad command line, 3 not even
// the error file could be written. (The page looks only at the files.)
#include <optional>
#include <string>
#include <vector>

namespace orv::solver {

class SolverRun {
 public:
  // args[0] is the program's name as started; the rest its arguments.
  static int run(const std::vector<std::string>& args);

  // The input file named by "/DIAGRAMINPUT=" (any letter case, "/" or "-"). A path
  // with blanks arrives split into several arguments (the page passes it without
  // quotes); they are joined again with single blanks.
  static std::optional<std::string> inputFileFromArguments(const std::vector<std::string>& args);
  // The path with its extension (after the last "." of the file name) replaced.
  static std::string replaceExtension(const std::string& path, const std::string& extension);
  // Where <NAME>.EQN lies, or nullopt.
  static std::optional<std::string> findEquationFile(const std::string& programName);
};

}  // namespace orv::solver
