// The markup, style, scripts and asynchronous elements of each control, as tables of
// small configured controls and the exact texts they render.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/controls/TIWButton.h"
#include "framework/controls/TIWCheckBox.h"
#include "framework/controls/TIWComboBox.h"
#include "framework/controls/TIWEdit.h"
#include "framework/controls/TIWImage.h"
#include "framework/controls/TIWLabel.h"
#include "framework/controls/TIWMemo.h"
#include "framework/controls/TIWRadioGroup.h"
#include "framework/controls/TIWRectangle.h"
#include "tests/framework/controls/RenderTestSupport.h"

namespace orv {
namespace {

using testing::ControlRenderBench;

struct Case {
  const char* name;
  std::function<TIWCustomControl&(TIWForm&)> build;
  std::string expected;
};

template <class T>
T& add(TIWForm& page, const char* name) {
  T& control = page.addNew<T>();
  control.setName(name);
  return control;
}

void checkMarkup(const Case& c) {
  SCOPED_TRACE(c.name);
  ControlRenderBench bench;
  EXPECT_EQ(c.expected, bench.markup(c.build(bench.page)));
}

TEST(ControlMarkupTest, Buttons) {
  const Case cases[] = {
      {"plain",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& b = add<TIWButton>(p, "SolveButton");
         b.setCaption("Solve");
         return b;
       },
       "<input value=\"Solve\" name=\"SOLVEBUTTON\" type=\"button\">"},
      {"escaped caption, colour and font",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& b = add<TIWButton>(p, "B1");
         b.setCaption("a<b\"c");
         b.setColor(clRed);
         b.WebFont().setStyle(fsBold);
         return b;
       },
       "<input value=\"a&lt;b&quot;c\" name=\"B1\" type=\"button\" style=\"background-color: "
       "#FF0000; "
       "font-weight: bold; font-style: normal; text-decoration: none;font-size: 13px; \">"},
      {"disabled",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& b = add<TIWButton>(p, "B1");
         b.setCaption("Go");
         b.setEnabled(false);
         return b;
       },
       "<input value=\"Go\" name=\"B1\" type=\"button\" disabled>"},
      {"hot key underlined once, any case",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& b = add<TIWButton>(p, "B1");
         b.setCaption("Save & Go go");
         b.setHotKey("g");
         return b;
       },
       "<button accesskey=\"g\" name=\"B1\" type=\"button\">Save &amp; <u>g</u>o go</button>"},
      {"hint with apostrophe and quote",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& b = add<TIWButton>(p, "B1");
         b.setHint("it's \"x\"");
         return b;
       },
       "<input name=\"B1\" type=\"button\" title=\"it&#39s &quot;x&quot;\">"},
  };
  for (const Case& c : cases) checkMarkup(c);
}

TEST(ControlMarkupTest, Edits) {
  const Case cases[] = {
      {"maxlength 0 means no limit",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& e = add<TIWEdit>(p, "Edit1");
         e.setText("a<b");
         return e;
       },
       "<input type=\"TEXT\" name=\"EDIT1\" maxlength=\"2147483647\" value=\"a&lt;b\">"},
      {"password, limit, read-only, disabled",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& e = add<TIWEdit>(p, "Edit1");
         e.setPasswordPrompt(true);
         e.setMaxLength(5);
         e.setReadOnly(true);
         e.setEnabled(false);
         return e;
       },
       "<input type=\"PASSWORD\" name=\"EDIT1\" disabled maxlength=\"5\" readonly>"},
      {"not editable",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& e = add<TIWEdit>(p, "Edit1");
         e.setEditable(false);
         e.setText("x");
         return e;
       },
       "<input type=\"TEXT\" name=\"EDIT1\" readonly maxlength=\"2147483647\" value=\"x\">"},
      {"not editable, as label",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& e = add<TIWEdit>(p, "Edit1");
         e.setEditable(false);
         e.setNonEditableAsLabel(true);
         e.setPasswordPrompt(true);
         e.setText(
             "s\xC3\xA9"
             "cret");
         return e;
       },
       "<span>******</span>"},
  };
  for (const Case& c : cases) checkMarkup(c);
}

