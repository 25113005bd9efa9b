// Server controller start-up and the INI settings file.
//   bench_controller --benchmark_min_time=0.2
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/server/IniFile.h"
#include "framework/server/TIWServerControllerBase.h"
#include "platform/ExePaths.h"

namespace {

// A folder of its own as the application path, removed at exit.
struct AppDir {
  AppDir() {
    std::string tmpl = std::filesystem::temp_directory_path().string() + "/orv-bench-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    path = tmpl + "/";
    orv::setAppPathForTesting(path);
  }
  ~AppDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string path;
};

AppDir& appDir() {
  static AppDir d;
  return d;
}

const char* kWindowSettings =
    "[Main]\r\nParameters=a=1&b=2\r\nDebugInfo=0\r\nSSL=0\r\nBrowser=0\r\nRunInTray=1\r\n"
    "RunMinimized=0\r\nStartBrowser=0\r\n\r\n[HTTP]\r\nSpeedLimit=0\r\n";

// The whole construction order (defaults, port.ini, OnConfig, cache directory made) and
// the destruction (cache directory removed).
void BM_ControllerLifetime(benchmark::State& state) {
  const bool withPortIni = state.range(0) != 0;
  const std::string portIni = appDir().path + "port.ini";
  if (withPortIni) {
    std::ofstream(portIni) << "[PORTS]\r\nPort=9000\r\nSSLPort=0\r\n";
  } else {
    std::filesystem::remove(portIni);
  }
  for (auto _ : state) {
    auto c = orv::TIWServerControllerBase::New<orv::TIWServerControllerBase>();
    benchmark::DoNotOptimize(c->Port());
  }
  state.counters["bytes_per_controller"] = sizeof(orv::TIWServerControllerBase);
}
BENCHMARK(BM_ControllerLifetime)->Arg(0)->Arg(1);

void BM_IniParseAndRead(benchmark::State& state) {
  for (auto _ : state) {
    const orv::IniFile ini = orv::IniFile::parse(kWindowSettings);
    benchmark::DoNotOptimize(ini.readInteger("HTTP", "SpeedLimit", 0));
    benchmark::DoNotOptimize(ini.readBool("Main", "RunInTray", true));
  }
}
BENCHMARK(BM_IniParseAndRead);

// Write the window's settings file (atomic replace, flushed to disk).
void BM_IniSave(benchmark::State& state) {
  orv::IniFile ini = orv::IniFile::parse(kWindowSettings);
  const std::string path = appDir().path + "ORVWS.iwb";
  for (auto _ : state) {
    ini.writeInteger("HTTP", "SpeedLimit", static_cast<int>(state.iterations()));
    ini.save(path);
  }
}
BENCHMARK(BM_IniSave);

}  // namespace

BENCHMARK_MAIN();
