#include "examples/solver/EquationFile.h"

#include <charconv>
#include <unordered_map>

#include "examples/solver/LineChart.h"
#include "examples/solver/Messages.h"
#include "examples/solver/SolverError.h"
#include "examples/solver/StatementParser.h"

namespace orv::solver {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return u;
}

// Reads one line word by word, keeping byte offsets for messages.
class LineCursor {
 public:
  LineCursor(const std::string& line, std::string where) : line_(line), where_(std::move(where)) {}

  void skipBlanks() {
    while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
  }
  bool atEnd() {
    skipBlanks();
    return pos_ >= line_.size() || line_[pos_] == '#';
  }
  std::size_t pos() const { return pos_; }
  std::size_t column(std::size_t byte) const {
    return StatementParser::characters(std::string_view(line_).substr(0, byte)) + 1;
  }
  [[noreturn]] void fail(std::size_t byte, std::string_view reason) const {
    throw SolverError(StatementParser::syntaxError(where_, column(byte), reason));
  }

  // The next run of non-blank characters (stops before "=" when asked).
  std::string word(bool stopAtEquals = false) {
    skipBlanks();
    const std::size_t start = pos_;
    while (pos_ < line_.size() && !isBlank(line_[pos_]) && !(stopAtEquals && line_[pos_] == '=')) {
      ++pos_;
    }
    return line_.substr(start, pos_ - start);
  }

  // A text in quotes, or a bare word.
  std::string value() {
    skipBlanks();
    if (pos_ < line_.size() && (line_[pos_] == '\'' || line_[pos_] == '"')) {
      const char quote = line_[pos_];
      const std::size_t close = line_.find(quote, pos_ + 1);
      if (close == std::string::npos) fail(pos_, kSyntaxClosingQuote);
      std::string text = line_.substr(pos_ + 1, close - pos_ - 1);
      pos_ = close + 1;
      return text;
    }
    return word();
  }

  // The rest of the line, blanks trimmed, a surrounding pair of quotes removed.
  std::string restAsText() {
    skipBlanks();
    std::string text = line_.substr(pos_);
    while (!text.empty() && isBlank(text.back())) text.pop_back();
    pos_ = line_.size();
    if (text.size() >= 2 && (text.front() == '\'' || text.front() == '"') &&
        text.back() == text.front()) {
      text = text.substr(1, text.size() - 2);
    }
    return text;
  }

  // The rest of the line (without a comment) as one expression.
  Expression restAsExpression() {
    skipBlanks();
    const auto pieces = StatementParser::split(std::string_view(line_).substr(pos_));
    if (pieces.empty()) fail(pos_, kSyntaxExpressionExpected);
    if (pieces.size() > 1) fail(pos_, kSyntaxUnexpected);
    const std::size_t base = column(pos_) - 1;
    try {
      Expression e = Expression::parse(pieces[0].text);
      pos_ = line_.size();
      return e;
    } catch (const Expression::SyntaxError& e) {
      throw SolverError(StatementParser::syntaxError(
          where_, base + pieces[0].column + e.position() - 1, e.what()));
    }
  }

