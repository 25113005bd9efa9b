#pragma once
// Settings for mobile browsers. Frozen with the controller's settings after start-up
// (property name "MobileOptions").
#include <string>

#include "framework/server/OptionGroup.h"

namespace orv {

class TIWMobileOptions : public OptionGroup {
 public:
  const std::string& ViewportTag() const { return viewportTag_; }
  void SetViewportTag(const std::string& v) {
    checkLock();
    viewportTag_ = v;
  }

  void Assign(const TIWMobileOptions& source) {
    checkLock();
    viewportTag_ = source.viewportTag_;
  }

 private:
  std::string viewportTag_;
};

}  // namespace orv