TEST(ControlMarkupTest, LabelsEscapeWhileRectanglesWriteRaw) {
  const Case cases[] = {
      {"label escapes",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& l = add<TIWLabel>(p, "Label1");
         l.setCaption("a<b\nc  d");
         return l;
       },
       "<span>a&lt;b<br>c  d</span>"},
      {"label converts spaces, no wrap",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& l = add<TIWLabel>(p, "Label1");
         l.setCaption("c d");
         l.setConvertSpaces(true);
         l.setNoWrap(true);
         return l;
       },
       "<span><nobr>c&nbsp;d</nobr></span>"},
      {"raw label",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& l = add<TIWLabel>(p, "Label1");
         l.setCaption("<b>x</b>");
         l.setRawText(true);
         return l;
       },
       "<span><b>x</b></span>"},
      {"empty label", [](TIWForm& p) -> TIWCustomControl& { return add<TIWLabel>(p, "Label1"); },
       "<span><span></span></span>"},
      {"label for a control",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& e = add<TIWEdit>(p, "Edit1");
         auto& l = add<TIWLabel>(p, "Label1");
         l.setCaption("Name");
         l.setForControl(&e);
         return l;
       },
       "<label for=\"EDIT1\">Name</label>"},
      {"rectangle text raw",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& r = add<TIWRectangle>(p, "Rect1");
         r.setText("a<b>c</b>");
         r.setColor(clWebKHAKI);
         return r;
       },
       "<div><table style=\"width:100%; height:100%; border-collapse:collapse; border-spacing:0; "
       "padding:0; background-color:#F0E68C;border-width: 0px; border-style: solid; \">\r\n"
       "<tr style=\"font-weight: normal; font-style: normal; text-decoration: none;font-size: "
       "13px; "
       "text-align: left; vertical-align: middle; \"><td>a<b>c</b></td></tr></table></div>"},
      {"rectangle without text or colour",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& r = add<TIWRectangle>(p, "Rect1");
         r.BorderOptions().setWidth(2);
         r.BorderOptions().setColor(clBlack);
         return r;
       },
       "<div><table style=\"width:100%; height:100%; border-collapse:collapse; border-spacing:0; "
       "padding:0; background-color:;border-width: 2px; border-style: solid; border-color: "
       "#000000; \">\r\n<tr><td></td></tr></table></div>"},
  };
  for (const Case& c : cases) checkMarkup(c);
}

TEST(ControlMarkupTest, Memos) {
  const Case cases[] = {
      {"lines with their line ends",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& m = add<TIWMemo>(p, "Memo1");
         m.Lines().add("a < b");
         m.Lines().add("c");
         return m;
       },
       "<textarea name=\"MEMO1\">a &lt; b\r\nc\r\n</textarea>"},
      {"without the final line end, no wrap, read-only",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& m = add<TIWMemo>(p, "Memo1");
         m.Lines().add("a");
         m.setEndsWithCRLF(false);
         m.setHorizScrollBar(true);
         m.setEditable(false);
         m.setEnabled(false);
         return m;
       },
       "<textarea name=\"MEMO1\" readonly disabled wrap=\"OFF\">a</textarea>"},
      {"a first empty line survives the browser",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& m = add<TIWMemo>(p, "Memo1");
         m.Lines().add("");
         m.Lines().add("x");
         return m;
       },
       "<textarea name=\"MEMO1\">\r\n\r\nx\r\n</textarea>"},
  };
  for (const Case& c : cases) checkMarkup(c);
}

TEST(ControlMarkupTest, ComboBoxes) {
  const Case cases[] = {
      {"nothing chosen: four options",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& c = add<TIWComboBox>(p, "Combo1");
         c.Items().assign({"one", "two words", "a<b"});
         return c;
       },
       "<select name=\"COMBO1\" size=\"1\">\r\n<option value=\"-1\" selected>-- No Selection "
       "--</option>"
       "\r\n<option value=\"0\">one</option>\r\n<option value=\"1\">two&nbsp;words</option>\r\n"
       "<option value=\"2\">a&lt;b</option></select>"},
      {"entry chosen: three options",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& c = add<TIWComboBox>(p, "Combo1");
         c.Items().assign({"one", "two", "three"});
         c.setItemIndex(1);
         return c;
       },
       "<select name=\"COMBO1\" size=\"1\">\r\n<option value=\"0\">one</option>\r\n"
       "<option selected value=\"1\">two</option>\r\n<option value=\"2\">three</option></select>"},
      {"choice not required keeps the no-selection entry",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& c = add<TIWComboBox>(p, "Combo1");
         c.Items().assign({"x"});
         c.setItemIndex(0);
         c.setRequireSelection(false);
         return c;
       },
       "<select name=\"COMBO1\" size=\"1\">\r\n<option value=\"-1\">-- No Selection --</option>\r\n"
       "<option selected value=\"0\">x</option></select>"},
      {"no entries, disabled, submitting",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& c = add<TIWComboBox>(p, "Combo1");
         c.setEnabled(false);
         c.OnChange = [](TIWCustomControl&) {};
         return c;
       },
       "<select name=\"COMBO1\" size=\"1\" onchange=\"SubmitClickConfirm('COMBO1','', true, '');"
       "return false;\" disabled></select>"},
      {"entries with values",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& c = add<TIWComboBox>(p, "Combo1");
         c.setItemsHaveValues(true);
         c.Items().assign({"First=a&b", "Second=2"});
         c.setItemIndex(0);
         return c;
       },
       "<select name=\"COMBO1\" size=\"1\">\r\n<option selected "
       "value=\"a&amp;b\">First</option>\r\n"
       "<option value=\"2\">Second</option></select>"},
  };
  for (const Case& c : cases) checkMarkup(c);
}

