#include "app/WDiagramU.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "app/LayoutFields.h"
#include "app/LayoutText.h"
#include "app/Messages.h"
#include "app/mylib/myLib.h"
#include "framework/server/TIWServerControllerBase.h"
#include "platform/Beep.h"
#include "platform/CodePage.h"
#include "platform/ExePaths.h"
#include "platform/Picture.h"

namespace orv {

namespace {

// Items are placed this far below their layout position, leaving the top band to the
// status bar.
constexpr int kTopShift = 24;
// Colour of an output whose result does not belong to the current inputs.
constexpr TIWColor kGrey = 0x808080;
// Stacking bands: decoration in front of pictures, outputs and radio groups in front of
// both; the page's own buttons lie at 32000 and above.
constexpr int kDecorationZ = 9000;
constexpr int kOutputZ = 30000;

// Layout numbers are 32-bit; sums such as top + 24 or left + width stay within that
// range instead of overflowing (a position near the limit is nonsense either way, but
// must never be undefined behaviour).
int clampInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

std::string upperAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

bool endsWithIgnoringCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && upperAscii(std::string(s.substr(s.size() - suffix.size()))) ==
                                          upperAscii(std::string(suffix));
}

std::string withTrailingSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

// The name with its extension (from the last ".") replaced.
std::string changeFileExt(const std::string& name, std::string_view ext) {
  const auto dot = name.rfind('.');
  return (dot == std::string::npos ? name : name.substr(0, dot)) + std::string(ext);
}

// Style bits from the three flags of a style number.
unsigned styleBits(bool bold, bool italic, bool underline) {
  return (bold ? fsBold : 0u) | (italic ? fsItalic : 0u) | (underline ? fsUnderline : 0u);
}

// The style code of CHECKBOX and RADIO lines: 1 or 3 bold, anything above 1 italic.
unsigned checkRadioStyleBits(std::int32_t code) {
  return ((code == 1 || code == 3) ? fsBold : 0u) | (code > 1 ? fsItalic : 0u);
}

// Applies a font given by the three numbers of INPUT, DROPDOWN, OUTPUT and LABEL lines
// and reports the style flags.
void applyNumberedFont(TIWFont& font, std::int32_t sizeNo, std::int32_t fontNo,
                       std::int32_t styleNo, bool& bold, bool& italic, bool& underline) {
  font.setFontName(FontName(fontNo));
  font.setSize(TORVServerForm::PointSizeFromPixels(sizeNo));
  UnpackStyleNo(static_cast<std::int16_t>(styleNo), bold, italic, underline);
  font.setStyle(font.Style() | styleBits(bold, italic, underline));
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Design-time controls and page settings.

TORVServerForm::TORVServerForm(ServerFormSettings settings) : settings_(std::move(settings)) {
  setName("ORVServerForm");
  setWidth(701);
  setHeight(519);
  setRenderInvisibleControls(false);
  setAllowPageAccess(true);
  setConnectionMode(TIWConnectionMode::cmAny);
  Background().Fixed = false;
  setHandleTabs(false);
  setLeftToRight(true);
  setLockUntilLoaded(true);
  setLockOnSubmit(true);
  setShowHint(true);
  setXPTheme(true);
  OnCreate = [this](TIWAppForm& sender) { IWAppFormCreate(sender); };
  OnDestroy = [this](TIWAppForm& sender) { IWAppFormDestroy(sender); };

  auto button = [this](const char* name, int left, int top,
                       std::string_view caption) -> TIWButton& {
    auto& b = addNew<TIWButton>();
    b.setName(name);
    b.SetBounds(left, top, 75, 25);
    b.setCaption(std::string(caption));
    b.setColor(clBtnFace);
    b.WebFont().setSize(10);
    b.WebFont().setStyle(fsBold);
    return b;
  };

  SaveButton = &button("SaveButton", 254, 465, msg::kSaveCaption);
  SaveButton->setVisible(false);
  SaveButton->setZIndex(32000);
  SaveButton->OnClick = [this](TIWCustomControl& sender) { SaveButtonClick(sender); };

  SaveEdit = &addNew<TIWEdit>();
  SaveEdit->setName("SaveEdit");
  SaveEdit->SetBounds(326, 465, 107, 25);
  SaveEdit->setVisible(false);
  SaveEdit->setZIndex(32676);
  SaveEdit->WebFont().setSize(10);
  SaveEdit->setSubmitOnAsyncEvent(true);

  LoadButton = &button("LoadButton", 254, 434, msg::kLoadCaption);
  LoadButton->setVisible(false);
  LoadButton->setZIndex(32000);
  LoadButton->OnClick = [this](TIWCustomControl& sender) { LoadButtonClick(sender); };

  LoadFilesBox = &addNew<TIWComboBox>();
  LoadFilesBox->setName("LoadFilesBox");
  LoadFilesBox->SetBounds(326, 436, 123, 21);
  LoadFilesBox->setVisible(false);
  LoadFilesBox->setZIndex(32676);
  LoadFilesBox->WebFont().setSize(10);
  LoadFilesBox->setItemIndex(-1);
  LoadFilesBox->setNoSelectionText(std::string(msg::kNoSelectionText));

  HelpButton = &button("HelpButton", 152, 465, msg::kHelpCaption);
  HelpButton->setVisible(false);
  HelpButton->ExtraTagParams().add("");  // the help address: none in the design
  HelpButton->OnClick = [this](TIWCustomControl& sender) { HelpButtonClick(sender); };

  SolveButton = &button("SolveButton", 152, 436, msg::kSolveCaption);
  SolveButton->setVisible(false);
  SolveButton->OnClick = [this](TIWCustomControl& sender) { SolveButtonClick(sender); };

  Status = &addNew<TIWRectangle>();
  Status->setName("Status");
  Status->SetBounds(1, 3, 698, 23);
  Status->setVisible(false);
  Status->setColor(clWebKHAKI);
  Status->WebFont().setColor(clWebCRIMSON);
  Status->WebFont().setFontName(std::string(msg::kStatusFontFamily));
  Status->WebFont().setSize(10);
  Status->WebFont().setStyle(fsBold);
  Status->BorderOptions().setWidth(0);
  Status->setAlignment(TAlignment::taLeftJustify);
  Status->setVAlign(TIWVerticalAlign::vaMiddle);

  IWContinueB = &button("IWContinueB", 280, 126, msg::kContinueCaption);
  IWContinueB->setWidth(100);
  IWContinueB->OnClick = [this](TIWCustomControl& sender) { IWContinueBClick(sender); };

  auto header = [this](const char* name, int top, std::string_view caption,
                       bool bold) -> TIWLabel* {
    auto& l = addNew<TIWLabel>();
    l.setName(name);
    l.setAutoSize(false);
    l.SetBounds(81, top, 500, 16);
    l.setAlignment(TAlignment::taCenter);
    l.WebFont().setSize(12);
    l.WebFont().setStyle(bold ? fsBold : 0u);
    l.setCaption(std::string(caption));
    return &l;
  };
  Header1 = header("Header1", 27, msg::kHeader1Caption, true);
  Header2 = header("Header2", 49, msg::kHeader2Caption, false);
  Header3 = header("Header3", 71, msg::kHeader3Caption, false);
  Header4 = header("Header4", 93, msg::kHeader4Caption, false);

  SaveButton->setTabOrder(0);
  SaveEdit->setTabOrder(1);
  LoadButton->setTabOrder(2);
  LoadFilesBox->setTabOrder(3);
  HelpButton->setTabOrder(4);
  SolveButton->setTabOrder(5);
  IWContinueB->setTabOrder(6);

  if (settings_.port) {
    port_ = *settings_.port;
  } else if (const TIWServerControllerBase* controller = IWServerController()) {
    port_ = controller->Port();
  }
}

TORVServerForm::~TORVServerForm() = default;

// ---------------------------------------------------------------------------------------
// Creation.

void TORVServerForm::IWAppFormCreate(TIWAppForm& /*Sender*/) {
  MainDir = withTrailingSlash(settings_.mainDir.empty() ? exePaths().appPath : settings_.mainDir);
  SizeBitMap = std::make_unique<TextMeasurer>();
  maxX_ = 0;
  DLYFile = GetDLYName();
  // The nine item lists are members: they exist (empty) for the page's whole life.

  if (DLYFile.empty()) {
    Status->setVisible(true);
    Status->setText(std::string(msg::kDlyNotFound) + MainDir);
    Beep();
    return;
  }

  IMGDir = MainDir + "IMGS/";
  DATADir = MainDir + "DATA/";

  std::optional<std::vector<std::string>> lines = readTextFileLines(DLYFile);
  if (!lines) throw std::runtime_error(msg::layoutUnreadable(DLYFile));
  ORVDLayout = std::move(*lines);
  if (ORVDLayout.empty()) throw std::runtime_error(msg::layoutEmpty(DLYFile));
  // Line 0 holds the exporting program's version text; lines 1 to 4 are not read.

  lp_ = 5;
  while (static_cast<int>(ORVDLayout.size()) > lp_) {
    ++lp_;
    std::string S = ORVDLayout[static_cast<std::size_t>(lp_ - 1)];
    const std::string keyword = upperAscii(NextToken(S));
    dispatch(keyword, S);
  }

  Status->setWidth(clampInt(std::int64_t{maxX_} + 1));
}

void TORVServerForm::dispatch(const std::string& keyword, std::string& S) {
  if (keyword == "HEADER") {
    AddHeader();
  } else if (keyword == "INPUT") {
    AddInput(S);
  } else if (keyword == "DROPDOWN") {
    AddDropDown(S);
  } else if (keyword == "OUTPUT") {
    AddOUTPUT(S);
  } else if (keyword == "MEMO") {
    AddMemo(S);
  } else if (keyword == "LABEL") {
    AddLabel(S);
  } else if (keyword == "SCREEN") {
    SetScreen(S);
  } else if (keyword == "IMG") {
    AddGIF(S, false);
  } else if (keyword == "PLOT") {
    AddPLOT(S);
  } else if (keyword == "LINE") {
    AddGIF(S, true);
  } else if (keyword == "RULE") {
    AddRule(S);
  } else if (keyword == "BOX") {
    AddBox(S);
  } else if (keyword == "CHECKBOX") {
    AddCheckBox(S);
  } else if (keyword == "RADIO") {
    AddRadioGroup(S);
  } else if (keyword == "CALCBUTTON") {
    AddCalcButton(S);
  } else if (keyword == "SAVEBUTTON") {
    AddSaveButton(S);
  } else if (keyword == "LOADBUTTON") {
    AddLoadButton(S);
  } else if (keyword == "HELPBUTTON") {
    AddHelpButton(S);
  }
  // Any other keyword, an empty line included, is skipped.
}

std::string TORVServerForm::GetDLYName() {
  // File names the layout gives without a directory are taken relative to the current
  // directory; every page sets the same one.
  if (::chdir(MainDir.c_str()) != 0) {
    // A directory that cannot be entered cannot be listed either: nothing is found.
  }

  std::vector<std::string> layouts;
  if (std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(MainDir.c_str()), &::closedir); dir) {
    while (const dirent* entry = ::readdir(dir.get())) {
      const std::string name = entry->d_name;
      if (endsWithIgnoringCase(name, ".DLY") && findAuthorFile(MainDir, name)) {
        layouts.push_back(name);
      }
    }
  }
  // The desktop's file system lists names in case-insensitive order; a Linux directory
  // lists them in no useful order, so the search sorts them the same way.
  std::sort(layouts.begin(), layouts.end(), [](const std::string& a, const std::string& b) {
    const std::string ua = upperAscii(a);
    const std::string ub = upperAscii(b);
    return ua != ub ? ua < ub : a < b;
  });

  for (const std::string& name : layouts) {
    ORVName = changeFileExt(name, ".EXE");
    if (std::optional<std::string> exe = findAuthorFile(MainDir, ORVName)) {
      ORVName = exe->substr(exe->rfind('/') + 1);  // the name as it lies on disk
      return MainDir + name;
    }
  }
  return {};
}

std::string TORVServerForm::NextToken(std::string& S) {
  const auto tab = S.find('\t');
  if (tab == std::string::npos) {
    std::string all = std::move(S);
    S.clear();
    return all;
  }
  std::string first = S.substr(0, tab);
  S.erase(0, tab + 1);
  return first;
}

bool TORVServerForm::ShiftKey() { return shiftKeyHeld(); }

std::optional<std::string> TORVServerForm::nextLayoutLine() {
  if (lp_ >= static_cast<int>(ORVDLayout.size())) return std::nullopt;
  ++lp_;
  return ORVDLayout[static_cast<std::size_t>(lp_ - 1)];
}

int TORVServerForm::linesLeft() const {
  return std::max(0, static_cast<int>(ORVDLayout.size()) - lp_);
}

void TORVServerForm::extend(const TIWToolkitBaseControl& control) {
  maxX_ = std::max(maxX_, clampInt(std::int64_t{control.Left()} + control.Width()));
}

void TORVServerForm::wireAsyncChange(TIWCustomControl& control) {
  control.OnAsyncChange = [this](TIWCustomControl& sender, const StringList& params) {
    IWEdit1AsyncChange(sender, params);
  };
}

void TORVServerForm::wireAsyncClick(TIWCustomControl& control) {
  control.OnAsyncClick = [this](TIWCustomControl& sender, const StringList& params) {
    StatusLabelAsyncClick(sender, params);
  };
}

int TORVServerForm::PointSizeFromPixels(std::int32_t SizeNo) {
  constexpr std::int64_t kPixelsPerInch = 96;
  const std::int64_t n = std::int64_t{SizeNo} * 72;
  std::int64_t q = n / kPixelsPerInch;
  std::int64_t r = n % kPixelsPerInch;
  if (r < 0) {  // floor division
    q -= 1;
    r += kPixelsPerInch;
  }
  if (2 * r > kPixelsPerInch || (2 * r == kPixelsPerInch && (q & 1) != 0)) q += 1;
  return static_cast<int>(q);
}

int TORVServerForm::GetWidth(const std::string& S, const std::string& FontName, int Size,
                             unsigned Style) const {
  return SizeBitMap->GetWidth(S, FontName, Size, Style);
}

int TORVServerForm::GetHeight(const std::string& S, const std::string& FontName, int Size,
                              unsigned Style) const {
  return SizeBitMap->GetHeight(S, FontName, Size, Style);
}

// ---------------------------------------------------------------------------------------
// Item handlers.

void TORVServerForm::SetScreen(std::string& S) {
  // The diagram window's size: read as whole numbers, used for nothing.
  LayoutFields f(S, lp_, "SCREEN");
  (void)f.wholeNumber("width");
  (void)f.wholeNumber("height");
}

void TORVServerForm::AddHeader() {
  const int lineNo = lp_;
  Header1->setCaption(std::string(msg::kHeaderPortPrefix) + std::to_string(port_) +
                      std::string(msg::kHeaderVersionSuffix));
  if (linesLeft() < 3)
    throw std::runtime_error(msg::layoutEndsEarly(lineNo, "HEADER", 3, linesLeft()));
  Header2->setCaption(*nextLayoutLine());
  Header3->setCaption(*nextLayoutLine());
  Header4->setCaption(*nextLayoutLine());
}

void TORVServerForm::AddInput(std::string& S) {
  LayoutFields f(S, lp_, "INPUT");
  InputRec rec;
  TIWEdit& edit = addNew<TIWEdit>();
  rec.aIWInput = &edit;
  wireAsyncChange(edit);

  rec.VarName = shortString(f.text());
  rec.Units = shortString(f.text());
  rec.ShowVarName = f.flag();
  rec.ShowUnits = f.flag();
  edit.setText(f.text());
  rec.Lower = f.real();
  rec.Upper = f.real();
  rec.Format = f.format();

  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  rec.W = f.wholeNumber("width");
  rec.H = clampInt(std::int64_t{f.wholeNumber("height")} + 4);
  edit.SetBounds(left, clampInt(std::int64_t{top} + kTopShift), clampInt(std::int64_t{rec.W} + 10),
                 rec.H);

  rec.SizeNo = f.wholeNumber("size");
  rec.FontNo = f.wholeNumber("font");
  rec.StyleNo = f.wholeNumber("style");
  applyNumberedFont(edit.WebFont(), rec.SizeNo, rec.FontNo, rec.StyleNo, rec.BoldOn, rec.ItalicOn,
                    rec.UnderlineOn);
  edit.WebFont().setColor(f.wholeNumber("colour"));

  rec.VarNameLabel = nullptr;
  rec.UnitsLabel = nullptr;
  extend(edit);

  const TIWFont& font = edit.WebFont();
  if (rec.ShowVarName) {
    TIWRectangle& label = addNew<TIWRectangle>();
    rec.VarNameLabel = &label;
    label.setVisible(false);
    label.setText(rec.VarName + "=");
    label.setAlignment(TAlignment::taRightJustify);
    label.WebFont().Assign(font);
    const int width = GetWidth(label.Text(), font.FontName(), font.Size(), font.Style());
    const int height = GetHeight(label.Text(), font.FontName(), font.Size(), font.Style());
    int labelTop = edit.Top();
    if (height < edit.Height())
      labelTop = clampInt(labelTop + (std::int64_t{edit.Height()} - height) / 2);
    label.SetBounds(std::max(0, clampInt(std::int64_t{edit.Left()} - width)), labelTop, width,
                    height);
    label.setRenderSize(false);
    label.setZIndex(kDecorationZ);
    label.setColor(clNone);
  }

  if (rec.ShowUnits && !rec.Units.empty()) {
    TIWRectangle& units = addNew<TIWRectangle>();
    rec.UnitsLabel = &units;
    units.setVisible(false);
    units.setAlignment(TAlignment::taLeftJustify);
    units.WebFont().Assign(font);
    units.SetBounds(clampInt(std::int64_t{edit.Left()} + edit.Width() + 3), edit.Top(),
                    clampInt(10 * static_cast<std::int64_t>(utf8Length(rec.Units))), edit.Height());
    units.setText("[" + rec.Units + "]");
    units.setRenderSize(false);
    units.setZIndex(kDecorationZ);
    units.setColor(clNone);
    extend(units);
  }

  edit.setVisible(false);
  wireAsyncClick(edit);
  InputList.push_back(std::move(rec));
}

void TORVServerForm::AddDropDown(std::string& S) {
  const int lineNo = lp_;
  LayoutFields f(S, lineNo, "DROPDOWN");
  InputRec rec;
  TIWComboBox& combo = addNew<TIWComboBox>();
  combo.setVisible(false);
  rec.aIWComboBox = &combo;
  rec.DropDown.emplace();
  wireAsyncChange(combo);

  rec.VarName = shortString(f.text());
  rec.Units = shortString(f.text());
  rec.ShowVarName = f.flag();
  rec.ShowUnits = f.flag();
  const std::int32_t count = f.wholeNumber("item count");
  if (count < 0) throw std::runtime_error(msg::layoutNegativeCount(lineNo, "DROPDOWN", count));
  const std::int32_t selection = f.wholeNumber("initial selection");

  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  rec.W = f.wholeNumber("width");
  rec.H = f.wholeNumber("height");
  combo.SetBounds(left, clampInt(std::int64_t{top} + kTopShift), clampInt(std::int64_t{rec.W} + 10),
                  clampInt(std::int64_t{rec.H} + 5));
  combo.setRenderSize(true);

  rec.SizeNo = f.wholeNumber("size");
  rec.FontNo = f.wholeNumber("font");
  rec.StyleNo = f.wholeNumber("style");
  applyNumberedFont(combo.WebFont(), rec.SizeNo, rec.FontNo, rec.StyleNo, rec.BoldOn, rec.ItalicOn,
                    rec.UnderlineOn);
  combo.WebFont().setColor(f.wholeNumber("colour"));

  rec.VarNameLabel = nullptr;
  rec.UnitsLabel = nullptr;
  extend(combo);  // the width the layout gave, before the items set it

  const TIWFont& font = combo.WebFont();
  if (rec.ShowVarName) {
    TIWRectangle& label = addNew<TIWRectangle>();
    rec.VarNameLabel = &label;
    label.setText(rec.VarName + "=");
    label.setAlignment(TAlignment::taRightJustify);
    label.WebFont().Assign(font);  // carries the line's colour
    label.setVisible(false);
    const int width = GetWidth(label.Text(), font.FontName(), font.Size(), font.Style());
    label.SetBounds(std::max(0, clampInt(std::int64_t{combo.Left()} - width)),
                    clampInt(std::int64_t{combo.Top()} + 2), width, combo.Height());
    label.setRenderSize(false);
    label.setZIndex(kDecorationZ);
    label.setColor(clNone);
  }

  if (count > linesLeft()) {
    throw std::runtime_error(msg::layoutEndsEarly(lineNo, "DROPDOWN", count, linesLeft()));
  }
  rec.W = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    std::string item = shortString(*nextLayoutLine());
    const auto marker = item.find("//");
    std::string shown = marker == std::string::npos ? item : item.substr(0, marker);
    rec.W = std::max(rec.W, GetWidth(shown, font.FontName(), font.Size(), font.Style()));
    rec.DropDown->push_back(std::move(item));
    combo.Items().add(std::move(shown));
  }
  combo.setWidth(clampInt(std::int64_t{rec.W} + 24));
  combo.WebFont().setColor(0);  // the list's own text is black, whatever the line says

