#pragma once
// The foreground server ("-SERVE" or "/SERVE", any letter case): exactly what the
// service runs, in the terminal, until SIGINT or SIGTERM. It opens the listeners
// through TSaServerIn (as the window and the service do), prints the start address,
// waits for the stop signal, then stops the listeners (waiting for the requests that
// run) and frees every session, each page's destroy handler included. The purge thread
// and the cache directory go with the controller afterwards (FinalizeFramework).
//
// Runs on the main thread after start-up; a failure to start (a port in use, ...)
// raises, so the caller can report it and end the process with an error code.
#include <string>
#include <vector>

namespace orv {

// Whether the parameters hold the switch "SERVE" ("-" or "/" in front, any case).
bool HasServeSwitch(const std::vector<std::string>& params);

// Serves until SIGINT or SIGTERM. Raises when the listeners cannot start.
void ServeForeground();

}  // namespace orv
