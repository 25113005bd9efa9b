#pragma once
// TIWStart: the program's start-up. It checks that the framework is initialised, runs
// the framework's AppInit (which builds the one server controller from the registered
// class), hands HTTP requests to the framework, and then runs either service mode or,
// with the "GUI" switch, the standalone server window. Every start-up error is
// appended to the log file beside the executable as "Error: " + its message, one line;
// none is shown in a dialog, and only the foreground server mode ("-SERVE")
// ends the process with an error code after one (see Run).
//
// Service mode and the window are installed as slots (SetServiceInit,
// SetWindowFactory) by their own units; while a slot is empty its branch does nothing
// and Run ends after start-up.
//
// Used on the main thread only. The slots are process-wide, set before Execute.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ServerWindow.h"

namespace orv {

class TIWStart {
 public:
  // mShowUI := aForceUI, or whether the process's command line holds "GUI".
  explicit TIWStart(bool aForceUI);
  // The same with the parameters given (argv[1..]).
  TIWStart(bool aForceUI, std::vector<std::string> params);

  // Creates a TIWStart, runs it and frees it; returns Run's exit status.
  static int Execute(bool aForceUI);
  static int Execute(bool aForceUI, std::vector<std::string> params);

  // The start sequence. Never throws: errors go to the log file. Returns the process's
  // exit status: 0, except after a failure in the foreground server mode ("-SERVE"),
  // where a user at the terminal must see that the server did not run (1).
  int Run();

  // True when the process must run with the desktop window.
  bool mShowUI;

  // Service mode (ServiceInit): called with the controller's AppName as application
  // and service name and its Description. Installs or removes the service, or runs
  // what the service runs as the service until it is stopped. Returns true when it did
  // one of those. ("-SERVE", the same in the foreground, is run by Run itself through
  // ServeForeground and never reaches this slot.)
  using ServiceInitProc = std::function<bool(
      const std::string& appName, const std::string& serviceName, const std::string& description)>;
  static void SetServiceInit(ServiceInitProc proc);

  // Makes the standalone window.
  using WindowFactory = std::function<std::unique_ptr<ServerWindow>()>;
  static void SetWindowFactory(WindowFactory factory);

 private:
  void runSteps();

  std::vector<std::string> params_;
  // The desktop application has been told to terminate (service mode always ends so).
  bool terminated_ = false;
};

// Appends "Error: " + message to the application log (and to standard error).
void logStartError(const std::string& message);

}  // namespace orv
