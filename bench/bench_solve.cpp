// The solve cycle's own cost on the server: one whole cycle against a solver that writes
// its result at once, next to the solver's run alone (the same program started and
// waited for the same way), so that the difference is the server's share: checking the
// inputs, writing the input file, drawing the cycle's number, waiting for and reading
// the result, filling the outputs and reloading a plot. The cycle's first look for the
// result file comes after the specified 5 ms pause, which is part of the server's share.
// The solver is a shell script that writes its result line and copies its plot.
//
//   build-x/bin/bench_solve --benchmark_min_time=2
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/SolveCycle.h"
#include "app/WDiagramU.h"
#include "app/mylib/myLib.h"
#include "platform/ExePaths.h"
#include "platform/Picture.h"

namespace orv {
namespace {

// Writes its result (and its plot) at once and ends.
constexpr const char* kInstantSolver = R"SH(#!/bin/sh
in="${1#/DIAGRAMINPUT=}"
printf '12.5 [kW]\t3.25\tok\r\n' > "${in%.TXT}.out"
p=$(sed -n "s/^[$]EXPORTPLOT '\([^']*\)'.*/\1/p" "$in")
if [ -n "$p" ]; then cp plot-new.gif "$p"; fi
)SH";

std::string tabbed(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& f : fields) line += (line.empty() ? "" : "\t") + f;
  return line;
}

std::string gif(int w, int h) {
  RgbaImage image(w, h);
  for (auto& b : image.pixels) b = 200;
  Picture p;
  p.SetImage(std::move(image));
  const auto bytes = p.SaveAs(PictureFormat::Gif);
  return std::string(bytes.begin(), bytes.end());
}

void writeFile(const std::string& path, const std::string& bytes, bool executable = false) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  if (executable) ::chmod(path.c_str(), 0755);
}

// A server directory with a layout of five inputs, a drop-down, a check box, three
// outputs and one plot, and the instant solver.
class BenchDir {
 public:
  BenchDir() {
    std::string templ = exePaths().tempDir + "orv-bench-solve-XXXXXX";
    if (::mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = templ + "/";
    std::vector<std::string> lines = {"ORV Diagram Layout 3.0", "x", "x", "x", "x"};
    for (int i = 1; i <= 5; ++i) {
      lines.push_back(
          tabbed({"INPUT", "T" + std::to_string(i), "", "0", "0", std::to_string(i * 10), "0",
                  "1000", "F2", "10", std::to_string(i * 30), "80", "20", "16", "0", "0", "0"}));
    }
    lines.push_back(tabbed({"DROPDOWN", "Mat$", "", "0", "0", "2", "0", "10", "200", "80", "20",
                            "16", "0", "0", "0"}));
    lines.push_back("Steel//k=45");
    lines.push_back("Copper//k=398");
    lines.push_back(
        tabbed({"CHECKBOX", "Insulated", "10", "240", "100", "20", "10", "Arial", "0", "0"}));
    lines.push_back("Insulated=1");
    lines.push_back("--");
    lines.push_back("Insulated=0");
    lines.push_back("<>");
    for (const char* name : {"Q", "P", "Note$"}) {
      lines.push_back(tabbed({"OUTPUT", name, "kW", "0", "1", "", name[1] == '\0' ? "A4" : "S0",
                              "300", "10", "80", "20", "16", "0", "0", "255"}));
    }
    lines.push_back(tabbed({"PLOT", "1", "plot.gif", "300", "100"}));
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    writeFile(path_ + "CALC.DLY", text);
    writeFile(path_ + "CALC.EXE", kInstantSolver, true);
    // A solver input file as a cycle writes it, for the solver's run alone.
    writeFile(path_ + "CALC@8001_1.TXT", "T1=10\r\n$EXPORT '" + path_ +
                                             "CALC@8001_1.out' /U /D Q P Note$ \r\n"
                                             "$EXPORTPLOT '" +
                                             path_ + "IMGS/plot@8001_1.gif' 1 /R=1\r\n");
    writeFile(path_ + "IMGS/plot.gif", gif(200, 150));
    writeFile(path_ + "plot-new.gif", gif(200, 150));
  }
  ~BenchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void BM_SolveCycle(benchmark::State& state) {
  BenchDir dir;
  auto page = TIWAppForm::createForm<TORVServerForm>(ServerFormSettings{dir.path(), 8001});
  page->IWContinueBClick(*page->IWContinueB);
  for (auto _ : state) {
    page->SolveButtonClick(*page->SolveButton);
    if (!page->Status->Text().empty()) {
      state.SkipWithError(page->Status->Text().c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SolveCycle)->Unit(benchmark::kMillisecond)->UseRealTime();

// The solver's share: the same program with an input file like the cycle's, started and
// waited for the same way.
void BM_SolverRunAlone(benchmark::State& state) {
  BenchDir dir;
  const std::string command = detail::solverCommandLine("CALC.EXE", dir.path() + "CALC@8001_1.TXT");
  for (auto _ : state) {
    if (RunProgramOK(command, dir.path(), std::chrono::seconds(300)) != ProcessOutcome::Finished) {
      state.SkipWithError("the solver did not run");
      break;
    }
  }
}
BENCHMARK(BM_SolverRunAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace orv

BENCHMARK_MAIN();
