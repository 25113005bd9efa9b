#pragma once
// One parsed right-hand side of the solver's statement language.
//
//   expression := comparison
//   comparison := sum [ ("<" | "<=" | ">" | ">=" | "==" | "<>" | "!=") sum ]
//   sum        := product { ("+" | "-") product }
//   product    := unary { ("*" | "/") unary }
//   unary      := ("-" | "+") unary | power
//   power      := primary [ "^" unary ]          (right-associative: 2^3^2 = 2^9, -2^2 = -4)
//   primary    := number | 'text' | "text" | name | name "(" args ")" | "(" expression ")"
//
// Names are letters, digits and "_" (not starting with a digit), optionally ending in
// "$" (a text variable); names and functions are matched without regard to letter case.
// Functions: sqrt exp ln log10 sin cos tan abs (one argument), min max (two or more),
// if(condition, then, else) (only the chosen branch is evaluated); the constant pi.
// Texts join with "+" and compare with "==" and "<>"; comparisons give 1 or 0.
//
// An Expression owns its tree. Variables are bound to slots of a value table once
// (bind), after which evaluate() only reads that table: it keeps no state and may be
// called from any thread.
#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "examples/solver/Value.h"

namespace orv::solver {

class Expression {
 public:
  // The text could not be parsed. position counts characters from 1 within the text
  // handed to parse().
  class SyntaxError : public std::runtime_error {
   public:
    SyntaxError(std::size_t position, const std::string& reason)
        : std::runtime_error(reason), position_(position) {}
    std::size_t position() const { return position_; }

   private:
    std::size_t position_;
  };

  // A value could not be computed (division by zero, a function outside its domain,
  // texts and numbers mixed). The text says what went wrong, without naming the
  // equation; the caller knows which one it evaluated.
  class EvaluationError : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
  };

  static constexpr std::size_t kUnbound = static_cast<std::size_t>(-1);

  Expression();
  ~Expression();
  Expression(Expression&&) noexcept;
  Expression& operator=(Expression&&) noexcept;

  // Parses the whole text as one expression; throws SyntaxError.
  static Expression parse(std::string_view text);
  // An expression that yields the value as it stands.
  static Expression constant(Value value);

  // The variable names the expression reads, in order of first appearance, each once
  // (compared without regard to case), as first written.
  std::vector<std::string> variables() const;

  // Gives every variable its slot in the value table; slotOf returns kUnbound for a
  // name it does not know, which leaves that variable unbound (reading it fails).
  void bind(const std::function<std::size_t(const std::string&)>& slotOf);

  // Computes the value from the table; throws EvaluationError.
  Value evaluate(std::span<const Value> table) const;

  struct Node;

 private:
  explicit Expression(std::unique_ptr<Node> root);
  std::unique_ptr<Node> root_;
};

// Names compare without regard to ASCII letter case: the folded form is the key.
std::string foldName(std::string_view name);
// True for a well-formed variable name (see the grammar above).
bool isVariableName(std::string_view name);
// True for names that hold text (ending in "$").
bool isTextName(std::string_view name);

}  // namespace orv::solver
