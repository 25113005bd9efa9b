#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "transport/InErrors.h"
#include "transport/TInIOHandler.h"

namespace orv {
namespace {

// A connected pair: the handler on one end, the test writing and reading the other.
class IOHandlerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds), 0);
    handler_ = std::make_unique<TInIOHandler>(Socket(fds[0]));
    peer_ = fds[1];
    // The peer end blocks so that the test's writes are simple.
    int fl = ::fcntl(peer_, F_GETFL);
    ::fcntl(peer_, F_SETFL, fl & ~O_NONBLOCK);
    handler_->ReadTimeout = 10000;  // a broken handler fails the test instead of hanging it
  }
  void TearDown() override {
    if (writer_.joinable()) writer_.join();
    if (peer_ >= 0) ::close(peer_);
  }
  void send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::send(peer_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      ASSERT_GT(n, 0);
      done += static_cast<std::size_t>(n);
    }
  }
  // Sends from another thread, one byte per call, while the handler reads.
  void sendByteByByteAsync(std::string bytes) {
    writer_ = std::thread([this, bytes = std::move(bytes)] {
      for (char c : bytes) {
        if (::send(peer_, &c, 1, MSG_NOSIGNAL) != 1) return;
      }
    });
  }
  std::string errorOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "(no error)";
  }

  std::unique_ptr<TInIOHandler> handler_;
  int peer_ = -1;
  std::thread writer_;
};

TEST_F(IOHandlerTest, ReadsLinesEndedByCrLfOrLfAlone) {
  send("first\r\nsecond\nthird\r\r\n\n");
  EXPECT_EQ(handler_->ReadLn(), "first");
  EXPECT_EQ(handler_->ReadLn(), "second");
  EXPECT_EQ(handler_->ReadLn(), "third\r");  // only one CR before the LF is dropped
  EXPECT_EQ(handler_->ReadLn(), "");
}

TEST_F(IOHandlerTest, ReadsBytesAbove127AsQuestionMarks) {
  send("caf\xC3\xA9\r\n");
  EXPECT_EQ(handler_->ReadLn(), "caf??");
}

TEST_F(IOHandlerTest, ReadsTheSameLinesWhenBytesArriveOneAtATime) {
  sendByteByByteAsync("GET / HTTP/1.1\r\nHost: a\r\n\r\nbody");
  EXPECT_EQ(handler_->ReadLn(), "GET / HTTP/1.1");
  std::vector<std::string> lines;
  handler_->Capture(lines);
  EXPECT_EQ(lines, std::vector<std::string>{"Host: a"});
  MemoryStream body;
  handler_->ReadStream(body, 4);
  EXPECT_EQ(body.bytes(), "body");
}

TEST_F(IOHandlerTest, AcceptsALineOfExactlyTheLimit) {
  writer_ = std::thread([this] { send(std::string(32768, 'a') + "\n"); });
  EXPECT_EQ(handler_->ReadLn().size(), 32768u);
}

TEST_F(IOHandlerTest, RefusesALineOneByteOverTheLimitWhenItsLineFeedArrives) {
  writer_ = std::thread([this] { send(std::string(32767, 'a') + "\r\r\n"); });
  EXPECT_EQ(errorOf([&] { handler_->ReadLn(); }), "Max line length exceeded.");
}

TEST_F(IOHandlerTest, CutsOffAPeerThatSendsNoLineFeed) {
  // No LF ever comes and the peer stays connected: the handler must give up as soon
  // as the limit is passed (the read time-out is far away).
  handler_->ReadTimeout = 60000;
  writer_ = std::thread([this] { send(std::string(40000, 'a')); });
  EXPECT_EQ(errorOf([&] { handler_->ReadLn(); }), "Max line length exceeded.");
}

TEST_F(IOHandlerTest, CapturesAtMostTheAllowedNumberOfLines) {
  handler_->MaxCapturedLines = 1024;
  for (int lines : {1025, 1026}) {
    SCOPED_TRACE(lines);
    std::string block;
    for (int i = 0; i < lines; ++i) block += "X-" + std::to_string(i) + ": v\r\n";
    block += "\r\n";
    writer_ = std::thread([this, block] { send(block); });
    std::vector<std::string> captured;
    const std::string error = errorOf([&] { handler_->Capture(captured); });
    writer_.join();
    if (lines == 1025) {
      EXPECT_EQ(error, "(no error)");
      EXPECT_EQ(captured.size(), 1025u);
    } else {
      EXPECT_EQ(error, "Maximum number of line allowed exceeded");
      break;  // the rest of the block is still buffered
    }
  }
}

TEST_F(IOHandlerTest, ReadsExactlyTheCountedBytes) {
  send("abcdefgh");
  MemoryStream first;
  handler_->ReadStream(first, 3);
  EXPECT_EQ(first.bytes(), "abc");
  MemoryStream rest;
  handler_->ReadStream(rest, 5);
  EXPECT_EQ(rest.bytes(), "defgh");
  EXPECT_TRUE(handler_->InputBufferIsEmpty());
}

TEST_F(IOHandlerTest, ReportsTheEndWhenThePeerCloses) {
  send("partial");
  ::shutdown(peer_, SHUT_WR);
  try {
    handler_->ReadLn();
    FAIL() << "no error";
  } catch (const EInConnClosedGracefully& e) {
    EXPECT_TRUE(e.peerGone());
  }
  EXPECT_FALSE(handler_->Connected());
}

TEST_F(IOHandlerTest, GivesUpAfterTheReadTimeOut) {
  handler_->ReadTimeout = 50;
  EXPECT_EQ(errorOf([&] { handler_->ReadLn(); }), "Read timed out.");
}

TEST_F(IOHandlerTest, CollectsWritesUntilTheBufferCloses) {
  handler_->WriteBufferOpen();
  handler_->Write("HTTP/1.1 200 OK");
  handler_->WriteLn("");
  MemoryStream body("body");
  handler_->Write(body);
  char probe[64];
  EXPECT_EQ(::recv(peer_, probe, sizeof probe, MSG_DONTWAIT), -1);  // nothing sent yet
  handler_->WriteBufferClose();
  const ssize_t n = ::recv(peer_, probe, sizeof probe, 0);
  EXPECT_EQ(std::string(probe, static_cast<std::size_t>(n)), "HTTP/1.1 200 OK\r\nbody");
}

TEST_F(IOHandlerTest, WakesABlockedReadFromAnotherThread) {
  handler_->ReadTimeout = -1;
  std::thread stopper([this] {
    // The read may not have started yet; shutting down works either way.
    handler_->wakeUp();
  });
  EXPECT_THROW(handler_->ReadLn(), EInSocketError);
  stopper.join();
}

}  // namespace
}  // namespace orv
