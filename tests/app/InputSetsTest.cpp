// Saved input sets for real: pages built in temporary server directories save their
// inputs into DATA/ and load them back; the file format byte for byte, the set names,
// the list of sets, every message of the loading, the beeps, and the sound behaviour
// (a set written under a temporary name, an index outside a list).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/InputSets.h"
#include "app/WDiagramU.h"
#include "app/mylib/myLib.h"
#include "platform/Beep.h"
#include "tests/app/SolveTestSupport.h"

namespace orv {
namespace {

using test::buildIn;
using test::checkBoxItem;
using test::dropDownItem;
using test::exists;
using test::filesIn;
using test::inputItem;
using test::Items;
using test::outputItem;
using test::radioItem;
using test::readFile;
using test::ServerDir;
using test::writeCalculation;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr TIWColor kGrey = 0x808080;

// A page with two inputs, a drop-down, a radio group, two check boxes and an output.
class InputSetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Items items;
    items.add(inputItem("T1", "25"))
        .add(inputItem("Fluid$", "Water"))
        .add(dropDownItem("Mat$", 0, {"Steel//k=45", "Copper//k=398", "Iron"}))
        .add(radioItem({"A", "B"}, {{"X=1"}, {"X=2"}}))
        .add(checkBoxItem("C1", {"c=1"}))
        .add(checkBoxItem("C2", {"d=1"}))
        .add(outputItem("Q"));
    mainDir_ = writeCalculation(dir_, items.lines());
    page_ = buildIn(mainDir_);
    dly_ = mainDir_ + "CALC.DLY";
    data_ = mainDir_ + "DATA/";
  }

  TIWEdit& t1() { return *page_->InputList[0].aIWInput; }
  TIWEdit& fluid() { return *page_->InputList[1].aIWInput; }
  TIWComboBox& mat() { return *page_->InputList[2].aIWComboBox; }
  TIWRadioGroup& radio() { return *page_->RadioGroupList[0].aIWRadio; }
  TIWCheckBox& c1() { return *page_->CheckBoxList[0]; }
  TIWCheckBox& c2() { return *page_->CheckBoxList[1]; }

  // Both clicks of Save with that name.
  void save(const std::string& name) {
    if (!page_->SaveEdit->Visible()) page_->SaveButtonClick(*page_->SaveButton);
    page_->SaveEdit->setText(name);
    page_->SaveButtonClick(*page_->SaveButton);
  }
  // Both clicks of Load with that entry chosen.
  void load(const std::string& entry) {
    if (!page_->LoadFilesBox->Visible()) page_->LoadButtonClick(*page_->LoadButton);
    const int index = page_->LoadFilesBox->Items().indexOf(entry);
    ASSERT_GE(index, 0) << entry;
    page_->LoadFilesBox->setItemIndex(index);
    page_->LoadButtonClick(*page_->LoadButton);
  }
  // A set written by hand: line 1 is this page's layout file.
  void writeSet(const std::string& name, const std::string& bytes) const {
    dir_.writeBytes("DATA/" + name, bytes);
  }
  std::string set(std::initializer_list<std::string> lines) const {
    std::string bytes = dly_ + "\r\n";
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
  }

  ServerDir dir_;
  std::string mainDir_;
  std::string dly_;
  std::string data_;
  std::unique_ptr<TORVServerForm> page_;
};

