// Building calculator pages: pages built per second from the fixture layout
// (tests/testdata/app/full, every keyword once) and from a generated layout of 200
// items, and the heap memory one built page holds.
//
//   build/bin/bench_page
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/WDiagramU.h"
#include "bench/GeneratedLayout.h"
#include "platform/ExePaths.h"

namespace orv {
namespace {

// A server directory under the temporary directory, removed at the end of the run.
class BenchDir {
 public:
  BenchDir() {
    std::string templ = exePaths().tempDir + "orv-bench-page-XXXXXX";
    if (::mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = templ + "/";
  }
  ~BenchDir() {
    std::error_code ec;
    std::filesystem::current_path("/", ec);
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  void write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::create_directories(std::filesystem::path(path_ + relative).parent_path());
    std::ofstream(path_ + relative, std::ios::binary) << bytes;
  }

 private:
  std::string path_;
};

BenchDir& fixtureDir() {
  static BenchDir dir = [] {
    BenchDir d;
    std::filesystem::copy(std::string(ORV_SOURCE_DIR) + "/tests/testdata/app/full", d.path(),
                          std::filesystem::copy_options::recursive);
    d.write("PUMP.EXE", "");
    return d;
  }();
  return dir;
}

// 200 items in a mix like a large diagram's: inputs with name and units labels,
// drop-downs, outputs, labels, boxes, rules, check boxes, radio groups and pictures.
BenchDir& generatedDir() {
  static BenchDir dir = [] {
    BenchDir d;
    std::filesystem::copy(std::string(ORV_SOURCE_DIR) + "/tests/testdata/app/full/IMGS",
                          d.path() + "IMGS", std::filesystem::copy_options::recursive);
    const std::string text = bench::generatedLayout(200);
    d.write("BIG.DLY", text);
    d.write("BIG.EXE", "");
    return d;
  }();
  return dir;
}

std::unique_ptr<TORVServerForm> build(const BenchDir& dir) {
  return TIWAppForm::createForm<TORVServerForm>(ServerFormSettings{dir.path(), 8001});
}

void buildPages(benchmark::State& state, BenchDir& dir) {
  std::size_t controls = 0;
  for (auto _ : state) {
    auto page = build(dir);
    controls = page->ComponentCount();
    benchmark::DoNotOptimize(page.get());
  }
  state.counters["pages/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["controls"] = static_cast<double>(controls);

  // Heap held by one built page: the growth of allocated heap while 50 pages live.
  constexpr int kPages = 50;
  std::vector<std::unique_ptr<TORVServerForm>> pages;
  pages.reserve(kPages);
  const auto before = mallinfo2().uordblks;
  for (int i = 0; i < kPages; ++i) pages.push_back(build(dir));
  const auto after = mallinfo2().uordblks;
  state.counters["bytes/page"] = static_cast<double>(after - before) / kPages;
}

void BM_BuildFixturePage(benchmark::State& state) { buildPages(state, fixtureDir()); }
BENCHMARK(BM_BuildFixturePage)->Unit(benchmark::kMicrosecond);

void BM_Build200ItemPage(benchmark::State& state) { buildPages(state, generatedDir()); }
BENCHMARK(BM_Build200ItemPage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orv

BENCHMARK_MAIN();
