#pragma once
// The control layer for controls whose container may collect the values of its
// children: SetValue hands the value to such a container, then marks the control.
#include "framework/controls/TIWCustomControl.h"

namespace orv {

class TIWControl : public TIWCustomControl {
 public:
  void SetValue(const std::string& value) override;
  const std::string& GetSubmitParam() const { return SubmitParam(); }
};

}  // namespace orv
