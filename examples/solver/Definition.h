#pragma once
// One explicit assignment "name = expression" of the calculation, from the equations
// file or from the solver input file, with where it was written (for messages).
#include <string>

#include "examples/solver/Expression.h"

namespace orv::solver {

struct Definition {
  std::string name;  // as written
  Expression expression;
  std::string where;  // "PUMP.EQN line 12", "the input file line 3"
};

}  // namespace orv::solver
