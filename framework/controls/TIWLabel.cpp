#include "framework/controls/TIWLabel.h"

#include "framework/controls/ControlText.h"

namespace orv {

using detail::assignIfDifferent;

TIWLabel::TIWLabel() {
  initBounds(0, 0, 121, 21);
  setHasTabOrder(false);
  setAutoSize(true);
  setDoRefreshControl(false);
}

void TIWLabel::setCaption(const std::string& caption) {
  if (assignIfDifferent(caption_, caption)) Invalidate();
}
void TIWLabel::setAlignment(TAlignment alignment) {
  if (assignIfDifferent(alignment_, alignment)) Invalidate();
}
void TIWLabel::setAutoSize(bool autoSize) {
  TIWCustomControl::setAutoSize(autoSize);
  setRenderSize(!autoSize);
}
void TIWLabel::setRawText(bool value) {
  if (assignIfDifferent(rawText_, value)) Invalidate();
}
void TIWLabel::setNoWrap(bool value) {
  if (assignIfDifferent(noWrap_, value)) Invalidate();
}
void TIWLabel::setConvertSpaces(bool value) {
  if (assignIfDifferent(convertSpaces_, value)) Invalidate();
}
void TIWLabel::setForControl(TIWCustomControl* control) {
  if (assignIfDifferent(forControl_, control)) Invalidate();
}
void TIWLabel::setBGColor(TIWColor color) {
  if (assignIfDifferent(bgColor_, color)) Invalidate();
}

void TIWLabel::componentRemoved(TIWCustomControl& component) {
  if (forControl_ == &component) forControl_ = nullptr;
}

}  // namespace orv