TEST(ControlMarkupTest, CheckBoxesAndRadioGroups) {
  const Case cases[] = {
      {"check box",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& c = add<TIWCheckBox>(p, "Check1");
         c.setCaption("<i>Wet</i>");
         c.setChecked(true);
         return c;
       },
       "<span id=\"CHECK1\">\r\n<input type=\"CHECKBOX\" name=\"CHECK1_CHECKBOX\" "
       "id=\"CHECK1_CHECKBOX\" "
       "onclick=\"checkBoxClick(event, 'CHECK1');\" checked>\r\n<span id=\"CHECK1_CHKBCAPTION\" "
       "onclick=\"checkBoxClick(event, 'CHECK1');\"><i>Wet</i></span></span>"},
      {"check box not editable",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& c = add<TIWCheckBox>(p, "Check1");
         c.setEditable(false);
         return c;
       },
       "<span id=\"CHECK1\">\r\n<input type=\"CHECKBOX\" name=\"CHECK1_CHECKBOX\" "
       "id=\"CHECK1_CHECKBOX\" "
       "onclick=\"checkBoxClick(event, 'CHECK1');\" disabled>\r\n<span id=\"CHECK1_CHKBCAPTION\" "
       "onclick=\"checkBoxClick(event, 'CHECK1');\"></span></span>"},
      {"drawn check box",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& c = add<TIWCheckBox>(p, "Check1");
         c.setStyle(TIWCheckBoxStyle::stCool);
         c.setCaption("C");
         return c;
       },
       "<span id=\"CHECK1\">\r\n<a href=\"#\" onclick=\"CoolCheckBoxToggle('CHECK1', false)\">"
       "<img id=\"CHECK1_Image\" alt=\"CHECK1\" src=\"/$/gfx/CoolCheckBox_False.gif\" "
       "style=\"text-decoration: none; width: 10px; height: 12px; border: 0;\"></a>\r\n"
       "<input type=\"hidden\" name=\"CHECK1_CHECKBOX\" value=\"Off\">\r\n<span "
       "id=\"CHECK1_CHKBCAPTION\" "
       "onclick=\"CoolCheckBoxToggle('CHECK1', false)\">C</span></span>"},
      {"vertical radio group",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& r = add<TIWRadioGroup>(p, "Radio1");
         r.Items().assign({"A", "B"});
         return r;
       },
       "<div type=\"RADIOGROUP\"><input type=\"RADIO\" checked name=\"RADIO1_INPUT\" "
       "id=\"RADIO1_INPUT_1\" "
       "value=\"0\" onclick=\"radioGroupClick(event, 'RADIO1_INPUT_1');\"><span "
       "onclick=\"radioGroupClick(event, 'RADIO1_INPUT_1');\">A</span><br><input type=\"RADIO\" "
       "name=\"RADIO1_INPUT\" id=\"RADIO1_INPUT_2\" value=\"1\" onclick=\"radioGroupClick(event, "
       "'RADIO1_INPUT_2');\"><span onclick=\"radioGroupClick(event, "
       "'RADIO1_INPUT_2');\">B</span><br>"
       "</div>"},
      {"horizontal radio group, index beyond the buttons",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& r = add<TIWRadioGroup>(p, "Radio1");
         r.Items().assign({"A", "B"});
         r.setLayout(TIWRadioGroupLayout::glHorizontal);
         r.SetValue("7");
         r.setEnabled(false);
         return r;
       },
       "<div type=\"RADIOGROUP\"><input type=\"RADIO\" name=\"RADIO1_INPUT\" id=\"RADIO1_INPUT_1\" "
       "value=\"0\" disabled onclick=\"radioGroupClick(event, 'RADIO1_INPUT_1');\"><span "
       "onclick=\"radioGroupClick(event, 'RADIO1_INPUT_1');\">A</span><input type=\"RADIO\" "
       "name=\"RADIO1_INPUT\" id=\"RADIO1_INPUT_2\" value=\"1\" disabled "
       "onclick=\"radioGroupClick(event, "
       "'RADIO1_INPUT_2');\"><span onclick=\"radioGroupClick(event, "
       "'RADIO1_INPUT_2');\">B</span></div>"},
  };
  for (const Case& c : cases) checkMarkup(c);
}

