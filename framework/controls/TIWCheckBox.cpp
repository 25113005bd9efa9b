#include "framework/controls/TIWCheckBox.h"

#include "framework/controls/ControlText.h"

namespace orv {

using detail::assignIfDifferent;

TIWCheckBox::TIWCheckBox() {
  initBounds(0, 0, 121, 21);
  setCanReceiveFocus(true);
  setWebCursor(TIWCursor::crDefault);
  setDoRefreshControl(false);
}

void TIWCheckBox::setCaption(const std::string& caption) {
  if (assignIfDifferent(caption_, caption)) Invalidate();
}

void TIWCheckBox::setChecked(bool checked) {
  if (!assignIfDifferent(checked_, checked)) return;
  Invalidate();
  if (OnChange) OnChange(*this);
}

void TIWCheckBox::setStyle(TIWCheckBoxStyle style) {
  if (assignIfDifferent(style_, style)) Invalidate();
}

std::vector<std::string> TIWCheckBox::GetInputControlNames() const {
  return {HTMLName() + "_CHECKBOX"};
}

bool TIWCheckBox::IsForThisControl(std::string_view name) const {
  return name == HTMLName() + "_CHECKBOX";
}

void TIWCheckBox::SetValue(const std::string& value) { SetValueReportingChange(value); }

bool TIWCheckBox::SetValueReportingChange(const std::string& value) {
  const bool changed = assignIfDifferent(checked_, detail::equalsIgnoringCaseAscii(value, "on"));
  setDoRefreshControl(false);  // the browser shows this state already
  return changed;
}

void TIWCheckBox::ValueChanged() {
  if (OnChange) OnChange(*this);
}

void TIWCheckBox::DoSubmit() {
  if (OnClick) OnClick(*this);
}

}  // namespace orv
