#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <latch>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/transport/TestSupport.h"
#include "transport/InErrors.h"
#include "transport/THTTPServerIn.h"
#include "transport/TInCustomTCPServer.h"
#include "transport/ThreadName.h"

namespace orv {
namespace {

using namespace std::chrono_literals;
using test::RawClient;

// Counts events and lets a test wait until a number has been reached.
class Counter {
 public:
  void add() {
    std::lock_guard lock(mutex_);
    ++count_;
    changed_.notify_all();
  }
  bool waitFor(int n, std::chrono::milliseconds timeout = 10s) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return count_ >= n; });
  }
  int value() {
    std::lock_guard lock(mutex_);
    return count_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int count_ = 0;
};

// A line-echo server: each connection answers every line with "echo:" + line.
class TcpServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.Name = "Srv";
    server_.ListenQueue = THTTPServerIn::kListenQueue;  // bursts of test clients
    server_.Bindings = {TInSocketHandle{"127.0.0.1", 0}};
    server_.OnConnect = [this](TInContext&) { connected_.add(); };
    server_.OnExecute = [this](TInContext& context) {
      {
        std::lock_guard lock(mutex_);
        threadNames_.insert(currentThreadName());
        const int flags = ::fcntl(context.Connection().IOHandler().fd(), F_GETFD);
        cloexec_ = cloexec_ && (flags & FD_CLOEXEC) != 0;
      }
      auto& io = context.Connection().IOHandler();
      const std::string line = io.ReadLn();
      io.WriteLn("echo:" + line);
      return true;
    };
  }
  void TearDown() override { server_.SetActive(false); }

  TInCustomTCPServer server_;
  Counter connected_;
  std::mutex mutex_;
  std::set<std::string> threadNames_;
  bool cloexec_ = true;
};

TEST_F(TcpServerTest, ServesEachConnectionOnItsOwnThread) {
  server_.SetActive(true);
  ASSERT_TRUE(server_.Active());
  const int port = server_.boundPort();
  ASSERT_GT(port, 0);
  std::vector<RawClient> clients;
  for (int i = 0; i < 5; ++i) clients.emplace_back(port);
  for (int i = 0; i < 5; ++i) clients[i].send("hello " + std::to_string(i) + "\n");
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(clients[i].readUntil("\r\n"), "echo:hello " + std::to_string(i) + "\r\n");
  }
  ASSERT_TRUE(connected_.waitFor(5));
  EXPECT_EQ(server_.contextCount(), 5u);
  std::lock_guard lock(mutex_);
  EXPECT_EQ(threadNames_, std::set<std::string>{"SrvScheduler User"});
  EXPECT_TRUE(cloexec_);
}

TEST_F(TcpServerTest, NamesItsListenerThreads) {
  server_.SetActive(true);
  {
    // Once a connection has been served, the listener has long named itself.
    RawClient client(server_.boundPort());
    client.send("x\n");
    ASSERT_EQ(client.readUntil("\r\n"), "echo:x\r\n");
  }
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(entry.path() / "comm");
    std::string name;
    std::getline(comm, name);
    if (name == "Srv Listener #1") found = true;
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(server_.listenerThreadName(2), "Srv Listener #2");
}

TEST_F(TcpServerTest, ListensOnTwoBindingsAtTheSamePort) {
  const int port = test::freeLoopbackPort();
  server_.Bindings = bindingsFor("127.0.0.1, 127.0.0.2", port);
  ASSERT_EQ(server_.Bindings.size(), 2u);
  server_.SetActive(true);
  EXPECT_EQ(server_.boundPort(0), port);
  EXPECT_EQ(server_.boundPort(1), port);
  for (const char* ip : {"127.0.0.1", "127.0.0.2"}) {
    SCOPED_TRACE(ip);
    RawClient client(port, ip);
    ASSERT_TRUE(client.connected());
    client.send(std::string(ip) + "\n");
    EXPECT_EQ(client.readUntil("\r\n"), "echo:" + std::string(ip) + "\r\n");
  }
}

TEST(BindingsTest, ListensOnAllInterfacesWithoutBoundIP) {
  const auto bindings = bindingsFor("", 8001);
  ASSERT_EQ(bindings.size(), 1u);
  EXPECT_EQ(bindings[0].IP, "0.0.0.0");
  EXPECT_EQ(bindings[0].Port, 8001);
  EXPECT_EQ(bindingsFor(" , ", 1).size(), 1u);
}

TEST_F(TcpServerTest, ServesEveryInterfaceWhenBoundToAll) {
  server_.Bindings = bindingsFor("", 0);
  server_.SetActive(true);
  for (const char* ip : {"127.0.0.1", "127.0.0.3"}) {
    SCOPED_TRACE(ip);
    RawClient client(server_.boundPort(), ip);
    ASSERT_TRUE(client.connected());
    client.send("x\n");
    EXPECT_EQ(client.readUntil("\r\n"), "echo:x\r\n");
  }
}

