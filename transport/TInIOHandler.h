#pragma once
// The buffered reader and writer of one connection: line reading with a length limit,
// capturing header blocks, counted reads, and writes that can be collected and sent as
// one block. Owns the connection's socket and its input buffer.
//
// Threads: every operation belongs to the connection's own thread, except `wakeUp`,
// which the server's stop sequence calls from its thread to make a blocked read or
// write return. The socket is non-blocking; waits are poll() calls bounded by
// `ReadTimeout` / `WriteTimeout` (-1: no limit) and by an optional deadline.
//
// The input buffer is bounded: a line is given up as soon as more than
// `MaxLineLength` bytes have arrived without a line feed.
//
// Reading and writing go through two virtual calls (`readFromSource`,
// `writeToDestination`) so that an encrypted connection can put itself in between.
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "transport/ByteStream.h"
#include "transport/Socket.h"

namespace orv {

class TInIOHandler {
 public:
  using Clock = std::chrono::steady_clock;

  explicit TInIOHandler(Socket socket);
  virtual ~TInIOHandler();
  TInIOHandler(const TInIOHandler&) = delete;
  TInIOHandler& operator=(const TInIOHandler&) = delete;

  // Bytes moved per socket call.
  int RecvBufferSize = 32768;
  int SendBufferSize = 32768;
  // Longest line ReadLn accepts, in bytes, without its LF (the CR counts).
  int MaxLineLength = 32768;
  // Most lines Capture accepts (-1: no limit).
  int MaxCapturedLines = -1;
  // Longest wait for incoming bytes / for room to send, in ms (-1: no limit).
  int ReadTimeout = -1;
  int WriteTimeout = -1;

  // Reads one line: the bytes up to LF, without the LF and one CR before it; bytes
  // above 127 read as "?". Raises "Max line length exceeded.", "Read timed out.",
  // or a socket error (EInConnClosedGracefully when the peer has closed).
  std::string ReadLn();
  // Reads lines into `lines` up to an empty line (not added). More than
  // MaxCapturedLines lines raise "Maximum number of line allowed exceeded".
  void Capture(std::vector<std::string>& lines);
  // Moves exactly `count` bytes from the buffer and the socket into the sink.
  void ReadStream(ByteSink& sink, std::uint64_t count);
  bool InputBufferIsEmpty() const { return begin_ == end_; }
  // True when bytes are buffered or arrive within `timeoutMs`.
  bool CheckForDataOnSource(int timeoutMs);

  void Write(std::string_view bytes);
  void Write(ByteStream& stream);
  // The text followed by CR LF.
  void WriteLn(std::string_view text);
  // Collects output in memory until WriteBufferClose sends it as one block; on an error
  // the collected bytes are discarded.
  void WriteBufferOpen();
  void WriteBufferClose();
  void WriteBufferCancel();
  bool WriteBufferIsOpen() const { return writeBufferOpen_; }

  // The socket is open and the peer has not closed its side.
  bool Connected() const;
  // Closes the socket. When the peer sent bytes that were never read, the sending side
  // is shut first and those bytes are drained for a short while, so that the peer
  // receives the answer instead of a reset.
  void Close();
  // From any thread: shuts the socket down so that a blocked read or write returns.
  void wakeUp();

  // Waits for reads end at this point in time as well (cleared with nullopt).
  void setReadDeadline(std::optional<Clock::time_point> deadline) { readDeadline_ = deadline; }

  // The addresses of either end (looked up on first use).
  const SocketAddress& peerAddress() const;
  const SocketAddress& localAddress() const;
  int fd() const { return socket_.fd(); }

 protected:
  // Reads up to n bytes; 0 when the peer has closed. Waits at most timeoutMs (-1: no
  // limit) and raises EInReadTimeout after that.
  virtual std::size_t readFromSource(char* dest, std::size_t n, int timeoutMs);
  // Sends all n bytes.
  virtual void writeToDestination(const char* data, std::size_t n);

 private:
  // Reads more bytes into the buffer; raises EInConnClosedGracefully at the end.
  void fill();
  int waitMs() const;
  void send(std::string_view bytes);

  Socket socket_;
  // Guards the descriptor's lifetime between Close (owner thread) and wakeUp (the stop
  // sequence). A leaf lock: nothing else is taken while holding it.
  mutable std::mutex fdMutex_;
  mutable std::optional<SocketAddress> peer_;
  mutable std::optional<SocketAddress> local_;
  bool peerClosed_ = false;

  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t begin_ = 0;    // first unread byte
  std::size_t end_ = 0;      // one past the last received byte
  std::size_t scanned_ = 0;  // bytes after begin_ already searched for LF

  bool writeBufferOpen_ = false;
  std::string writeBuffer_;
  std::optional<Clock::time_point> readDeadline_;
};

}  // namespace orv
