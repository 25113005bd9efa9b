#pragma once
// The one rule for naming temporary files (cache files, spilled packet bodies, spilled
// request bodies): directory + prefix + the process start stamp + the next value of a
// process-wide counter + extension. The stamp is the local start time in whole
// milliseconds since 1899-12-30, the counter starts at 1; both in upper-case
// hexadecimal without leading zeros. Names are unique within the process; the stamp
// keeps them apart between runs. Thread-safe.
#include <string>

namespace orv {

// The prefix every temporary file of the system carries.
inline constexpr const char* kTempFilePrefix = "KVQ";

// Returns the name (the file is not created). A directory without a trailing "/" gets
// one; an empty directory raises "MakeTempFile: No path was provided"; an empty
// extension becomes ".tmp".
std::string MakeTempFile(const std::string& directory, const std::string& prefix = kTempFilePrefix,
                         const std::string& extension = "");

// The process start stamp used in the names (upper-case hexadecimal).
const std::string& tempFileStartStamp();

}  // namespace orv
