#include "framework/server/TSaServerIn.h"

#include <mutex>
#include <stdexcept>

#include "framework/server/TIWServerControllerBase.h"
#include "transport/THTTPServerIn.h"

namespace orv {
namespace {

struct TlsSlot {
  std::mutex mutex;  // guards factory; a leaf lock
  TSaServerIn::TlsServerFactory factory;
};

TlsSlot& tlsSlot() {
  static TlsSlot slot;
  return slot;
}

}  // namespace

void TSaServerIn::SetTlsServerFactory(TlsServerFactory factory) {
  auto& s = tlsSlot();
  std::lock_guard hold(s.mutex);
  s.factory = std::move(factory);
}

TSaServerIn::TSaServerIn() {
  const TIWServerControllerBase* c = IWServerController();
  if (c == nullptr) throw std::runtime_error("No server controller is defined.");
  http_ = std::make_unique<THTTPServerIn>(c->BoundIP(), c->Port(), c->HttpKeepAlive());
}

TSaServerIn::~TSaServerIn() {
  try {
    Stop();
  } catch (...) {
  }
}

void TSaServerIn::Start() {
  TIWServerControllerBase* c = IWServerController();
  if (c == nullptr) throw std::runtime_error("No server controller is defined.");
  const int sslPort = c->SSLOptions().Port();
  if (sslPort > 0) {
    TlsServerFactory factory;
    {
      auto& s = tlsSlot();
      std::lock_guard hold(s.mutex);
      factory = s.factory;
    }
    if (!factory) throw std::runtime_error("The TLS listener is not part of this build.");
    https_ = factory(c->BoundIP(), sslPort);
    https_->SetActive(true);
  } else {
    c->SSLOptions().SetPort(0);
  }
  const bool blockPlain =
      sslPort > 0 && c->SSLOptions().NonSSLRequest() == NonSSLRequestMode::nsBlock;
  if (!blockPlain) {
    try {
      http_->SetActive(true);
    } catch (...) {
      if (https_) https_->SetActive(false);
      throw;
    }
    httpActive_ = true;
    c->SetPort(http_->Port());
  }
}

void TSaServerIn::Stop() {
  if (http_) http_->SetActive(false);
  httpActive_ = false;
  if (https_) https_->SetActive(false);
}

bool TSaServerIn::Active() const {
  return (http_ && http_->Active()) || (https_ && https_->Active());
}

int TSaServerIn::Port() const { return httpActive_ && http_->Active() ? http_->Port() : 0; }

int TSaServerIn::SSLPort() const {
  return https_ && https_->Active() ? https_->boundPort(0) : 0;
}

}  // namespace orv
