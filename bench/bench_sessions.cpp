// Sessions through the real server on loopback:
//  - BM_StartSequence: new visitors per second, each running the whole start sequence
//    ("/", the start check, the form post, "/$/" and the page's script library), every
//    request on a new connection;
//  - BM_IdleSessions: heap and resident memory per idle session after 10,000 visitors
//    went through the start sequence, and the time the purge thread takes to remove
//    them all once they have expired.
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "framework/controls/TIWAppForm.h"
#include "framework/server/IWInit.h"
#include "framework/server/ServerSideInit.h"
#include "framework/server/SessionForm.h"
#include "framework/server/TIWApplication.h"
#include "framework/server/TIWServer.h"
#include "framework/server/TIWServerControllerBase.h"
#include "framework/server/TIWSessions.h"
#include "framework/server/TSaServerIn.h"
#include "framework/server/TSessionTimeoutThread.h"
#include "platform/ExePaths.h"
#include "tests/framework/server/HttpTestClient.h"
#include "transport/HttpDate.h"
#include "transport/HttpHook.h"
#include "transport/THttpReply.h"

namespace orv {
namespace {

// A small page: a title and a body, like the calculator's title screen in size.
class BenchPage : public TIWAppForm, public SessionForm {
 public:
  BenchPage() {
    setName("BenchPage");
    setTitle("Benchmark page");
  }
  void ExecuteForm(TIWApplication&, const std::vector<std::string>&) override {}
  void GenerateForm(TIWApplication& session, THttpReply& reply) override {
    reply.SendRenderStream("<!DOCTYPE HTML><html><head><title>Benchmark page</title></head><body>"
                           "track " + std::to_string(session.TrackID()) + "</body></html>");
  }
  void AddToInitProc(const std::string&) override {}
};

class BenchController : public TIWServerControllerBase {
 public:
  explicit BenchController(ConstructionKey key) : TIWServerControllerBase(key) {}

 protected:
  void ApplyStoredSettings() override {
    SetAppName("ORVWS_8001");
    SetPort(0);
    SetBoundIP("127.0.0.1");
  }
};

// The server of one benchmark: controller, hook, listeners; a clock the benchmark moves.
class Server {
 public:
  Server() {
    char tmpl[] = "/tmp/orv-bench-sessions-XXXXXX";
    dir_ = std::string(::mkdtemp(tmpl)) + "/";
    std::filesystem::create_directories(dir_ + "wwwroot");
    setAppPathForTesting(dir_);
    controller_ = TIWServerControllerBase::New<BenchController>();
    InitServerSide(*controller_);
    SetMainFormClass([](TIWApplication&) { return std::make_unique<BenchPage>(); });
    TIWSessions::Instance().SetClock([this] { return nowLocalDateTime() + offsetDays_.load(); });
    setHttpHook(&HttpExecute);
    server_ = std::make_unique<TSaServerIn>();
    server_->Start();
  }
  ~Server() {
    server_->Stop();
    server_.reset();
    setHttpHook({});
    controller_.reset();
    TIWSessions::Instance().SetClock({});
    SetMainFormClass({});
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  int port() const { return server_->Port(); }
  void advanceMinutes(double m) { offsetDays_.store(offsetDays_.load() + m / 1440.0); }
  TIWServerControllerBase& controller() { return *controller_; }

 private:
  std::string dir_;
  std::unique_ptr<TIWServerControllerBase> controller_;
  std::unique_ptr<TSaServerIn> server_;
  std::atomic<double> offsetDays_{0};
};

// One visitor's start sequence; false when a step did not answer as it should.
bool visit(int port, const std::string& scriptPath) {
  test::TestBrowser b(port);
  const test::HttpReply page = b.startSession();
  if (page.code != 200 || page.body.find("track ") == std::string::npos) return false;
  const test::HttpReply lib = b.get(scriptPath, {{"Accept-Encoding", "gzip, deflate"}});
  return lib.code == 200;
}

std::size_t residentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

double processCpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

void BM_StartSequence(benchmark::State& state) {
  Server server;
  const std::string script = "/$/js/IWLib__" + server.controller().StartUID() + ".js";
  std::size_t failures = 0;
  for (auto _ : state) {
    if (!visit(server.port(), script)) ++failures;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["sessions_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["failures"] = static_cast<double>(failures);
  state.counters["requests_per_session"] = 5;
}
BENCHMARK(BM_StartSequence)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(5.0);

void BM_IdleSessions(benchmark::State& state) {
  const int sessions = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Server server;
    const std::string script = "/$/js/IWLib__" + server.controller().StartUID() + ".js";
    // A first visitor warms up the allocator and the embedded files.
    visit(server.port(), script);
    ::malloc_trim(0);
    const std::size_t heapBefore = heapInUse();
    const std::size_t rssBefore = residentBytes();
    std::size_t failures = 0;
    for (int i = 0; i < sessions; ++i)
      if (!visit(server.port(), script)) ++failures;
    const std::size_t heapAfter = heapInUse();
    const std::size_t rssAfter = residentBytes();
    const std::size_t live = TIWSessions::Instance().GetCount();

    // Every session expires; one pass of the purge thread removes them all.
    server.advanceMinutes(11);
    // The waiting main thread and the idle listeners use no processor time meanwhile,
    // so the process's processor time is the purge thread's.
    const double cpuBefore = processCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    server.controller().SessionTimeoutThread().RunPassNow();
    const double purgeSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double purgeCpuSeconds = processCpuSeconds() - cpuBefore;
    state.SetIterationTime(purgeSeconds);

    state.counters["sessions"] = static_cast<double>(live);
    state.counters["failures"] = static_cast<double>(failures);
    state.counters["heap_bytes_per_session"] =
        static_cast<double>(heapAfter - heapBefore) / sessions;
    state.counters["rss_bytes_per_session"] =
        static_cast<double>(rssAfter > rssBefore ? rssAfter - rssBefore : 0) / sessions;
    state.counters["purge_ms"] = purgeSeconds * 1000.0;
    state.counters["purge_cpu_ms"] = purgeCpuSeconds * 1000.0;
    state.counters["left_after_purge"] = static_cast<double>(TIWSessions::Instance().GetCount());
  }
}
BENCHMARK(BM_IdleSessions)
    ->Arg(10000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orv

BENCHMARK_MAIN();