  combo.setItemIndex(selection);  // beyond the items: no selection
  wireAsyncClick(combo);
  InputList.push_back(std::move(rec));
}

void TORVServerForm::AddCheckBox(std::string& S) {
  const int lineNo = lp_;
  LayoutFields f(S, lineNo, "CHECKBOX");
  TIWCheckBox& box = addNew<TIWCheckBox>();
  box.setVisible(false);
  CheckBoxList.push_back(&box);
  wireAsyncChange(box);

  box.setCaption(f.text());
  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  const std::int32_t width = f.wholeNumber("width");
  const std::int32_t height = f.wholeNumber("height");
  box.SetBounds(left, clampInt(std::int64_t{top} + kTopShift), width, height);
  box.WebFont().setSize(f.wholeNumber("size"));
  box.WebFont().setFontName(f.text());
  box.WebFont().setStyle(box.WebFont().Style() | checkRadioStyleBits(f.wholeNumber("style")));
  box.WebFont().setColor(f.wholeNumber("colour"));

  // The block of solver-input lines, up to the line "<>" (not stored).
  for (;;) {
    std::optional<std::string> line = nextLayoutLine();
    if (!line) throw std::runtime_error(msg::layoutBlockNotClosed(lineNo, "CHECKBOX"));
    if (*line == "<>") break;
    box.ExtraTagParams().add(std::move(*line));
  }

  wireAsyncClick(box);
  extend(box);
}