  bool accept(char c) {
    skipBlanks();
    if (pos_ < line_.size() && line_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  int wholeNumber() {
    skipBlanks();
    const std::size_t start = pos_;
    const std::string w = word();
    int v = 0;
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
    if (w.empty() || ec != std::errc() || end != w.data() + w.size())
      fail(start, kSyntaxWholeNumber);
    return v;
  }

  void expectEnd() {
    if (!atEnd()) fail(pos_, kSyntaxUnexpected);
  }

 private:
  const std::string& line_;
  std::string where_;
  std::size_t pos_ = 0;
};

}  // namespace

const VariableDeclaration* EquationFile::declaration(const std::string& name) const {
  const std::string key = foldName(name);
  for (const auto& d : declarations_) {
    if (foldName(d.name) == key) return &d;
  }
  return nullptr;
}

EquationFile EquationFile::parse(const std::vector<std::string>& lines,
                                 const std::string& fileName) {
  EquationFile file;
  std::unordered_map<std::string, std::size_t> definedAt;   // folded name -> line
  std::unordered_map<std::string, std::size_t> declaredAt;  // folded name -> line
  PlotDeclaration* plot = nullptr;  // the open PLOT block, owned by file.plots_

  auto whereOf = [&](std::size_t n) { return fileName + " line " + std::to_string(n); };
  auto finishPlot = [&](PlotDeclaration& p) {
    if (p.xName.empty() || !p.xMin || !p.xMax || p.curves.empty()) {
      throw SolverError("PLOT " + std::to_string(p.window) + " (" + p.where +
                        ") needs its X, XMIN, XMAX and at least one Y line");
    }
  };

  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::size_t lineNo = i + 1;
    const std::string at = whereOf(lineNo);
    LineCursor cursor(line, at);
    if (cursor.atEnd()) continue;

    const std::size_t keywordPos = cursor.pos();
    const std::string keyword = upper(cursor.word(true));
    const std::size_t afterKeyword = cursor.pos();
    cursor.skipBlanks();
    const bool isAssignment = cursor.pos() < line.size() && line[cursor.pos()] == '=';

    if (plot != nullptr) {
      if (keyword == "END") {
        cursor.expectEnd();
        finishPlot(*plot);
        plot = nullptr;
      } else if (keyword == "SIZE") {
        const std::size_t pos = cursor.pos();
        plot->width = cursor.wholeNumber();
        plot->height = cursor.wholeNumber();
        cursor.expectEnd();
        if (plot->width < LineChart::kMinWidth || plot->height < LineChart::kMinHeight ||
            plot->width > 2000 || plot->height > 2000) {
          cursor.fail(pos, kSyntaxPlotSize);
        }
      } else if (keyword == "TITLE") {
        plot->title = cursor.restAsText();
      } else if (keyword == "XTITLE") {
        plot->xTitle = cursor.restAsText();
      } else if (keyword == "YTITLE") {
        plot->yTitle = cursor.restAsText();
      } else if (keyword == "X") {
        const std::size_t pos = cursor.pos();
        plot->xName = cursor.word();
        if (!isVariableName(plot->xName)) cursor.fail(pos, kSyntaxBadName);
        cursor.expectEnd();
      } else if (keyword == "XMIN") {
        plot->xMin = cursor.restAsExpression();
      } else if (keyword == "XMAX") {
        plot->xMax = cursor.restAsExpression();
      } else if (keyword == "YMIN") {
        plot->yMin = cursor.restAsExpression();
      } else if (keyword == "YMAX") {
        plot->yMax = cursor.restAsExpression();
      } else if (keyword == "Y") {
        PlotCurve curve;
        curve.where = at;
        cursor.skipBlanks();
        if (cursor.pos() < line.size() &&
            (line[cursor.pos()] == '\'' || line[cursor.pos()] == '"')) {
          curve.label = cursor.value();
        }
        curve.y = cursor.restAsExpression();
        plot->curves.push_back(std::move(curve));
      } else if (keyword == "POINTS") {
        const std::size_t pos = cursor.pos();
        plot->points = cursor.wholeNumber();
        cursor.expectEnd();
        if (plot->points < 2 || plot->points > 2000) cursor.fail(pos, kSyntaxPlotPoints);
      } else if (keyword == "PLOT") {
        cursor.fail(keywordPos, kSyntaxPlotInPlot);
      } else {
        cursor.fail(keywordPos, std::string(kSyntaxUnknownPlotSetting) +
                                    line.substr(keywordPos, afterKeyword - keywordPos));
      }
      continue;
    }

    if (keyword == "VAR" && !isAssignment) {
      VariableDeclaration decl;
      decl.where = at;
      const std::size_t namePos = cursor.pos();
      decl.name = cursor.word();
      if (!isVariableName(decl.name)) cursor.fail(namePos, kSyntaxBadName);
      while (!cursor.atEnd()) {
        const std::size_t keyPos = cursor.pos();
        const std::string key = upper(cursor.word(true));
        if (!cursor.accept('=')) cursor.fail(keyPos, std::string(kSyntaxUnknownSetting) + key);
        cursor.skipBlanks();
        const std::size_t skip = cursor.pos();
        const std::string value = cursor.value();
        if (key == "UNITS") {
          decl.units = value;
        } else if (key == "FORMAT") {
          const bool known = value.size() >= 2 &&
                             std::string_view("AEFGST").find(value[0]) != std::string_view::npos &&
                             value[1] >= '0' && value[1] <= '9';
          if (!known) cursor.fail(skip, kSyntaxUnknownFormat);
          decl.format = doFormat(value);
        } else if (key == "MIN" || key == "MAX") {
          bool ok = false;
          const long double n = Str2Num(value, ok);
          if (!ok) cursor.fail(skip, kSyntaxNotANumber);
          (key == "MIN" ? decl.min : decl.max) = n;
        } else {
          cursor.fail(keyPos, std::string(kSyntaxUnknownSetting) + key);
        }
      }
      const std::string folded = foldName(decl.name);
      if (auto it = declaredAt.find(folded); it != declaredAt.end()) {
        throw SolverError(decl.name + " is declared twice (" + fileName + " lines " +
                          std::to_string(it->second) + " and " + std::to_string(lineNo) + ")");
      }
      declaredAt.emplace(folded, lineNo);
      file.declarations_.push_back(std::move(decl));
      continue;
    }

    if (keyword == "PLOT" && !isAssignment) {
      PlotDeclaration p;
      p.where = at;
      p.window = cursor.wholeNumber();
      cursor.expectEnd();
      for (const auto& other : file.plots_) {
        if (other.window == p.window) {
          throw SolverError("PLOT " + std::to_string(p.window) + " is declared twice (" +
                            other.where + " and line " + std::to_string(lineNo) + ")");
        }
      }
      file.plots_.push_back(std::move(p));
      plot = &file.plots_.back();
      continue;
    }

    for (const auto& piece : StatementParser::split(line)) {
      Definition d = StatementParser::parseAssignment(piece, at, false);
      const std::string folded = foldName(d.name);
      if (auto it = definedAt.find(folded); it != definedAt.end()) {
        throw SolverError(d.name + " is defined twice (" + fileName + " lines " +
                          std::to_string(it->second) + " and " + std::to_string(lineNo) + ")");
      }
      definedAt.emplace(folded, lineNo);
      file.definitions_.push_back(std::move(d));
    }
  }
  if (plot != nullptr) {
    throw SolverError("PLOT " + std::to_string(plot->window) + " (" + plot->where +
                      ") has no END line");
  }
  return file;
}

}  // namespace orv::solver
