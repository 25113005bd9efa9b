#include "framework/controls/TIWStyleRenderOptions.h"

namespace orv {

void TIWStyleRenderOptions::Assign(const TIWStyleRenderOptions& other) {
  if (&other == this) return;
  const bool differs =
      renderSize_ != other.renderSize_ || renderPosition_ != other.renderPosition_ ||
      renderFont_ != other.renderFont_ || renderZIndex_ != other.renderZIndex_ ||
      renderVisibility_ != other.renderVisibility_ || renderStatus_ != other.renderStatus_ ||
      renderAbsolute_ != other.renderAbsolute_ || renderPadding_ != other.renderPadding_ ||
      renderBorder_ != other.renderBorder_ || useDisplay_ != other.useDisplay_;
  if (!differs) return;
  renderSize_ = other.renderSize_;
  renderPosition_ = other.renderPosition_;
  renderFont_ = other.renderFont_;
  renderZIndex_ = other.renderZIndex_;
  renderVisibility_ = other.renderVisibility_;
  renderStatus_ = other.renderStatus_;
  renderAbsolute_ = other.renderAbsolute_;
  renderPadding_ = other.renderPadding_;
  renderBorder_ = other.renderBorder_;
  useDisplay_ = other.useDisplay_;
  if (OnChange) OnChange(*this);
}

}  // namespace orv
