#pragma once
// The ports that redirects name when the server sits behind a proxy that listens on
// other ports (see TIWServerControllerBase::RedirectPortString). Frozen with the
// controller's settings after start-up (property name "ProxyPortRedirection").
#include "framework/server/OptionGroup.h"

namespace orv {

class TIWProxyPortRedirection : public OptionGroup {
 public:
  bool Active() const { return active_; }
  void SetActive(bool v) {
    checkLock();
    active_ = v;
  }
  int HttpPort() const { return httpPort_; }
  void SetHttpPort(int v);
  int HttpsPort() const { return httpsPort_; }
  void SetHttpsPort(int v);

  void Assign(const TIWProxyPortRedirection& source) {
    checkLock();
    active_ = source.active_;
    httpPort_ = source.httpPort_;
    httpsPort_ = source.httpsPort_;
  }

 private:
  bool active_ = false;
  int httpPort_ = 80;
  int httpsPort_ = 443;
};

}  // namespace orv
