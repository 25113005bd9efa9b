#include "framework/server/TIWProxyPortRedirection.h"

namespace orv {

void TIWProxyPortRedirection::SetHttpPort(int v) {
  checkLock();
  detail::checkPortValue(v);
  httpPort_ = v;
}

void TIWProxyPortRedirection::SetHttpsPort(int v) {
  checkLock();
  detail::checkPortValue(v);
  httpsPort_ = v;
}

}  // namespace orv