TEST(ControlMarkupTest, ImagesWithoutPictureRenderASpanAndWriteNoFile) {
  ControlRenderBench bench;
  auto& image = add<TIWImage>(bench.page, "Image1");
  EXPECT_EQ("<span></span>", bench.markup(image));
  EXPECT_TRUE(bench.session.cacheFiles.empty());
  image.setRenderEmptyAsSpan(false);
  EXPECT_EQ("<img style=\"border-width: 0px; border-style: solid; \">", bench.markup(image));
}

// --- The common style text ----------------------------------------------------------

struct StyleCase {
  const char* name;
  std::function<void(TIWButton&)> setUp;
  std::string expected;
};

TEST(CommonStyleTest, FollowsTheStyleRules) {
  const std::string font =
      "font-weight: normal; font-style: normal; text-decoration: none;font-size: 13px; ";
  const StyleCase cases[] = {
      {"defaults", [](TIWButton&) {},
       "position: absolute; left: 10px; top: 20px;z-index: 100; width: 75px; height: 25px; "
       "padding: 0; " +
           font},
      {"z-index written 100 above the property", [](TIWButton& b) { b.setZIndex(32000); },
       "position: absolute; left: 10px; top: 20px;z-index: 32100; width: 75px; height: 25px; "
       "padding: 0; " +
           font},
      {"z-index -100 omitted", [](TIWButton& b) { b.setZIndex(-100); },
       "position: absolute; left: 10px; top: 20px;width: 75px; height: 25px; padding: 0; " + font},
      {"z-index -99", [](TIWButton& b) { b.setZIndex(-99); },
       "position: absolute; left: 10px; top: 20px;z-index: 1; width: 75px; height: 25px; padding: "
       "0; " +
           font},
      {"auto-sized without RenderSize: no size",
       [](TIWButton& b) {
         b.setRenderSize(false);
         b.setAutoSize(true);
       },
       "position: absolute; left: 10px; top: 20px;z-index: 100; padding: 0; " + font},
      {"not auto-sized: always a size",
       [](TIWButton& b) {
         b.setRenderSize(false);
         b.setAutoSize(false);
       },
       "position: absolute; left: 10px; top: 20px;z-index: 100; width: 75px; height: 25px; "
       "padding: 0; " +
           font},
      {"size option off", [](TIWButton& b) { b.StyleRenderOptions().setRenderSize(false); },
       "position: absolute; left: 10px; top: 20px;z-index: 100; padding: 0; " + font},
      {"relative, no padding, no font, no z-index",
       [](TIWButton& b) {
         b.StyleRenderOptions().setRenderAbsolute(false);
         b.StyleRenderOptions().setRenderPadding(false);
         b.StyleRenderOptions().setRenderFont(false);
         b.StyleRenderOptions().setRenderZIndex(false);
       },
       "position: relative; left: 10px; top: 20px;width: 75px; height: 25px; "},
      {"no position", [](TIWButton& b) { b.StyleRenderOptions().setRenderPosition(false); },
       "z-index: 100; width: 75px; height: 25px; padding: 0; " + font},
      {"clip", [](TIWButton& b) { b.setClip(true); },
       "position: absolute; left: 10px; top: 20px;z-index: 100; width: 75px; height: 25px; "
       "padding: 0; "
       "clip:rect(0px,75px,25px,0px); " +
           font},
      {"font colour", [](TIWButton& b) { b.WebFont().setColor(clWebCRIMSON); },
       "position: absolute; left: 10px; top: 20px;z-index: 100; width: 75px; height: 25px; "
       "padding: 0; " +
           font + "color: #DC143C; "},
  };
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(c.name);
    ControlRenderBench bench;
    auto& b = add<TIWButton>(bench.page, "B1");
    b.SetBounds(10, 20, 75, 25);
    c.setUp(b);
    EXPECT_EQ(c.expected, bench.style(b));
  }
}

