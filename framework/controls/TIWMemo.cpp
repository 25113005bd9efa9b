#include "framework/controls/TIWMemo.h"

#include "framework/controls/ControlText.h"

namespace orv {

using detail::assignIfDifferent;

TIWMemo::TIWMemo() {
  initBounds(0, 0, 121, 121);
  setRenderSize(true);
  setCanReceiveFocus(true);
  // The list dies with this memo.
  lines_.OnChange = [this](const StringListChange&) { Invalidate(); };
  setDoRefreshControl(false);
}

void TIWMemo::setEndsWithCRLF(bool value) {
  if (assignIfDifferent(endsWithCRLF_, value)) Invalidate();
}
void TIWMemo::setBGColor(TIWColor color) {
  if (assignIfDifferent(bgColor_, color)) Invalidate();
}
void TIWMemo::setVertScrollBar(bool value) {
  if (assignIfDifferent(vertScrollBar_, value)) Invalidate();
}
void TIWMemo::setHorizScrollBar(bool value) {
  if (assignIfDifferent(horizScrollBar_, value)) Invalidate();
}
void TIWMemo::setInvisibleBorder(bool value) {
  if (assignIfDifferent(invisibleBorder_, value)) Invalidate();
}
void TIWMemo::setResizeDirection(TIWResizeDirection direction) {
  if (assignIfDifferent(resizeDirection_, direction)) Invalidate();
}
void TIWMemo::setBorderWidth(int width) {
  if (assignIfDifferent(borderWidth_, width < 0 ? 0 : width)) Invalidate();
}
void TIWMemo::setRequired(bool value) {
  if (assignIfDifferent(required_, value)) Invalidate();
}

void TIWMemo::SetValue(const std::string& value) {
  std::string text;
  text.reserve(value.size() + value.size() / 16);
  for (char c : value) {
    if (c == '\r') continue;
    if (c == '\n') text += '\r';
    text += c;
  }
  lines_.setText(text);
  endsWithCRLF_ = lines_.text() == text;
  setDoRefreshControl(false);
}

}  // namespace orv
