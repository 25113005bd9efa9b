#include "framework/server/TIWSSLOptions.h"

namespace orv {

void TIWSSLOptions::SetPort(int v) {
  detail::checkPortValue(v);
  port_ = v;
}

void TIWSSLOptions::Assign(const TIWSSLOptions& source) {
  checkLock();
  certificatePassword_ = source.certificatePassword_;
  port_ = source.port_;
  nonSSLRequest_ = source.nonSSLRequest_;
  sslVersion_ = source.sslVersion_;
  cipherList_ = source.cipherList_;
  sslVersions_ = source.sslVersions_;
  dhParamsFile_ = source.dhParamsFile_;
}

}  // namespace orv
