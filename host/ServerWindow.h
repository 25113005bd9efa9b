#pragma once
// ServerWindow: what start-up needs of the standalone server window (the desktop
// window that hosts the HTTP server when the program runs with "GUI"). The window
// itself lives in its own target, the only one that uses the desktop toolkit, and
// registers a factory with TIWStart::SetWindowFactory; start-up and the server core
// never depend on the toolkit.
//
// Start-up owns the window from creation until its message loop has ended; every call
// comes from the main thread.
#include <string>

namespace orv {

class ServerWindow {
 public:
  virtual ~ServerWindow() = default;
  // Opens the listeners (HTTP on the controller's Port, TLS when a TLS port is set)
  // and marks the controller's GUIActive. May raise (a port in use, ...).
  virtual void Start() = 0;
  // Appends a line to the window's log tab.
  virtual void Log(const std::string& text) = 0;
  // Runs the window until it is closed.
  virtual void RunMessageLoop() = 0;
};

}  // namespace orv
