#include "framework/server/IWInit.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <mutex>
#include <stdexcept>
#include <string>

#include "framework/server/Messages.h"
#include "framework/server/ServerSideInit.h"
#include "framework/server/TIWServerControllerBase.h"

namespace orv {

namespace {

struct Registrations {
  std::mutex mutex;  // guards the three fields; a leaf lock, never held across calls out
  AppInitProc appInit;
  MainFormClass mainFormClass;
  std::unique_ptr<TIWServerControllerBase> controller;  // built by FrameworkAppInit
};

Registrations& registrations() {
  static Registrations r;
  return r;
}

bool onProcessMainThread() { return ::syscall(SYS_gettid) == ::getpid(); }

}  // namespace

void SetAppInit(AppInitProc proc) {
  auto& r = registrations();
  std::lock_guard lock(r.mutex);
  r.appInit = std::move(proc);
}

AppInitProc GetAppInit() {
  auto& r = registrations();
  std::lock_guard lock(r.mutex);
  return r.appInit;
}

void InitializeFramework() {
  // The per-thread "current session" slot needs no installing (CurrentSession.h).
  SetAppInit(&FrameworkAppInit);
}

void FrameworkAppInit() {
  // Sessions find their forms by component name through a finder that the session
  // layer registers here, and data modules made during a request join their session
  // (see TIWUserSessionBase); both are added with the session layer.
  const auto factory = TIWServerControllerBase::GetServerControllerClass();
  if (!factory) throw std::runtime_error(std::string(msg::kNoServerController));

  // Built outside the lock: the construction order runs the application's OnConfig.
  std::unique_ptr<TIWServerControllerBase> controller = factory();
  {
    auto& r = registrations();
    std::lock_guard lock(r.mutex);
    r.controller = std::move(controller);
  }

  // The embedded file table takes JavaScriptOptions.UseUncompressedFiles and
  // Compression.PreCompress from the controller, and the reply compressor a copy of its
  // Compression options.
  if (TIWServerControllerBase* built = IWServerController()) InitServerSide(*built);

  if (!onProcessMainThread()) {
    ::pthread_setname_np(::pthread_self(), std::string(msg::kMainThreadName).c_str());
  }
}

void FinalizeFramework() {
  std::unique_ptr<TIWServerControllerBase> controller;
  {
    auto& r = registrations();
    std::lock_guard lock(r.mutex);
    controller = std::move(r.controller);
  }
  controller.reset();  // outside the lock: destruction frees every session
}

void SetMainFormClass(MainFormClass factory) {
  auto& r = registrations();
  std::lock_guard lock(r.mutex);
  r.mainFormClass = std::move(factory);
}

MainFormClass GetMainFormClass() {
  auto& r = registrations();
  std::lock_guard lock(r.mutex);
  return r.mainFormClass;
}

}  // namespace orv
