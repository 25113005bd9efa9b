#pragma once
// The pieces of the solve cycle (TORVServerForm::SolveButtonClick, in SolveCycle.cpp)
// that do not need a page: the names of a cycle's files, the command line of the
// solver, the reading of one result field, and the printing of the time limit.
// Plain functions without state; safe from any thread.
#include <chrono>
#include <string>
#include <string_view>

namespace orv::detail {

// The part of every file name of one cycle before its extension: the layout file's
// folder, the layout file's name up to its first ".DLY" (in any letter case), "@", the
// port in decimal, "_" and the cycle's number. "/srv/calc/pump.dly", 8001 and 4711 give
// "/srv/calc/pump@8001_4711". Only the file-name part is searched, so a folder whose
// name holds ".dly" never moves the files out of the layout's folder.
std::string solveCycleBase(std::string_view dlyFile, int port, int number);

// The file a plot of one cycle is exported to: the plot's file name with "@" + port +
// "_" + number inserted before its extension (the text from the last "." of the
// file-name part), or appended when it has none. "/srv/IMGS/plot.gif" gives
// "/srv/IMGS/plot@8001_4711.gif".
std::string plotCycleFile(std::string_view plotFile, int port, int number);

// The solver's command line: program + " /DIAGRAMINPUT=" + the input file's full path.
// A part that holds a blank is put in double quotes, so that it stays one word when the
// command text is split into the program's arguments.
std::string solverCommandLine(std::string_view program, std::string_view inputFile);

// A numeric result field split into its value and its units: with a "[", the units are
// the text from the first "[" to the end and the value the text before it, each with
// blanks (and control characters) trimmed at both ends; without one the whole field is
// the value and the units are empty.
struct ResultField {
  std::string value;
  std::string units;
};
ResultField splitResultField(std::string_view field);

// Seconds for the visitor: "300" for 300 s, "0.25" for 250 ms.
std::string secondsText(std::chrono::milliseconds limit);

}  // namespace orv::detail