TEST_F(InputSetsTest, SaveWritesTheSetByteForByteAndLoadBringsItBack) {
  t1().setText("1,500");
  fluid().setText("Hot \xC3\xA9 water");
  mat().setItemIndex(2);
  radio().setItemIndex(1);
  c1().setChecked(true);

  page_->SaveButtonClick(*page_->SaveButton);
  EXPECT_TRUE(page_->SaveEdit->Visible());
  EXPECT_EQ(page_->SaveEdit->Text(), "FileName");
  EXPECT_FALSE(exists(data_));  // the first click writes nothing
  page_->SaveEdit->setText("mine");
  page_->SaveButtonClick(*page_->SaveButton);

  EXPECT_FALSE(page_->SaveEdit->Visible());
  const std::string expected = dly_ +
                               "\r\n"
                               "T1\t1,500\r\n"
                               "Fluid$\t'Hot \xE9 water'\r\n"
                               "//Dropdown \tMat$\t2\r\n"
                               "//RadioGroup\t1\t1\r\n"
                               "//CheckBox\t1\tTRUE\r\n"
                               "//CheckBox\t2\tFALSE\r\n"
                               "//end\r\n";
  EXPECT_EQ(readFile(data_ + "mine.OWS"), expected);
  EXPECT_THAT(filesIn(data_), ElementsAre("mine.OWS"));  // no temporary file left

  // Another state, then the set again.
  t1().setText("7");
  fluid().setText("x");
  mat().setItemIndex(0);
  radio().setItemIndex(0);
  c1().setChecked(false);
  c2().setChecked(true);
  page_->OutputList[0].aIWOutput->WebFont().setColor(0x0000FF);
  const auto beeps = beepCount();

  load("mine");

  EXPECT_EQ(beepCount(), beeps);
  EXPECT_FALSE(page_->LoadFilesBox->Visible());
  EXPECT_FALSE(page_->Status->Visible());
  EXPECT_EQ(t1().Text(), "1,500");
  EXPECT_EQ(fluid().Text(), "Hot \xC3\xA9 water");
  EXPECT_EQ(mat().ItemIndex(), 2);
  EXPECT_EQ(radio().ItemIndex(), 1);
  EXPECT_TRUE(c1().Checked());
  EXPECT_FALSE(c2().Checked());
  EXPECT_EQ(page_->OutputList[0].aIWOutput->WebFont().Color(), kGrey);

  // Saved again, the same bytes.
  save("again");
  EXPECT_EQ(readFile(data_ + "again.OWS"), expected);
}