TEST(CommonStyleTest, CursorTexts) {
  const std::pair<TIWCursor, const char*> cursors[] = {
      {TIWCursor::crAuto, ""},
      {TIWCursor::crCrossHair, "cursor: crosshair; "},
      {TIWCursor::crDefault, "cursor: default; "},
      {TIWCursor::crPointer, "cursor: pointer; "},
      {TIWCursor::crMove, "cursor: move; "},
      {TIWCursor::crEResize, "cursor: e-resize; "},
      {TIWCursor::crNEResize, "cursor: ne-resize; "},
      {TIWCursor::crNWResize, "cursor: nw-resize; "},
      {TIWCursor::crNResize, "cursor: n-resize; "},
      {TIWCursor::crSEResize, "cursor: se-resize; "},
      {TIWCursor::crSWResize, "cursor: sw-resize; "},
      {TIWCursor::crSResize, "cursor: s-resize; "},
      {TIWCursor::crWResize, "cursor: w-resize; "},
      {TIWCursor::crText, "cursor: text; "},
      {TIWCursor::crWait, "cursor: wait; "},
      {TIWCursor::crHandPoint, "cursor: pointer; "},
      {TIWCursor::crHelp, "cursor: help; "},
      {static_cast<TIWCursor>(99), "cursor: default; "},
  };
  for (const auto& [cursor, text] : cursors) {
    SCOPED_TRACE(text);
    ControlRenderBench bench;
    auto& b = add<TIWButton>(bench.page, "B1");
    b.StyleRenderOptions().setRenderFont(false);
    b.setWebCursor(cursor);
    const std::string style = bench.style(b);
    EXPECT_EQ(std::string("padding: 0; ") + text, style.substr(style.find("padding")));
  }
}

TEST(ControlStyleTest, EachControlAddsItsOwnPieces) {
  ControlRenderBench bench;
  TIWForm& p = bench.page;
  auto& edit = add<TIWEdit>(p, "Edit1");
  edit.SetBounds(1, 2, 121, 21);
  edit.WebFont().setColor(clBlue);
  edit.setBGColor(clYellow);
  edit.setAlignment(TAlignment::taRightJustify);
  edit.StyleRenderOptions().setRenderFont(false);
  EXPECT_EQ(
      "position: absolute; left: 1px; top: 2px;z-index: 100; width: 119px; height: 19px; padding: "
      "0; "
      "color:#0000FF;background-color: #FFFF00; text-align: right; border: 1px inset;",
      bench.style(edit));

  auto& label = add<TIWLabel>(p, "Label1");
  label.SetBounds(3, 4, 50, 16);
  label.setAlignment(TAlignment::taCenter);
  label.StyleRenderOptions().setRenderFont(false);
  EXPECT_EQ("position: absolute; left: 3px; top: 4px;z-index: 100; padding: 0; text-align:center; ",
            bench.style(label));
  label.setAutoSize(false);  // RenderSize now differs from AutoSize: the size is written
  EXPECT_EQ(
      "position: absolute; left: 3px; top: 4px;z-index: 100; width: 50px; height: 16px; padding: "
      "0; "
      "text-align:center; ",
      bench.style(label));
  label.setCss("big");
  EXPECT_EQ(
      "position: absolute; left: 3px; top: 4px;z-index: 100; width: 50px; height: 16px; padding: "
      "0; ",
      bench.style(label));

  auto& memo = add<TIWMemo>(p, "Memo1");
  memo.StyleRenderOptions().setRenderFont(false);
  memo.StyleRenderOptions().setRenderPosition(false);
  memo.setVertScrollBar(false);
  memo.setResizeDirection(TIWResizeDirection::rdVertical);
  EXPECT_EQ(
      "z-index: 100; width: 121px; height: 121px; padding: 0; margin: 0px; overflow: "
      "hidden;border: 1px "
      "inset;resize:vertical;",
      bench.style(memo));
  memo.setInvisibleBorder(true);
  memo.setResizeDirection(TIWResizeDirection::rdNone);
  EXPECT_EQ(
      "z-index: 100; width: 121px; height: 121px; padding: 0; margin: 0px; overflow: "
      "hidden;border-style: "
      "none; resize:none;",
      bench.style(memo));

  auto& radio = add<TIWRadioGroup>(p, "Radio1");
  radio.StyleRenderOptions().setRenderFont(false);
  radio.StyleRenderOptions().setRenderPosition(false);
  radio.setLayout(TIWRadioGroupLayout::glHorizontal);
  EXPECT_EQ("z-index: 100; padding: 0;  white-space:nowrap;", bench.style(radio));

  auto& combo = add<TIWComboBox>(p, "Combo1");
  combo.StyleRenderOptions().setRenderFont(false);
  combo.StyleRenderOptions().setRenderPosition(false);
  combo.setBGColor(clWhite);
  EXPECT_EQ(
      "z-index: 100; width: 121px; height: 21px; padding: 0; background-color: #FFFFFF; border: "
      "1px inset;",
      bench.style(combo));

  auto& image = add<TIWImage>(p, "Image1");
  image.StyleRenderOptions().setRenderFont(false);
  image.StyleRenderOptions().setRenderPosition(false);
  image.OnAsyncClick = [](TIWCustomControl&, const StringList&) {};
  EXPECT_EQ("z-index: 100; padding: 0;  cursor:pointer;", bench.style(image));
}