void TORVServerForm::AddRadioGroup(std::string& S) {
  const int lineNo = lp_;
  LayoutFields f(S, lineNo, "RADIO");
  RadioGroupList.emplace_back();
  RadioGroupRec& rec = RadioGroupList.back();
  TIWRadioGroup& group = addNew<TIWRadioGroup>();
  group.setVisible(false);
  rec.aIWRadio = &group;
  wireAsyncChange(group);

  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  const std::int32_t width = f.wholeNumber("width");
  const std::int32_t height = f.wholeNumber("height");
  group.SetBounds(left, clampInt(std::int64_t{top} + kTopShift), width, height);
  const std::int32_t buttons = f.wholeNumber("button count");
  // The record holds the blocks of 20 buttons; a line asking for more is refused.
  if (buttons < 0 || buttons > kMaxRadioButtons) {
    throw std::runtime_error(msg::layoutRadioCount(lineNo, buttons));
  }
  rec.NButtons = buttons;
  const std::int32_t columns = f.wholeNumber("columns");
  group.WebFont().setSize(f.wholeNumber("size"));
  group.WebFont().setFontName(f.text());
  group.WebFont().setStyle(group.WebFont().Style() | checkRadioStyleBits(f.wholeNumber("style")));
  group.WebFont().setColor(f.wholeNumber("colour"));
  if (columns > 1) group.setLayout(TIWRadioGroupLayout::glHorizontal);

  if (buttons > linesLeft()) {
    throw std::runtime_error(msg::layoutEndsEarly(lineNo, "RADIO", buttons, linesLeft()));
  }
  for (std::int32_t i = 0; i < buttons; ++i) group.Items().add(*nextLayoutLine());

  // One block per button, each ended by "<>" or "--" (not stored) or by the file's end.
  for (std::int32_t b = 0; b < buttons; ++b) {
    std::vector<std::string>& block = rec.doWhenChecked[static_cast<std::size_t>(b)];
    while (std::optional<std::string> line = nextLayoutLine()) {
      if (*line == "<>" || *line == "--") break;
      block.push_back(std::move(*line));
    }
  }

  wireAsyncClick(group);
  extend(group);
  group.setZIndex(kOutputZ);
}

