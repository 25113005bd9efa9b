#include "platform/ChildProcess.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <cerrno>
#include <csignal>

extern char** environ;

namespace orv {

namespace detail {
namespace {

// RAII for the two posix_spawn records.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
  }
  ~SpawnSetup() {
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace
}  // namespace detail

std::optional<ChildProcess> ChildProcess::start(const std::string& path,
                                                const std::vector<std::string>& argv,
                                                const std::string& workingDir, int& error) {
  detail::SpawnSetup s;
  int rc = 0;
  if (!workingDir.empty())
    rc = posix_spawn_file_actions_addchdir_np(&s.actions, workingDir.c_str());
  if (rc == 0) rc = posix_spawn_file_actions_addopen(&s.actions, 0, "/dev/null", O_RDONLY, 0);
  if (rc == 0) rc = posix_spawn_file_actions_addopen(&s.actions, 1, "/dev/null", O_WRONLY, 0);
  if (rc == 0) rc = posix_spawn_file_actions_adddup2(&s.actions, 1, 2);
  // Belt and braces for the close-on-exec discipline: a descriptor some library opened
  // without the flag still never reaches the child.
  if (rc == 0) rc = posix_spawn_file_actions_addclosefrom_np(&s.actions, 3);

  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int sig = 1; sig < 32; ++sig) {
    if (sig != SIGKILL && sig != SIGSTOP) sigaddset(&defaults, sig);
  }
  if (rc == 0) rc = posix_spawnattr_setsigmask(&s.attr, &none);
  if (rc == 0) rc = posix_spawnattr_setsigdefault(&s.attr, &defaults);
  if (rc == 0) {
    rc = posix_spawnattr_setflags(
        &s.attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  if (rc != 0) {
    error = rc;
    return std::nullopt;
  }

  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  pid_t pid = -1;
  rc = posix_spawn(&pid, path.c_str(), &s.actions, &s.attr, args.data(), environ);
  if (rc != 0) {
    error = rc;
    return std::nullopt;
  }
  error = 0;
  return ChildProcess(pid);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : pid_(other.pid_) { other.pid_ = -1; }

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    reset();
    pid_ = other.pid_;
    other.pid_ = -1;
  }
  return *this;
}

ChildProcess::~ChildProcess() { reset(); }

void ChildProcess::reset() noexcept {
  if (pid_ > 0) {
    killGroup();
    wait();
  }
}

std::optional<int> ChildProcess::tryWait() {
  if (pid_ <= 0) return std::nullopt;
  int status = 0;
  pid_t r;
  do {
    r = ::waitpid(pid_, &status, WNOHANG);
  } while (r < 0 && errno == EINTR);
  if (r == 0) return std::nullopt;
  pid_ = -1;  // reaped (or, on ECHILD, reaped by someone else: nothing left to own)
  return r < 0 ? 0 : status;
}

int ChildProcess::wait() {
  if (pid_ <= 0) return 0;
  int status = 0;
  pid_t r;
  do {
    r = ::waitpid(pid_, &status, 0);
  } while (r < 0 && errno == EINTR);
  pid_ = -1;
  return r < 0 ? 0 : status;
}

void ChildProcess::killGroup() {
  // The child leads its own session, so its process group id is its pid. Before the
  // child is reaped its pid cannot be reused, so this never hits a stranger's group.
  // The child itself too, in case it moved to a group of its own.
  if (pid_ > 0) {
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
  }
}

}  // namespace orv
