#pragma once
// Runs the real solver program the way the page does: a temporary folder holds
// <NAME>.EXE (a link to the built program, or a copy), <NAME>.EQN and the solver input
// file <NAME>@8001_<n>.TXT; the program is started through the platform's process
// runner with the folder as working directory and the command line
// "<NAME>.EXE /DIAGRAMINPUT=<input file>". Afterwards the result and error files are
// read back. The folder and everything in it is removed when the harness goes.
#include <optional>
#include <string>
#include <vector>

namespace orv::solver::test {

// Writes bytes to a file (creating it), failing the test on error.
void writeFile(const std::string& path, const std::string& bytes);
// The whole file, or nullopt when it does not exist.
std::optional<std::string> readFile(const std::string& path);

class SolverHarness {
 public:
  explicit SolverHarness(std::string name = "CALC");
  ~SolverHarness();
  SolverHarness(const SolverHarness&) = delete;
  SolverHarness& operator=(const SolverHarness&) = delete;

  const std::string& dir() const { return dir_; }
  const std::string& name() const { return name_; }

  // <dir>/<NAME>.EQN with the lines (joined with LF; UTF-8).
  void writeEquations(const std::vector<std::string>& lines);
  // The full path of a file in the folder.
  std::string path(const std::string& file) const { return dir_ + "/" + file; }

  // The input file for the next run, with its statements (UTF-8, written in
  // Windows-1252 with CR LF) and an export line for the names.
  std::string inputFile() const;
  std::string resultFile() const;
  std::string errorFile() const;
  std::string exportLine(const std::vector<std::string>& names, bool units = true,
                         bool formats = true) const;

  struct Outcome {
    int exitCode = -1;
    std::optional<std::string> result;       // first line of the result file (UTF-8)
    std::optional<std::string> error;        // first line of the error file (UTF-8)
    std::optional<std::string> resultBytes;  // whole result file as written
    std::optional<std::string> errorBytes;   // whole error file as written
  };

  // Writes the input file (statement lines as given, CR LF) and runs the program.
  Outcome run(const std::vector<std::string>& inputLines);
  // Runs a command text in the folder (for unusual command lines).
  int runCommand(const std::string& command, const std::string& workingDir);
  // Collects the outcome files of the current input file.
  Outcome collect(int exitCode) const;

  // The fields of a result line.
  static std::vector<std::string> fields(const std::string& line);

 private:
  std::string name_;
  std::string dir_;
};

// Decoded picture facts, read with the codec libraries directly.
struct DecodedPicture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // width × height × 3
};
std::optional<DecodedPicture> decodePng(const std::string& path);
std::optional<DecodedPicture> decodeGif(const std::string& path);

}  // namespace orv::solver::test
