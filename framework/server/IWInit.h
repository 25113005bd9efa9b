#pragma once
// The framework's start-up unit: the process-wide registrations that start-up reads and
// the start-up procedure AppInit that builds the server controller.
//
// A C++ static library has no unit initialisation that runs by itself, so the program's
// entry makes the calls in order: InitializeFramework() (installs AppInit), the
// application's registrations (its controller class with
// TIWServerControllerBase::SetServerControllerClass, its main page class with
// SetMainFormClass), the start-up object, and FinalizeFramework() at the end.
//
// Registrations are made on the main thread before start-up and read afterwards;
// each slot has its own lock, so reading from another thread is safe too.
#include <functional>
#include <memory>

namespace orv {

class TIWApplication;
class TIWAppForm;

// The start-up procedure slot; empty means the framework is not initialised.
using AppInitProc = std::function<void()>;
void SetAppInit(AppInitProc proc);
AppInitProc GetAppInit();

// Installs FrameworkAppInit into the AppInit slot.
void InitializeFramework();

// The framework's AppInit: raises "No server controller is defined." when no controller
// class is registered, otherwise builds the controller from the registered class (its
// construction order runs; any error propagates) and keeps it until FinalizeFramework.
// Also prepares the embedded file table and the reply compressor from the controller's
// settings and names the calling thread "IW Main Thread" (unless it is the process's
// main thread, whose name is the process name that ps and pidof show).
void FrameworkAppInit();

// Frees the controller built by FrameworkAppInit (every session goes with it, then the
// cache directory). Safe to call when there is none.
void FinalizeFramework();

// The main page class: makes the first page of a session (the session owns the page).
using MainFormClass = std::function<std::unique_ptr<TIWAppForm>(TIWApplication& session)>;
void SetMainFormClass(MainFormClass factory);
// Empty when none is registered.
MainFormClass GetMainFormClass();

}  // namespace orv