TEST_F(TcpServerTest, FailsOnATakenPortWithNoSocketLeftOpen) {
  // Another server holds the second address's port.
  TInCustomTCPServer holder("Holder");
  const int port = test::freeLoopbackPort();
  holder.Bindings = {TInSocketHandle{"127.0.0.2", port}};
  holder.SetActive(true);

  server_.Bindings = bindingsFor("127.0.0.1,127.0.0.2", port);
  const std::size_t fdsBefore = test::processFdCount();
  const std::size_t threadsBefore = test::processThreadCount();
  try {
    server_.SetActive(true);
    FAIL() << "started on a taken port";
  } catch (const EInSocketError& e) {
    EXPECT_STREQ(e.what(), "Address already in use");
  }
  EXPECT_FALSE(server_.Active());
  EXPECT_EQ(test::processFdCount(), fdsBefore);
  EXPECT_EQ(test::processThreadCount(), threadsBefore);
  // The first address is free again: nothing of the failed start holds it.
  TInCustomTCPServer other("Other");
  other.Bindings = {TInSocketHandle{"127.0.0.1", port}};
  EXPECT_NO_THROW(other.SetActive(true));
}

TEST_F(TcpServerTest, StopsWithIdleClientsConnected) {
  server_.SetActive(true);
  const std::size_t threadsIdle = test::processThreadCount();
  std::vector<RawClient> clients;
  for (int i = 0; i < 20; ++i) clients.emplace_back(server_.boundPort());
  ASSERT_TRUE(connected_.waitFor(20));
  EXPECT_EQ(test::processThreadCount(), threadsIdle + 20);
  server_.SetActive(false);
  EXPECT_FALSE(server_.Active());
  EXPECT_EQ(server_.connectionThreadCount(), 0u);
  EXPECT_EQ(server_.contextCount(), 0u);
  EXPECT_EQ(test::processThreadCount(), threadsIdle - 1);  // the listener is gone too
  for (auto& c : clients) EXPECT_TRUE(c.waitForClose());
  // And it starts again.
  server_.SetActive(true);
  RawClient again(server_.boundPort());
  again.send("back\n");
  EXPECT_EQ(again.readUntil("\r\n"), "echo:back\r\n");
}

TEST_F(TcpServerTest, LeavesNoThreadOrDescriptorBehindAbandonedConnections) {
  server_.SetActive(true);
  const int port = server_.boundPort();
  const std::size_t threads = test::processThreadCount();
  const std::size_t fds = test::processFdCount();
  for (int round = 0; round < 3; ++round) {
    std::vector<RawClient> clients;
    for (int i = 0; i < 100; ++i) {
      clients.emplace_back(port);
      if (i % 3 == 1) clients.back().send("half a li");
      if (i % 3 == 2) clients.back().send("whole\n");
    }
    clients.clear();  // every client goes away, most in the middle of something
  }
  ASSERT_TRUE(connected_.waitFor(300, 30s));
  ASSERT_TRUE(server_.waitForNoConnections(30s));
  // A connection thread leaves the list just before it ends; the kernel counts it until
  // it has fully exited (slow under the sanitizers), so the count is awaited, bounded.
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while ((test::processThreadCount() != threads || test::processFdCount() != fds) &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(5ms);
  EXPECT_EQ(test::processThreadCount(), threads);
  EXPECT_EQ(test::processFdCount(), fds);
}

TEST_F(TcpServerTest, ClosesConnectionsBeyondMaxConnectionsUnanswered) {
  server_.MaxConnections = 1;
  server_.SetActive(true);
  RawClient first(server_.boundPort());
  ASSERT_TRUE(connected_.waitFor(1));
  RawClient second(server_.boundPort());
  EXPECT_TRUE(second.waitForClose());
  EXPECT_EQ(second.readAll(100ms), "");
  first.send("still\n");
  EXPECT_EQ(first.readUntil("\r\n"), "echo:still\r\n");
}

TEST_F(TcpServerTest, RefusesThreadsBeyondTheSchedulerLimit) {
  server_.MaxThreads = 1;
  std::mutex m;
  std::vector<std::string> errors;
  Counter reported;
  server_.OnListenException = [&](const std::exception& e) {
    {
      std::lock_guard lock(m);
      errors.push_back(e.what());
    }
    reported.add();
  };
  server_.SetActive(true);
  RawClient first(server_.boundPort());
  ASSERT_TRUE(connected_.waitFor(1));
  RawClient second(server_.boundPort());
  EXPECT_TRUE(second.waitForClose());
  ASSERT_TRUE(reported.waitFor(1));
  std::lock_guard lock(m);
  EXPECT_EQ(errors[0], "The maximum number of threads for this scheduler is exceeded.");
}

TEST_F(TcpServerTest, EndsAConnectionSilentlyWhenThePeerResets) {
  Counter exceptions;
  server_.OnException = [&](TInContext&, const std::exception&) { exceptions.add(); };
  server_.SetActive(true);
  {
    RawClient client(server_.boundPort());
    ASSERT_TRUE(connected_.waitFor(1));
    linger l{1, 0};  // close with a reset
    ::setsockopt(client.fd(), SOL_SOCKET, SO_LINGER, &l, sizeof l);
  }
  ASSERT_TRUE(server_.waitForNoConnections(10s));
  EXPECT_EQ(exceptions.value(), 0);
}

}  // namespace
}  // namespace orv
