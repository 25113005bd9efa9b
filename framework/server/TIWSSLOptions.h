#pragma once
// The TLS listener settings of the server controller. Port 0 means no TLS listener.
#include <set>
#include <string>

#include "framework/server/OptionGroup.h"

namespace orv {

enum class NonSSLRequestMode { nsAccept, nsBlock, nsRedirect };
enum class SSLVersion { SSLv2, SSLv23, SSLv3, TLSv1, TLSv11, TLSv12 };

class TIWSSLOptions : public OptionGroup {
 public:
  const std::string& CertificatePassword() const { return certificatePassword_; }
  void SetCertificatePassword(const std::string& v) { certificatePassword_ = v; }
  int Port() const { return port_; }
  // 0 (no TLS listener) to 65535; anything else raises "Invalid port value: " + value.
  void SetPort(int v);
  NonSSLRequestMode NonSSLRequest() const { return nonSSLRequest_; }
  void SetNonSSLRequest(NonSSLRequestMode v) { nonSSLRequest_ = v; }
  orv::SSLVersion SSLVersion() const { return sslVersion_; }
  void SetSSLVersion(orv::SSLVersion v) { sslVersion_ = v; }
  const std::string& CipherList() const { return cipherList_; }
  void SetCipherList(const std::string& v) { cipherList_ = v; }
  const std::set<orv::SSLVersion>& SSLVersions() const { return sslVersions_; }
  void SetSSLVersions(std::set<orv::SSLVersion> v) { sslVersions_ = std::move(v); }
  const std::string& DHParamsFile() const { return dhParamsFile_; }
  void SetDHParamsFile(const std::string& v) { dhParamsFile_ = v; }

  void Assign(const TIWSSLOptions& source);

 private:
  std::string certificatePassword_;
  int port_ = 0;
  NonSSLRequestMode nonSSLRequest_ = NonSSLRequestMode::nsAccept;
  orv::SSLVersion sslVersion_ = orv::SSLVersion::TLSv12;
  std::string cipherList_;
  std::set<orv::SSLVersion> sslVersions_;
  std::string dhParamsFile_;
};

}  // namespace orv
