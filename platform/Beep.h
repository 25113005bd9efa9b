#pragma once
// A server has no speaker: the warning sound is counted, never made audible. Tests read
// the count to check that an operation beeped.
//
// The counters are process-wide (every request thread beeps into the same ones) and
// every function here is safe from any thread.
#include <cstdint>

namespace orv {

// The platform's warning sound with its type value (25 for Beep, 5 for a failed start).
void MessageBeep(unsigned type);
// Beeps sounded by this process so far (all threads).
std::uint64_t beepCount();
// Beeps of one type value sounded by this process so far (all threads).
std::uint64_t beepCount(unsigned type);

// The Shift key of the server machine: "held" while the operator asks to keep the
// solver's files (ORVWS_KEEP_FILES=1 at start, or the desktop window's toggle).
bool shiftKeyHeld();
void setKeepFiles(bool keep);

}  // namespace orv
