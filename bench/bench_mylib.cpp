// myLib: reading numbers (Str2Num) and printing them (AutoSVAL), per call.
#include <benchmark/benchmark.h>

#include <limits>
#include <string>
#include <vector>

#include "app/mylib/myLib.h"

namespace {

// Texts as visitors type them and as layout bounds give them.
const std::vector<std::string> kInputs = {"12",  " 1,234.5 ", "0.0123456", "-7.25e-3", "1E3999",
                                          "inf", "1:30:36",   "abc",       "2.5E+300"};

void BM_Str2Num(benchmark::State& state) {
  const std::string& text = kInputs[static_cast<std::size_t>(state.range(0))];
  state.SetLabel(text);
  for (auto _ : state) {
    bool ok = false;
    benchmark::DoNotOptimize(orv::Str2Num(text, ok));
    benchmark::DoNotOptimize(ok);
  }
}
BENCHMARK(BM_Str2Num)->DenseRange(0, static_cast<int>(kInputs.size()) - 1);

struct PrintCase {
  const char* label;
  long double value;
  orv::DecForm format;
};

const std::vector<PrintCase> kPrints = {
    {"A4 123.456", 123.456L, {orv::DecStyle::Auto, 4}},
    {"A4 2500000", 2500000, {orv::DecStyle::Auto, 4}},
    {"A4 5E-7", 5E-7L, {orv::DecStyle::Auto, 4}},
    {"F3 2.5", 2.5L, {orv::DecStyle::FixedDecimal, 3}},
    {"E3 1E-120", 1E-120L, {orv::DecStyle::FloatDecimal, 3}},
    {"G3 0.0001234", 0.0001234L, {orv::DecStyle::EngDecimal, 3}},
    {"T2 2.50694", 2.50694L, {orv::DecStyle::TimeForm, 2}},
    {"E3 1E-4000", 1E-4000L, {orv::DecStyle::FloatDecimal, 3}},
    {"A4 infinity", orv::kInfinity, {orv::DecStyle::Auto, 4}},
};

void BM_AutoSVAL(benchmark::State& state) {
  const PrintCase& c = kPrints[static_cast<std::size_t>(state.range(0))];
  state.SetLabel(c.label);
  for (auto _ : state) benchmark::DoNotOptimize(orv::AutoSVAL(c.value, c.format));
}
BENCHMARK(BM_AutoSVAL)->DenseRange(0, static_cast<int>(kPrints.size()) - 1);

// The slowest digit generation: the smallest and largest extended values (SVAL prints
// them; AutoSVAL turns the smallest into zero first).
void BM_SVAL_RangeEnds(benchmark::State& state) {
  const long double v = state.range(0) == 0 ? std::numeric_limits<long double>::denorm_min()
                                            : std::numeric_limits<long double>::max();
  state.SetLabel(state.range(0) == 0 ? "E3 smallest subnormal" : "E3 largest");
  const orv::DecForm e3{orv::DecStyle::FloatDecimal, 3};
  for (auto _ : state) benchmark::DoNotOptimize(orv::SVAL(v, e3));
}
BENCHMARK(BM_SVAL_RangeEnds)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
