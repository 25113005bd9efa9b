#pragma once
// Starting and waiting for outside programs (the solver, the browser).
//
// A command text is split at blanks (double-quoted words stay together); the program
// is looked up first in the working directory the caller names, then on PATH (only its
// absolute entries). The child gets that working directory, standard input from
// /dev/null, its output to /dev/null and no descriptor of ours (every descriptor the
// server opens is close-on-exec, and the child closes whatever is left above 2). A
// program file starting with "MZ" is started through `wine` when wine is on PATH (such
// a file needs no execute permission, as files copied from Windows rarely have one);
// without wine it cannot be started. The child leads its own process group, so a
// time-out kills the solver together with anything it started.
//
// All functions are safe from many threads at once; each call owns its own child.
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
  int exitCode = -1;  // when Finished: the exit code, or 128 + signal when killed by one
  int signal = 0;     // when Finished by a signal: its number
};

// Splits a command text into words as described above: blanks and TABs separate
// words, a double quote opens or closes a quoted stretch (the quote itself is dropped),
// `""` is an empty word.
std::vector<std::string> splitCommandLine(const std::string& command);

// The file a program name starts: a name with a "/" is taken as a path (relative ones
// from workingDir); a bare name is looked for in workingDir, then on PATH. A candidate
// must be a regular file that is executable or, with wine available, starts with "MZ".
// Empty when nothing fits.
std::string findProgram(const std::string& name, const std::string& workingDir);

// Starts the command and waits for its end, checking the child every 10 ms without
// blocking. With a limit, a child still running after it is killed (SIGKILL to its
// process group), reaped, and TimedOut is reported.
ProcessResult runProcessAndWait(const std::string& command, const std::string& workingDir,
                                std::optional<std::chrono::milliseconds> limit = std::nullopt);

// Starts a command without waiting. The program is started as a grandchild whose
// parent ends at once (and is reaped here), so it never lingers as our zombie and
// outlives us freely. False when it could not be started (not found, exec failed).
bool startProcessDetached(const std::string& command, const std::string& workingDir);

// Opens an existing file with the desktop's handler (xdg-open), without waiting.
// False, at once, when the text names no existing regular file or no handler could be
// started.
bool shellOpen(const std::string& fileName);

}  // namespace orv
