#pragma once
// Third control layer: what every HTML control holds — editability, tab order, colour,
// font (WebFont) and raw extra attribute lines (ExtraTagParams).
//
// Tab order: each container keeps an ordered tab list of its controls; TabOrder is the
// control's index in that list (-1 outside a container, and always -1 for a control
// whose HasTabOrder() is false). Setting it moves the control to that index, or to the
// end for -1 (any negative value) or an index not below the list's length.
#include "framework/controls/StringList.h"
#include "framework/controls/TIWBaseControl.h"
#include "framework/render/TIWColor.h"
#include "framework/render/TIWFont.h"

namespace orv {

class TIWBaseHTMLControl : public TIWBaseControl {
 public:
  TIWBaseHTMLControl();

  bool Editable() const { return editable_; }
  void setEditable(bool editable);
  bool NonEditableAsLabel() const { return nonEditableAsLabel_; }
  void setNonEditableAsLabel(bool value);
  bool NeedsFormTag() const { return needsFormTag_; }
  void setNeedsFormTag(bool value) { needsFormTag_ = value; }

  int TabOrder() const;
  void setTabOrder(int tabOrder);
  // Whether the control takes part in the page's tab order (true unless the control's
  // class or page code says otherwise).
  virtual bool HasTabOrder() const { return hasTabOrder_; }
  void setHasTabOrder(bool value);

  TIWColor Color() const { return color_; }
  virtual void setColor(TIWColor color);

  // The font; any change marks the control for refresh.
  TIWFont& WebFont() { return font_; }
  const TIWFont& WebFont() const { return font_; }
  void setWebFont(const TIWFont& font) { font_.Assign(font); }

  // Raw attribute lines (name=value, or a bare name); any change marks the control.
  StringList& ExtraTagParams() { return extraTagParams_; }
  const StringList& ExtraTagParams() const { return extraTagParams_; }
  void setExtraTagParams(const StringList& lines) { extraTagParams_ = lines; }

 protected:
  void initColor(TIWColor color) { color_ = color; }

 private:
  bool editable_ = true;
  bool nonEditableAsLabel_ = true;
  bool needsFormTag_ = false;
  bool hasTabOrder_ = true;
  TIWColor color_ = clNone;
  TIWFont font_;
  StringList extraTagParams_;
};

}  // namespace orv