void TORVServerForm::AddOUTPUT(std::string& S) {
  LayoutFields f(S, lp_, "OUTPUT");
  OutputRec rec;
  TIWRectangle& output = addNew<TIWRectangle>();
  rec.aIWOutput = &output;

  rec.VarName = shortString(f.text());
  rec.Units = shortString(f.text());
  rec.ShowVarName = f.flag();
  rec.ShowUnits = f.flag();
  output.setText(f.text());
  rec.Format = f.format();

  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  const std::int32_t width = f.wholeNumber("width");
  const std::int32_t height = f.wholeNumber("height");
  output.SetBounds(left, clampInt(std::int64_t{top} + kTopShift), width, height);

  rec.SizeNo = f.wholeNumber("size");
  rec.FontNo = f.wholeNumber("font");
  rec.StyleNo = f.wholeNumber("style");
  TIWFont& font = output.WebFont();
  font.setFontName(FontName(rec.FontNo));
  font.setSize(PointSizeFromPixels(rec.SizeNo));
  output.setColor(clNone);
  output.setRenderSize(false);
  const int z = clampInt(std::int64_t{kOutputZ} + lp_);
  output.setZIndex(z);
  extend(output);  // as placed, before a name label moves it
  UnpackStyleNo(static_cast<std::int16_t>(rec.StyleNo), rec.BoldOn, rec.ItalicOn, rec.UnderlineOn);
  font.setStyle(font.Style() | styleBits(rec.BoldOn, rec.ItalicOn, rec.UnderlineOn));

  rec.FontColor = f.wholeNumber("colour");
  font.setColor(kGrey);  // until the solve cycle shows a result

  rec.VarNameLabel = nullptr;
  if (rec.ShowVarName) {
    TIWRectangle& label = addNew<TIWRectangle>();
    rec.VarNameLabel = &label;
    label.setVisible(false);
    label.setText(rec.VarName + "=");
    label.setAlignment(TAlignment::taRightJustify);
    label.WebFont().Assign(font);
    label.WebFont().setColor(rec.FontColor);
    const int labelWidth = GetWidth(label.Text(), font.FontName(), font.Size(), font.Style());
    label.SetBounds(output.Left(), output.Top(), labelWidth, output.Height());
    output.setLeft(clampInt(std::int64_t{output.Left()} + labelWidth + 3));
    label.setColor(clNone);
    label.setRenderSize(false);
    label.setZIndex(z);
  }

  if (rec.ShowUnits && !rec.Units.empty()) {
    output.setText(output.Text() + " [" + rec.Units + "]");
    rec.W = GetWidth(output.Text(), font.FontName(), font.Size(), font.Style());
    maxX_ = std::max(maxX_, clampInt(std::int64_t{output.Left()} + rec.W));
  }

  output.setVisible(false);
  OutputList.push_back(std::move(rec));
}

