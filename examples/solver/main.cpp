// The demo's solver program: see SolverRun.h.
#include <string>
#include <vector>

#include "examples/solver/SolverRun.h"

int main(int argc, char** argv) {
  return orv::solver::SolverRun::run(std::vector<std::string>(argv, argv + argc));
}
