#pragma once
// A push button (Solve, Save, Load, Help, Continue). A click submits the page to the
// button when OnClick is assigned; Submit runs OnClick.
#include <string>

#include "framework/controls/TIWCustomControl.h"

namespace orv {

enum class TIWButtonType { btSubmit, btReset, btButton };

class TIWButton : public TIWCustomControl {
 public:
  TIWButton();
  const char* ClassName() const override { return "TIWButton"; }

  // Rendering (TIWButtonRender.cpp).
  std::unique_ptr<TIWHTMLTag> RenderHTML(TIWCompContext& context) override;
  std::unique_ptr<TIWXMLTag> RenderAsync(TIWCompContext& context) override;
  void HookEvents(TIWPageContext40& pageContext, TIWScriptEvents& scriptEvents) override;

  const std::string& Caption() const { return caption_; }
  void setCaption(const std::string& caption);
  // Access key letter; empty for none.
  const std::string& HotKey() const { return hotKey_; }
  void setHotKey(const std::string& key);
  TIWButtonType ButtonType() const { return buttonType_; }
  void setButtonType(TIWButtonType type);

  bool SupportsSubmit() const override { return true; }

 protected:
  void DoSubmit() override;

 private:
  std::string caption_;
  std::string hotKey_;
  TIWButtonType buttonType_ = TIWButtonType::btButton;
};

}  // namespace orv
