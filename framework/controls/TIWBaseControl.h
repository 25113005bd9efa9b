#pragma once
// Second control layer: the click event and showing and hiding. A new control is
// auto-sized and shows its hint.
#include "framework/controls/TIWToolkitBaseControl.h"

namespace orv {

class TIWBaseControl : public TIWToolkitBaseControl {
 public:
  TIWBaseControl();

  void Show() { setVisible(true); }
  void Hide() { setVisible(false); }

  // Server handler of a click (controls that submit run it from Submit).
  NotifyEvent OnClick;
};

}  // namespace orv
