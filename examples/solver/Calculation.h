#pragma once
// The set of explicit assignments of one solve and their values. Definitions arrive
// from the equations file and then from the solver input file; a later definition of a
// name replaces an earlier one, so the visitor's inputs override the file's defaults.
// solve() checks that every name read is defined, orders the assignments so that each
// is computed after everything it reads (refusing cyclic definitions), and computes
// them. Afterwards single values can be read and expressions swept over one variable
// (for plots).
//
// Owns its definitions and values; used by one thread.
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "examples/solver/Definition.h"

namespace orv::solver {

class Calculation {
 public:
  // Adds a definition, replacing an earlier one of the same name (compared without
  // regard to case).
  void define(Definition definition);

  // Called with each value as soon as it is computed, before anything that reads it;
  // it may throw SolverError to stop the solve (a value out of its declared range).
  using Check = std::function<void(const std::string& name, const Value& value)>;

  // Throws SolverError: "Unknown variable <x> in the equation of <y> (<where>)",
  // "Cyclic definition: a -> b -> a (<where>)", an evaluation error "... in the
  // equation of <y> (<where>)", a number given for a text variable, or what the check
  // throws.
  void solve(const Check& check = {});

  bool isDefined(const std::string& name) const;
  // The value after solve(); the name must be defined.
  const Value& value(const std::string& name) const;

  // Binds the variables of an expression to this calculation. Throws SolverError
  // "Unknown variable <x> in <context>" for a name that is not defined.
  void bind(Expression& expression, const std::string& context) const;
  // The value of a bound expression at the solution; EvaluationError passes through.
  Value evaluate(const Expression& expression) const;

  // The expressions evaluated with the variable `x` set to each of the samples in turn
  // and everything that depends on it recomputed. A sample where an expression (or an
  // assignment it needs) cannot be computed, or gives a text, yields no value.
  std::vector<std::vector<std::optional<Number>>> sweep(
      const std::string& x, const std::vector<Number>& samples,
      const std::vector<const Expression*>& expressions) const;

 private:
  std::size_t slotOf(const std::string& name) const;
  Value compute(std::size_t slot, std::span<const Value> table) const;

  std::vector<Definition> definitions_;                 // one per slot
  std::unordered_map<std::string, std::size_t> slots_;  // folded name -> slot
  std::vector<std::size_t> order_;                      // slots in computing order
  std::vector<Value> values_;                           // per slot, after solve()
};

}  // namespace orv::solver
