#pragma once
// The application log: one line per entry in the file <appPath><appName>.<ext>,
// "local date and time, one blank, the text", CR LF, the date and time written
// "YYYY-MM-DD HH:MM:SS". Appends are serialised by one process-wide lock because
// request threads and the purge thread may log at once; each line goes to the file in
// one write, opened for appending, so lines of two processes never interleave either.
// A line break inside the text becomes a blank: one entry is always one line.
#include <string>

namespace orv {

// Appends one time-stamped line; creates the file when missing. Never throws: a log
// that cannot be written must not take the caller down.
void LogFileAppend(const std::string& text, const std::string& ext);

}  // namespace orv
