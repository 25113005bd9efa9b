#include "examples/solver/SolverInput.h"

#include <charconv>

#include "examples/solver/Messages.h"
#include "examples/solver/SolverError.h"
#include "examples/solver/StatementParser.h"

namespace orv::solver {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

std::size_t column(const std::string& line, std::size_t byte) {
  return StatementParser::characters(std::string_view(line).substr(0, byte)) + 1;
}

struct Token {
  std::string text;
  std::size_t byte;
};

std::vector<Token> words(const std::string& line, std::size_t from) {
  std::vector<Token> out;
  std::size_t i = from;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    if (i > start) out.push_back({line.substr(start, i - start), start});
  }
  return out;
}

// The file name between the first apostrophe after `from` and the last one of the line
// (paths may hold apostrophes; the words after the name hold none). Sets `after` to
// the byte after the closing apostrophe.
std::string quotedFile(const std::string& line, std::size_t from, const std::string& where,
                       std::size_t& after) {
  std::size_t open = from;
  while (open < line.size() && isBlank(line[open])) ++open;
  if (open >= line.size() || line[open] != '\'') {
    throw SolverError(
        StatementParser::syntaxError(where, column(line, open), kSyntaxQuotedFileExpected));
  }
  const std::size_t close = line.rfind('\'');
  if (close == open || close == open + 1) {
    throw SolverError(
        StatementParser::syntaxError(where, column(line, open), kSyntaxQuotedFileExpected));
  }
  after = close + 1;
  return line.substr(open + 1, close - open - 1);
}

}  // namespace

std::string SolverInput::where(std::size_t lineNumber) {
  return "the input file line " + std::to_string(lineNumber);
}

SolverInput SolverInput::parse(const std::vector<std::string>& lines) {
  SolverInput input;
  for (std::size_t i = 0; i < lines.size(); ++i) input.parseLine(lines[i], i + 1);
  if (!input.hasExport_) throw SolverError(std::string(kNoExport));
  return input;
}

void SolverInput::parseLine(const std::string& line, std::size_t lineNumber) {
  const std::string at = where(lineNumber);
  std::size_t first = 0;
  while (first < line.size() && isBlank(line[first])) ++first;
  if (first >= line.size()) return;

  if (line[first] == '$') {
    std::size_t end = first;
    while (end < line.size() && !isBlank(line[end]) && line[end] != '\'') ++end;
    const std::string keyword = upper(line.substr(first, end - first));
    if (keyword == "$EXPORT") {
      parseExport(line, end, at);
    } else if (keyword == "$EXPORTPLOT") {
      parseExportPlot(line, end, at);
    } else {
      throw SolverError(StatementParser::syntaxError(
          at, column(line, first),
          std::string(kSyntaxUnknownDirective) + line.substr(first, end - first)));
    }
    return;
  }

  // name='text': the page writes visitors' texts verbatim between apostrophes.
  const std::size_t eq = line.find('=');
  if (eq != std::string::npos) {
    std::size_t nameEnd = eq;
    while (nameEnd > first && isBlank(line[nameEnd - 1])) --nameEnd;
    std::size_t valueStart = eq + 1;
    while (valueStart < line.size() && isBlank(line[valueStart])) ++valueStart;
    std::size_t valueEnd = line.size();
    while (valueEnd > valueStart && isBlank(line[valueEnd - 1])) --valueEnd;
    const std::string name = line.substr(first, nameEnd - first);
    if (isVariableName(name) && foldName(name) != "pi" && valueEnd - valueStart >= 2 &&
        line[valueStart] == '\'' && line[valueEnd - 1] == '\'') {
      definitions_.push_back(
          {name,
           Expression::constant(Value(line.substr(valueStart + 1, valueEnd - valueStart - 2))),
           at});
      return;
    }
  }

  for (const auto& piece : StatementParser::split(line)) {
    definitions_.push_back(StatementParser::parseAssignment(piece, at, true));
  }
}

void SolverInput::parseExport(const std::string& line, std::size_t afterKeyword,
                              const std::string& where) {
  if (hasExport_) throw SolverError(std::string(kSecondExport));
  hasExport_ = true;
  std::size_t after = 0;
  resultFile_ = quotedFile(line, afterKeyword, where, after);
  for (const auto& word : words(line, after)) {
    if (word.text[0] == '/') {
      const std::string sw = upper(word.text);
      if (sw == "/U") {
        withUnits_ = true;
      } else if (sw == "/D") {
        withFormats_ = true;
      } else {
        throw SolverError(StatementParser::syntaxError(
            where, column(line, word.byte), std::string(kSyntaxUnknownSwitch) + word.text));
      }
    } else if (isVariableName(word.text)) {
      exportNames_.push_back(word.text);
    } else {
      throw SolverError(
          StatementParser::syntaxError(where, column(line, word.byte), kSyntaxBadName));
    }
  }
}

void SolverInput::parseExportPlot(const std::string& line, std::size_t afterKeyword,
                                  const std::string& where) {
  PlotRequest request;
  request.where = where;
  std::size_t after = 0;
  request.file = quotedFile(line, afterKeyword, where, after);
  bool haveWindow = false;
  for (const auto& word : words(line, after)) {
    if (word.text[0] == '/') {
      const std::string sw = upper(word.text);
      bool valid = sw.size() > 3 && sw.rfind("/R=", 0) == 0;
      if (valid) {
        int redraw = 0;
        const auto [end, ec] = std::from_chars(sw.data() + 3, sw.data() + sw.size(), redraw);
        valid = ec == std::errc() && end == sw.data() + sw.size();
      }
      if (!valid) {
        throw SolverError(StatementParser::syntaxError(
            where, column(line, word.byte), std::string(kSyntaxUnknownSwitch) + word.text));
      }
      continue;
    }
    int window = 0;
    const auto [end, ec] =
        std::from_chars(word.text.data(), word.text.data() + word.text.size(), window);
    if (haveWindow || ec != std::errc() || end != word.text.data() + word.text.size()) {
      throw SolverError(
          StatementParser::syntaxError(where, column(line, word.byte), kSyntaxPlotWindowExpected));
    }
    request.window = window;
    haveWindow = true;
  }
  if (!haveWindow) {
    throw SolverError(
        StatementParser::syntaxError(where, column(line, line.size()), kSyntaxPlotWindowExpected));
  }
  plots_.push_back(std::move(request));
}

}  // namespace orv::solver
