#include "framework/controls/TIWToolkitBaseControl.h"

#include "framework/controls/TIWContainer.h"

namespace orv {

void TIWToolkitBaseControl::setName(const std::string& name) {
  if (name == name_) return;
  if (parent_ != nullptr) parent_->renameComponent(*this, name);  // validates, may throw
  name_ = name;
}

void TIWToolkitBaseControl::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

void TIWToolkitBaseControl::initBounds(int left, int top, int width, int height) {
  TIWToolkitBaseControl::SetBounds(left, top, width, height);
}

void TIWToolkitBaseControl::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Invalidate();
}

void TIWToolkitBaseControl::setVisible(bool visible) { visible_ = visible; }

void TIWToolkitBaseControl::setHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  Invalidate();
}

void TIWToolkitBaseControl::setShowHint(bool show) {
  if (show == showHint_) return;
  showHint_ = show;
  Invalidate();
}

}  // namespace orv
