#pragma once
// A multi-line text box (the page's MEMO items). Its text is its lines, each followed by
// CR LF; EndsWithCRLF off leaves out the last line end when it is written.
//
// Value intake: CRs are removed from the posted text and every LF becomes CR LF; the
// result becomes the lines, EndsWithCRLF tells whether it ended with a line end, and the
// control is not refreshed by the next asynchronous update.
#include <string>

#include "framework/controls/StringList.h"
#include "framework/controls/TIWCustomControl.h"

namespace orv {

enum class TIWResizeDirection { rdNone, rdBoth, rdVertical, rdHorizontal };

class TIWMemo : public TIWCustomControl {
 public:
  TIWMemo();
  const char* ClassName() const override { return "TIWMemo"; }

  // Rendering (TIWMemoRender.cpp).
  std::unique_ptr<TIWHTMLTag> RenderHTML(TIWCompContext& context) override;
  std::string RenderStyle(TIWCompContext& context) override;
  std::unique_ptr<TIWXMLTag> RenderAsync(TIWCompContext& context) override;
  void HookEvents(TIWPageContext40& pageContext, TIWScriptEvents& scriptEvents) override;

  // Changing the lines marks the memo.
  StringList& Lines() { return lines_; }
  const StringList& Lines() const { return lines_; }
  // The lines joined, each followed by CR LF.
  std::string Text() const { return lines_.text(); }
  void setText(const std::string& text) { lines_.setText(text); }

  bool EndsWithCRLF() const { return endsWithCRLF_; }
  void setEndsWithCRLF(bool value);
  TIWColor BGColor() const { return bgColor_; }
  void setBGColor(TIWColor color);
  bool VertScrollBar() const { return vertScrollBar_; }
  void setVertScrollBar(bool value);
  bool HorizScrollBar() const { return horizScrollBar_; }
  void setHorizScrollBar(bool value);
  bool InvisibleBorder() const { return invisibleBorder_; }
  void setInvisibleBorder(bool value);
  TIWResizeDirection ResizeDirection() const { return resizeDirection_; }
  void setResizeDirection(TIWResizeDirection direction);
  int BorderWidth() const { return borderWidth_; }
  void setBorderWidth(int width);
  bool Required() const { return required_; }
  void setRequired(bool value);

  bool SupportsInput() const override { return true; }
  void SetValue(const std::string& value) override;

 private:
  StringList lines_;
  bool endsWithCRLF_ = true;
  TIWColor bgColor_ = clNone;
  bool vertScrollBar_ = true;
  bool horizScrollBar_ = false;
  bool invisibleBorder_ = false;
  TIWResizeDirection resizeDirection_ = TIWResizeDirection::rdBoth;
  int borderWidth_ = 1;
  bool required_ = false;
};

}  // namespace orv
