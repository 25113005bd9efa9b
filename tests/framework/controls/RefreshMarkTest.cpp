// Which changes mark a control for the next asynchronous update (DoRefreshControl):
// real changes of what the browser shows do, repeats of the current value and the
// stored-only properties (ZIndex, WebCursor) do not.
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

namespace orv {
namespace {

struct MarkCase {
  const char* label;
  std::function<void(TIWCustomControl&)> action;
  bool marks;
};

// Runs each action on a fresh control of class T whose mark has just been cleared.
template <class T>
void checkMarks(const std::vector<MarkCase>& cases, std::function<void(T&)> prepare = nullptr) {
  for (const MarkCase& c : cases) {
    SCOPED_TRACE(c.label);
    T control;
    control.SetBounds(10, 20, 30, 40);
    if (prepare) prepare(control);
    control.setDoRefreshControl(false);
    c.action(control);
    EXPECT_EQ(control.DoRefreshControl(), c.marks);
    EXPECT_EQ(control.RequiresRefresh(), c.marks);
  }
}

TEST(RefreshMarkTest, CommonPropertiesMarkOnlyRealChanges) {
  const std::vector<MarkCase> cases = {
      {"Visible set to its value", [](TIWCustomControl& c) { c.setVisible(true); }, false},
      {"Visible changed", [](TIWCustomControl& c) { c.setVisible(false); }, true},
      {"Hide", [](TIWCustomControl& c) { static_cast<TIWBaseControl&>(c).Hide(); }, true},
      {"Show while visible", [](TIWCustomControl& c) { static_cast<TIWBaseControl&>(c).Show(); },
       false},
      {"Left set to its value", [](TIWCustomControl& c) { c.setLeft(10); }, false},
      {"Left changed", [](TIWCustomControl& c) { c.setLeft(11); }, true},
      {"Top changed", [](TIWCustomControl& c) { c.setTop(0); }, true},
      {"Width changed", [](TIWCustomControl& c) { c.setWidth(31); }, true},
      {"Height changed", [](TIWCustomControl& c) { c.setHeight(41); }, true},
      {"SetBounds with the same values", [](TIWCustomControl& c) { c.SetBounds(10, 20, 30, 40); },
       false},
      {"SetBounds with one new value", [](TIWCustomControl& c) { c.SetBounds(10, 20, 30, 41); },
       true},
      {"Enabled changed", [](TIWCustomControl& c) { c.setEnabled(false); }, true},
      {"Enabled set to its value", [](TIWCustomControl& c) { c.setEnabled(true); }, false},
      {"Hint changed", [](TIWCustomControl& c) { c.setHint("help"); }, true},
      {"Color changed", [](TIWCustomControl& c) { c.setColor(clWebRED); }, true},
      {"Color set to its value", [](TIWCustomControl& c) { c.setColor(c.Color()); }, false},
      {"font size changed", [](TIWCustomControl& c) { c.WebFont().setSize(12); }, true},
      {"font colour changed", [](TIWCustomControl& c) { c.WebFont().setColor(clWebRED); }, true},
      {"font style changed", [](TIWCustomControl& c) { c.WebFont().setStyle(fsBold); }, true},
      {"font name set to its value", [](TIWCustomControl& c) { c.WebFont().setFontName(""); },
       false},
      {"font assigned from an equal font",
       [](TIWCustomControl& c) {
         TIWFont same;
         c.setWebFont(same);
       },
       false},
      {"extra tag line added", [](TIWCustomControl& c) { c.ExtraTagParams().add("x=1"); }, true},
      {"RenderSize changed", [](TIWCustomControl& c) { c.setRenderSize(!c.RenderSize()); }, true},
      {"RenderSize set to its value", [](TIWCustomControl& c) { c.setRenderSize(c.RenderSize()); },
       false},
      {"style option changed",
       [](TIWCustomControl& c) { c.StyleRenderOptions().setRenderFont(false); }, true},
      {"Css changed", [](TIWCustomControl& c) { c.setCss("big"); }, true},
      {"ZIndex is only stored", [](TIWCustomControl& c) { c.setZIndex(32000); }, false},
      {"WebCursor is only stored", [](TIWCustomControl& c) { c.setWebCursor(TIWCursor::crHelp); },
       false},
      {"Invalidate", [](TIWCustomControl& c) { c.Invalidate(); }, true},
      {"RepaintControl", [](TIWCustomControl& c) { c.RepaintControl(); }, true},
  };
  checkMarks<TIWButton>(cases);
  checkMarks<TIWRectangle>(cases);
}

TEST(RefreshMarkTest, CssMarksOnlyWhenItDiffersIgnoringCase) {
  TIWEdit edit;
  edit.setCss("big");
  edit.setDoRefreshControl(false);
  edit.setCss("BIG");
  EXPECT_FALSE(edit.DoRefreshControl());
  EXPECT_EQ(edit.Css(), "BIG");
  edit.setCss("big small");
  EXPECT_TRUE(edit.DoRefreshControl());
}

TEST(RefreshMarkTest, RenderSizeAlsoSetsTheStyleOption) {
  TIWImage image;
  EXPECT_FALSE(image.RenderSize());
  image.StyleRenderOptions().setRenderSize(false);
  image.setRenderSize(true);
  EXPECT_TRUE(image.StyleRenderOptions().RenderSize());
  image.setRenderSize(false);
  EXPECT_FALSE(image.StyleRenderOptions().RenderSize());
}

TEST(RefreshMarkTest, ConcreteControlsMarkTheirVisibleProperties) {
  checkMarks<TIWButton>({
      {"caption", [](TIWCustomControl& c) { static_cast<TIWButton&>(c).setCaption("Solve"); },
       true},
      {"same caption", [](TIWCustomControl& c) { static_cast<TIWButton&>(c).setCaption(""); },
       false},
      {"hot key", [](TIWCustomControl& c) { static_cast<TIWButton&>(c).setHotKey("S"); }, true},
  });
  checkMarks<TIWEdit>({
      {"text", [](TIWCustomControl& c) { static_cast<TIWEdit&>(c).setText("1.5"); }, true},
      {"same text", [](TIWCustomControl& c) { static_cast<TIWEdit&>(c).setText(""); }, false},
      {"max length", [](TIWCustomControl& c) { static_cast<TIWEdit&>(c).setMaxLength(5); }, true},
      {"alignment",
       [](TIWCustomControl& c) { static_cast<TIWEdit&>(c).setAlignment(TAlignment::taCenter); },
       true},
      {"editable", [](TIWCustomControl& c) { c.setEditable(false); }, true},
  });
  checkMarks<TIWLabel>({
      {"caption", [](TIWCustomControl& c) { static_cast<TIWLabel&>(c).setCaption("header 1"); },
       true},
      {"AutoSize off turns RenderSize on",
       [](TIWCustomControl& c) {
         static_cast<TIWLabel&>(c).setAutoSize(false);
         EXPECT_TRUE(c.RenderSize());
       },
       true},
  });
  checkMarks<TIWRectangle>({
      {"text", [](TIWCustomControl& c) { static_cast<TIWRectangle&>(c).setText("x"); }, true},
      {"border width",
       [](TIWCustomControl& c) { static_cast<TIWRectangle&>(c).BorderOptions().setWidth(1); },
       true},
      {"border colour",
       [](TIWCustomControl& c) {
         static_cast<TIWRectangle&>(c).BorderOptions().setColor(clWebRED);
       },
       true},
      {"same border width",
       [](TIWCustomControl& c) { static_cast<TIWRectangle&>(c).BorderOptions().setWidth(0); },
       false},
      {"vertical alignment",
       [](TIWCustomControl& c) {
         static_cast<TIWRectangle&>(c).setVAlign(TIWVerticalAlign::vaTop);
       },
       true},
  });
  checkMarks<TIWMemo>({
      {"line added", [](TIWCustomControl& c) { static_cast<TIWMemo&>(c).Lines().add("a"); }, true},
      {"text set", [](TIWCustomControl& c) { static_cast<TIWMemo&>(c).setText("a\r\nb"); }, true},
  });
  checkMarks<TIWComboBox>(
      {
          {"entry added",
           [](TIWCustomControl& c) { static_cast<TIWComboBox&>(c).Items().add("C"); }, true},
          {"index chosen",
           [](TIWCustomControl& c) { static_cast<TIWComboBox&>(c).setItemIndex(1); }, true},
          {"index beyond the entries",
           [](TIWCustomControl& c) { static_cast<TIWComboBox&>(c).setItemIndex(2); }, false},
          {"same index", [](TIWCustomControl& c) { static_cast<TIWComboBox&>(c).setItemIndex(-1); },
           false},
      },
      [](TIWComboBox& combo) {
        combo.Items().assign({"A", "B"});
      });
  checkMarks<TIWCheckBox>({
      {"checked from the server",
       [](TIWCustomControl& c) { static_cast<TIWCheckBox&>(c).setChecked(true); }, true},
      {"same state", [](TIWCustomControl& c) { static_cast<TIWCheckBox&>(c).setChecked(false); },
       false},
      {"caption", [](TIWCustomControl& c) { static_cast<TIWCheckBox&>(c).setCaption("On"); }, true},
  });
  checkMarks<TIWRadioGroup>({
      {"caption added",
       [](TIWCustomControl& c) { static_cast<TIWRadioGroup&>(c).Items().add("A"); }, true},
      {"index", [](TIWCustomControl& c) { static_cast<TIWRadioGroup&>(c).setItemIndex(1); }, true},
      {"layout",
       [](TIWCustomControl& c) {
         static_cast<TIWRadioGroup&>(c).setLayout(TIWRadioGroupLayout::glHorizontal);
       },
       true},
      {"same index", [](TIWCustomControl& c) { static_cast<TIWRadioGroup&>(c).setItemIndex(0); },
       false},
  });
}

TEST(RefreshMarkTest, CheckedFromTheServerRunsOnChange) {
  TIWCheckBox check;
  int changes = 0;
  check.OnChange = [&](TIWCustomControl& sender) {
    EXPECT_EQ(&sender, &check);
    ++changes;
  };
  check.setChecked(true);
  check.setChecked(true);
  check.setChecked(false);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace orv
