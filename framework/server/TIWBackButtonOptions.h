#pragma once
// How the browser's Back button is treated.
#include <string>

#include "framework/server/OptionGroup.h"

namespace orv {

enum class BackButtonMode { bmInterceptGlobal, bmInterceptForm, bmEnable, bmDisableCompat };

class TIWBackButtonOptions : public OptionGroup {
 public:
  bool ShowMessage() const { return showMessage_; }
  void SetShowMessage(bool v) { showMessage_ = v; }
  const std::string& WarningMessage() const { return warningMessage_; }
  void SetWarningMessage(const std::string& v) { warningMessage_ = v; }
  BackButtonMode Mode() const { return mode_; }
  void SetMode(BackButtonMode v) { mode_ = v; }

  void Assign(const TIWBackButtonOptions& source) {
    showMessage_ = source.showMessage_;
    warningMessage_ = source.warningMessage_;
    mode_ = source.mode_;
  }

 private:
  bool showMessage_ = false;
  std::string warningMessage_;
  BackButtonMode mode_ = BackButtonMode::bmDisableCompat;
};

}  // namespace orv
