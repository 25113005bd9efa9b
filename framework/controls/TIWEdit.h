#pragma once
// A one-line text input (the page's INPUT items and the name of an input set).
//
// Value intake: the posted text becomes Text when it differs, and the control is not
// refreshed by the next asynchronous update (the browser already shows that text).
// Submit (the Enter key) runs OnSubmit, or else the page's default action.
#include <string>

#include "framework/controls/TIWCustomControl.h"

namespace orv {

class TIWEdit : public TIWCustomControl {
 public:
  TIWEdit();
  const char* ClassName() const override { return "TIWEdit"; }

  // Rendering (TIWEditRender.cpp).
  std::unique_ptr<TIWHTMLTag> RenderHTML(TIWCompContext& context) override;
  std::string RenderStyle(TIWCompContext& context) override;
  std::unique_ptr<TIWXMLTag> RenderAsync(TIWCompContext& context) override;
  void HookEvents(TIWPageContext40& pageContext, TIWScriptEvents& scriptEvents) override;

  const std::string& Text() const { return text_; }
  void setText(const std::string& text);
  // True renders the input type "PASSWORD" instead of "TEXT".
  bool PasswordPrompt() const { return passwordPrompt_; }
  void setPasswordPrompt(bool value);
  // 0 means no limit.
  int MaxLength() const { return maxLength_; }
  void setMaxLength(int length);
  bool ReadOnly() const { return readOnly_; }
  void setReadOnly(bool value);
  bool Required() const { return required_; }
  void setRequired(bool value);
  TAlignment Alignment() const { return alignment_; }
  void setAlignment(TAlignment alignment);
  TIWColor BGColor() const { return bgColor_; }
  void setBGColor(TIWColor color);
  TIWColor FocusColor() const { return focusColor_; }
  void setFocusColor(TIWColor color);
  // Pixels, drawn inside the control's size.
  int BorderWidth() const { return borderWidth_; }
  void setBorderWidth(int width);

  bool SupportsInput() const override { return true; }
  bool SupportsSubmit() const override { return true; }
  void SetValue(const std::string& value) override;

  // Handler of the Enter key.
  NotifyEvent OnSubmit;

 protected:
  void DoSubmit() override;

 private:
  std::string text_;
  bool passwordPrompt_ = false;
  int maxLength_ = 0;
  bool readOnly_ = false;
  bool required_ = false;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TIWColor bgColor_ = clNone;
  TIWColor focusColor_ = clNone;
  int borderWidth_ = 1;
};

}  // namespace orv