TEST_F(InputSetsTest, NameTakesOnlyItsFileNamePartWithTheSetExtension) {
  struct Case {
    const char* typed;
    const char* file;
  };
  const Case cases[] = {
      {"..\\x.txt", "x.OWS"},
      {"../x.txt", "x.OWS"},
      {"a.b", "a.OWS"},
      {"plain", "plain.OWS"},
      {"C:\\data\\set.old.txt", "set.old.OWS"},
      {"sub/dir\\deep/y", "y.OWS"},
      {"caf\xC3\xA9", "caf\xC3\xA9.OWS"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    std::filesystem::remove_all(data_);
    save(c.typed);
    EXPECT_THAT(filesIn(data_), ElementsAre(c.file));
    EXPECT_FALSE(page_->SaveEdit->Visible());
    EXPECT_THAT(filesIn(mainDir_), ElementsAre("CALC.DLY", "CALC.EXE"));  // nothing outside
  }
}

TEST_F(InputSetsTest, NameWithoutFileNamePartBeepsAndKeepsTheFieldOpen) {
  for (const char* typed : {"", "dir/", "..\\", "a\tb"}) {
    SCOPED_TRACE(typed);
    const auto beeps = beepCount(25);
    save(typed);
    EXPECT_EQ(beepCount(25), beeps + 1);
    EXPECT_TRUE(page_->SaveEdit->Visible());
    EXPECT_THAT(filesIn(data_), IsEmpty());
  }
}

TEST_F(InputSetsTest, DataFolderThatCannotBeMadeBeeps) {
  dir_.writeBytes("DATA", "a file where the folder belongs");
  const auto beeps = beepCount(25);
  save("x");
  EXPECT_EQ(beepCount(25), beeps + 1);
  EXPECT_TRUE(page_->SaveEdit->Visible());
  EXPECT_EQ(readFile(mainDir_ + "DATA"), "a file where the folder belongs");
}

TEST_F(InputSetsTest, RejectedNumberEndsTheSaveAndLeavesTheEarlierSetAlone) {
  save("keep");
  const std::string earlier = readFile(data_ + "keep.OWS");
  ASSERT_FALSE(earlier.empty());

  t1().setText("12 apples");
  const auto beeps = beepCount(25);
  save("keep");

  EXPECT_EQ(beepCount(25), beeps + 1);
  EXPECT_EQ(page_->ActiveControl(), &t1());
  EXPECT_TRUE(page_->SaveEdit->Visible());
  EXPECT_EQ(readFile(data_ + "keep.OWS"), earlier);
  EXPECT_THAT(filesIn(data_), ElementsAre("keep.OWS"));  // the unfinished file is gone
}

TEST_F(InputSetsTest, ApostropheInAStringIsSavedAndLoadedWithABeep) {
  fluid().setText("It's");
  save("q");
  EXPECT_THAT(readFile(data_ + "q.OWS"), ::testing::HasSubstr("\r\nFluid$\t'It's'\r\n"));
  fluid().setText("other");
  const auto beeps = beepCount(25);
  load("q");
  EXPECT_EQ(fluid().Text(), "Its");  // three apostrophes removed
  EXPECT_EQ(beepCount(25), beeps + 1);
}

TEST_F(InputSetsTest, TabOrLineBreakTypedIntoAFieldStaysInItsField) {
  fluid().setText("a\tb\r\n//end\nc");
  save("t");
  EXPECT_THAT(readFile(data_ + "t.OWS"), ::testing::HasSubstr("\r\nFluid$\t'a b  //end c'\r\n"));
  fluid().setText("other");
  load("t");
  EXPECT_EQ(fluid().Text(), "a b  //end c");
  EXPECT_FALSE(page_->Status->Visible());
}

TEST_F(InputSetsTest, OnlyFalseUnchecksABox) {
  struct Case {
    const char* field;
    bool checked;
  };
  const Case cases[] = {{"FALSE", false}, {"false", false}, {"False", false}, {"TRUE", true},
                        {"yes", true},    {"0", true},      {"", true},       {" FALSE", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    c1().setChecked(!c.checked);
    writeSet("b.OWS",
             set({"T1\t25", "Fluid$\t'Water'", "//Dropdown \tMat$\t0", "//RadioGroup\t1\t0",
                  std::string("//CheckBox\t1\t") + c.field, "//CheckBox\t2\tFALSE", "//end"}));
    load("b");
    EXPECT_EQ(c1().Checked(), c.checked);
    EXPECT_FALSE(page_->Status->Visible());
  }
}

TEST_F(InputSetsTest, LinesThatDoNotMatchThePageEndTheLoadingWithTheirMessage) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    std::string status;
    const char* t1;  // T1's text afterwards
    bool greyed;     // the outputs turned grey
  };
  const std::vector<Case> cases = {
      {"OtherInputName",
       {"Temp\t1", "Fluid$\t'Oil'"},
       "Error reading input T1.  The loading has been terminated.",
       "25",
       false},
      {"MissingInputLine",
       {"T1\t1"},
       "Error reading input Fluid$.  The loading has been terminated.",
       "1",
       true},
      {"DropdownLine",
       {"T1\t1", "Fluid$\t'Oil'", "//Combo\tMat$\t1"},
       "Error reading Dropdown Mat$. The loading has been terminated.",
       "1",
       true},
      {"RadioLine",
       {"T1\t2", "Fluid$\t'Oil'", "//Dropdown \tMat$\t1", "//Radio\t1\t1"},
       "Error reading RadioGroup 1. The loading has been terminated.",
       "2",
       true},
      {"SecondCheckBox",
       {"T1\t3", "Fluid$\t'Oil'", "//Dropdown \tMat$\t1", "//RadioGroup\t1\t1",
        "//CheckBox\t1\tTRUE", "//end"},
       "Error reading CheckBox 2. The loading has been terminated.",
       "3",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    t1().setText("25");
    page_->OutputList[0].aIWOutput->WebFont().setColor(0x0000FF);
    std::string bytes = dly_ + "\r\n";
    for (const std::string& line : c.lines) bytes += line + "\r\n";
    writeSet("m.OWS", bytes);
    load("m");
    EXPECT_EQ(page_->Status->Text(), c.status);
    EXPECT_TRUE(page_->Status->Visible());
    EXPECT_EQ(t1().Text(), c.t1);  // values before the mismatch stay
    EXPECT_EQ(page_->OutputList[0].aIWOutput->WebFont().Color(), c.greyed ? kGrey : 0x0000FF);
  }
}

TEST_F(InputSetsTest, SetOfAnotherLayoutChangesNothing) {
  writeSet("old.OWS", "C:\\calc\\pump.DLY\r\nT1\t99\r\n//end\r\n");
  page_->OutputList[0].aIWOutput->WebFont().setColor(0x0000FF);
  load("old");
  EXPECT_EQ(page_->Status->Text(), "File " + data_ +
                                       "old.OWS was written for file "
                                       "C:\\calc\\pump.DLY and cannot be read");
  EXPECT_TRUE(page_->Status->Visible());
  EXPECT_EQ(t1().Text(), "25");
  EXPECT_EQ(page_->OutputList[0].aIWOutput->WebFont().Color(), 0x0000FF);

  // The comparison is exact: another letter case is another layout.
  std::string upper = dly_;
  upper.replace(upper.size() - 8, 8, "calc.DLY");
  writeSet("case.OWS", upper + "\r\nT1\t99\r\n");
  load("case");
  EXPECT_EQ(t1().Text(), "25");
}

TEST_F(InputSetsTest, IndexesOutsideTheirListsLeaveNoInvalidChoice) {
  struct Case {
    const char* dropdown;
    const char* radio;
    int wantDropdown;
    int wantRadio;
  };
  const Case cases[] = {{"1", "1", 1, 1},
                        {"3", "2", -1, 0},
                        {"-1", "-1", -1, 0},
                        {"99", "20", -1, 0},
                        {"0", "0", 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dropdown);
    mat().setItemIndex(1);
    radio().setItemIndex(1);
    writeSet("i.OWS",
             set({"T1\t25", "Fluid$\t'Water'", std::string("//Dropdown \tMat$\t") + c.dropdown,
                  std::string("//RadioGroup\t1\t") + c.radio, "//CheckBox\t1\tFALSE",
                  "//CheckBox\t2\tFALSE", "//end"}));
    load("i");
    EXPECT_EQ(mat().ItemIndex(), c.wantDropdown);
    EXPECT_EQ(radio().ItemIndex(), c.wantRadio);
  }
}

TEST_F(InputSetsTest, NumberFieldThatIsNotAWholeNumberEndsTheHandlerWithTheConversionError) {
  writeSet("n.OWS", set({"T1\t5", "Fluid$\t'Water'", "//Dropdown \tMat$\tsecond"}));
  page_->OutputList[0].aIWOutput->WebFont().setColor(0x0000FF);
  if (!page_->LoadFilesBox->Visible()) page_->LoadButtonClick(*page_->LoadButton);
  page_->LoadFilesBox->setItemIndex(page_->LoadFilesBox->Items().indexOf("n"));
  EXPECT_THROW(page_->LoadButtonClick(*page_->LoadButton), ConvertError);
  EXPECT_EQ(t1().Text(), "5");
  EXPECT_EQ(page_->OutputList[0].aIWOutput->WebFont().Color(), kGrey);
}

TEST_F(InputSetsTest, DropdownNameIsNotComparedAndItsKeywordIsTrimmed) {
  writeSet("d.OWS", set({"T1\t25", "Fluid$\t'Water'", " //dropdown  \tSomething else\t2",
                         "//radiogroup\t7\t1", "//checkbox\t1\tTRUE", "//CheckBox\t2\tTRUE"}));
  load("d");
  EXPECT_FALSE(page_->Status->Visible());
  EXPECT_EQ(mat().ItemIndex(), 2);
  EXPECT_EQ(radio().ItemIndex(), 1);
  EXPECT_TRUE(c2().Checked());  // "//end" is never read
}

TEST_F(InputSetsTest, ListShowsOnlyUpperCaseSetNames) {
  writeSet("old.ows", set({}));
  writeSet("old.OWS", set({}));
  writeSet("B.OWS", set({}));
  writeSet("a.OWS", set({}));
  writeSet("two.OWS.ows", set({}));
  writeSet("notes.txt", "x");
  std::filesystem::create_directories(data_ + "folder.OWS");
  page_->LoadButtonClick(*page_->LoadButton);
  EXPECT_TRUE(page_->LoadFilesBox->Visible());
  EXPECT_THAT(page_->LoadFilesBox->Items().lines(), ElementsAre("a", "B", "old", "two"));
  EXPECT_EQ(page_->LoadFilesBox->ItemIndex(), -1);
}

TEST_F(InputSetsTest, FirstLoadClickWithoutSetsBeepsAndShowsTheEmptyList) {
  std::filesystem::create_directories(data_);
  const auto beeps = beepCount(25);
  page_->LoadButtonClick(*page_->LoadButton);
  EXPECT_TRUE(page_->LoadFilesBox->Visible());
  EXPECT_TRUE(page_->LoadFilesBox->Items().empty());
  EXPECT_EQ(beepCount(25), beeps + 1);
}

TEST_F(InputSetsTest, MissingDataFolderBeepsAndKeepsTheListsEntries) {
  writeSet("s.OWS", set({}));
  page_->LoadButtonClick(*page_->LoadButton);  // lists "s"
  page_->SaveButtonClick(*page_->SaveButton);  // closes the list
  ASSERT_FALSE(page_->LoadFilesBox->Visible());
  std::filesystem::remove_all(data_);

  const auto beeps = beepCount(25);
  page_->LoadButtonClick(*page_->LoadButton);
  EXPECT_TRUE(page_->LoadFilesBox->Visible());
  EXPECT_THAT(page_->LoadFilesBox->Items().lines(), ElementsAre("s"));
  // Listing failed (one beep); the list is not empty, so no second beep.
  EXPECT_EQ(beepCount(25), beeps + 1);

  // The second click with an entry chosen beeps too and leaves the list open.
  page_->LoadFilesBox->setItemIndex(0);
  page_->LoadButtonClick(*page_->LoadButton);
  EXPECT_EQ(beepCount(25), beeps + 2);
  EXPECT_TRUE(page_->LoadFilesBox->Visible());
  EXPECT_FALSE(page_->Status->Visible());
}

TEST_F(InputSetsTest, LoadWithNothingSelectedDoesNothing) {
  writeSet("s.OWS", set({"T1\t99"}));
  page_->LoadButtonClick(*page_->LoadButton);
  ASSERT_EQ(page_->LoadFilesBox->ItemIndex(), -1);
  const auto beeps = beepCount();
  page_->LoadButtonClick(*page_->LoadButton);
  EXPECT_TRUE(page_->LoadFilesBox->Visible());
  EXPECT_FALSE(page_->Status->Visible());
  EXPECT_EQ(t1().Text(), "25");
  EXPECT_EQ(beepCount(), beeps);
}

TEST_F(InputSetsTest, SetRemovedSinceTheListingIsReported) {
  writeSet("gone.OWS", set({}));
  page_->LoadButtonClick(*page_->LoadButton);
  page_->LoadFilesBox->setItemIndex(0);
  std::filesystem::remove(data_ + "gone.OWS");
  const auto beeps = beepCount(25);
  page_->LoadButtonClick(*page_->LoadButton);
  EXPECT_EQ(page_->Status->Text(), "File " + data_ + "gone.OWS cannot be read");
  EXPECT_EQ(beepCount(25), beeps + 1);
  EXPECT_EQ(t1().Text(), "25");
}

TEST_F(InputSetsTest, EachButtonClosesTheOthersCompanion) {
  page_->SaveButtonClick(*page_->SaveButton);
  EXPECT_TRUE(page_->SaveEdit->Visible());
  page_->LoadButtonClick(*page_->LoadButton);
  EXPECT_FALSE(page_->SaveEdit->Visible());
  EXPECT_TRUE(page_->LoadFilesBox->Visible());
  page_->SaveButtonClick(*page_->SaveButton);
  EXPECT_FALSE(page_->LoadFilesBox->Visible());
  EXPECT_TRUE(page_->SaveEdit->Visible());
  EXPECT_EQ(page_->SaveEdit->Text(), "FileName");
}

TEST(InputSetNamesTest, FileNameRule) {
  struct Case {
    const char* typed;
    const char* file;  // nullptr: refused
  };
  const Case cases[] = {
      {"..\\x.txt", "x.OWS"}, {"../x.txt", "x.OWS"},     {"a.b", "a.OWS"},
      {"a", "a.OWS"},         {"x.tar.gz", "x.tar.OWS"}, {".hidden", ".OWS"},
      {"a.", "a.OWS"},        {"a.OWS", "a.OWS"},        {"", nullptr},
      {"d/", nullptr},        {"d\\", nullptr},          {"a\x01", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::optional<std::string> file = detail::inputSetFileName(c.typed);
    if (c.file == nullptr) {
      EXPECT_FALSE(file.has_value());
    } else {
      EXPECT_EQ(file.value_or("<none>"), c.file);
    }
  }
  EXPECT_EQ(detail::inputSetFileName(std::string(251, 'a')).value_or(""),
            std::string(251, 'a') + ".OWS");
  EXPECT_FALSE(detail::inputSetFileName(std::string(252, 'a')).has_value());
}

TEST(InputSetNamesTest, ListingEntryRule) {
  struct Case {
    const char* file;
    const char* entry;  // nullptr: not listed
  };
  const Case cases[] = {{"old.OWS", "old"}, {"old.ows", nullptr}, {"old.Ows", nullptr},
                        {"a.OWS.ows", "a"}, {"x.OWSa", nullptr},  {".OWS", ""},
                        {"OWS", nullptr},   {"a b.OWS", "a b"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::optional<std::string> entry = detail::inputSetEntry(c.file);
    if (c.entry == nullptr) {
      EXPECT_FALSE(entry.has_value());
    } else {
      EXPECT_EQ(entry.value_or("<none>"), c.entry);
    }
  }
}

}  // namespace
}  // namespace orv
