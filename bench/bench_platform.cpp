// GetWidth as the page uses it: short labels and list items, a full 255-character
// short string, text beyond Latin-1, a cold size, and several request threads at once.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/TextMeasure.h"

namespace {

void BM_GetWidthShortLabel(benchmark::State& state) {
  orv::TextMeasurer m;
  const std::string text = "Flow rate [m3/h]";
  for (auto _ : state) benchmark::DoNotOptimize(m.GetWidth(text, "Arial", 10, 0));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetWidthShortLabel);

void BM_GetWidth255Characters(benchmark::State& state) {
  orv::TextMeasurer m;
  std::string text;
  while (text.size() < 255) text += "Pump diameter 1.25 ";
  text.resize(255);
  for (auto _ : state)
    benchmark::DoNotOptimize(m.GetWidth(text, "Times New Roman", 12, orv::fsBold));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_GetWidth255Characters);

void BM_GetWidthBeyondLatin1(benchmark::State& state) {
  orv::TextMeasurer m;
  const std::string text =
      "\xCE\x94p = \xCF\x81 \xC2\xB7 g \xC2\xB7 h \xE2\x82\xAC";  // Δp = ρ · g · h €
  for (auto _ : state) benchmark::DoNotOptimize(m.GetWidth(text, "Arial", 10, 0));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetWidthBeyondLatin1);

void BM_GetHeight(benchmark::State& state) {
  orv::TextMeasurer m;
  for (auto _ : state) benchmark::DoNotOptimize(m.GetHeight("x", "Courier New", 10, 0));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetHeight);

// The first measurement of a new pixel size loads the 256 Latin-1 advances; sizes are
// cached for good, so each iteration takes a size never seen before.
void BM_GetWidthFirstUseOfASize(benchmark::State& state) {
  orv::TextMeasurer m;
  int size = -100;
  for (auto _ : state) {
    benchmark::DoNotOptimize(m.GetWidth("Hello", "Liberation Sans", size, orv::fsItalic));
    if (--size < -1400) size = -100;  // cell heights -100..-1400: up to 1300 fresh sizes
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetWidthFirstUseOfASize)->Iterations(1000);

void BM_GetWidthManyThreads(benchmark::State& state) {
  orv::TextMeasurer m;
  const std::string text = "Flow rate [m3/h]";
  for (auto _ : state) benchmark::DoNotOptimize(m.GetWidth(text, "Arial", 10, 0));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetWidthManyThreads)->Threads(1)->Threads(2)->Threads(8);

}  // namespace

BENCHMARK_MAIN();
