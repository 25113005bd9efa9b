#pragma once
// ServerController: this application's server controller. TIWServerController fixes
// the program's server settings at build time (every value that differs from the
// framework's defaults) and gives each new browser session its TIWUserSession.
//
// One instance per process, built at start-up by the framework from the registered
// class (InitializeServerControllerUnit) and reached through IWServerController().
#include <string_view>

#include "framework/server/TIWServerControllerBase.h"

namespace orv {

class TIWApplication;

// The build-time settings that are texts.
inline constexpr std::string_view kOrvAppName = "ORVWS_8001";
inline constexpr std::string_view kOrvDescription = "ORV Web Server Application  for port 8001";
inline constexpr std::string_view kOrvDisplayName = "ORV Web Server Application";
inline constexpr int kOrvPort = 8001;

class TIWServerController : public TIWServerControllerBase {
 public:
  explicit TIWServerController(ConstructionKey key);

  // OnNewSession: gives the session a fresh TIWUserSession (no owner); the session's
  // Data owns it from then on.
  void IWServerControllerBaseNewSession(TIWApplication& ASession);

 protected:
  void ApplyStoredSettings() override;
};

// Registers TIWServerController as the class start-up builds.
void InitializeServerControllerUnit();

}  // namespace orv
