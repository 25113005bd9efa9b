// The program's entry: the framework's and the application's registrations (what unit
// initialisation does elsewhere), the start-up, and the framework's finalisation, which
// frees the server controller (every session, then the cache directory).
#include "app/AppUnits.h"
#include "framework/server/IWInit.h"
#include "host/TIWStart.h"

int main() {
  // 0, except when the foreground server ("-SERVE") could not run (see TIWStart::Run).
  int status = 0;
  try {
    orv::InitializeFramework();
    orv::InitializeApplicationUnits();
    status = orv::TIWStart::Execute(false);
    orv::FinalizeFramework();
  } catch (const std::exception& e) {
    orv::logStartError(e.what());
  } catch (...) {
    orv::logStartError("unknown error");
  }
  return status;
}
