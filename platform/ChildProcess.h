#pragma once
// The owner of one started program: the process it started leads its own session and
// process group (its id is the child's pid), so the whole group, grandchildren
// included, can be killed at once. The child never inherits a descriptor of ours (all
// descriptors above 2 are closed in it, whatever their close-on-exec flag), reads
// standard input from /dev/null, writes its output to /dev/null, and starts with
// default signal dispositions and an empty signal mask (a server that ignores SIGPIPE
// must not hand that to its solver).
//
// A ChildProcess is owned by the one thread that started it. Its destructor never
// leaves a zombie behind: a child still running then is killed with its group and
// reaped. Moving transfers that duty.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace orv {

class ChildProcess {
 public:
  // Starts the program file `path` with the argument vector `argv` (argv[0] included)
  // in `workingDir` (empty: ours). Nullopt when it could not be started; `error` then
  // holds the errno value.
  static std::optional<ChildProcess> start(const std::string& path,
                                           const std::vector<std::string>& argv,
                                           const std::string& workingDir, int& error);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  pid_t pid() const { return pid_; }
  bool running() const { return pid_ > 0; }

  // Checks without blocking whether the child has ended; its wait status when it has
  // (the child is then reaped and no longer running).
  std::optional<int> tryWait();
  // Blocks until the child has ended; its wait status.
  int wait();
  // SIGKILL to the child's whole process group.
  void killGroup();

 private:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  void reset() noexcept;

  pid_t pid_ = -1;  // -1 once reaped (or moved from)
};

}  // namespace orv
