#pragma once
// A drop-down list (the page's DROPDOWN items and the list of saved input sets).
//
// Selection: ItemIndex is -1 (nothing chosen) or an entry's index. Setting it to the
// current value or to an index at or beyond the number of entries changes nothing; a
// negative value means nothing chosen. The selection stays on the same entry when
// entries are inserted, deleted or exchanged; deleting the chosen entry or the last
// remaining one, or replacing the whole list, clears it.
//
// Value intake: with ItemsHaveValues the entry whose value (after "=") equals the posted
// text is chosen (none when no entry matches); otherwise the text up to the first ","
// is read as a whole number (-1 when it is not one). The control is then not refreshed
// by the next asynchronous update.
//
// Two remembered facts describe what the browser already has: whether the entries must
// be sent again, and which index was sent last; the rendering brings them up to date
// with markSent().
#include <string>

#include "framework/controls/StringList.h"
#include "framework/controls/TIWCustomControl.h"

namespace orv {

inline constexpr const char* kDefaultNoSelectionText = "-- No Selection --";

class TIWComboBox : public TIWCustomControl {
 public:
  TIWComboBox();
  const char* ClassName() const override { return "TIWComboBox"; }

  // Rendering (TIWComboBoxRender.cpp).
  std::unique_ptr<TIWHTMLTag> RenderHTML(TIWCompContext& context) override;
  std::string RenderStyle(TIWCompContext& context) override;
  std::unique_ptr<TIWXMLTag> RenderAsync(TIWCompContext& context) override;
  void HookEvents(TIWPageContext40& pageContext, TIWScriptEvents& scriptEvents) override;

  // The entries (pairs name=value with ItemsHaveValues). Changes mark the control.
  StringList& Items() { return items_; }
  const StringList& Items() const { return items_; }

  int ItemIndex() const { return itemIndex_; }
  void setItemIndex(int index);
  const std::string& NoSelectionText() const { return noSelectionText_; }
  void setNoSelectionText(const std::string& text);
  bool RequireSelection() const { return requireSelection_; }
  void setRequireSelection(bool value);
  bool ItemsHaveValues() const { return itemsHaveValues_; }
  void setItemsHaveValues(bool value);
  bool Required() const { return required_; }
  void setRequired(bool value);
  // 0: the browser's own list; 1: a list drawn by the framework.
  int Style() const { return style_; }
  void setStyle(int style);
  TIWColor BGColor() const { return bgColor_; }
  void setBGColor(TIWColor color);
  TIWColor FocusColor() const { return focusColor_; }
  void setFocusColor(TIWColor color);
  TIWColor ButtonColor() const { return buttonColor_; }
  void setButtonColor(TIWColor color);
  // The same as RenderSize.
  bool UseSize() const { return RenderSize(); }
  void setUseSize(bool value) { setRenderSize(value); }
  int BorderWidth() const { return borderWidth_; }
  void setBorderWidth(int width);

  // The chosen entry's text (its name part with ItemsHaveValues), or empty.
  std::string Text() const;
  // As Text, but NoSelectionText when nothing is chosen.
  std::string SelectedText() const;
  // The text shown for entry i (its name part with ItemsHaveValues).
  std::string ItemText(std::size_t i) const;
  // The value the browser sends for entry i: its index, or its value part with
  // ItemsHaveValues.
  std::string ItemValue(std::size_t i) const;

  // What the browser already has.
  bool ItemsNeedSending() const { return itemsNeedSending_; }
  int LastSentItemIndex() const { return lastSentItemIndex_; }
  void markSent();

  bool SupportsInput() const override { return true; }
  bool SupportsSubmit() const override { return true; }
  void SetValue(const std::string& value) override;

  // Server handler of a changed selection.
  NotifyEvent OnChange;

 protected:
  void DoSubmit() override;

 private:
  void itemsChanged(const StringListChange& change);

  StringList items_;
  int itemIndex_ = -1;
  std::string noSelectionText_ = kDefaultNoSelectionText;
  bool requireSelection_ = true;
  bool itemsHaveValues_ = false;
  bool required_ = false;
  int style_ = 0;
  TIWColor bgColor_ = clNone;
  TIWColor focusColor_ = clNone;
  TIWColor buttonColor_ = clBtnFace;
  int borderWidth_ = 1;
  bool itemsNeedSending_ = true;
  int lastSentItemIndex_ = -1;
  bool noSelectionSent_ = false;  // the browser's list starts with the no-selection entry
};

}  // namespace orv
