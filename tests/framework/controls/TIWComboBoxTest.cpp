#include "framework/controls/TIWComboBox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace orv {
namespace {

TEST(TIWComboBoxTest, SettingItemIndexAtOrBeyondTheEntriesKeepsTheSelection) {
  TIWComboBox combo;
  combo.Items().assign({"A", "B"});
  combo.setItemIndex(1);
  combo.setItemIndex(5);
  EXPECT_EQ(combo.ItemIndex(), 1);
  combo.setItemIndex(2);
  EXPECT_EQ(combo.ItemIndex(), 1);
  combo.setItemIndex(-1);
  EXPECT_EQ(combo.ItemIndex(), -1);
  combo.setItemIndex(-3);
  EXPECT_EQ(combo.ItemIndex(), -1);
  TIWComboBox empty;
  empty.setItemIndex(0);
  EXPECT_EQ(empty.ItemIndex(), -1);
}

TEST(TIWComboBoxTest, SelectionStaysOnTheSameEntryWhenTheListChanges) {
  struct Case {
    const char* label;
    std::function<void(StringList&)> change;
    int after;
  };
  // Starting from A B C D with C (2) chosen.
  const Case cases[] = {
      {"insert before", [](StringList& l) { l.insert(0, "X"); }, 3},
      {"insert at the chosen place", [](StringList& l) { l.insert(2, "X"); }, 3},
      {"insert after", [](StringList& l) { l.insert(3, "X"); }, 2},
      {"append", [](StringList& l) { l.add("X"); }, 2},
      {"delete before", [](StringList& l) { l.remove(0); }, 1},
      {"delete after", [](StringList& l) { l.remove(3); }, 2},
      {"delete the chosen entry", [](StringList& l) { l.remove(2); }, -1},
      {"exchange the chosen entry away", [](StringList& l) { l.exchange(2, 0); }, 0},
      {"exchange another entry in", [](StringList& l) { l.exchange(3, 2); }, 3},
      {"exchange others", [](StringList& l) { l.exchange(0, 1); }, 2},
      {"rename the chosen entry", [](StringList& l) { l.set(2, "Z"); }, 2},
      {"clear", [](StringList& l) { l.clear(); }, -1},
      {"replace the whole list",
       [](StringList& l) {
         l.assign({"P", "Q", "R"});
       },
       -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    TIWComboBox combo;
    combo.Items().assign({"A", "B", "C", "D"});
    combo.setItemIndex(2);
    const std::string chosen = combo.Text();
    c.change(combo.Items());
    EXPECT_EQ(combo.ItemIndex(), c.after);
    if (c.after >= 0 && std::string(c.label) != "rename the chosen entry") {
      EXPECT_EQ(combo.Text(), chosen);
    }
  }
}

TEST(TIWComboBoxTest, DeletingTheLastRemainingEntryClearsTheSelection) {
  TIWComboBox combo;
  combo.Items().add("Only");
  combo.setItemIndex(0);
  combo.Items().remove(0);
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
}

TEST(TIWComboBoxTest, TextOfTheChosenEntry) {
  TIWComboBox combo;
  combo.Items().assign({"Steel", "Copper"});
  EXPECT_EQ(combo.Text(), "");
  EXPECT_EQ(combo.SelectedText(), "-- No Selection --");
  combo.setNoSelectionText("(none)");
  EXPECT_EQ(combo.SelectedText(), "(none)");
  combo.setItemIndex(1);
  EXPECT_EQ(combo.Text(), "Copper");
  EXPECT_EQ(combo.SelectedText(), "Copper");
  EXPECT_EQ(combo.ItemValue(1), "1");
  combo.setItemsHaveValues(true);
  combo.Items().assign({"Steel=45", "Copper=398"});
  combo.setItemIndex(0);
  EXPECT_EQ(combo.Text(), "Steel");
  EXPECT_EQ(combo.ItemText(1), "Copper");
  EXPECT_EQ(combo.ItemValue(1), "398");
}

TEST(TIWComboBoxTest, RemembersWhatTheBrowserHas) {
  TIWComboBox combo;
  combo.Items().assign({"A", "B"});
  EXPECT_TRUE(combo.ItemsNeedSending());
  combo.setItemIndex(1);
  combo.markSent();
  EXPECT_FALSE(combo.ItemsNeedSending());
  EXPECT_EQ(combo.LastSentItemIndex(), 1);
  combo.setItemIndex(0);  // a new index from the server: entries stay, index differs
  EXPECT_FALSE(combo.ItemsNeedSending());
  EXPECT_NE(combo.LastSentItemIndex(), combo.ItemIndex());
  combo.SetValue("1");  // the browser's own choice is what it shows
  EXPECT_EQ(combo.LastSentItemIndex(), 1);
  combo.Items().add("C");
  EXPECT_TRUE(combo.ItemsNeedSending());
}

TEST(TIWComboBoxTest, UseSizeIsRenderSize) {
  TIWComboBox combo;
  combo.setUseSize(false);
  EXPECT_FALSE(combo.RenderSize());
  EXPECT_FALSE(combo.StyleRenderOptions().RenderSize());
  combo.setRenderSize(true);
  EXPECT_TRUE(combo.UseSize());
}

}  // namespace
}  // namespace orv
