#pragma once
// A text label (the page's four header lines). No form field, no value intake, no tab
// order. AutoSize on (the default) leaves the size to the browser: setting AutoSize
// sets RenderSize to its opposite.
#include <string>

#include "framework/controls/TIWCustomControl.h"

namespace orv {

class TIWLabel : public TIWCustomControl {
 public:
  TIWLabel();
  const char* ClassName() const override { return "TIWLabel"; }

  // Rendering (TIWLabelRender.cpp).
  std::unique_ptr<TIWHTMLTag> RenderHTML(TIWCompContext& context) override;
  std::string RenderStyle(TIWCompContext& context) override;
  std::unique_ptr<TIWXMLTag> RenderAsync(TIWCompContext& context) override;

  const std::string& Caption() const { return caption_; }
  void setCaption(const std::string& caption);
  TAlignment Alignment() const { return alignment_; }
  void setAlignment(TAlignment alignment);
  void setAutoSize(bool autoSize) override;
  // The caption is written as it stands (no escaping).
  bool RawText() const { return rawText_; }
  void setRawText(bool value);
  bool NoWrap() const { return noWrap_; }
  void setNoWrap(bool value);
  bool ConvertSpaces() const { return convertSpaces_; }
  void setConvertSpaces(bool value);
  // The control this label names (a "label for"); a link kept only while that control
  // lives in the same container.
  TIWCustomControl* ForControl() const { return forControl_; }
  void setForControl(TIWCustomControl* control);
  TIWColor BGColor() const { return bgColor_; }
  void setBGColor(TIWColor color);

 private:
  void componentRemoved(TIWCustomControl& component) override;

  std::string caption_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool rawText_ = false;
  bool noWrap_ = false;
  bool convertSpaces_ = false;
  TIWCustomControl* forControl_ = nullptr;  // owned by the same container, or none
  TIWColor bgColor_ = clNone;
};

}  // namespace orv
