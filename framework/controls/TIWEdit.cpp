#include "framework/controls/TIWEdit.h"

#include "framework/controls/ControlText.h"
#include "framework/controls/TIWContainer.h"

namespace orv {

using detail::assignIfDifferent;

TIWEdit::TIWEdit() {
  initBounds(0, 0, 121, 21);
  setNonEditableAsLabel(false);
  setRenderSize(true);
  setCanReceiveFocus(true);
  setDoRefreshControl(false);
}

void TIWEdit::setText(const std::string& text) {
  if (assignIfDifferent(text_, text)) Invalidate();
}
void TIWEdit::setPasswordPrompt(bool value) {
  if (assignIfDifferent(passwordPrompt_, value)) Invalidate();
}
void TIWEdit::setMaxLength(int length) {
  if (assignIfDifferent(maxLength_, length < 0 ? 0 : length)) Invalidate();
}
void TIWEdit::setReadOnly(bool value) {
  if (assignIfDifferent(readOnly_, value)) Invalidate();
}
void TIWEdit::setRequired(bool value) {
  if (assignIfDifferent(required_, value)) Invalidate();
}
void TIWEdit::setAlignment(TAlignment alignment) {
  if (assignIfDifferent(alignment_, alignment)) Invalidate();
}
void TIWEdit::setBGColor(TIWColor color) {
  if (assignIfDifferent(bgColor_, color)) Invalidate();
}
void TIWEdit::setFocusColor(TIWColor color) {
  if (assignIfDifferent(focusColor_, color)) Invalidate();
}
void TIWEdit::setBorderWidth(int width) {
  if (assignIfDifferent(borderWidth_, width < 0 ? 0 : width)) Invalidate();
}

void TIWEdit::SetValue(const std::string& value) {
  text_ = value;
  setDoRefreshControl(false);
}

void TIWEdit::DoSubmit() {
  if (OnSubmit) {
    OnSubmit(*this);
  } else if (Parent() != nullptr) {
    Parent()->DoDefaultAction();
  }
}

}  // namespace orv
