#pragma once
// The records with which the calculator page remembers the items of its layout file:
// one InputRec per INPUT or DROPDOWN line, one OutputRec per OUTPUT line, one
// PlotInfoRec per PLOT line and one RadioGroupRec per RADIO line.
//
// The page (TORVServerForm) owns its records and the string lists inside them. The
// control pointers in a record are non-owning links: the page owns every control it
// creates and keeps them alive as long as the records. Records are used only by the
// thread that holds the page's session.
//
// Short strings: VarName and Units hold at most 255 characters (kShortStringMax);
// longer text is cut, never inside a character.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/mylib/myLib.h"

namespace orv {

class TIWEdit;
class TIWRectangle;
class TIWComboBox;
class TIWImage;
class TIWRadioGroup;

// Characters a short string of a record holds.
inline constexpr std::size_t kShortStringMax = 255;
// Buttons a radio group holds at most (the size of its doWhenChecked array).
inline constexpr int kMaxRadioButtons = 20;

// The first 255 characters of a text (short strings of the records).
std::string shortString(std::string_view text);

// A rectangle: Left, Top, Right, Bottom.
struct TRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
};

// One INPUT or DROPDOWN line. Fields marked for one kind hold no defined value for the
// other kind and are never read for it.
struct InputRec {
  std::int32_t VarNo = 0;  // not used
  std::string VarName;     // short string
  long double Value = 0;   // not used
  long double Lower = 0;   // INPUT: lower bound
  long double Upper = 0;   // INPUT: upper bound
  std::string Units;       // short string
  DecForm Format;          // INPUT: display format of the value
  TRect theRect;           // not used
  bool BoldOn = false;
  bool ItalicOn = false;
  bool UnderlineOn = false;
  bool ShowVarName = false;
  bool ShowUnits = false;
  std::int32_t SizeNo = 0;
  std::int32_t FontNo = 0;
  std::int32_t StyleNo = 0;
  std::int32_t W = 0;                    // INPUT: width field; DROPDOWN: widest item text in pixels
  std::int32_t H = 0;                    // INPUT: height field + 4; DROPDOWN: height field
  std::int32_t FontColor = 0;            // not used
  TIWEdit* aIWInput = nullptr;           // INPUT: the edit box
  TIWRectangle* VarNameLabel = nullptr;  // the name label, when shown
  TIWRectangle* UnitsLabel = nullptr;    // INPUT: the units label, when shown
  TIWComboBox* aIWComboBox = nullptr;    // DROPDOWN: the combo box
  std::optional<std::vector<std::string>> DropDown;  // DROPDOWN: the raw item lines
};

// One OUTPUT line.
struct OutputRec {
  std::int32_t VarNo = 0;  // not used
  std::string VarName;     // short string
  std::string Units;       // short string
  DecForm Format;          // display format of the result
  TRect theRect;           // not used
  bool BoldOn = false;
  bool ItalicOn = false;
  bool UnderlineOn = false;
  bool ShowVarName = false;
  bool ShowUnits = false;
  std::int32_t SizeNo = 0;
  std::int32_t FontNo = 0;
  std::int32_t StyleNo = 0;
  std::int32_t W = 0;                 // pixel width of the text with its units (units shown only)
  std::int32_t H = 0;                 // not used
  std::int32_t FontColor = 0;         // the line's text colour, given back when a result shows
  TIWRectangle* aIWOutput = nullptr;  // the output field
  TIWRectangle* VarNameLabel = nullptr;  // the name label, when shown
};

// One PLOT line.
struct PlotInfoRec {
  std::string FN;                 // IMGDir + the picture's file name
  std::int32_t PlotWindowNo = 0;  // the solver's plot window number
  std::int32_t Width = 0;         // pixel size of the picture when the page was built
  std::int32_t Height = 0;
  TIWImage* theImage = nullptr;
};

// One RADIO line.
struct RadioGroupRec {
  std::int32_t NButtons = 0;  // 0 to kMaxRadioButtons
  TIWRadioGroup* aIWRadio = nullptr;
  // Entry i - 1 holds the lines of button i's block; entries from NButtons on are empty.
  std::array<std::vector<std::string>, kMaxRadioButtons> doWhenChecked;

  // The block of the button with that 0-based index (a group's ItemIndex), or none when
  // the index names no button of this group.
  const std::vector<std::string>* blockOfItem(int itemIndex) const {
    if (itemIndex < 0 || itemIndex >= NButtons || itemIndex >= kMaxRadioButtons) return nullptr;
    return &doWhenChecked[static_cast<std::size_t>(itemIndex)];
  }
};

}  // namespace orv
