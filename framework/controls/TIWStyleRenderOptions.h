#pragma once
// Which parts of the common style a control writes: size, position, font, z-index,
// visibility, enabled state, absolute positioning, padding, border, and whether hiding
// uses "display" instead of "visibility". All on for a new control except UseDisplay.
//
// One per control; every change is reported through OnChange (the control marks
// itself for refresh). Assign copies the values only.
#include <functional>

namespace orv {

class TIWStyleRenderOptions {
 public:
  TIWStyleRenderOptions() = default;
  TIWStyleRenderOptions(const TIWStyleRenderOptions&) = delete;
  TIWStyleRenderOptions& operator=(const TIWStyleRenderOptions&) = delete;

  void Assign(const TIWStyleRenderOptions& other);

  bool RenderSize() const { return renderSize_; }
  void setRenderSize(bool v) { set(renderSize_, v); }
  bool RenderPosition() const { return renderPosition_; }
  void setRenderPosition(bool v) { set(renderPosition_, v); }
  bool RenderFont() const { return renderFont_; }
  void setRenderFont(bool v) { set(renderFont_, v); }
  bool RenderZIndex() const { return renderZIndex_; }
  void setRenderZIndex(bool v) { set(renderZIndex_, v); }
  bool RenderVisibility() const { return renderVisibility_; }
  void setRenderVisibility(bool v) { set(renderVisibility_, v); }
  bool RenderStatus() const { return renderStatus_; }
  void setRenderStatus(bool v) { set(renderStatus_, v); }
  bool RenderAbsolute() const { return renderAbsolute_; }
  void setRenderAbsolute(bool v) { set(renderAbsolute_, v); }
  bool RenderPadding() const { return renderPadding_; }
  void setRenderPadding(bool v) { set(renderPadding_, v); }
  bool RenderBorder() const { return renderBorder_; }
  void setRenderBorder(bool v) { set(renderBorder_, v); }
  bool UseDisplay() const { return useDisplay_; }
  void setUseDisplay(bool v) { set(useDisplay_, v); }

  std::function<void(TIWStyleRenderOptions& sender)> OnChange;

 private:
  void set(bool& field, bool value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(*this);
  }

  bool renderSize_ = true;
  bool renderPosition_ = true;
  bool renderFont_ = true;
  bool renderZIndex_ = true;
  bool renderVisibility_ = true;
  bool renderStatus_ = true;
  bool renderAbsolute_ = true;
  bool renderPadding_ = true;
  bool renderBorder_ = true;
  bool useDisplay_ = false;
};

}  // namespace orv
