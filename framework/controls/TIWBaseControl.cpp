#include "framework/controls/TIWBaseControl.h"

namespace orv {

TIWBaseControl::TIWBaseControl() {
  setAutoSize(true);
  setShowHint(true);
}

}  // namespace orv
