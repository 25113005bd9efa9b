// The calculator page: its design-time controls and settings, the search for the layout
// file, the layout grammar and the edge cases of every kind of item line, the aborts of
// a faulty layout, and the page's lifecycle handlers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "app/Messages.h"
#include "app/ServerController.h"
#include "app/WDiagramU.h"
#include "platform/Beep.h"
#include "platform/TextMeasure.h"
#include "tests/app/PageTestSupport.h"

namespace orv {
namespace {

using test::buildError;
using test::buildFromItems;
using test::buildPage;
using test::layoutWith;
using test::ServerDir;
using test::tabbed;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// An INPUT line whose fields are all valid; `left` replaces field 9.
std::string inputLine(const std::string& left = "10", const std::string& name = "X") {
  return tabbed({"INPUT", name, "m", "0", "0", "1", "0", "10", "F2", left, "20", "100", "20", "16",
                 "0", "0", "0"});
}

// A 2 x 2 GIF.
std::string tinyGif() {
  static const unsigned char bytes[] = {
      'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0, 255,  255,  255,  0, 0,
      0,   ',', 0,   0,   0,   0,   2, 0, 2, 0, 0,    2, 3, 0x0C, 0x88, 0x14, 0, ';'};
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

// ---------------------------------------------------------------------------------------
// Design-time controls and page settings.

struct BuiltInCase {
  const char* name;
  const char* className;
  int left, top, width, height;
  bool visible;
  int zIndex;
  const char* caption;  // caption of buttons and labels; nullptr for others
  int fontSize;
  bool bold;
  int tabOrder;  // -1: not in the tab order
  bool clickHandler;
};

const BuiltInCase kBuiltIn[] = {
    {"SaveButton", "TIWButton", 254, 465, 75, 25, false, 32000, "Save", 10, true, 0, true},
    {"SaveEdit", "TIWEdit", 326, 465, 107, 25, false, 32676, nullptr, 10, false, 1, false},
    {"LoadButton", "TIWButton", 254, 434, 75, 25, false, 32000, "Load", 10, true, 2, true},
    {"LoadFilesBox", "TIWComboBox", 326, 436, 123, 21, false, 32676, nullptr, 10, false, 3, false},
    {"HelpButton", "TIWButton", 152, 465, 75, 25, false, 0, "Help", 10, true, 4, true},
    {"SolveButton", "TIWButton", 152, 436, 75, 25, false, 0, "Solve", 10, true, 5, true},
    {"Status", "TIWRectangle", 1, 3, 698, 23, false, 0, nullptr, 10, true, -1, false},
    {"IWContinueB", "TIWButton", 280, 126, 100, 25, true, 0, "Continue", 10, true, 6, true},
    {"Header1", "TIWLabel", 81, 27, 500, 16, true, 0, "header 1", 12, true, -1, false},
    {"Header2", "TIWLabel", 81, 49, 500, 16, true, 0, "header 2", 12, false, -1, false},
    {"Header3", "TIWLabel", 81, 71, 500, 16, true, 0, "header 3", 12, false, -1, false},
    {"Header4", "TIWLabel", 81, 93, 500, 16, true, 0, "header 4", 12, false, -1, false},
};

TEST(TORVServerFormTest, DesignTimeControlsMatchTheDesign) {
  TORVServerForm page(ServerFormSettings{"/nonexistent/", 8001});
  ASSERT_EQ(page.ComponentCount(), std::size(kBuiltIn));
  for (std::size_t i = 0; i < std::size(kBuiltIn); ++i) {
    const BuiltInCase& want = kBuiltIn[i];
    SCOPED_TRACE(want.name);
    TIWCustomControl* c = page.Components()[i];  // in design order
    ASSERT_EQ(c, page.FindComponent(want.name));
    EXPECT_EQ(c->Name(), want.name);
    EXPECT_STREQ(c->ClassName(), want.className);
    EXPECT_EQ(c->Left(), want.left);
    EXPECT_EQ(c->Top(), want.top);
    EXPECT_EQ(c->Width(), want.width);
    EXPECT_EQ(c->Height(), want.height);
    EXPECT_EQ(c->Visible(), want.visible);
    EXPECT_EQ(c->ZIndex(), want.zIndex);
    EXPECT_EQ(c->WebFont().Size(), want.fontSize);
    EXPECT_EQ((c->WebFont().Style() & fsBold) != 0, want.bold);
    EXPECT_EQ(c->TabOrder(), want.tabOrder);
    EXPECT_EQ(static_cast<bool>(c->OnClick), want.clickHandler);
    if (c != page.Status) {
      EXPECT_EQ(c->WebFont().Color(), clNone);
    }
    if (auto* b = dynamic_cast<TIWButton*>(c)) {
      EXPECT_EQ(b->Caption(), want.caption);
      EXPECT_EQ(b->Color(), clBtnFace);
    }
    if (auto* l = dynamic_cast<TIWLabel*>(c)) {
      EXPECT_EQ(l->Caption(), want.caption);
      EXPECT_EQ(l->Alignment(), TAlignment::taCenter);
      EXPECT_FALSE(l->AutoSize());
      EXPECT_FALSE(l->HasTabOrder());
    }
  }
  EXPECT_TRUE(page.SaveEdit->SubmitOnAsyncEvent());
  EXPECT_EQ(page.LoadFilesBox->ItemIndex(), -1);
  EXPECT_EQ(page.LoadFilesBox->NoSelectionText(), "-- No Selection --");
  EXPECT_EQ(page.HelpButton->ExtraTagParams().lines(), std::vector<std::string>{""});

  const TIWRectangle& status = *page.Status;
  EXPECT_EQ(status.Color(), clWebKHAKI);
  EXPECT_EQ(status.WebFont().Color(), clWebCRIMSON);
  EXPECT_EQ(status.WebFont().FontName(), "Sans-Serif, Helvetica, Arial");
  EXPECT_EQ(status.BorderOptions().Width(), 0);
  EXPECT_EQ(status.Alignment(), TAlignment::taLeftJustify);
  EXPECT_EQ(status.VAlign(), TIWVerticalAlign::vaMiddle);
}

TEST(TORVServerFormTest, PageSettings) {
  TORVServerForm page(ServerFormSettings{"/nonexistent/", 8001});
  EXPECT_STREQ(page.ClassName(), "TORVServerForm");
  EXPECT_EQ(page.Width(), 701);
  EXPECT_EQ(page.Height(), 519);
  EXPECT_FALSE(page.RenderInvisibleControls());
  EXPECT_TRUE(page.AllowPageAccess());
  EXPECT_EQ(page.ConnectionMode(), TIWConnectionMode::cmAny);
  EXPECT_FALSE(page.Background().Fixed);
  EXPECT_FALSE(page.HandleTabs());
  EXPECT_TRUE(page.LeftToRight());
  EXPECT_TRUE(page.LockUntilLoaded());
  EXPECT_TRUE(page.LockOnSubmit());
  EXPECT_TRUE(page.ShowHint());
  EXPECT_TRUE(page.XPTheme());
  EXPECT_TRUE(static_cast<bool>(page.OnCreate));
  EXPECT_TRUE(static_cast<bool>(page.OnDestroy));
  EXPECT_FALSE(page.HasLoadButton || page.HasSaveButton || page.HasHelpButton ||
               page.HasCalcButton);
}

TEST(TORVServerFormTest, NextTokenSplitsAtTabs) {
  struct Case {
    std::string in, token, rest;
  };
  const Case cases[] = {
      {"a\tb\tc", "a", "b\tc"}, {"abc", "abc", ""},       {"", "", ""},           {"\tb", "", "b"},
      {"a\t", "a", ""},         {" a \t b", " a ", " b"}, {"a\t\tb", "a", "\tb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    std::string s = c.in;
    EXPECT_EQ(TORVServerForm::NextToken(s), c.token);
    EXPECT_EQ(s, c.rest);
  }
}

TEST(TORVServerFormTest, PointSizeRoundsHalvesToEven) {
  const std::pair<int, int> cases[] = {{16, 12}, {13, 10},   {14, 10},   {15, 11},
                                       {18, 14}, {10, 8},    {6, 4},     {2, 2},
                                       {0, 0},   {-14, -10}, {-15, -11}, {96, 72}};
  for (auto [pixels, points] : cases) {
    SCOPED_TRACE(pixels);
    EXPECT_EQ(TORVServerForm::PointSizeFromPixels(pixels), points);
  }
}

// ---------------------------------------------------------------------------------------
// Finding the layout file and its solver program.

TEST(TORVServerFormTest, WithoutLayoutAndSolverTheStatusSaysSoAndBeeps) {
  struct Case {
    const char* what;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {"no files", {}},
      {"layout without solver", {"CALC.DLY"}},
      {"solver without layout", {"CALC.EXE"}},
      {"solver of another name", {"CALC.DLY", "OTHER.EXE"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    for (const std::string& f : c.files) dir.writeLines(f, layoutWith({inputLine()}));
    const auto beeps = beepCount();
    auto page = buildPage(dir);
    EXPECT_EQ(beepCount(), beeps + 1);
    EXPECT_EQ(page->DLYFile, "");
    EXPECT_TRUE(page->Status->Visible());
    EXPECT_EQ(page->Status->Text(),
              "The .DLY and/or .EXE files were not found in directory " + dir.path());
    EXPECT_EQ(page->Status->Width(), 698);
    EXPECT_TRUE(page->InputList.empty());
    EXPECT_TRUE(page->ORVDLayout.empty());
    EXPECT_EQ(page->ComponentCount(), std::size(kBuiltIn));
    EXPECT_TRUE(page->Header1->Visible());
    EXPECT_EQ(page->Header1->Caption(), "header 1");
    EXPECT_TRUE(page->IWContinueB->Visible());
    if (c.files.size() == 1 && c.files[0] == "CALC.DLY") {
      EXPECT_EQ(page->ORVName, "CALC.EXE");
    }
  }
}

TEST(TORVServerFormTest, MissingServerDirectoryFindsNothing) {
  auto page = TIWAppForm::createForm<TORVServerForm>(ServerFormSettings{"/nonexistent/orv", 8001});
  EXPECT_EQ(page->MainDir, "/nonexistent/orv/");
  EXPECT_EQ(page->DLYFile, "");
  EXPECT_TRUE(page->Status->Visible());
}

TEST(TORVServerFormTest, TheLayoutWithItsSolverIsChosen) {
  struct Case {
    const char* what;
    std::vector<std::string> files;
    std::string dly, exe;
  };
  const Case cases[] = {
      {"second of two has its solver", {"A.DLY", "B.DLY", "B.EXE"}, "B.DLY", "B.EXE"},
      {"first of two has its solver", {"A.DLY", "B.DLY", "A.EXE"}, "A.DLY", "A.EXE"},
      {"both have one: the first by name", {"b.dly", "A.DLY", "A.EXE", "b.exe"}, "A.DLY", "A.EXE"},
      {"letter case of the solver differs", {"pump.DLY", "PUMP.exe"}, "pump.DLY", "PUMP.exe"},
      {"lower-case extension of the layout", {"calc.dly", "calc.EXE"}, "calc.dly", "calc.EXE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    for (const std::string& f : c.files) dir.writeLines(f, layoutWith({inputLine()}));
    auto page = buildPage(dir);
    EXPECT_EQ(page->DLYFile, dir.path() + c.dly);
    EXPECT_EQ(page->ORVName, c.exe);
    EXPECT_FALSE(page->Status->Visible());
  }
}

TEST(TORVServerFormTest, DefaultDirectoryIsTheApplicationPath) {
  TORVServerForm page;
  EXPECT_EQ(page.MainDir, "");  // set by the creation handler
  ServerDir dir;
  dir.writeLines("CALC.DLY", layoutWith({}));
  dir.writeBytes("CALC.EXE", "");
  const std::string saved = exePaths().appPath;
  setAppPathForTesting(dir.path());
  auto built = TIWAppForm::createForm<TORVServerForm>();
  setAppPathForTesting(saved);
  EXPECT_EQ(built->MainDir, dir.path());
  EXPECT_EQ(built->DLYFile, dir.path() + "CALC.DLY");
}

// ---------------------------------------------------------------------------------------
// The layout's grammar.

TEST(TORVServerFormTest, ShortLayoutsBuildNoItems) {
  for (int count : {1, 3, 5}) {
    SCOPED_TRACE(count);
    ServerDir dir;
    std::vector<std::string> lines(static_cast<std::size_t>(count), inputLine());
    lines[0] = "version";
    dir.writeLines("CALC.DLY", lines);
    dir.writeBytes("CALC.EXE", "");
    auto page = buildPage(dir);
    EXPECT_TRUE(page->InputList.empty());
    EXPECT_EQ(page->Status->Width(), 1);
    EXPECT_EQ(page->ComponentCount(), std::size(kBuiltIn));
  }
}

TEST(TORVServerFormTest, KeywordsIgnoreCaseAndMustMatchWhole) {
  struct Case {
    std::string keyword;
    bool built;
  };
  const Case cases[] = {{"INPUT", true},   {"input", true},   {"Input", true},
                        {"iNpUt", true},   {"INPUTS", false}, {"INPUT2", false},
                        {" INPUT", false}, {"INPU", false},   {"", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keyword);
    ServerDir dir;
    std::string line = inputLine();
    line.replace(0, 5, c.keyword);
    auto page = buildFromItems(dir, {line});
    EXPECT_EQ(page->InputList.size(), c.built ? 1u : 0u);
  }
}

TEST(TORVServerFormTest, WholeNumberFields) {
  struct Case {
    std::string field;
    std::optional<int> value;  // none: the page creation aborts
  };
  const Case cases[] = {
      {"12", 12},
      {"  12", 12},
      {"+7", 7},
      {"-3", -3},
      {"$1F", 31},
      {"$1f", 31},
      {"x10", 16},
      {"X10", 16},
      {"0x10", 16},
      {"0X1a", 26},
      {"-$10", -16},
      {"0", 0},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"$7FFFFFFF", 2147483647},
      {"12 ", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"$80000000", std::nullopt},
      {"1.5", std::nullopt},
      {"1e3", std::nullopt},
      {"abc", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"--1", std::nullopt},
      {"+-1", std::nullopt},
      {"1,000", std::nullopt},
      {"\xC2\xA0"
       "1",
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("field \"" + c.field + "\"");
    ServerDir dir;
    if (c.value) {
      auto page = buildFromItems(dir, {inputLine(c.field)});
      ASSERT_EQ(page->InputList.size(), 1u);
      EXPECT_EQ(page->InputList[0].aIWInput->Left(), *c.value);
    } else {
      EXPECT_EQ(
          buildError(dir, {inputLine(c.field)}),
          "Layout file line 6 (INPUT), field 9 (left): \"" + c.field + "\" is not a whole number.");
    }
  }
}

TEST(TORVServerFormTest, FlagsAreOnOnlyForExactlyOne) {
  for (const char* flag : {"1", "01", " 1", "1 ", "true", "", "2"}) {
    SCOPED_TRACE(flag);
    ServerDir dir;
    auto page = buildFromItems(dir, {tabbed({"INPUT", "X", "m", flag, flag, "1", "0", "10", "F2",
                                             "10", "20", "100", "20", "16", "0", "0", "0"})});
    const bool on = std::string(flag) == "1";
    EXPECT_EQ(page->InputList[0].ShowVarName, on);
    EXPECT_EQ(page->InputList[0].ShowUnits, on);
    EXPECT_EQ(page->InputList[0].VarNameLabel != nullptr, on);
  }
}

TEST(TORVServerFormTest, FieldCountsOfItemLines) {
  struct Case {
    const char* what;
    std::string line;
    std::string error;  // empty: the item is built
  };
  const Case cases[] = {
      {"more fields than needed",
       tabbed({"LABEL", "t", "1", "2", "3", "4", "13", "0", "0", "0", "x", "y"}), ""},
      {"BOX without its text field", tabbed({"BOX", "1", "2", "3", "4", "5", "6"}), ""},
      {"LABEL with only its keyword", "LABEL",
       "Layout file line 6 (LABEL), field 2 (left): \"\" is not a whole number."},
      {"CHECKBOX missing font and style", tabbed({"CHECKBOX", "c", "1", "2", "3", "4", "10"}),
       "Layout file line 6 (CHECKBOX), field 8 (style): \"\" is not a whole number."},
      {"SCREEN with one number", tabbed({"SCREEN", "701"}),
       "Layout file line 6 (SCREEN), field 2 (height): \"\" is not a whole number."},
      {"SCREEN with two numbers", tabbed({"SCREEN", "701", "519"}), ""},
      {"RULE with an empty field", tabbed({"RULE", "1", "", "3", "4", "5", "6"}),
       "Layout file line 6 (RULE), field 2 (top): \"\" is not a whole number."},
      {"CALCBUTTON without caption or numbers", "CALCBUTTON",
       "Layout file line 6 (CALCBUTTON), field 2 (left): \"\" is not a whole number."},
      {"HELPBUTTON alone", "HELPBUTTON", ""},
      {"IMG without its position", tabbed({"IMG", "p.gif"}),
       "Layout file line 6 (IMG), field 2 (left): \"\" is not a whole number."},
      {"PLOT with a window number that is no number", tabbed({"PLOT", "one", "p.gif", "1", "2"}),
       "Layout file line 6 (PLOT), field 1 (plot window): \"one\" is not a whole number."},
      {"OUTPUT with a bad display format",
       tabbed({"OUTPUT", "Y", "", "0", "0", "", "Fx", "1", "2", "3", "4", "13", "0", "0", "0"}),
       "Layout file line 6 (OUTPUT), field 6 (display format): \"Fx\" is not a display format."},
      {"INPUT with an empty display format", tabbed({"INPUT", "X", "", "0", "0", "1", "0", "1"}),
       "Layout file line 6 (INPUT), field 8 (display format): \"\" is not a display format."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    dir.writeBytes("IMGS/p.gif", tinyGif());
    EXPECT_EQ(buildError(dir, {c.line}), c.error);
  }
}

TEST(TORVServerFormTest, EveryFaultyLayoutAbortsWithAnErrorNamingTheLine) {
  struct Case {
    const char* what;
    std::vector<std::string> items;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"DROPDOWN items past the end",
       {tabbed({"DROPDOWN", "M", "", "0", "0", "3", "0", "1", "2", "3", "4", "13", "0", "0", "0"}),
        "a"},
       "Layout file line 6 (DROPDOWN): the item needs 3 more lines, but the file ends after 1."},
      {"DROPDOWN with a negative count",
       {tabbed(
           {"DROPDOWN", "M", "", "0", "0", "-1", "0", "1", "2", "3", "4", "13", "0", "0", "0"})},
       "Layout file line 6 (DROPDOWN): the item count must not be negative, not -1."},
      {"RADIO captions past the end",
       {inputLine(), tabbed({"RADIO", "1", "2", "3", "4", "2", "1", "10", "Arial", "0", "0"}), "A"},
       "Layout file line 7 (RADIO): the item needs 2 more lines, but the file ends after 1."},
      {"RADIO with 21 buttons",
       {tabbed({"RADIO", "1", "2", "3", "4", "21", "1", "10", "Arial", "0", "0"})},
       "Layout file line 6 (RADIO): a radio group has 0 to 20 buttons, not 21."},
      {"RADIO with a huge count",
       {tabbed({"RADIO", "1", "2", "3", "4", "2147483647", "1", "10", "Arial", "0", "0"})},
       "Layout file line 6 (RADIO): a radio group has 0 to 20 buttons, not 2147483647."},
      {"RADIO with a negative count",
       {tabbed({"RADIO", "1", "2", "3", "4", "-2", "1", "10", "Arial", "0", "0"})},
       "Layout file line 6 (RADIO): a radio group has 0 to 20 buttons, not -2."},
      {"CHECKBOX block without its end",
       {tabbed({"CHECKBOX", "c", "1", "2", "3", "4", "10", "Arial", "0", "0"}), "A=1", "--"},
       "Layout file line 6 (CHECKBOX): the file ends before the line \"<>\" that closes the "
       "block."},
      {"HEADER lines past the end",
       {"HEADER", "one", "two"},
       "Layout file line 6 (HEADER): the item needs 3 more lines, but the file ends after 2."},
      {"HEADER at the very end",
       {"HEADER"},
       "Layout file line 6 (HEADER): the item needs 3 more lines, but the file ends after 0."},
      {"a whole number on a later line",
       {inputLine(), inputLine(), inputLine("1O")},
       "Layout file line 8 (INPUT), field 9 (left): \"1O\" is not a whole number."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    dir.writeLines("CALC.DLY", [&] {
      std::vector<std::string> lines = layoutWith({});
      lines.insert(lines.end(), c.items.begin(), c.items.end());
      return lines;
    }());
    dir.writeBytes("CALC.EXE", "");
    try {
      buildPage(dir);
      ADD_FAILURE() << "the page was built";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), c.error);
    }
  }
}

TEST(TORVServerFormTest, MissingOrUnreadablePicturesAbort) {
  struct Case {
    const char* what;
    std::string line;
    const char* keyword;
    std::string fileBytes;  // written as IMGS/pic.gif unless empty
  };
  const Case cases[] = {
      {"IMG missing", tabbed({"IMG", "none.gif", "1", "2"}), "IMG", ""},
      {"LINE missing", tabbed({"LINE", "none.gif", "1", "2"}), "LINE", ""},
      {"PLOT missing", tabbed({"PLOT", "1", "none.gif", "1", "2"}), "PLOT", ""},
      {"IMG not a picture", tabbed({"IMG", "pic.gif", "1", "2"}), "IMG", "this is text"},
      {"PLOT truncated", tabbed({"PLOT", "1", "pic.gif", "1", "2"}), "PLOT",
       tinyGif().substr(0, 24)},
      {"IMG named with an empty field", tabbed({"IMG", "", "1", "2"}), "IMG", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    if (!c.fileBytes.empty()) dir.writeBytes("IMGS/pic.gif", c.fileBytes);
    const std::string error = buildError(dir, {inputLine(), c.line});
    EXPECT_THAT(error, StartsWith(std::string("Layout file line 7 (") + c.keyword + "): "));
    EXPECT_GT(error.size(), std::string("Layout file line 7 (IMG): ").size() + 5);
  }
}

TEST(TORVServerFormTest, EmptyLayoutFileAborts) {
  for (const char* bytes : {"", "\xEF\xBB\xBF", "\xFF\xFE"}) {
    ServerDir dir;
    dir.writeBytes("CALC.DLY", bytes);
    dir.writeBytes("CALC.EXE", "");
    try {
      buildPage(dir);
      ADD_FAILURE() << "the page was built";
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), "The layout file " + dir.path() + "CALC.DLY is empty.");
    }
  }
}

TEST(TORVServerFormTest, LayoutEncodingsAndLineEnds) {
  // The label text "Température" in each encoding, behind the five opening lines.
  const std::string label = "LABEL\tTemp\xC3\xA9rature\t1\t2\t3\t4\t13\t0\t0\t0";
  auto utf16 = [](const std::string& ascii, bool bigEndian) {
    // Only ASCII and U+00E9 occur here.
    std::string out;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
      unsigned cp = static_cast<unsigned char>(ascii[i]);
      if (cp == 0xC3) cp = 0xE9, ++i;
      out += bigEndian ? std::string{static_cast<char>(cp >> 8), static_cast<char>(cp & 0xFF)}
                       : std::string{static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8)};
    }
    return out;
  };
  const std::string head = "v\r\nx\r\nx\r\nx\r\nx\r\n";
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"Windows-1252, CR LF", head + "LABEL\tTemp\xE9rature\t1\t2\t3\t4\t13\t0\t0\t0\r\n"},
      {"UTF-8 with its mark", "\xEF\xBB\xBF" + head + label + "\r\n"},
      {"UTF-16 little endian", "\xFF\xFE" + utf16(head + label + "\r\n", false)},
      {"UTF-16 big endian", "\xFE\xFF" + utf16(head + label + "\r\n", true)},
      {"LF line ends",
       "v\nx\nx\nx\nx\n" + std::string("LABEL\tTemp\xE9rature\t1\t2\t3\t4\t13\t0\t0\t0\n")},
      {"CR line ends, no final end",
       "v\rx\rx\rx\rx\r" + std::string("LABEL\tTemp\xE9rature\t1\t2\t3\t4\t13\t0\t0\t0")},
      {"mixed line ends",
       "v\r\nx\nx\rx\r\nx\n" + std::string("LABEL\tTemp\xE9rature\t1\t2\t3\t4\t13\t0\t0\t0\r")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    dir.writeBytes("CALC.DLY", c.bytes);
    dir.writeBytes("CALC.EXE", "");
    auto page = buildPage(dir);
    EXPECT_EQ(page->ORVDLayout.size(), 6u);
    ASSERT_EQ(page->LabelList.size(), 1u);
    EXPECT_EQ(page->LabelList[0]->Text(), "Temp\xC3\xA9rature");
  }
}

TEST(TORVServerFormTest, InvalidUtf8BecomesReplacementCharacters) {
  ServerDir dir;
  dir.writeBytes("CALC.DLY",
                 "\xEF\xBB\xBFv\nx\nx\nx\nx\nLABEL\ta\xFF"
                 "b\t1\t2\t3\t4\t13\t0\t0\t0\n");
  dir.writeBytes("CALC.EXE", "");
  auto page = buildPage(dir);
  ASSERT_EQ(page->LabelList.size(), 1u);
  EXPECT_EQ(page->LabelList[0]->Text(),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(TORVServerFormTest, ShortStringsHoldAtMost255Characters) {
  ServerDir dir;
  std::string longName;
  for (int i = 0; i < 300; ++i) longName += "\xC3\xA9";  // 300 characters, 600 bytes
  auto page = buildFromItems(dir, {tabbed({"INPUT", longName, longName, "1", "1", "1", "0", "10",
                                           "F2", "10", "20", "100", "20", "16", "0", "0", "0"})});
  const InputRec& rec = page->InputList[0];
  EXPECT_EQ(rec.VarName.size(), 510u);
  EXPECT_EQ(rec.Units.size(), 510u);
  EXPECT_EQ(rec.VarNameLabel->Text(), rec.VarName + "=");
  EXPECT_EQ(rec.UnitsLabel->Width(), 2550);  // 10 x 255 characters
}

// ---------------------------------------------------------------------------------------
// Item lines and their continuation lines.

TEST(TORVServerFormTest, HeaderLinesAreTakenWholeAndNeverDispatched) {
  ServerDir dir;
  auto page = buildFromItems(
      dir, {"HEADER\tignored", "Title", inputLine(), "third\twith tab", inputLine()});
  EXPECT_EQ(page->Header1->Caption(), "ORV Web Server Port 8001 Version 1.06");
  EXPECT_EQ(page->Header2->Caption(), "Title");
  EXPECT_EQ(page->Header3->Caption(), inputLine());
  EXPECT_EQ(page->Header4->Caption(), "third\twith tab");
  EXPECT_EQ(page->InputList.size(), 1u);  // only the line after the header's three
}

TEST(TORVServerFormTest, HeaderNamesTheConfiguredPort) {
  ServerDir dir;
  dir.writeLines("CALC.DLY", layoutWith({"HEADER", "a", "b", "c"}));
  dir.writeBytes("CALC.EXE", "");
  auto page = buildPage(dir, 9123);
  EXPECT_EQ(page->Header1->Caption(), "ORV Web Server Port 9123 Version 1.06");
}

TEST(TORVServerFormTest, HeaderNamesTheServerControllersPort) {
  for (const char* portIni : {"", "[PORTS]\r\nPort=9002\r\n"}) {
    SCOPED_TRACE(portIni);
    ServerDir dir;
    if (*portIni != '\0') dir.writeBytes("port.ini", portIni);
    dir.writeLines("CALC.DLY", layoutWith({"HEADER", "a", "b", "c"}));
    dir.writeBytes("CALC.EXE", "");
    const std::string saved = exePaths().appPath;
    setAppPathForTesting(dir.path());
    {
      const auto controller = TIWServerControllerBase::New<TIWServerController>();
      ServerFormSettings settings;
      settings.mainDir = dir.path();  // the port comes from the controller
      auto page = TIWAppForm::createForm<TORVServerForm>(settings);
      EXPECT_EQ(page->Port(), controller->Port());
      EXPECT_EQ(page->Header1->Caption(),
                "ORV Web Server Port " + std::string(*portIni ? "9002" : "8001") + " Version 1.06");
    }
    setAppPathForTesting(saved);
  }
}

TEST(TORVServerFormTest, DropDownLinesAreNeverDispatched) {
  ServerDir dir;
  auto page = buildFromItems(
      dir,
      {tabbed({"DROPDOWN", "M", "", "0", "0", "2", "0", "1", "2", "3", "4", "13", "0", "0", "0"}),
       inputLine("1", "A"), "RADIO\tnot\ta\tradio", inputLine("2", "B")});
  ASSERT_EQ(page->InputList.size(), 2u);
  EXPECT_EQ(*page->InputList[0].DropDown,
            (std::vector<std::string>{inputLine("1", "A"), "RADIO\tnot\ta\tradio"}));
  EXPECT_EQ(page->InputList[1].VarName, "B");
  EXPECT_TRUE(page->RadioGroupList.empty());
}

TEST(TORVServerFormTest, DropDownSelectionsAndItems) {
  struct Case {
    const char* what;
    std::string count, selection;
    std::vector<std::string> items;
    std::vector<std::string> shown;
    int itemIndex;
  };
  const Case cases[] = {
      {"display part before //",
       "2",
       "0",
       {"Steel//k=45", "Copper//k=398"},
       {"Steel", "Copper"},
       0},
      {"item without //", "2", "1", {"Steel", "a//b//c"}, {"Steel", "a"}, 1},
      {"selection beyond the items", "3", "5", {"a", "b", "c"}, {"a", "b", "c"}, -1},
      {"selection at the count", "3", "3", {"a", "b", "c"}, {"a", "b", "c"}, -1},
      {"selection -1", "3", "-1", {"a", "b", "c"}, {"a", "b", "c"}, -1},
      {"no items", "0", "0", {}, {}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    dir.writeLines("CALC.DLY", [&] {
      std::vector<std::string> lines =
          layoutWith({tabbed({"DROPDOWN", "M", "", "0", "0", c.count, c.selection, "10", "20",
                              "100", "16", "13", "0", "0", "255"})});
      lines.insert(lines.end(), c.items.begin(), c.items.end());
      return lines;
    }());
    dir.writeBytes("CALC.EXE", "");
    auto page = buildPage(dir);
    const InputRec& rec = page->InputList.at(0);
    EXPECT_EQ(*rec.DropDown, c.items);
    EXPECT_EQ(rec.aIWComboBox->Items().lines(), c.shown);
    EXPECT_EQ(rec.aIWComboBox->ItemIndex(), c.itemIndex);
    int widest = 0;
    for (const std::string& s : c.shown)
      widest = std::max(widest, TextMeasurer().GetWidth(s, "Arial", 10, 0));
    EXPECT_EQ(rec.W, widest);
    EXPECT_EQ(rec.aIWComboBox->Width(), widest + 24);
    EXPECT_EQ(page->MaxX(), 10 + 100 + 10);  // the width the line gave
  }
}

TEST(TORVServerFormTest, DropDownItemLinesAreCutTo255Characters) {
  ServerDir dir;
  const std::string item = std::string(250, 'a') + "//" + std::string(50, 'b');
  auto page = buildFromItems(
      dir,
      {tabbed({"DROPDOWN", "M", "", "0", "0", "1", "0", "1", "2", "3", "4", "13", "0", "0", "0"}),
       item});
  EXPECT_EQ(page->InputList[0].DropDown->at(0), item.substr(0, 255));
  EXPECT_EQ(page->InputList[0].aIWComboBox->Items()[0], std::string(250, 'a'));
}

TEST(TORVServerFormTest, InputNameLabelPlacement) {
  struct Case {
    const char* what;
    std::string left, height, sizeNo;
  };
  const Case cases[] = {
      {"label ends at the edit box", "200", "20", "16"},
      {"edit box at the left edge: label overlaps", "0", "20", "16"},
      {"label taller than the edit box keeps its top", "200", "2", "40"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    auto page =
        buildFromItems(dir, {tabbed({"INPUT", "X", "", "1", "0", "1", "0", "10", "F2", c.left, "50",
                                     "100", c.height, c.sizeNo, "0", "0", "0"})});
    const TIWEdit& edit = *page->InputList[0].aIWInput;
    const TIWRectangle& label = *page->InputList[0].VarNameLabel;
    const int points = TORVServerForm::PointSizeFromPixels(std::stoi(c.sizeNo));
    const int w = TextMeasurer().GetWidth("X=", "Arial", points, 0);
    const int h = TextMeasurer().GetHeight("X=", "Arial", points, 0);
    EXPECT_EQ(label.Width(), w);
    EXPECT_EQ(label.Height(), h);
    EXPECT_EQ(label.Left(), std::max(0, edit.Left() - w));
    EXPECT_EQ(label.Top(), h < edit.Height() ? edit.Top() + (edit.Height() - h) / 2 : edit.Top());
    if (c.left == "0") {
      EXPECT_EQ(label.Left(), 0);
    }
    if (c.height == "2") {
      EXPECT_EQ(label.Top(), edit.Top());
    }
    EXPECT_EQ(page->MaxX(), edit.Left() + edit.Width());  // the label does not count
  }
}

TEST(TORVServerFormTest, InputUnitsLabel) {
  struct Case {
    std::string units, show;
    const char* text;  // nullptr: no label
    int width;
  };
  const Case cases[] = {{"m/s", "1", "[m/s]", 30},
                        {"", "1", nullptr, 0},
                        {"m/s", "0", nullptr, 0},
                        {"\xC2\xB0"
                         "C",
                         "1",
                         "[\xC2\xB0"
                         "C]",
                         20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.units + "/" + c.show);
    ServerDir dir;
    auto page = buildFromItems(dir, {tabbed({"INPUT", "X", c.units, "0", c.show, "1", "0", "10",
                                             "F2", "10", "20", "100", "20", "16", "0", "0", "0"})});
    const InputRec& rec = page->InputList[0];
    if (c.text == nullptr) {
      EXPECT_EQ(rec.UnitsLabel, nullptr);
      EXPECT_EQ(page->MaxX(), 10 + 110);
    } else {
      ASSERT_NE(rec.UnitsLabel, nullptr);
      EXPECT_EQ(rec.UnitsLabel->Text(), c.text);
      EXPECT_EQ(rec.UnitsLabel->Width(), c.width);
      EXPECT_EQ(rec.UnitsLabel->Left(), 10 + 110 + 3);
      EXPECT_EQ(page->MaxX(), 10 + 110 + 3 + c.width);
      EXPECT_EQ(page->Status->Width(), 10 + 110 + 3 + c.width + 1);
    }
  }
}

TEST(TORVServerFormTest, InputBoundsReadByStr2Num) {
  ServerDir dir;
  auto page = buildFromItems(dir, {tabbed({"INPUT", "X", "", "0", "0", "1", "-inf", "1,000", "A4",
                                           "10", "20", "100", "20", "16", "0", "0", "0"}),
                                   tabbed({"INPUT", "Y", "", "0", "0", "1", "abc", "", "E3", "10",
                                           "20", "100", "20", "16", "0", "0", "0"})});
  EXPECT_EQ(page->InputList[0].Lower, -kInfinity);
  EXPECT_EQ(page->InputList[0].Upper, 1000.0L);
  EXPECT_EQ(page->InputList[1].Lower, kFailureValue);  // taken as Str2Num returns it
  EXPECT_EQ(page->InputList[1].Upper, kFailureValue);
  EXPECT_EQ(page->InputList[1].Format, (DecForm{DecStyle::FloatDecimal, 3}));
}

TEST(TORVServerFormTest, OutputLinesStackByLineIndexAndShowUnits) {
  ServerDir dir;
  auto page = buildFromItems(dir, {
                                      inputLine(),  // index 5
                                      tabbed({"OUTPUT", "A", "m", "0", "1", "12", "F2", "100", "10",
                                              "50", "20", "13", "0", "0", "0"}),  // index 6
                                      inputLine(),                                // index 7
                                      tabbed({"OUTPUT", "B", "", "1", "1", "x", "F2", "100", "40",
                                              "50", "20", "13", "0", "0", "0"}),  // index 8
                                  });
  const OutputRec& a = page->OutputList[0];
  const OutputRec& b = page->OutputList[1];
  EXPECT_EQ(a.aIWOutput->ZIndex(), 30007);
  EXPECT_EQ(b.aIWOutput->ZIndex(), 30009);
  EXPECT_EQ(b.VarNameLabel->ZIndex(), 30009);
  EXPECT_EQ(a.aIWOutput->Text(), "12 [m]");
  EXPECT_EQ(a.W, TextMeasurer().GetWidth("12 [m]", "Arial", 10, 0));
  EXPECT_EQ(b.aIWOutput->Text(), "x");  // units shown but empty: unchanged
  EXPECT_EQ(b.W, 0);
  const int label = TextMeasurer().GetWidth("B=", "Arial", 10, 0);
  EXPECT_EQ(b.VarNameLabel->Left(), 100);
  EXPECT_EQ(b.aIWOutput->Left(), 100 + label + 3);
}

TEST(TORVServerFormTest, RuleLineWidth) {
  struct Case {
    std::string width, height, lineWidth;
    int w, h;
  };
  const Case cases[] = {{"200", "0", "2", 200, 2},
                        {"1", "150", "3", 3, 150},
                        {"50", "50", "3", 50, 50},
                        {"200", "-5", "0", 200, 1},
                        {"0", "0", "4", 4, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width + "x" + c.height + " line " + c.lineWidth);
    ServerDir dir;
    auto page =
        buildFromItems(dir, {tabbed({"RULE", "10", "20", c.width, c.height, c.lineWidth, "255"})});
    const TIWRectangle& rule = *page->BoxList[0];
    EXPECT_EQ(rule.Width(), c.w);
    EXPECT_EQ(rule.Height(), c.h);
    EXPECT_EQ(rule.ZIndex(), 9006);
    EXPECT_EQ(rule.Color(), 255);
    EXPECT_EQ(page->MaxX(), 10 + c.w);
  }
}

TEST(TORVServerFormTest, CheckBoxAndRadioStyleCodes) {
  struct Case {
    std::string code;
    unsigned style;
  };
  const Case cases[] = {{"0", 0},        {"1", fsBold}, {"2", fsItalic}, {"3", fsBold | fsItalic},
                        {"4", fsItalic}, {"-1", 0},     {"7", fsItalic}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ServerDir dir;
    auto page = buildFromItems(
        dir,
        {tabbed({"CHECKBOX", "c", "1", "2", "3", "4", "10", "Arial", c.code, "0"}), "<>",
         tabbed({"RADIO", "1", "2", "3", "4", "1", "1", "10", "Arial", c.code, "0"}), "A", "<>"});
    EXPECT_EQ(page->CheckBoxList[0]->WebFont().Style(), c.style);
    EXPECT_EQ(page->RadioGroupList[0].aIWRadio->WebFont().Style(), c.style);
  }
}

TEST(TORVServerFormTest, CheckBoxBlocks) {
  struct Case {
    const char* what;
    std::vector<std::string> block;  // lines after the CHECKBOX line, "<>" included
    std::vector<std::string> stored;
  };
  const Case cases[] = {
      {"empty block", {"<>"}, {}},
      {"block with a divider", {"A", "--", "B", "<>"}, {"A", "--", "B"}},
      {"keywords inside the block",
       {"INPUT", "RADIO\t1", " <>", "<> ", "<>"},
       {"INPUT", "RADIO\t1", " <>", "<> "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    std::vector<std::string> lines =
        layoutWith({tabbed({"CHECKBOX", "c", "1", "2", "3", "4", "10", "Arial", "0", "0"})});
    lines.insert(lines.end(), c.block.begin(), c.block.end());
    lines.push_back(inputLine());
    dir.writeLines("CALC.DLY", lines);
    dir.writeBytes("CALC.EXE", "");
    auto page = buildPage(dir);
    EXPECT_EQ(page->CheckBoxList[0]->ExtraTagParams().lines(), c.stored);
    EXPECT_EQ(page->InputList.size(), 1u);  // the line after the block is an item again
  }
}

TEST(TORVServerFormTest, RadioBlocksAndLayout) {
  struct Case {
    const char* what;
    std::string buttons, columns;
    std::vector<std::string> rest;  // caption lines and blocks
    std::vector<std::vector<std::string>> blocks;
    TIWRadioGroupLayout layout;
    std::size_t inputsAfter;
  };
  const Case cases[] = {
      {"two blocks ended by <> and --",
       "2",
       "1",
       {"A", "B", "X=1", "<>", "X=2", "--", inputLine()},
       {{"X=1"}, {"X=2"}},
       TIWRadioGroupLayout::glVertical,
       1},
      {"two columns",
       "2",
       "2",
       {"A", "B", "<>", "--"},
       {{}, {}},
       TIWRadioGroupLayout::glHorizontal,
       0},
      {"zero columns", "1", "0", {"A", "<>"}, {{}}, TIWRadioGroupLayout::glVertical, 0},
      {"last block ends with the file",
       "2",
       "1",
       {"A", "B", "X=1", "Y=1"},
       {{"X=1", "Y=1"}, {}},
       TIWRadioGroupLayout::glVertical,
       0},
      {"second block ends with the file",
       "2",
       "1",
       {"A", "B", "<>", "Z=1"},
       {{}, {"Z=1"}},
       TIWRadioGroupLayout::glVertical,
       0},
      {"no buttons", "0", "1", {inputLine()}, {}, TIWRadioGroupLayout::glVertical, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    std::vector<std::string> lines = layoutWith(
        {tabbed({"RADIO", "5", "6", "70", "80", c.buttons, c.columns, "10", "Arial", "0", "0"})});
    lines.insert(lines.end(), c.rest.begin(), c.rest.end());
    dir.writeLines("CALC.DLY", lines);
    dir.writeBytes("CALC.EXE", "");
    auto page = buildPage(dir);
    const RadioGroupRec& rec = page->RadioGroupList.at(0);
    EXPECT_EQ(rec.NButtons, std::stoi(c.buttons));
    for (std::size_t b = 0; b < c.blocks.size(); ++b) {
      EXPECT_EQ(rec.doWhenChecked[b], c.blocks[b]) << b;
    }
    for (std::size_t b = c.blocks.size(); b < rec.doWhenChecked.size(); ++b) {
      EXPECT_TRUE(rec.doWhenChecked[b].empty());
    }
    EXPECT_EQ(rec.aIWRadio->Layout(), c.layout);
    EXPECT_EQ(rec.aIWRadio->Items().size(), static_cast<std::size_t>(std::stoi(c.buttons)));
    EXPECT_EQ(page->InputList.size(), c.inputsAfter);
    EXPECT_EQ(page->MaxX(), c.inputsAfter == 0 ? 5 + 70 : 10 + 110);
  }
}

TEST(TORVServerFormTest, RadioWithTwentyButtonsIsBuilt) {
  ServerDir dir;
  std::vector<std::string> lines =
      layoutWith({tabbed({"RADIO", "1", "2", "3", "4", "20", "1", "10", "Arial", "0", "0"})});
  for (int i = 1; i <= 20; ++i) lines.push_back("B" + std::to_string(i));
  for (int i = 1; i <= 20; ++i) {
    lines.push_back("X=" + std::to_string(i));
    lines.push_back("<>");
  }
  dir.writeLines("CALC.DLY", lines);
  dir.writeBytes("CALC.EXE", "");
  auto page = buildPage(dir);
  const RadioGroupRec& rec = page->RadioGroupList.at(0);
  EXPECT_EQ(rec.NButtons, 20);
  EXPECT_EQ(rec.doWhenChecked[19], std::vector<std::string>{"X=20"});
  ASSERT_NE(rec.blockOfItem(19), nullptr);
  EXPECT_EQ(rec.blockOfItem(20), nullptr);
}

TEST(TORVServerFormTest, PlotStackingCountsEveryPictureLine) {
  ServerDir dir;
  dir.writeBytes("IMGS/a.gif", tinyGif());
  auto page = buildFromItems(
      dir, {tabbed({"PLOT", "1", "a.gif", "1", "2"}), tabbed({"IMG", "a.gif", "1", "2"}),
            tabbed({"PLOT", "7", "a.gif", "1", "2"}), tabbed({"LINE", "a.gif", "1", "2"})});
  ASSERT_EQ(page->PlotList.size(), 2u);
  EXPECT_EQ(page->PlotList[0].theImage->ZIndex(), 9001);
  EXPECT_EQ(page->PlotList[1].theImage->ZIndex(), 9003);
  EXPECT_EQ(page->IMGList[1]->ZIndex(), 0);
  EXPECT_EQ(page->IMGList[3]->ZIndex(), 9000);
  EXPECT_EQ(page->PlotList[1].PlotWindowNo, 7);
  EXPECT_EQ(page->PlotList[0].Width, 2);
  EXPECT_EQ(page->PlotList[0].Height, 2);
  EXPECT_EQ(page->MaxX(), 3);
}

TEST(TORVServerFormTest, MemoFiles) {
  ServerDir dir;
  dir.writeBytes("texts/Notes.TXT", "one\r\ntwo");
  auto page = buildFromItems(
      dir,
      {tabbed({"MEMO", "texts\\notes.txt", "1", "2", "300", "4", "Arial", "9", "0", "1", "255"}),
       tabbed({"MEMO", "missing.txt", "not", "numbers", "at", "all"})});
  ASSERT_EQ(page->MemoList.size(), 2u);
  EXPECT_EQ(page->MemoList[0]->Lines().lines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(page->MemoList[0]->WebFont().Style(), unsigned{fsItalic});
  EXPECT_EQ(page->MemoList[0]->WebFont().Size(), 9);
  EXPECT_TRUE(page->MemoList[1]->Lines().empty());
  EXPECT_TRUE(page->MemoList[1]->Editable());
  EXPECT_EQ(page->MaxX(), 301);
}

TEST(TORVServerFormTest, SecondButtonLineMovesTheSameButton) {
  ServerDir dir;
  auto page = buildFromItems(dir, {tabbed({"SAVEBUTTON", "First", "10", "10", "75", "25"}),
                                   tabbed({"SAVEBUTTON", "Second", "254", "20", "75", "30"})});
  EXPECT_EQ(page->SaveButton->Caption(), "Second");
  EXPECT_EQ(page->SaveButton->Left(), 254);
  EXPECT_EQ(page->SaveButton->Top(), 44);
  EXPECT_EQ(page->SaveEdit->Left(), 330);
  EXPECT_EQ(page->SaveEdit->Top(), 44);
  EXPECT_EQ(page->SaveEdit->Height(), 30);
  EXPECT_EQ(page->SaveEdit->Width(), 107);
  EXPECT_EQ(page->MaxX(), 329);  // the companion does not count
}

TEST(TORVServerFormTest, ExtremePositionsNeverOverflow) {
  ServerDir dir;
  auto page =
      buildFromItems(dir, {tabbed({"INPUT", "X", "m", "1", "1", "1", "0", "1", "F2", "2147483647",
                                   "2147483647", "2147483647", "2147483647", "16", "0", "0", "0"}),
                           tabbed({"RULE", "2147483647", "1", "2147483647", "1", "1", "0"})});
  EXPECT_EQ(page->InputList[0].aIWInput->Top(), 2147483647);
  EXPECT_EQ(page->Status->Width(), 2147483647);
}

// ---------------------------------------------------------------------------------------
// Lifecycle.

TEST(TORVServerFormTest, ContinueShowsOnlyTheButtonsWhoseLinesWereRead) {
  struct Case {
    const char* what;
    std::vector<std::string> items;
    bool solve, save, load;
  };
  const Case cases[] = {
      {"no button lines", {inputLine()}, false, false, false},
      {"help button line only",
       {tabbed({"HELPBUTTON", "Help", "1", "2", "3", "4"})},
       false,
       false,
       false},
      {"calculate only", {tabbed({"CALCBUTTON", "Go", "1", "2", "3", "4"})}, true, false, false},
      {"save and load",
       {tabbed({"SAVEBUTTON", "S", "1", "2", "3", "4"}),
        tabbed({"LOADBUTTON", "L", "1", "2", "3", "4"})},
       false,
       true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ServerDir dir;
    std::vector<std::string> lines = layoutWith({});
    lines.insert(lines.end(), c.items.begin(), c.items.end());
    dir.writeLines("CALC.DLY", lines);
    dir.writeBytes("CALC.EXE", "");
    auto page = buildPage(dir);
    page->IWContinueBClick(*page->IWContinueB);
    EXPECT_EQ(page->SolveButton->Visible(), c.solve);
    EXPECT_EQ(page->SaveButton->Visible(), c.save);
    EXPECT_EQ(page->LoadButton->Visible(), c.load);
    EXPECT_FALSE(page->HelpButton->Visible());
    EXPECT_FALSE(page->SaveEdit->Visible());
    EXPECT_FALSE(page->LoadFilesBox->Visible());
    EXPECT_FALSE(page->IWContinueB->Visible());
    EXPECT_FALSE(page->Header1->Visible());
  }
}

TEST(TORVServerFormTest, PageWithoutLayoutIsDestroyedCleanly) {
  ServerDir dir;
  auto page = buildPage(dir);
  page->DoDestroy();
  EXPECT_EQ(page->ComponentCount(), std::size(kBuiltIn));
}

TEST(TORVServerFormTest, PagesAreBuiltOnSeveralThreadsAtOnce) {
  ServerDir dir;
  dir.copyFixture("full");
  dir.writeBytes("PUMP.EXE", "");
  constexpr int kThreads = 4;
  std::vector<std::unique_ptr<TORVServerForm>> pages(kThreads);
  std::vector<std::string> errors(kThreads);
  {
    std::vector<std::jthread> threads;
    for (int i = 0; i < kThreads; ++i) {
      threads.emplace_back([&, i] {
        try {
          pages[i] = buildPage(dir);
        } catch (const std::exception& e) {
          errors[i] = e.what();
        }
      });
    }
  }
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(errors[i], "");
    ASSERT_NE(pages[i], nullptr);
    EXPECT_EQ(pages[i]->InputList.size(), 3u);
    EXPECT_EQ(pages[i]->Status->Width(), pages[0]->Status->Width());
    if (i > 0) {
      EXPECT_NE(pages[i]->InputList[0].aIWInput, pages[0]->InputList[0].aIWInput);
    }
  }
}

}  // namespace
}  // namespace orv