// --- Scripts of a control -------------------------------------------------------------

TEST(ControlScriptsTest, ClientObjectLineAndHooks) {
  ControlRenderBench bench;
  TIWForm& p = bench.page;
  auto& label = add<TIWLabel>(p, "Label1");
  EXPECT_EQ("  IW.initIWCL(IWCLForm,\"LABEL1\",false);\r\n", bench.scripts(label).first);

  auto& edit = add<TIWEdit>(p, "Edit1");
  edit.OnAsyncChange = [](TIWCustomControl&, const StringList&) {};
  edit.OnAsyncClick = [](TIWCustomControl&, const StringList&) {};
  edit.setLockOnAsyncEvents(asyncEventBit(TIWAsyncEventType::aeClick));
  edit.OnSubmit = [](TIWCustomControl&) {};
  edit.setFocusColor(clRed);
  const auto [iwcl, functions] = bench.scripts(edit);
  EXPECT_EQ(
      "  IW.initIWCL(IWCLForm,\"EDIT1\",true);\r\n"
      "  if (EDIT1IWCL) {\r\n"
      "    EDIT1IWCL.HookDefaultHandlers(\"OnClick:Lock;OnChange\");\r\n"
      "    "
      "EDIT1IWCL.SetProps({\"ImplicitSubmit\":true,\"SubmitValidation\":true,\"FocusColor\":\"#"
      "FF0000\","
      "\"BGColor\":\"\"});\r\n"
      "  }\r\n",
      iwcl);
  EXPECT_EQ("", functions);
  EXPECT_EQ(1u, bench.session.callbacks.count("TestForm.EDIT1.DoOnAsyncChange"));
  EXPECT_EQ(1u, bench.session.callbacks.count("TestForm.EDIT1.DoOnAsyncClick"));

  auto& button = add<TIWButton>(p, "Button1");
  button.OnClick = [](TIWCustomControl&) {};
  button.setConfirmation("Sure? \"yes\"");
  button.setAlign(TAlign::alBottom);
  const auto [biwcl, bfunctions] = bench.scripts(button);
  EXPECT_EQ(
      "  IW.initIWCL(IWCLForm,\"BUTTON1\",false)\r\n"
      "  if (BUTTON1IWCL) {\r\n    BUTTON1IWCL.SetAlign(alBottom);\r\n"
      "    BUTTON1IWCL.SetAnchors(new CreateAnchors(true, false, true, false));\r\n  };\r\n"
      "  if (BUTTON1IWCL) {\r\n    BUTTON1IWCL.HookEvent(\"click\",BUTTON1_onclick);\r\n  }\r\n",
      biwcl);
  EXPECT_EQ(
      "function BUTTON1_onclick(event) {\r\n"
      "SubmitClickConfirm('BUTTON1','', true, 'Sure? \\\"yes\\\"');return false;}\r\n",
      bfunctions);
}

TEST(ControlScriptsTest, RegisteredCallbackRunsTheControlsHandlerWithTheParameters) {
  ControlRenderBench bench;
  auto& edit = add<TIWEdit>(bench.page, "Edit1");
  std::string seen;
  edit.OnAsyncChange = [&](TIWCustomControl& sender, const StringList&) {
    seen = sender.Name() + ":" + static_cast<TIWEdit&>(sender).GetAsyncParam("x");
  };
  bench.scripts(edit);
  bench.session.callbacks.at("TestForm.EDIT1.DoOnAsyncChange")({"x=5"});
  EXPECT_EQ("Edit1:5", seen);
  // A control removed since the render is not called.
  bench.page.removeControl(edit);
  bench.session.callbacks.at("TestForm.EDIT1.DoOnAsyncChange")({"x=6"});
}

// --- Asynchronous elements -------------------------------------------------------------