void TORVServerForm::AddLabel(std::string& S) {
  LayoutFields f(S, lp_, "LABEL");
  TIWRectangle& label = addNew<TIWRectangle>();
  LabelList.push_back(&label);
  label.setVisible(false);
  label.setZIndex(kDecorationZ);
  label.setColor(clNone);

  label.setText(f.text());
  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  label.setRenderSize(false);
  const std::int32_t width = f.wholeNumber("width");
  const std::int32_t height = f.wholeNumber("height");
  label.SetBounds(left, clampInt(std::int64_t{top} + kTopShift), width, height);
  label.setAlignment(TAlignment::taLeftJustify);
  const std::int32_t sizeNo = f.wholeNumber("size");
  const std::int32_t fontNo = f.wholeNumber("font");
  const std::int32_t styleNo = f.wholeNumber("style");
  bool bold = false;
  bool italic = false;
  bool underline = false;
  applyNumberedFont(label.WebFont(), sizeNo, fontNo, styleNo, bold, italic, underline);
  label.WebFont().setColor(f.wholeNumber("colour"));
  extend(label);
}

void TORVServerForm::AddMemo(std::string& S) {
  const int lineNo = lp_;
  LayoutFields f(S, lineNo, "MEMO");
  TIWMemo& memo = addNew<TIWMemo>();
  memo.setVisible(false);
  MemoList.push_back(&memo);

  const std::string fileName = f.text();
  if (std::optional<std::string> path = findAuthorFile(MainDir, fileName)) {
    std::optional<std::vector<std::string>> lines = readTextFileLines(*path);
    if (!lines) throw std::runtime_error(msg::layoutMemoUnreadable(lineNo, fileName));
    memo.Lines().assign(std::move(*lines));
    memo.setEditable(false);
    const std::int32_t left = f.wholeNumber("left");
    const std::int32_t top = f.wholeNumber("top");
    const std::int32_t width = f.wholeNumber("width");
    const std::int32_t height = f.wholeNumber("height");
    memo.SetBounds(left, clampInt(std::int64_t{top} + kTopShift), width, height);
    memo.WebFont().setFontName(f.text());
    memo.WebFont().setSize(f.wholeNumber("size"));
    unsigned style = memo.WebFont().Style();
    if (f.wholeNumber("bold") == 1) style |= fsBold;
    if (f.wholeNumber("italic") == 1) style |= fsItalic;
    memo.WebFont().setStyle(style);
    memo.WebFont().setColor(f.wholeNumber("colour"));
  }
  // Without its file the memo stays empty at its default place and size, and the rest
  // of the line is not read.
  extend(memo);
}

