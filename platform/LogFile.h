#pragma once
// The application log: one line per entry in the file <appPath><appName>.<ext>,
// "local date and time, one blank, the text", CR LF. Appends are serialised by one
// process-wide lock because request threads and the purge thread may log at once.
#include <string>

namespace orv {

// Appends one time-stamped line; creates the file when missing. Never throws: a log
// that cannot be written must not take the caller down.
void LogFileAppend(const std::string& text, const std::string& ext);

}  // namespace orv
