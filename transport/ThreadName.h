#pragma once
// Names of the transport's threads ("<server> Listener #1", "<server>Scheduler User").
// The full name is kept per thread for diagnostics; the operating system's copy (what
// ps and debuggers show) is cut to the 15 bytes it holds.
#include <string>

namespace orv {

// Names the calling thread.
void setCurrentThreadName(const std::string& name);
// The calling thread's name; "InThread (unknown)" for a thread never named.
const std::string& currentThreadName();

}  // namespace orv
