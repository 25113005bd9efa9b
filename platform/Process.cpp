#include "platform/Process.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "platform/ChildProcess.h"

extern char** environ;

namespace orv {

namespace detail {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(10);

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool isRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool startsWithMZ(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char magic[2] = {};
  ssize_t n;
  do {
    n = ::read(fd, magic, 2);
  } while (n < 0 && errno == EINTR);
  ::close(fd);
  return n == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

std::string joinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// Executable regular file on the absolute entries of PATH.
std::string findOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  std::string_view rest(path);
  for (;;) {
    const auto colon = rest.find(':');
    const std::string dir(rest.substr(0, colon));
    // Relative entries would make the look-up depend on the current directory, which
    // page creation changes; they are skipped.
    if (!dir.empty() && dir.front() == '/') {
      const std::string candidate = joinPath(dir, name);
      if (isRegularFile(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return {};
}

bool usable(const std::string& candidate) {
  if (!isRegularFile(candidate)) return false;
  // A Windows program runs only through wine, whatever its permission bits say.
  if (startsWithMZ(candidate)) return !findOnPath("wine").empty();
  return ::access(candidate.c_str(), X_OK) == 0;
}

// The program file and argument vector for a split command; false when the program
// cannot be found or started.
struct Launch {
  std::string path;
  std::vector<std::string> argv;
};

std::optional<Launch> prepare(const std::string& command, const std::string& workingDir) {
  std::vector<std::string> words = splitCommandLine(command);
  if (words.empty() || words.front().empty()) return std::nullopt;
  const std::string program = findProgram(words.front(), workingDir);
  if (program.empty()) return std::nullopt;
  Launch l;
  if (startsWithMZ(program)) {
    l.path = findOnPath("wine");
    if (l.path.empty()) return std::nullopt;
    l.argv.push_back("wine");
    l.argv.push_back(program);
    l.argv.insert(l.argv.end(), words.begin() + 1, words.end());
  } else {
    l.path = program;
    l.argv = std::move(words);
  }
  return l;
}

// Closes every descriptor from `from` on, except `keep`. Async-signal-safe.
void closeAllFrom(int from, int keep) {
  if (keep >= from) {
    if (keep > from) ::syscall(SYS_close_range, from, keep - 1, 0);
    ::syscall(SYS_close_range, keep + 1, ~0U, 0);
  } else {
    ::syscall(SYS_close_range, from, ~0U, 0);
  }
}

// Starts `l` as a grandchild: fork, the child starts a new session and forks again,
// the grandchild sets up and execs, the child exits at once and is reaped here. A
// close-on-exec pipe brings an exec failure back (EOF means the exec succeeded).
// Between fork and exec only async-signal-safe calls are made, because other threads
// of the server may hold locks at the moment of the fork.
bool spawnDetached(const Launch& l, const std::string& workingDir) {
  std::vector<char*> args;
  args.reserve(l.argv.size() + 1);
  for (const std::string& a : l.argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const char* path = l.path.c_str();
  const char* dir = workingDir.empty() ? nullptr : workingDir.c_str();

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;
  const int readEnd = pipeFds[0], writeEnd = pipeFds[1];

  const pid_t child = ::fork();
  if (child < 0) {
    ::close(readEnd);
    ::close(writeEnd);
    return false;
  }
  if (child == 0) {
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
    auto fail = [&](int err) {
      while (::write(writeEnd, &err, sizeof err) < 0 && errno == EINTR) {
      }
      ::_exit(127);
    };
    if (dir != nullptr && ::chdir(dir) != 0) fail(errno);
    const int nullFd = ::open("/dev/null", O_RDWR);
    if (nullFd < 0) fail(errno);
    ::dup2(nullFd, 0);
    ::dup2(nullFd, 1);
    ::dup2(nullFd, 2);
    closeAllFrom(3, writeEnd);
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int sig = 1; sig < 32; ++sig) {
      if (sig != SIGKILL && sig != SIGSTOP) ::sigaction(sig, &dfl, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execve(path, args.data(), environ);
    fail(errno);
  }

  ::close(writeEnd);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int err = 0;
  ssize_t n;
  do {
    n = ::read(readEnd, &err, sizeof err);
  } while (n < 0 && errno == EINTR);
  ::close(readEnd);
  const bool forked = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return forked && n == 0;
}

}  // namespace
}  // namespace detail

std::vector<std::string> splitCommandLine(const std::string& command) {
  std::vector<std::string> words;
  std::size_t i = 0;
  const std::size_t n = command.size();
  while (i < n) {
    while (i < n && detail::isBlank(command[i])) ++i;
    if (i >= n) break;
    std::string word;
    bool quoted = false;
    while (i < n && (quoted || !detail::isBlank(command[i]))) {
      if (command[i] == '"') {
        quoted = !quoted;
      } else {
        word += command[i];
      }
      ++i;
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string findProgram(const std::string& name, const std::string& workingDir) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) {
    const std::string candidate = name.front() == '/' ? name : detail::joinPath(workingDir, name);
    return detail::usable(candidate) ? candidate : std::string();
  }
  if (!workingDir.empty()) {
    const std::string candidate = detail::joinPath(workingDir, name);
    if (detail::usable(candidate)) return candidate;
  }
  return detail::findOnPath(name);
}

ProcessResult runProcessAndWait(const std::string& command, const std::string& workingDir,
                                std::optional<std::chrono::milliseconds> limit) {
  ProcessResult result;
  const auto launch = detail::prepare(command, workingDir);
  if (!launch) return result;
  int error = 0;
  std::optional<ChildProcess> child =
      ChildProcess::start(launch->path, launch->argv, workingDir, error);
  if (!child) return result;

  const auto started = std::chrono::steady_clock::now();
  for (;;) {
    if (const std::optional<int> status = child->tryWait()) {
      result.outcome = ProcessOutcome::Finished;
      if (WIFEXITED(*status)) {
        result.exitCode = WEXITSTATUS(*status);
      } else if (WIFSIGNALED(*status)) {
        result.signal = WTERMSIG(*status);
        result.exitCode = 128 + result.signal;
      }
      return result;
    }
    if (limit && std::chrono::steady_clock::now() - started >= *limit) {
      child->killGroup();
      child->wait();
      result.outcome = ProcessOutcome::TimedOut;
      return result;
    }
    std::this_thread::sleep_for(detail::kPollInterval);
  }
}

bool startProcessDetached(const std::string& command, const std::string& workingDir) {
  const auto launch = detail::prepare(command, workingDir);
  return launch && detail::spawnDetached(*launch, workingDir);
}

bool shellOpen(const std::string& fileName) {
  if (fileName.empty() || !detail::isRegularFile(fileName)) return false;
  std::string file = fileName;
  if (file.front() != '/') {
    // An absolute name can never be taken for an option of the handler.
    char* cwd = ::getcwd(nullptr, 0);
    if (cwd == nullptr) return false;
    file = detail::joinPath(cwd, file);
    std::free(cwd);
  }
  detail::Launch l;
  l.path = detail::findOnPath("xdg-open");
  if (l.path.empty()) return false;
  l.argv = {"xdg-open", file};
  return detail::spawnDetached(l, {});
}

}  // namespace orv