void TORVServerForm::AddGIF(std::string S, bool isLine) {
  const int lineNo = lp_;
  const char* keyword = isLine ? "LINE" : "IMG";
  LayoutFields f(S, lineNo, keyword);
  TIWImage& image = addNew<TIWImage>();
  image.setVisible(false);
  IMGList.push_back(&image);
  image.setZIndex(isLine ? kDecorationZ : 0);  // a LINE lies in front of all pictures

  const std::string fileName = f.text();
  const std::string path = findAuthorFile(IMGDir, fileName).value_or(IMGDir + fileName);
  try {
    image.Picture().LoadFromFile(path);
  } catch (const PictureError& e) {
    throw std::runtime_error(msg::layoutPicture(lineNo, keyword, e.what()));
  }
  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  image.setLeft(left);
  image.setTop(clampInt(std::int64_t{top} + kTopShift));
  image.setOutputType(TIWImageOutput::ioGIF);
  extend(image);
}

void TORVServerForm::AddPLOT(std::string S) {
  const int lineNo = lp_;
  LayoutFields f(S, lineNo, "PLOT");
  TIWImage& image = addNew<TIWImage>();
  IMGList.push_back(&image);
  image.setZIndex(clampInt(std::int64_t{kDecorationZ} + static_cast<std::int64_t>(IMGList.size())));
  image.setVisible(false);

  PlotInfoRec rec;
  rec.PlotWindowNo = f.wholeNumber("plot window");
  const std::string fileName = f.text();
  rec.FN = findAuthorFile(IMGDir, fileName).value_or(IMGDir + fileName);
  rec.theImage = &image;
  try {
    image.Picture().LoadFromFile(rec.FN);
  } catch (const PictureError& e) {
    throw std::runtime_error(msg::layoutPicture(lineNo, "PLOT", e.what()));
  }
  rec.Width = image.Width();
  rec.Height = image.Height();
  PlotList.push_back(std::move(rec));

  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  image.setLeft(left);
  image.setTop(clampInt(std::int64_t{top} + kTopShift));
  image.setOutputType(TIWImageOutput::ioGIF);
  extend(image);
}

