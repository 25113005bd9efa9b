#pragma once
// The statement language shared by the equations file and the solver input file: a
// line holds statements "name = expression" separated by ";", and "#" starts a comment
// that runs to the end of the line (both only outside quotes). The solver input file
// reads values first as the page reads numbers (so "1,500", "inf" and "1:30" mean what
// the page checked against the bounds) and only otherwise as expressions.
//
// Stateless; safe from any thread.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "examples/solver/Definition.h"

namespace orv::solver {

class StatementParser {
 public:
  struct Piece {
    std::string text;
    std::size_t column = 1;  // character position of text's first character in the line
  };

  // The statements of one line without comments; blank pieces are dropped.
  static std::vector<Piece> split(std::string_view line);

  // "name = expression". Throws SolverError "Syntax error in <where> at position <p>:
  // <reason>" with p counted in characters of the line.
  static Definition parseAssignment(const Piece& piece, const std::string& where,
                                    bool valuesAsTyped);

  // Position p (characters from 1) of a syntax error in `where`.
  static std::string syntaxError(const std::string& where, std::size_t position,
                                 std::string_view reason);

  // Number of characters of a UTF-8 text.
  static std::size_t characters(std::string_view utf8);
};

}  // namespace orv::solver
