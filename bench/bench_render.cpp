// Rendering calculator pages: full renders per second of the shown calculator of the
// fixture layout (tests/testdata/app/full) and of a generated layout of 200 items, and
// partial renders (the XML update after an input changed and the outputs turned grey)
// per second. The session is a fixed stand-in that keeps picture files in memory, so
// the figures are the page's own rendering work.
//
//   build/bin/bench_render
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/WDiagramU.h"
#include "bench/GeneratedLayout.h"
#include "platform/ExePaths.h"
#include "tests/framework/render/FixedRenderSession.h"

namespace orv {
namespace {

// A server directory under the temporary directory, removed at the end of the run.
class BenchDir {
 public:
  BenchDir() {
    std::string templ = exePaths().tempDir + "orv-bench-render-XXXXXX";
    if (::mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = templ + "/";
    std::filesystem::copy(std::string(ORV_SOURCE_DIR) + "/tests/testdata/app/full", path_,
                          std::filesystem::copy_options::recursive);
  }
  ~BenchDir() {
    std::error_code ec;
    std::filesystem::current_path("/", ec);
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  void write(const std::string& relative, const std::string& bytes) const {
    std::ofstream(path_ + relative, std::ios::binary) << bytes;
  }

 private:
  std::string path_;
};

// The fixture layout with its solver program.
BenchDir& fixtureDir() {
  static BenchDir dir = [] {
    BenchDir d;
    d.write("PUMP.EXE", "");
    return d;
  }();
  return dir;
}

// 200 generated items (the fixture's layout removed first, its pictures kept).
BenchDir& generatedDir() {
  static BenchDir dir = [] {
    BenchDir d;
    std::filesystem::remove(d.path() + "PUMP.DLY");
    const std::string text = bench::generatedLayout(200);
    d.write("BIG.DLY", text);
    d.write("BIG.EXE", "");
    return d;
  }();
  return dir;
}

// A built page with its calculator shown, rendered once (pictures written).
struct ShownPage {
  testing::FixedRenderSession session;
  std::unique_ptr<TORVServerForm> page;
  explicit ShownPage(const BenchDir& dir) {
    page = TIWAppForm::createForm<TORVServerForm>(ServerFormSettings{dir.path(), 8001});
    page->IWContinueBClick(*page->IWContinueB);
    std::string first;
    page->GenerateForm(session, first);
  }
};

void fullRenders(benchmark::State& state, const BenchDir& dir) {
  ShownPage shown(dir);
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string document;
    shown.page->GenerateForm(shown.session, document);
    bytes = document.size();
    benchmark::DoNotOptimize(document.data());
  }
  state.counters["renders/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["document bytes"] = static_cast<double>(bytes);
  state.counters["controls"] = static_cast<double>(shown.page->ComponentCount());
}

void partialRenders(benchmark::State& state, const BenchDir& dir) {
  ShownPage shown(dir);
  shown.session.callBack = true;
  TIWEdit* input = shown.page->InputList.front().aIWInput;
  const StringList noParams;
  std::size_t bytes = 0;
  TIWColor colour = clGreen;
  for (auto _ : state) {
    // As after a solve: the outputs in their colour; then an input changes.
    for (const OutputRec& rec : shown.page->OutputList) rec.aIWOutput->WebFont().setColor(colour);
    colour = colour == clGreen ? clBlue : clGreen;
    for (TIWCustomControl* c : shown.page->Components()) c->setDoRefreshControl(false);
    shown.page->IWEdit1AsyncChange(*input, noParams);
    shown.session.response.Initialize();
    std::string none;
    shown.page->GenerateForm(shown.session, none);
    const std::string reply = shown.session.response.StreamResponse();
    bytes = reply.size();
    benchmark::DoNotOptimize(reply.data());
  }
  state.counters["renders/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["reply bytes"] = static_cast<double>(bytes);
  state.counters["outputs"] = static_cast<double>(shown.page->OutputList.size());
}

void BM_FullRenderFixturePage(benchmark::State& state) { fullRenders(state, fixtureDir()); }
BENCHMARK(BM_FullRenderFixturePage)->Unit(benchmark::kMicrosecond);

void BM_FullRender200ItemPage(benchmark::State& state) { fullRenders(state, generatedDir()); }
BENCHMARK(BM_FullRender200ItemPage)->Unit(benchmark::kMicrosecond);

void BM_PartialRenderFixturePage(benchmark::State& state) { partialRenders(state, fixtureDir()); }
BENCHMARK(BM_PartialRenderFixturePage)->Unit(benchmark::kMicrosecond);

void BM_PartialRender200ItemPage(benchmark::State& state) { partialRenders(state, generatedDir()); }
BENCHMARK(BM_PartialRender200ItemPage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orv

BENCHMARK_MAIN();
