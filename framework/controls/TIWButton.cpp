#include "framework/controls/TIWButton.h"

namespace orv {

TIWButton::TIWButton() {
  initBounds(0, 0, 75, 25);
  initColor(clBtnFace);
  setRenderSize(true);
  setCanReceiveFocus(true);
  setDoRefreshControl(false);  // start values are not changes
}

void TIWButton::setCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Invalidate();
}

void TIWButton::setHotKey(const std::string& key) {
  if (key == hotKey_) return;
  hotKey_ = key;
  Invalidate();
}

void TIWButton::setButtonType(TIWButtonType type) {
  if (type == buttonType_) return;
  buttonType_ = type;
  Invalidate();
}

void TIWButton::DoSubmit() {
  if (OnClick) OnClick(*this);
}

}  // namespace orv