TEST(ControlAsyncTest, ElementsOfEachControl) {
  const Case cases[] = {
      {"rectangle: raw table in innerHTML",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& r = add<TIWRectangle>(p, "Out1");
         r.SetBounds(5, 6, 40, 20);
         r.setText("1<2");
         r.StyleRenderOptions().setRenderFont(false);
         return r;
       },
       "<control id=\"OUT1\" type=\"IWRECTANGLE\">\r\n<innerhtml><![CDATA[<table "
       "style=\"width:100%; "
       "height:100%; border-collapse:collapse; border-spacing:0; padding:0; background-color:;"
       "border-width: 0px; border-style: solid; \">\r\n<tr style=\"font-weight: normal; "
       "font-style: normal; "
       "text-decoration: none;font-size: 13px; text-align: left; vertical-align: middle; "
       "\"><td>1<2</td></tr>"
       "</table>]]></innerhtml>\r\n<css>OUT1CSS</css>\r\n<supportsinput>false</supportsinput>\r\n"
       "<enabled>true</enabled>\r\n<hint></hint>\r\n<style>\r\n<attribute "
       "name=\"visibility\">inherit"
       "</attribute>\r\n<attribute name=\"left\">5px</attribute>\r\n<attribute "
       "name=\"top\">6px</attribute>"
       "\r\n<attribute name=\"height\">20px</attribute>\r\n<attribute "
       "name=\"width\">40px</attribute>\r\n"
       "<attribute name=\"z-index\">100</attribute></style></control>"},
      {"label: escaped innerHTML, spaces for the callback",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& l = add<TIWLabel>(p, "L1");
         l.setCaption("1<2 x");
         l.setConvertSpaces(true);
         l.setVisible(false);
         l.setAlignment(TAlignment::taCenter);
         l.StyleRenderOptions().setRenderFont(false);
         return l;
       },
       "<control id=\"L1\" "
       "type=\"IWLABEL\">\r\n<innerhtml><![CDATA[1&lt;2&amp;nbsp;x]]></innerhtml>\r\n"
       "<css>L1CSS</css>\r\n<supportsinput>false</supportsinput>\r\n<enabled>true</enabled>\r\n"
       "<hint></hint>\r\n<style>\r\n<attribute name=\"text-align\">center</attribute>\r\n"
       "<attribute name=\"visibility\">hidden</attribute>\r\n<attribute "
       "name=\"left\">0px</attribute>\r\n"
       "<attribute name=\"top\">0px</attribute>\r\n<attribute "
       "name=\"z-index\">100</attribute></style>"
       "</control>"},
      {"edit",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& e = add<TIWEdit>(p, "E1");
         e.setText("a&b");
         e.setReadOnly(true);
         e.StyleRenderOptions().setRenderFont(false);
         e.StyleRenderOptions().setRenderPosition(false);
         e.StyleRenderOptions().setRenderSize(false);
         return e;
       },
       "<control id=\"E1\" "
       "type=\"IWEDIT\">\r\n<readonly>true</readonly>\r\n<enabled>true</enabled>\r\n"
       "<text>a&amp;b</text>\r\n<maxlength>0</maxlength>\r\n<css>E1CSS</css>\r\n"
       "<supportsinput>true</supportsinput>\r\n<hint></hint>\r\n<style>\r\n<attribute "
       "name=\"text-align\">"
       "left</attribute>\r\n<attribute name=\"visibility\">inherit</attribute>\r\n"
       "<attribute name=\"z-index\">100</attribute></style></control>"},
      {"memo",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& m = add<TIWMemo>(p, "M1");
         m.Lines().add("x<y");
         m.StyleRenderOptions().setRenderFont(false);
         m.StyleRenderOptions().setRenderPosition(false);
         m.StyleRenderOptions().setRenderVisibility(false);
         m.setAlign(TAlign::alClient);
         return m;
       },
       "<control id=\"M1\" "
       "type=\"IWMEMO\">\r\n<readonly>false</readonly>\r\n<text>x&lt;y\r\n</text>\r\n"
       "<css>M1CSS</css>\r\n<supportsinput>true</supportsinput>\r\n<enabled>true</"
       "enabled>\r\n<hint></hint>"
       "\r\n<style>\r\n<attribute name=\"z-index\">100</attribute></style></control>"},
      {"check box",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& c = add<TIWCheckBox>(p, "C1");
         c.setCaption("Wet");
         c.setChecked(true);
         c.setEditable(false);
         c.StyleRenderOptions().setRenderFont(false);
         c.StyleRenderOptions().setRenderPosition(false);
         c.StyleRenderOptions().setRenderVisibility(false);
         c.StyleRenderOptions().setRenderZIndex(false);
         return c;
       },
       "<control id=\"C1\" type=\"IWCHECKBOX\">\r\n<caption>Wet</caption>\r\n<css>C1CSS</css>\r\n"
       "<supportsinput>true</supportsinput>\r\n<hint></hint>\r\n<checked>true</checked>\r\n"
       "<enabled>false</enabled></control>"},
      {"radio group",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& r = add<TIWRadioGroup>(p, "R1");
         r.Items().assign({"A&B", "C"});
         r.setItemIndex(1);
         r.setLayout(TIWRadioGroupLayout::glHorizontal);
         r.StyleRenderOptions().setRenderFont(false);
         r.StyleRenderOptions().setRenderPosition(false);
         r.StyleRenderOptions().setRenderVisibility(false);
         r.StyleRenderOptions().setRenderZIndex(false);
         return r;
       },
       "<control id=\"R1\" type=\"IWRADIOGROUP\" layout=\"horizontal\">\r\n<items>\r\n"
       "<item value=\"0\" id=\"R1_INPUT_1\" enabled=\"true\">A&amp;B</item>\r\n"
       "<item selected=\"true\" value=\"1\" id=\"R1_INPUT_2\" enabled=\"true\">C</item></items>\r\n"
       "<css>R1CSS</css>\r\n<supportsinput>true</supportsinput>\r\n<hint></hint></control>"},
      {"button",
       [](TIWForm& p) -> TIWCustomControl& {
         auto& b = add<TIWButton>(p, "B1");
         b.setCaption("Go");
         b.setColor(clLime);
         b.setShowHint(false);
         b.StyleRenderOptions().setRenderFont(false);
         b.StyleRenderOptions().setRenderPosition(false);
         b.StyleRenderOptions().setRenderVisibility(false);
         b.StyleRenderOptions().setRenderZIndex(false);
         b.StyleRenderOptions().setRenderSize(false);
         return b;
       },
       "<control id=\"B1\" "
       "type=\"IWBUTTON\">\r\n<caption>Go</caption>\r\n<color>#00FF00</color>\r\n"
       "<css>B1CSS</css>\r\n<supportsinput>false</supportsinput>\r\n<enabled>true</enabled>\r\n"
       "<style>\r\n<attribute name=\"background-color\">#00FF00</attribute></style></control>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ControlRenderBench bench;
    EXPECT_EQ(c.expected, bench.async(c.build(bench.page)));
  }
}

