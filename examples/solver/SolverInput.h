#pragma once
// The solver input file the page writes for one solve: one statement per line
// ("Name=value", "Name$='text'", the lines that drop-downs, check boxes and radio
// buttons add), then "$EXPORT '<result file>' /U /D <names> " and one
// "$EXPORTPLOT '<picture file>' <window> /R=1" per plot.
//
// - A line "name='...'" is a text taken literally between its first and last
//   apostrophe (visitors' texts may hold apostrophes, ";" or "#").
// - Other lines are statements of the shared language (StatementParser), values read
//   first as the page reads numbers.
// - $EXPORT: /U appends each numeric field's units in brackets, /D prints with each
//   variable's display format (otherwise the automatic format).
// - $EXPORTPLOT: /R=<n> asks for the picture to be redrawn; it always is.
//
// A value type filled by parse(); lines arrive as UTF-8 text.
#include <string>
#include <vector>

#include "examples/solver/Definition.h"

namespace orv::solver {

struct PlotRequest {
  std::string file;
  int window = 0;
  std::string where;
};

class SolverInput {
 public:
  // Throws SolverError for syntax errors and a missing or second $EXPORT line.
  static SolverInput parse(const std::vector<std::string>& lines);

  std::vector<Definition>& definitions() { return definitions_; }
  const std::string& resultFile() const { return resultFile_; }
  const std::vector<std::string>& exportNames() const { return exportNames_; }
  bool withUnits() const { return withUnits_; }
  bool withFormats() const { return withFormats_; }
  const std::vector<PlotRequest>& plots() const { return plots_; }

  // "the input file line <n>" (n from 1).
  static std::string where(std::size_t lineNumber);

 private:
  void parseLine(const std::string& line, std::size_t lineNumber);
  void parseExport(const std::string& line, std::size_t afterKeyword, const std::string& where);
  void parseExportPlot(const std::string& line, std::size_t afterKeyword, const std::string& where);

  std::vector<Definition> definitions_;
  bool hasExport_ = false;
  std::string resultFile_;
  std::vector<std::string> exportNames_;
  bool withUnits_ = false;
  bool withFormats_ = false;
  std::vector<PlotRequest> plots_;
};

}  // namespace orv::solver
