#pragma once
// A check box with a caption (the page's CHECKBOX items). Its form field is
// HTML name + "_CHECKBOX"; the browser posts "on" or "off".
//
// Value intake: checked exactly when the posted text is "on" in any letter case. A
// change is reported (so that OnChange runs once all posted values are taken) and the
// control is not refreshed by the next asynchronous update. Setting Checked from the
// server marks the control and runs OnChange. Submit runs OnClick.
#include <string>

#include "framework/controls/TIWCustomControl.h"

namespace orv {

enum class TIWCheckBoxStyle { stNormal, stCool };

class TIWCheckBox : public TIWCustomControl {
 public:
  TIWCheckBox();
  const char* ClassName() const override { return "TIWCheckBox"; }

  // Rendering (TIWCheckBoxRender.cpp).
  std::unique_ptr<TIWHTMLTag> RenderHTML(TIWCompContext& context) override;
  std::unique_ptr<TIWXMLTag> RenderAsync(TIWCompContext& context) override;
  void HookEvents(TIWPageContext40& pageContext, TIWScriptEvents& scriptEvents) override;
  // Its form fields are the inner inputs; the outer element has no NAME.
  bool get_HasName() const override { return false; }

  const std::string& Caption() const { return caption_; }
  void setCaption(const std::string& caption);
  bool Checked() const { return checked_; }
  void setChecked(bool checked);
  TIWCheckBoxStyle Style() const { return style_; }
  void setStyle(TIWCheckBoxStyle style);

  bool SupportsInput() const override { return true; }
  bool SupportsSubmit() const override { return true; }
  std::vector<std::string> GetInputControlNames() const override;
  bool IsForThisControl(std::string_view name) const override;
  void SetValue(const std::string& value) override;
  bool HasChangeReportingSetter() const override { return true; }
  bool SetValueReportingChange(const std::string& value) override;
  void ValueChanged() override;

  NotifyEvent OnChange;

 protected:
  void DoSubmit() override;

 private:
  std::string caption_;
  bool checked_ = false;
  TIWCheckBoxStyle style_ = TIWCheckBoxStyle::stNormal;
};

}  // namespace orv
