#pragma once
// A group of radio buttons, one per caption (the page's RADIO items). Its form field is
// HTML name + "_INPUT"; the browser posts the chosen button's index from 0. The group
// starts with its first button chosen and is not in the tab order.
//
// Value intake: the posted text read as a whole number (-1 when it is not one) becomes
// ItemIndex when it differs — also beyond the last button, which then shows none chosen
// — the change is reported, and the control is not refreshed by the next asynchronous
// update. Changing captions, the layout or the index from the server marks the group.
#include <string>

#include "framework/controls/StringList.h"
#include "framework/controls/TIWCustomControl.h"

namespace orv {

enum class TIWRadioGroupLayout { glVertical, glHorizontal };

class TIWRadioGroup : public TIWCustomControl {
 public:
  TIWRadioGroup();
  const char* ClassName() const override { return "TIWRadioGroup"; }

  // Rendering (TIWRadioGroupRender.cpp).
  std::unique_ptr<TIWHTMLTag> RenderHTML(TIWCompContext& context) override;
  std::string RenderStyle(TIWCompContext& context) override;
  std::unique_ptr<TIWXMLTag> RenderAsync(TIWCompContext& context) override;
  void HookEvents(TIWPageContext40& pageContext, TIWScriptEvents& scriptEvents) override;
  // Its form fields are the inner inputs; the outer element has no NAME.
  bool get_HasName() const override { return false; }

  // The captions, one per button. Changes mark the group.
  StringList& Items() { return items_; }
  const StringList& Items() const { return items_; }
  int ItemIndex() const { return itemIndex_; }
  void setItemIndex(int index);
  TIWRadioGroupLayout Layout() const { return layout_; }
  void setLayout(TIWRadioGroupLayout layout);

  bool SupportsInput() const override { return true; }
  bool SupportsSubmit() const override { return true; }
  std::vector<std::string> GetInputControlNames() const override;
  bool IsForThisControl(std::string_view name) const override;
  void SetValue(const std::string& value) override;
  bool HasChangeReportingSetter() const override { return true; }
  bool SetValueReportingChange(const std::string& value) override;

 private:
  StringList items_;
  int itemIndex_ = 0;
  TIWRadioGroupLayout layout_ = TIWRadioGroupLayout::glVertical;
};

}  // namespace orv
