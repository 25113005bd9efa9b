#include "framework/controls/TIWBaseHTMLControl.h"

#include "framework/controls/TIWContainer.h"

namespace orv {

TIWBaseHTMLControl::TIWBaseHTMLControl() {
  // The font and the attribute lines belong to this control and die with it, so the
  // handlers never outlive `this`.
  font_.OnChange = [this](TIWFont&) { Invalidate(); };
  extraTagParams_.OnChange = [this](const StringListChange&) { Invalidate(); };
}

void TIWBaseHTMLControl::setEditable(bool editable) {
  if (editable == editable_) return;
  editable_ = editable;
  Invalidate();
}

void TIWBaseHTMLControl::setNonEditableAsLabel(bool value) {
  if (value == nonEditableAsLabel_) return;
  nonEditableAsLabel_ = value;
  Invalidate();
}

int TIWBaseHTMLControl::TabOrder() const {
  if (!HasTabOrder() || Parent() == nullptr) return -1;
  return Parent()->tabIndexOf(*this);
}

void TIWBaseHTMLControl::setTabOrder(int tabOrder) {
  if (Parent() != nullptr) Parent()->moveInTabList(*this, tabOrder);
}

void TIWBaseHTMLControl::setHasTabOrder(bool value) {
  if (value == hasTabOrder_) return;
  hasTabOrder_ = value;
  Invalidate();
}

void TIWBaseHTMLControl::setColor(TIWColor color) {
  if (color == color_) return;
  color_ = color;
  Invalidate();
}

}  // namespace orv
