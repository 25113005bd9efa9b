#include "framework/controls/TIWRadioGroup.h"

#include "framework/controls/ControlText.h"

namespace orv {

using detail::assignIfDifferent;

TIWRadioGroup::TIWRadioGroup() {
  initBounds(0, 0, 89, 112);
  setHasTabOrder(false);
  // The list dies with this group.
  items_.OnChange = [this](const StringListChange&) { Invalidate(); };
  setDoRefreshControl(false);
}

void TIWRadioGroup::setItemIndex(int index) {
  if (assignIfDifferent(itemIndex_, index)) Invalidate();
}

void TIWRadioGroup::setLayout(TIWRadioGroupLayout layout) {
  if (assignIfDifferent(layout_, layout)) Invalidate();
}

std::vector<std::string> TIWRadioGroup::GetInputControlNames() const {
  return {HTMLName() + "_INPUT"};
}

bool TIWRadioGroup::IsForThisControl(std::string_view name) const {
  return name == HTMLName() + "_INPUT";
}

void TIWRadioGroup::SetValue(const std::string& value) { SetValueReportingChange(value); }

bool TIWRadioGroup::SetValueReportingChange(const std::string& value) {
  const bool changed = assignIfDifferent(itemIndex_, detail::parseWholeNumber(value).value_or(-1));
  setDoRefreshControl(false);  // the browser shows this choice already
  return changed;
}

}  // namespace orv
