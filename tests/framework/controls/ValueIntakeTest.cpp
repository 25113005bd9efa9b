// Values posted by the browser: what each control makes of them, and that a taken value
// leaves the control unmarked (the browser already shows it).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/controls/TIWButton.h"
#include "framework/controls/TIWCheckBox.h"
#include "framework/controls/TIWComboBox.h"
#include "framework/controls/TIWContainer.h"
#include "framework/controls/TIWEdit.h"
#include "framework/controls/TIWLabel.h"
#include "framework/controls/TIWMemo.h"
#include "framework/controls/TIWRadioGroup.h"

namespace orv {
namespace {

TEST(ValueIntakeTest, EditTakesThePostedText) {
  const char* values[] = {"12.5", "", "  spaced  ", "a\r\nb", "<b>&amp;</b>", "ü∞"};
  for (const char* value : values) {
    SCOPED_TRACE(value);
    TIWEdit edit;
    edit.setText("old");
    edit.Invalidate();
    edit.SetValue(value);
    EXPECT_EQ(edit.Text(), value);
    EXPECT_FALSE(edit.DoRefreshControl());
  }
}

TEST(ValueIntakeTest, MemoTurnsLineEndsIntoCrLf) {
  struct Case {
    const char* label;
    const char* posted;
    std::vector<std::string> lines;
    const char* text;
    bool endsWithCRLF;
  };
  const Case cases[] = {
      {"lone LF line ends", "a\nb\n", {"a", "b"}, "a\r\nb\r\n", true},
      {"CR LF line ends", "a\r\nb\r\n", {"a", "b"}, "a\r\nb\r\n", true},
      {"no final line end", "a\nb", {"a", "b"}, "a\r\nb\r\n", false},
      {"a lone CR is dropped", "a\rb", {"ab"}, "ab\r\n", false},
      {"empty", "", {}, "", true},
      {"only a line end", "\n", {""}, "\r\n", true},
      {"empty lines kept", "a\n\n\nb\n", {"a", "", "", "b"}, "a\r\n\r\n\r\nb\r\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TIWMemo memo;
    memo.Lines().assign({"old"});
    memo.setEndsWithCRLF(!c.endsWithCRLF);
    memo.SetValue(c.posted);
    EXPECT_EQ(memo.Lines().lines(), c.lines);
    EXPECT_EQ(memo.Text(), c.text);
    EXPECT_EQ(memo.EndsWithCRLF(), c.endsWithCRLF);
    EXPECT_FALSE(memo.DoRefreshControl());
  }
}

TEST(ValueIntakeTest, ComboBoxReadsTheIndexUpToTheFirstComma) {
  struct Case {
    const char* posted;
    int before;
    int after;
  };
  const Case cases[] = {
      {"2,2,", -1, 2},  // a full submit: value, then every selected value with a ","
      {"2", 0, 2},      // a background request: the value alone
      {"0", 2, 0},
      {"-1", 1, -1},  // the no-selection entry
      {"-1,", 1, -1},
      {"abc", 1, -1},  // not a number clears the selection
      {"", 1, -1},
      {"1.5", 1, -1},
      {"3", 1, 1},  // beyond the entries: unchanged
      {"99,99,", 0, 0},
      {"-5", 1, -1},  // below -1 means nothing chosen
      {" 2", 0, 2},   // leading blanks are allowed
      {"2 ", 0, -1},  // trailing ones are not
      {"99999999999", 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.posted);
    TIWComboBox combo;
    combo.Items().assign({"Steel", "Copper", "Alu"});
    combo.setItemIndex(c.before);
    combo.Invalidate();
    combo.SetValue(c.posted);
    EXPECT_EQ(combo.ItemIndex(), c.after);
    EXPECT_FALSE(combo.DoRefreshControl());
  }
}

TEST(ValueIntakeTest, ComboBoxWithValuesChoosesTheEntryWithThatValue) {
  struct Case {
    const char* posted;
    int after;
  };
  const Case cases[] = {{"45", 0},  {"398", 1},    {"k=1", 2}, {"", 3},
                        {"46", -1}, {"Steel", -1}, {"0", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.posted);
    TIWComboBox combo;
    combo.setItemsHaveValues(true);
    combo.Items().assign({"Steel=45", "Copper=398", "Odd=k=1", "Empty="});
    combo.setItemIndex(1);
    combo.SetValue(c.posted);
    EXPECT_EQ(combo.ItemIndex(), c.after);
  }
}

TEST(ValueIntakeTest, CheckBoxIsCheckedByOnInAnyCase) {
  struct Case {
    const char* posted;
    bool before;
    bool checked;
    bool changed;
  };
  const Case cases[] = {
      {"on", false, true, true},  {"ON", false, true, true},  {"On", false, true, true},
      {"oN", true, true, false},  {"off", true, false, true}, {"OFF", false, false, false},
      {"", true, false, true},    {"yes", true, false, true}, {"1", true, false, true},
      {"on ", true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.posted);
    TIWCheckBox check;
    check.setChecked(c.before);
    check.Invalidate();
    int changes = 0;
    check.OnChange = [&](TIWCustomControl&) { ++changes; };
    ASSERT_TRUE(check.HasChangeReportingSetter());
    EXPECT_EQ(check.SetValueReportingChange(c.posted), c.changed);
    EXPECT_EQ(check.Checked(), c.checked);
    EXPECT_FALSE(check.DoRefreshControl());
    EXPECT_EQ(changes, 0);  // OnChange waits until every posted value is taken
    check.ValueChanged();
    EXPECT_EQ(changes, 1);
  }
}

TEST(ValueIntakeTest, RadioGroupTakesTheIndexEvenBeyondItsButtons) {
  struct Case {
    const char* posted;
    int after;
    bool changed;
  };
  const Case cases[] = {
      {"1", 1, true},  {"0", 0, false}, {"7", 7, true},
      {"x", -1, true}, {"", -1, true},  {"-1", -1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.posted);
    TIWRadioGroup radio;
    radio.Items().assign({"A", "B"});
    radio.Invalidate();
    EXPECT_EQ(radio.SetValueReportingChange(c.posted), c.changed);
    EXPECT_EQ(radio.ItemIndex(), c.after);
    EXPECT_FALSE(radio.DoRefreshControl());
  }
}

TEST(ValueIntakeTest, FormFieldNamesOfTheChoiceControls) {
  TIWContainer page;
  TIWCheckBox& check = page.addNew<TIWCheckBox>();
  check.setName("Chk1");
  TIWRadioGroup& radio = page.addNew<TIWRadioGroup>();
  radio.setName("Radio1");
  TIWComboBox& combo = page.addNew<TIWComboBox>();
  combo.setName("Combo1");
  EXPECT_EQ(check.GetInputControlNames(), std::vector<std::string>{"CHK1_CHECKBOX"});
  EXPECT_TRUE(check.IsForThisControl("CHK1_CHECKBOX"));
  EXPECT_FALSE(check.IsForThisControl("CHK1"));
  EXPECT_EQ(radio.GetInputControlNames(), std::vector<std::string>{"RADIO1_INPUT"});
  EXPECT_TRUE(radio.IsForThisControl("RADIO1_INPUT"));
  EXPECT_EQ(combo.GetInputControlNames(), std::vector<std::string>{"COMBO1"});
}

TEST(ValueIntakeTest, ControlsWithoutInputIgnorePostedValues) {
  TIWLabel label;
  label.setCaption("keep");
  label.SetValue("other");
  EXPECT_EQ(label.Caption(), "keep");
  EXPECT_FALSE(label.SupportsInput());
  EXPECT_FALSE(label.HasChangeReportingSetter());
  EXPECT_FALSE(label.SetValueReportingChange("x"));
}

// A page that remembers default actions and callback state, for the submit tests.
class RecordingPage : public TIWContainer {
 public:
  bool IsProcessingAsyncEvent() const override { return async; }
  void DoDefaultAction() override { ++defaultActions; }
  bool async = false;
  int defaultActions = 0;
};

TEST(ValueIntakeTest, SubmitStoresTheParameterAndRunsTheControlsAction) {
  RecordingPage page;
  int clicks = 0, submits = 0, changes = 0;
  TIWButton& button = page.addNew<TIWButton>();
  button.OnClick = [&](TIWCustomControl& sender) {
    EXPECT_EQ(&sender, &button);
    ++clicks;
  };
  button.Submit("p1");
  EXPECT_EQ(button.SubmitParam(), "p1");
  EXPECT_EQ(clicks, 1);

  TIWEdit& edit = page.addNew<TIWEdit>();
  edit.Submit("");
  EXPECT_EQ(page.defaultActions, 1);  // no OnSubmit: the page's default action
  edit.OnSubmit = [&](TIWCustomControl&) { ++submits; };
  edit.Submit("x");
  EXPECT_EQ(submits, 1);
  EXPECT_EQ(page.defaultActions, 1);

  TIWComboBox& combo = page.addNew<TIWComboBox>();
  combo.OnChange = [&](TIWCustomControl&) { ++changes; };
  combo.Submit("1");
  EXPECT_EQ(changes, 1);

  TIWCheckBox& check = page.addNew<TIWCheckBox>();
  check.OnClick = [&](TIWCustomControl&) { ++clicks; };
  check.Submit("");
  EXPECT_EQ(clicks, 2);

  TIWRadioGroup& radio = page.addNew<TIWRadioGroup>();
  radio.OnClick = [&](TIWCustomControl&) { ++clicks; };
  radio.Submit("2");  // only stores
  EXPECT_EQ(radio.SubmitParam(), "2");
  EXPECT_EQ(clicks, 2);

  TIWButton bare;  // unassigned handlers do nothing
  EXPECT_NO_THROW(bare.Submit("x"));
}

TEST(ValueIntakeTest, ComboBoxRunsOnChangeForChangesDuringAnAsynchronousEvent) {
  RecordingPage page;
  TIWComboBox& combo = page.addNew<TIWComboBox>();
  combo.Items().assign({"A", "B", "C"});
  int changes = 0;
  combo.OnChange = [&](TIWCustomControl&) { ++changes; };
  combo.SetValue("1");
  EXPECT_EQ(changes, 0);  // a full submit: no change event from the intake
  page.async = true;
  combo.SetValue("2");
  EXPECT_EQ(changes, 1);
  combo.SetValue("2");  // the same value is no change
  combo.SetValue("9");  // nor is an index beyond the entries
  EXPECT_EQ(changes, 1);
  combo.setItemIndex(0);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace orv