void TORVServerForm::AddBox(std::string& S) {
  LayoutFields f(S, lp_, "BOX");
  TIWRectangle& box = addNew<TIWRectangle>();
  BoxList.push_back(&box);
  box.setVisible(false);

  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  const std::int32_t width = f.wholeNumber("width");
  const std::int32_t height = f.wholeNumber("height");
  box.SetBounds(left, clampInt(std::int64_t{top} + kTopShift), width, height);
  box.setColor(f.wholeNumber("background colour"));
  box.BorderOptions().setColor(f.wholeNumber("border colour"));
  box.BorderOptions().setWidth(1);
  box.setText(f.text());
  extend(box);
}

void TORVServerForm::AddRule(std::string& S) {
  LayoutFields f(S, lp_, "RULE");
  TIWRectangle& rule = addNew<TIWRectangle>();
  BoxList.push_back(&rule);
  rule.setVisible(false);

  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  std::int32_t width = f.wholeNumber("width");
  std::int32_t height = f.wholeNumber("height");
  if (height < 1) height = 1;
  const std::int32_t lineWidth = f.wholeNumber("line width");
  if (width < lineWidth) {
    width = lineWidth;
  } else if (height < lineWidth) {
    height = lineWidth;
  }
  rule.SetBounds(left, clampInt(std::int64_t{top} + kTopShift), width, height);
  rule.setColor(f.wholeNumber("colour"));
  rule.setText("");
  rule.setZIndex(clampInt(std::int64_t{kDecorationZ} + lp_));
  extend(rule);
}

void TORVServerForm::placeButton(std::string& S, std::string_view keyword, TIWButton& button,
                                 TIWCustomControl* companion, bool& flag) {
  LayoutFields f(S, lp_, keyword);
  button.setCaption(f.text());
  const std::int32_t left = f.wholeNumber("left");
  const std::int32_t top = f.wholeNumber("top");
  const std::int32_t width = f.wholeNumber("width");
  const std::int32_t height = f.wholeNumber("height");
  button.SetBounds(left, clampInt(std::int64_t{top} + kTopShift), width, height);
  if (companion != nullptr) {
    // Beside the button, at its height; the companion keeps its own width.
    companion->SetBounds(clampInt(std::int64_t{button.Left()} + button.Width() + 1), button.Top(),
                         companion->Width(), button.Height());
  }
  button.setVisible(false);
  flag = true;
  extend(button);
}

