#pragma once
// A rectangle with an optional text, background colour and border: the page's output
// fields, labels, name and units labels, boxes, rules and status bar. No form field, no
// value intake, never in the tab order. Its text is written into the page as it stands.
#include <string>

#include "framework/controls/TIWCustomControl.h"
#include "framework/render/TIWBorderOptions.h"

namespace orv {

class TIWRectangle : public TIWCustomControl {
 public:
  TIWRectangle();
  const char* ClassName() const override { return "TIWRectangle"; }

  // Rendering (TIWRectangleRender.cpp).
  std::unique_ptr<TIWHTMLTag> RenderHTML(TIWCompContext& context) override;
  std::unique_ptr<TIWXMLTag> RenderAsync(TIWCompContext& context) override;

  const std::string& Text() const { return text_; }
  void setText(const std::string& text);
  TAlignment Alignment() const { return alignment_; }
  void setAlignment(TAlignment alignment);
  TIWVerticalAlign VAlign() const { return vAlign_; }
  void setVAlign(TIWVerticalAlign align);
  // The border belongs to the rectangle; changing it marks the rectangle.
  TIWBorderOptions& BorderOptions() { return borderOptions_; }
  const TIWBorderOptions& BorderOptions() const { return borderOptions_; }

  bool HasTabOrder() const override { return false; }

 private:
  std::string text_;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TIWVerticalAlign vAlign_ = TIWVerticalAlign::vaMiddle;
  TIWBorderOptions borderOptions_;
};

}  // namespace orv