TEST(ControlAsyncTest, ComboBoxSendsItsEntriesOnceThenOnlyTheIndex) {
  ControlRenderBench bench;
  auto& combo = add<TIWComboBox>(bench.page, "Combo1");
  combo.StyleRenderOptions().setRenderFont(false);
  combo.StyleRenderOptions().setRenderPosition(false);
  combo.StyleRenderOptions().setRenderVisibility(false);
  combo.StyleRenderOptions().setRenderZIndex(false);
  combo.StyleRenderOptions().setRenderSize(false);
  combo.setShowHint(false);
  combo.Items().assign({"a b", "c"});
  EXPECT_EQ(
      "<control id=\"COMBO1\" type=\"IWCOMBOBOX\">\r\n<items>\r\n<item selected=\"true\" "
      "value=\"-1\">"
      "-- No Selection --</item>\r\n<item value=\"0\">a&amp;nbsp;b</item>\r\n<item "
      "value=\"1\">c</item>"
      "</items>\r\n<css>COMBO1CSS</css>\r\n<supportsinput>true</supportsinput></control>",
      bench.async(combo));
  EXPECT_EQ("<execute>\r\n<literal>setEnabled(\"COMBO1\",true);</literal></execute>",
            bench.session.response.ExecuteTag().Render().substr(2));

  bench.session.response.Initialize();
  combo.setItemIndex(1);
  EXPECT_EQ(
      "<control id=\"COMBO1\" type=\"IWCOMBOBOX\">\r\n<css>COMBO1CSS</css>\r\n"
      "<supportsinput>true</supportsinput></control>",
      bench.async(combo));
  // The browser's list still starts with the no-selection entry.
  EXPECT_EQ(
      "<execute>\r\n<literal>setEnabled(\"COMBO1\",true);</literal>\r\n"
      "<literal>IW.$(\"COMBO1\").selectedIndex = 2;</literal></execute>",
      bench.session.response.ExecuteTag().Render().substr(2));

  bench.session.response.Initialize();
  bench.async(combo);
  EXPECT_EQ("<execute>\r\n<literal>setEnabled(\"COMBO1\",true);</literal></execute>",
            bench.session.response.ExecuteTag().Render().substr(2));
}

TEST(ControlAsyncTest, ControlsWithoutPartialSupportRenderNothing) {
  ControlRenderBench bench;
  auto& b = add<TIWButton>(bench.page, "B1");
  b.setSupportsPartial(false);
  EXPECT_EQ("(none)", bench.async(b));
}

}  // namespace
}  // namespace orv
