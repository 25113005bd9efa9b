#include "examples/solver/StatementParser.h"

#include "app/mylib/myLib.h"
#include "examples/solver/Messages.h"
#include "examples/solver/SolverError.h"

namespace orv::solver {

namespace {

std::size_t firstNonBlank(std::string_view s, std::size_t from = 0) {
  while (from < s.size() && (s[from] == ' ' || s[from] == '\t')) ++from;
  return from;
}

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

}  // namespace

std::size_t StatementParser::characters(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

std::vector<StatementParser::Piece> StatementParser::split(std::string_view line) {
  std::vector<Piece> pieces;
  std::size_t start = 0;
  char quote = 0;
  auto flush = [&](std::size_t end) {
    std::string_view text = line.substr(start, end - start);
    const std::size_t lead = firstNonBlank(text);
    text = trimRight(text.substr(lead));
    if (!text.empty()) {
      pieces.push_back({std::string(text), characters(line.substr(0, start + lead)) + 1});
    }
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      flush(i);
      start = i + 1;
    } else if (c == '#') {
      flush(i);
      return pieces;
    }
  }
  flush(line.size());
  return pieces;
}

std::string StatementParser::syntaxError(const std::string& where, std::size_t position,
                                         std::string_view reason) {
  return "Syntax error in " + where + " at position " + std::to_string(position) + ": " +
         std::string(reason);
}

Definition StatementParser::parseAssignment(const Piece& piece, const std::string& where,
                                            bool valuesAsTyped) {
  const std::string_view text = piece.text;
  const std::size_t eq = text.find('=');
  std::string_view name =
      trimRight(text.substr(0, eq == std::string_view::npos ? text.size() : eq));
  if (eq == std::string_view::npos || name.empty() || text.substr(eq, 2) == "==") {
    throw SolverError(syntaxError(where, piece.column, kSyntaxStatementExpected));
  }
  if (!isVariableName(name)) {
    throw SolverError(syntaxError(where, piece.column, kSyntaxBadName));
  }
  if (foldName(name) == "pi") {
    throw SolverError(syntaxError(where, piece.column, kSyntaxReservedName));
  }
  const std::size_t valueStart = firstNonBlank(text, eq + 1);
  const std::string_view value = text.substr(valueStart);
  const std::size_t valueColumn = piece.column + characters(text.substr(0, valueStart));

  Definition d;
  d.name = std::string(name);
  d.where = where;
  if (valuesAsTyped && !value.empty() && !isTextName(name)) {
    bool ok = false;
    const long double n = Str2Num(std::string(value), ok);
    if (ok) {
      d.expression = Expression::constant(Value(n));
      return d;
    }
  }
  try {
    d.expression = Expression::parse(value);
  } catch (const Expression::SyntaxError& e) {
    throw SolverError(syntaxError(where, valueColumn + e.position() - 1, e.what()));
  }
  return d;
}

}  // namespace orv::solver
