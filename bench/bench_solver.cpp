// The demo solver: one solve of the pump calculation in-process (equations and input
// parsed, ordered and computed), one plot window swept, drawn and encoded, and the
// whole program run as the page runs it (process start, files, two plots).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "examples/solver/Calculation.h"
#include "examples/solver/EquationFile.h"
#include "examples/solver/LineChart.h"
#include "examples/solver/SolverInput.h"
#include "examples/solver/TextFiles.h"
#include "platform/Process.h"

namespace {

namespace fs = std::filesystem;
using namespace orv::solver;

const std::string kEqn = std::string(ORV_SOURCE_DIR) + "/examples/pump/PUMP.EQN";

std::vector<std::string> pageInput(const std::string& out) {
  return {"Q=60",
          "D=100",
          "L=150",
          "dz=20",
          "K=8",
          "L_s=6",
          "z_s=2",
          "z_site=0",
          "eta_p=72",
          "NPSHr=3",
          "rho=998.2; nu=1.004E-6; p_v=2.339; Medium$='water, 20 °C'",
          "Pipe$='Commercial steel//eps=0.045'",
          "eps=0.045",
          "useK=1",
          "eta_m=91.4",
          "MotorClass$='IE3'",
          "$EXPORT '" + out +
              "' /U /D v Re Regime$ f h_f h_m H P_hyd P_shaft P_el NPSHa margin "
              "Cavitation$ Medium$ "};
}

void BM_SolvePumpInProcess(benchmark::State& state) {
  const auto eqnLines = readTextLines(kEqn, TextEncoding::Detect);
  const auto input = pageInput("/dev/null");
  for (auto _ : state) {
    EquationFile eqn = EquationFile::parse(eqnLines, "PUMP.EQN");
    SolverInput in = SolverInput::parse(input);
    Calculation calc;
    for (auto& d : eqn.definitions()) calc.define(std::move(d));
    for (auto& d : in.definitions()) calc.define(std::move(d));
    calc.solve();
    benchmark::DoNotOptimize(calc.value("P_el"));
  }
}
BENCHMARK(BM_SolvePumpInProcess);

void BM_SweepAndDrawPumpPlot(benchmark::State& state) {
  EquationFile eqn = EquationFile::parse(readTextLines(kEqn, TextEncoding::Detect), "PUMP.EQN");
  Calculation calc;
  for (auto& d : eqn.definitions()) calc.define(std::move(d));
  calc.solve();
  PlotDeclaration& plot = eqn.plots().front();
  for (auto& c : plot.curves) calc.bind(c.y, "plot");
  std::vector<Number> xs;
  for (int i = 0; i < plot.width / 2; ++i) xs.push_back(120.0L * i / (plot.width / 2 - 1));
  std::vector<const Expression*> ys;
  for (const auto& c : plot.curves) ys.push_back(&c.y);
  for (auto _ : state) {
    const auto samples = calc.sweep(plot.xName, xs, ys);
    ChartSpec spec;
    spec.width = plot.width;
    spec.height = plot.height;
    spec.xMax = 120;
    spec.currentX = 60;
    for (const auto& s : samples) {
      ChartSeries series;
      for (std::size_t k = 0; k < xs.size(); ++k) {
        series.xs.push_back(static_cast<double>(xs[k]));
        series.ys.push_back(s[k] ? std::optional<double>(static_cast<double>(*s[k]))
                                 : std::nullopt);
      }
      spec.series.push_back(std::move(series));
    }
    benchmark::DoNotOptimize(LineChart::render(spec).pixels().data());
  }
}
BENCHMARK(BM_SweepAndDrawPumpPlot);

// The solve cycle's share that belongs to the solver: start, read, solve, draw both
// plots as GIF, write the result file, end.
void BM_SolverProgramRun(benchmark::State& state) {
  const char* tmp = std::getenv("TMPDIR");
  std::string dir = std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") + "/orv-bench-XXXXXX";
  if (::mkdtemp(dir.data()) == nullptr) {
    state.SkipWithError("mkdtemp failed");
    return;
  }
  fs::copy_file(kEqn, dir + "/PUMP.EQN");
  fs::create_symlink(ORV_SOLVER_EXE, dir + "/PUMP.EXE");
  {
    std::ofstream in(dir + "/PUMP@8001_1.TXT", std::ios::binary);
    for (const auto& l : pageInput(dir + "/PUMP@8001_1.out")) in << l << "\r\n";
    in << "$EXPORTPLOT '" << dir << "/P1.GIF' 1 /R=1\r\n$EXPORTPLOT '" << dir
       << "/P2.GIF' 2 /R=1\r\n";
  }
  for (auto _ : state) {
    const auto r = orv::runProcessAndWait("PUMP.EXE /DIAGRAMINPUT=" + dir + "/PUMP@8001_1.TXT", dir,
                                          std::chrono::seconds(30));
    if (r.outcome != orv::ProcessOutcome::Finished || r.exitCode != 0) {
      state.SkipWithError("the solver failed");
      break;
    }
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}
BENCHMARK(BM_SolverProgramRun)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
