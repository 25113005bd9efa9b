#pragma once
// The paths derived from the running executable, computed once per process:
// the executable's full file name (from /proc/self/exe, links resolved), the
// application path (its directory, with a trailing "/"), the application name (file
// name without extension) and the system temporary directory ($TMPDIR when it names an
// absolute directory, else /tmp, with a trailing "/").
//
// Process-wide and read-only after the first call; tests that need another
// application directory (a folder holding their own layout files) replace the
// application path with setAppPathForTesting(). Every snapshot handed out stays alive
// until the process ends, so a reference from exePaths() never dangles, even across a
// replacement. Thread-safe.
#include <string>

namespace orv {

struct ExePaths {
  std::string exeFileName;  // /abs/dir/ORVWS
  std::string appPath;      // /abs/dir/
  std::string appName;      // ORVWS
  std::string tempDir;      // /tmp/
};

// The process's paths (computed on first use).
const ExePaths& exePaths();

// Replaces the application path (and with it MainDir, the log file's folder, ...).
// The argument gets a trailing "/" when missing. For tests only.
void setAppPathForTesting(const std::string& appPath);

}  // namespace orv
