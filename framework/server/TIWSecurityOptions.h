#pragma once
// Checks applied to every request of a session (same client IP, same user agent, ...).
#include "framework/server/OptionGroup.h"

namespace orv {

class TIWSecurityOptions : public OptionGroup {
 public:
  bool CheckSameIP() const { return checkSameIP_; }
  void SetCheckSameIP(bool v) { checkSameIP_ = v; }
  bool CheckSameUA() const { return checkSameUA_; }
  void SetCheckSameUA(bool v) { checkSameUA_ = v; }
  bool CheckFormId() const { return checkFormId_; }
  void SetCheckFormId(bool v) { checkFormId_ = v; }
  bool ShowSecurityErrorDetails() const { return showSecurityErrorDetails_; }
  void SetShowSecurityErrorDetails(bool v) { showSecurityErrorDetails_ = v; }

  void Assign(const TIWSecurityOptions& source) {
    checkSameIP_ = source.checkSameIP_;
    checkSameUA_ = source.checkSameUA_;
    checkFormId_ = source.checkFormId_;
    showSecurityErrorDetails_ = source.showSecurityErrorDetails_;
  }

 private:
  bool checkSameIP_ = true;
  bool checkSameUA_ = false;
  bool checkFormId_ = false;
  bool showSecurityErrorDetails_ = true;
};

}  // namespace orv