void TORVServerForm::AddCalcButton(std::string& S) {
  placeButton(S, "CALCBUTTON", *SolveButton, nullptr, HasCalcButton);
}

void TORVServerForm::AddSaveButton(std::string& S) {
  placeButton(S, "SAVEBUTTON", *SaveButton, SaveEdit, HasSaveButton);
}

void TORVServerForm::AddLoadButton(std::string& S) {
  placeButton(S, "LOADBUTTON", *LoadButton, LoadFilesBox, HasLoadButton);
}

void TORVServerForm::AddHelpButton(std::string& /*S*/) {
  // Accepted and ignored: the help button never shows.
}

// ---------------------------------------------------------------------------------------
// Page lifecycle and status.

void TORVServerForm::IWContinueBClick(TIWCustomControl& /*Sender*/) {
  IWContinueB->Hide();
  Header1->Hide();
  Header2->Hide();
  Header3->Hide();
  Header4->Hide();

  for (TIWImage* image : IMGList) image->Show();
  for (const InputRec& rec : InputList) {
    if (rec.aIWInput) rec.aIWInput->Show();
    if (rec.aIWComboBox) rec.aIWComboBox->Show();
    if (rec.VarNameLabel) rec.VarNameLabel->Show();
    if (rec.UnitsLabel) rec.UnitsLabel->Show();
  }
  for (const OutputRec& rec : OutputList) {
    rec.aIWOutput->Show();
    if (rec.VarNameLabel) rec.VarNameLabel->Show();
  }
  for (const RadioGroupRec& rec : RadioGroupList) rec.aIWRadio->Show();
  for (TIWCheckBox* box : CheckBoxList) box->Show();
  for (const PlotInfoRec& plot : PlotList) plot.theImage->Show();
  for (TIWMemo* memo : MemoList) memo->Show();
  for (TIWRectangle* box : BoxList) box->Show();
  for (TIWRectangle* label : LabelList) label->Show();

  if (HasLoadButton) LoadButton->Show();
  if (HasSaveButton) SaveButton->Show();
  if (HasHelpButton) HelpButton->Show();
  if (HasCalcButton) SolveButton->Show();
}

void TORVServerForm::GrayOut() {
  for (const OutputRec& rec : OutputList) rec.aIWOutput->WebFont().setColor(kGrey);
}

void TORVServerForm::IWEdit1AsyncChange(TIWCustomControl& /*Sender*/,
                                        const StringList& /*EventParams*/) {
  GrayOut();
}

void TORVServerForm::StatusLabelAsyncClick(TIWCustomControl& /*Sender*/,
                                           const StringList& /*EventParams*/) {
  LoadFilesBox->Hide();
  SaveEdit->Hide();
  Status->setText("");
  Status->Hide();
}

void TORVServerForm::HelpButtonClick(TIWCustomControl& /*Sender*/) {
  const StringList& params = HelpButton->ExtraTagParams();
  const std::string address = params.empty() ? std::string() : params[0];
  // The design gives no help address; without one no browser is started on the server.
  if (address.find_first_not_of(" \t") == std::string::npos) return;
  StartNewBrowserWindow(address);
}

void TORVServerForm::IWAppFormDestroy(TIWAppForm& /*Sender*/) {
  std::vector<TIWCustomControl*> built;
  for (const InputRec& rec : InputList) {
    for (TIWCustomControl* c : {static_cast<TIWCustomControl*>(rec.aIWInput),
                                static_cast<TIWCustomControl*>(rec.aIWComboBox),
                                static_cast<TIWCustomControl*>(rec.VarNameLabel),
                                static_cast<TIWCustomControl*>(rec.UnitsLabel)}) {
      if (c) built.push_back(c);
    }
  }
  for (const OutputRec& rec : OutputList) {
    built.push_back(rec.aIWOutput);
    if (rec.VarNameLabel) built.push_back(rec.VarNameLabel);
  }
  for (const RadioGroupRec& rec : RadioGroupList) built.push_back(rec.aIWRadio);
  built.insert(built.end(), CheckBoxList.begin(), CheckBoxList.end());
  built.insert(built.end(), IMGList.begin(), IMGList.end());  // plot images included
  built.insert(built.end(), BoxList.begin(), BoxList.end());
  built.insert(built.end(), LabelList.begin(), LabelList.end());
  built.insert(built.end(), MemoList.begin(), MemoList.end());

  // Records first, so that no record points at a released control.
  InputList.clear();
  OutputList.clear();
  RadioGroupList.clear();
  CheckBoxList.clear();
  IMGList.clear();
  BoxList.clear();
  LabelList.clear();
  MemoList.clear();
  PlotList.clear();
  ORVDLayout.clear();
  SizeBitMap.reset();
  for (TIWCustomControl* control : built) removeControl(*control);
}

// The solve cycle (SolveButtonClick) is in SolveCycle.cpp; saved input sets
// (SaveButtonClick, LoadButtonClick, FillLoadFilesBox) are in InputSets.cpp.

}  // namespace orv
