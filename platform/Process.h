#pragma once
// Starting and waiting for outside programs (the solver, the browser).
//
// A command text is split at blanks (double-quoted words stay together); the program
// is looked up first in the working directory the caller names, then on PATH. The
// child gets that working directory, standard input from /dev/null, its output to
// /dev/null and no descriptor of ours (every descriptor the server opens is
// close-on-exec). A program file starting with "MZ" is started through `wine` when
// wine is on PATH. The child leads its own process group, so a time-out kills the
// solver together with anything it started.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace orv {

enum class ProcessOutcome {
  Finished,     // the program ran and ended (any exit code)
  StartFailed,  // the program could not be started (not found, not executable, ...)
  TimedOut,     // still running at the time limit: killed with its process group
};

struct ProcessResult {
  ProcessOutcome outcome = ProcessOutcome::StartFailed;
  int exitCode = -1;  // when Finished
};

// Splits a command text into words as described above.
std::vector<std::string> splitCommandLine(const std::string& command);

// Starts the command and waits for its end, checking the child every 10 ms without
// blocking. With a limit, a child still running after it is killed (SIGKILL to its
// process group), reaped, and TimedOut is reported.
ProcessResult runProcessAndWait(const std::string& command, const std::string& workingDir,
                                std::optional<std::chrono::milliseconds> limit = std::nullopt);

// Starts a command without waiting (the child is reaped by a detached waiter so it
// never lingers as a zombie). False when it could not be started.
bool startProcessDetached(const std::string& command, const std::string& workingDir);

// Opens an existing file with the desktop's handler (xdg-open). False, at once, when
// the text names no existing file or no handler could be started.
bool shellOpen(const std::string& fileName);

}  // namespace orv
