#include "framework/controls/TIWRectangle.h"

#include "framework/controls/ControlText.h"

namespace orv {

using detail::assignIfDifferent;

TIWRectangle::TIWRectangle() {
  initBounds(0, 0, 200, 100);
  setRenderSize(true);
  // The options die with this rectangle.
  borderOptions_.OnChange = [this](TIWBorderOptions&) { Invalidate(); };
  setDoRefreshControl(false);
}

void TIWRectangle::setText(const std::string& text) {
  if (assignIfDifferent(text_, text)) Invalidate();
}
void TIWRectangle::setAlignment(TAlignment alignment) {
  if (assignIfDifferent(alignment_, alignment)) Invalidate();
}
void TIWRectangle::setVAlign(TIWVerticalAlign align) {
  if (assignIfDifferent(vAlign_, align)) Invalidate();
}

}  // namespace orv
