#pragma once
// The one failure of a solver run: its message is the single line that goes into the
// error file, exactly as the visitor reads it on the page's status line.
#include <stdexcept>
#include <string>

namespace orv::solver {

class SolverError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace orv::solver
