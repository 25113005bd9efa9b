#include "app/ServerController.h"

#include <memory>

#include "app/UserSessionUnit.h"
#include "framework/server/TIWApplication.h"

namespace orv {

TIWServerController::TIWServerController(ConstructionKey key) : TIWServerControllerBase(key) {}

void TIWServerController::ApplyStoredSettings() {
  SetAppName(std::string(kOrvAppName));
  SetDescription(std::string(kOrvDescription));
  SetDisplayName(std::string(kOrvDisplayName));
  SetPort(kOrvPort);
  SetSessionTimeout(10);
  SetShowLoadingAnimation(true);
  SetRedirectMsgDelay(0);
  SetServerResizeTimeout(0);
  // One session per browser, tracked by the cookie.
  SetAllowMultipleSessionsPerUser(false);
  SSLOptions().SetPort(0);  // no TLS listener
  SSLOptions().SetNonSSLRequest(NonSSLRequestMode::nsAccept);
  SSLOptions().SetSSLVersion(SSLVersion::SSLv3);
  SSLOptions().SetSSLVersions({});
  ExceptionLogger().SetReportInfos({ReportInfo::riAppInfo, ReportInfo::riExceptionInfo,
                                    ReportInfo::riIWAppInfo, ReportInfo::riStackTrace});
  // The controller outlives every session, so the handler's `this` stays valid.
  OnNewSession = [this](TIWApplication& session) { IWServerControllerBaseNewSession(session); };
}

void TIWServerController::IWServerControllerBaseNewSession(TIWApplication& ASession) {
  ASession.SetData(std::make_unique<TIWUserSession>(&ASession));
}

void InitializeServerControllerUnit() {
  TIWServerControllerBase::SetServerControllerClass<TIWServerController>();
}

}  // namespace orv
