#include "host/TIWStart.h"

#include <cstdio>
#include <mutex>
#include <stdexcept>

#include "framework/server/IWInit.h"
#include "framework/server/Messages.h"
#include "framework/server/TIWServer.h"
#include "framework/server/TIWServerControllerBase.h"
#include "host/CommandLine.h"
#include "host/ForegroundServer.h"
#include "host/Messages.h"
#include "platform/LogFile.h"
#include "transport/HttpHook.h"

namespace orv {

namespace {

struct StartSlots {
  std::mutex mutex;  // guards both slots; a leaf lock, never held while calling them
  TIWStart::ServiceInitProc serviceInit;
  TIWStart::WindowFactory windowFactory;
};

StartSlots& startSlots() {
  static StartSlots s;
  return s;
}

}  // namespace

void logStartError(const std::string& message) {
  const std::string line = std::string(msg::kStartErrorPrefix) + message;
  LogFileAppend(line, std::string(msg::kLogExtension));
  // Started from a terminal, the operator sees it at once.
  std::fprintf(stderr, "%s\n", line.c_str());
}

TIWStart::TIWStart(bool aForceUI) : TIWStart(aForceUI, processParams()) {}

TIWStart::TIWStart(bool aForceUI, std::vector<std::string> params)
    : mShowUI(aForceUI || findCmdLineSwitch(params, msg::kGuiSwitch)), params_(std::move(params)) {}

int TIWStart::Execute(bool aForceUI) {
  TIWStart start(aForceUI);
  return start.Run();
}

int TIWStart::Execute(bool aForceUI, std::vector<std::string> params) {
  TIWStart start(aForceUI, std::move(params));
  return start.Run();
}

void TIWStart::SetServiceInit(ServiceInitProc proc) {
  auto& s = startSlots();
  std::lock_guard lock(s.mutex);
  s.serviceInit = std::move(proc);
}

void TIWStart::SetWindowFactory(WindowFactory factory) {
  auto& s = startSlots();
  std::lock_guard lock(s.mutex);
  s.windowFactory = std::move(factory);
}

int TIWStart::Run() {
  try {
    runSteps();
    return 0;
  } catch (const std::exception& e) {
    logStartError(e.what());
  } catch (...) {
    logStartError("unknown error");
  }
  return HasServeSwitch(params_) ? 1 : 0;
}

void TIWStart::runSteps() {
  // 1, 2: the framework's start-up builds the server controller.
  const AppInitProc appInit = GetAppInit();
  if (!appInit) throw std::runtime_error(std::string(msg::kAppNotInitialized));
  appInit();
  TIWServerControllerBase* const built = IWServerController();
  if (built == nullptr) throw std::runtime_error(std::string(msg::kNoServerController));
  TIWServerControllerBase& controller = *built;

  // 3: from here on every HTTP request enters the framework.
  setHttpHook(&HttpExecute);

  ServiceInitProc serviceInit;
  WindowFactory windowFactory;
  {
    auto& s = startSlots();
    std::lock_guard lock(s.mutex);
    serviceInit = s.serviceInit;
    windowFactory = s.windowFactory;
  }

  // 4: without the window: "-SERVE" runs what the service runs in the foreground until
  // SIGINT or SIGTERM; otherwise service mode installs or removes the service or runs
  // as the service. Either way the process ends afterwards; the window never shows.
  if (!mShowUI) {
    if (HasServeSwitch(params_)) {
      ServeForeground();
    } else if (serviceInit) {
      mShowUI = !serviceInit(controller.AppName(), controller.AppName(), controller.Description());
    }
    terminated_ = true;
  }

  // 5: the standalone window hosts the server until it is closed. A failed Start (a
  // port in use, ...) is logged in the window and in the log file; the window stays.
  if (!terminated_ && mShowUI && windowFactory) {
    const std::unique_ptr<ServerWindow> window = windowFactory();
    try {
      window->Start();
    } catch (const std::exception& e) {
      const std::string line = std::string(msg::kStartErrorPrefix) + e.what();
      window->Log(line);
      LogFileAppend(line, std::string(msg::kLogExtension));
    }
    window->RunMessageLoop();
  }
}

}  // namespace orv
