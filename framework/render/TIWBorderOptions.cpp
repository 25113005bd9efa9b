#include "framework/render/TIWBorderOptions.h"

namespace orv {

void TIWBorderOptions::Assign(const TIWBorderOptions& other) {
  if (&other == this || (color_ == other.color_ && width_ == other.width_)) return;
  color_ = other.color_;
  width_ = other.width_;
  changed();
}

void TIWBorderOptions::setColor(TIWColor color) {
  if (color == color_) return;
  color_ = color;
  changed();
}

void TIWBorderOptions::setWidth(int width) {
  if (width < 0) width = 0;
  if (width == width_) return;
  width_ = width;
  changed();
}

std::string TIWBorderOptions::RenderStyle() const {
  std::string text = "border-width: " + std::to_string(width_) + "px; border-style: solid; ";
  if (color_ != clNone) text += "border-color: " + ColorToRGBString(color_) + "; ";
  return text;
}

void TIWBorderOptions::changed() {
  if (OnChange) OnChange(*this);
}

}  // namespace orv
