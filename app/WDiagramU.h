#pragma once
// TORVServerForm, the calculator page: one per browser session. Its creation handler
// (IWAppFormCreate) finds the layout file ("*.DLY") and the solver program (".EXE" of
// the same base name) in the server's directory, reads the layout line by line and
// turns each item line into hidden controls at absolute pixel positions, remembered in
// the page's item lists. Until the visitor presses Continue the page shows only its
// four header lines and the Continue button (the title screen); IWContinueBClick then
// shows the diagram.
//
// Ownership: the page owns every control it creates (through TIWContainer), the records
// of its item lists with the string lists inside them, the layout text and the
// measuring object. The control pointers of the fields and records are non-owning links
// to page-owned controls.
//
// Failure: a faulty layout line throws std::runtime_error out of IWAppFormCreate (and so
// out of TIWAppForm::createForm) with a message naming the line; the page's owner
// releases the half-built page with all its controls. Without a layout file and solver
// program the page is built with only its status text.
//
// Threads: a page belongs to one session and runs on the thread that holds that
// session's lock. Pages of different sessions are built at the same time on different
// threads; each has its own lists and measuring object. The one piece of process state
// a page touches is the current directory, which every page sets to the same MainDir.
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/PageRecords.h"
#include "framework/controls/StringList.h"
#include "framework/controls/TIWAppForm.h"
#include "framework/controls/TIWButton.h"
#include "framework/controls/TIWCheckBox.h"
#include "framework/controls/TIWComboBox.h"
#include "framework/controls/TIWEdit.h"
#include "framework/controls/TIWImage.h"
#include "framework/controls/TIWLabel.h"
#include "framework/controls/TIWMemo.h"
#include "framework/controls/TIWRadioGroup.h"
#include "framework/controls/TIWRectangle.h"
#include "platform/TextMeasure.h"

namespace orv {

// Where a page finds its files and which port its header names. The defaults are
// those of the running server; tests and tools give their own.
struct ServerFormSettings {
  // The server's directory (MainDir); empty: the application path of the executable.
  std::string mainDir;
  // The listening port for the header line; none: the server controller's Port
  // (0 while no controller exists).
  std::optional<int> port;
  // How long the solver program of a solve cycle may run before it is stopped with
  // everything it started; none: kDefaultSolverTimeLimit.
  std::optional<std::chrono::milliseconds> solverTimeLimit = std::nullopt;
};

// A solver still running after this long is stopped and the visitor told so.
inline constexpr std::chrono::milliseconds kDefaultSolverTimeLimit = std::chrono::seconds(300);

class TORVServerForm : public TIWAppForm {
 public:
  // Builds the page's design-time controls and settings; the layout is read by
  // IWAppFormCreate, which DoCreate() (or TIWAppForm::createForm) runs.
  explicit TORVServerForm(ServerFormSettings settings = {});
  ~TORVServerForm() override;

  const char* ClassName() const override { return "TORVServerForm"; }

  // --- Design-time controls (owned by the page) --------------------------------------
  TIWButton* SaveButton = nullptr;
  TIWEdit* SaveEdit = nullptr;
  TIWButton* LoadButton = nullptr;
  TIWComboBox* LoadFilesBox = nullptr;
  TIWButton* HelpButton = nullptr;
  TIWButton* SolveButton = nullptr;
  TIWRectangle* Status = nullptr;
  TIWButton* IWContinueB = nullptr;
  TIWLabel* Header1 = nullptr;
  TIWLabel* Header2 = nullptr;
  TIWLabel* Header3 = nullptr;
  TIWLabel* Header4 = nullptr;

  // --- Fields --------------------------------------------------------------------------
  std::vector<std::string> ORVDLayout;        // all lines of the layout file
  std::vector<InputRec> InputList;            // one per INPUT or DROPDOWN line
  std::vector<OutputRec> OutputList;          // one per OUTPUT line
  std::vector<TIWCheckBox*> CheckBoxList;     // one per CHECKBOX line
  std::vector<RadioGroupRec> RadioGroupList;  // one per RADIO line
  std::vector<TIWImage*> IMGList;             // one per IMG, LINE or PLOT line
  std::vector<TIWRectangle*> BoxList;         // one per BOX or RULE line
  std::vector<TIWRectangle*> LabelList;       // one per LABEL line
  std::vector<TIWMemo*> MemoList;             // one per MEMO line
  std::vector<PlotInfoRec> PlotList;          // one per PLOT line
  std::string IMGDir;                         // MainDir + "IMGS/"
  std::string DATADir;                        // MainDir + "DATA/"
  std::string DLYFile;  // full path of the layout file; empty when none was found
  std::string ORVName;  // file name (no directory) of the solver program
  std::string MainDir;  // the server's directory, ending in "/"
  std::unique_ptr<TextMeasurer> SizeBitMap;  // measures text (GetWidth, GetHeight)
  bool HasLoadButton = false;
  bool HasSaveButton = false;
  bool HasHelpButton = false;
  bool HasCalcButton = false;

  // --- Creation ---------------------------------------------------------------------
  // Locates and reads the layout file and builds every item hidden. Throws
  // std::runtime_error (message naming the layout line) for a faulty layout.
  void IWAppFormCreate(TIWAppForm& Sender);
  // Finds the layout file with its solver program in MainDir (made the process's
  // current directory first): the full path of the layout file, or empty. Sets ORVName.
  std::string GetDLYName();
  // Removes the first TAB-separated field from S and returns it; past the last field
  // the result is empty.
  static std::string NextToken(std::string& S);
  // Whether the operator asks to keep the solver's files (the server's "Shift key").
  static bool ShiftKey();

  // Handlers of the layout's item lines; each gets the rest of its line after the
  // keyword. Those with continuation lines advance lp().
  void SetScreen(std::string& S);
  void AddHeader();
  void AddInput(std::string& S);
  void AddDropDown(std::string& S);
  void AddOUTPUT(std::string& S);
  void AddMemo(std::string& S);
  void AddLabel(std::string& S);
  void AddGIF(std::string S, bool isLine);
  void AddPLOT(std::string S);
  void AddRule(std::string& S);
  void AddBox(std::string& S);
  void AddCheckBox(std::string& S);
  void AddRadioGroup(std::string& S);
  void AddCalcButton(std::string& S);
  void AddSaveButton(std::string& S);
  void AddLoadButton(std::string& S);
  void AddHelpButton(std::string& S);

  // Width and height in pixels of S drawn in that family, point size and style bits.
  int GetWidth(const std::string& S, const std::string& FontName, int Size, unsigned Style) const;
  int GetHeight(const std::string& S, const std::string& FontName, int Size, unsigned Style) const;

  // The point size of a font given as a pixel height at the server's 96 pixels per
  // inch: SizeNo * 72 / 96, halves rounded to the even neighbour.
  static int PointSizeFromPixels(std::int32_t SizeNo);

  // The line index of the page creation: inside a handler, the handler's line index + 1
  // (its line number counted from 1).
  int lp() const { return lp_; }
  // The rightmost edge of the controls counted so far.
  int MaxX() const { return maxX_; }
  // The port the header names.
  int Port() const { return port_; }

  // --- Page lifecycle and status -----------------------------------------------------
  void IWContinueBClick(TIWCustomControl& Sender);
  // Turns every output grey: its result no longer belongs to the inputs.
  void GrayOut();
  void IWEdit1AsyncChange(TIWCustomControl& Sender, const StringList& EventParams);
  void StatusLabelAsyncClick(TIWCustomControl& Sender, const StringList& EventParams);
  void HelpButtonClick(TIWCustomControl& Sender);
  // Releases the item controls, their records and the layout text. Runs once, from
  // DoDestroy(); the destructor releases everything in any case.
  void IWAppFormDestroy(TIWAppForm& Sender);

  // --- Solve cycle and input sets -----------------------------------------------------
  void SolveButtonClick(TIWCustomControl& Sender);
  void SaveButtonClick(TIWCustomControl& Sender);
  void LoadButtonClick(TIWCustomControl& Sender);
  // Fills LoadFilesBox with the names of the sets in DATADir.
  void FillLoadFilesBox();
  // The solver time limit in force.
  std::chrono::milliseconds SolverTimeLimit() const {
    return settings_.solverTimeLimit.value_or(kDefaultSolverTimeLimit);
  }

 private:
  // The next continuation line (advancing lp_), or none at the end of the file.
  std::optional<std::string> nextLayoutLine();
  // Lines left after the current one.
  int linesLeft() const;
  // MaxX := max(MaxX, Left + Width) of the control as placed.
  void extend(const TIWToolkitBaseControl& control);
  // Wires a built input control to the page's asynchronous change / click handlers.
  void wireAsyncChange(TIWCustomControl& control);
  void wireAsyncClick(TIWCustomControl& control);
  // Places a CALCBUTTON, SAVEBUTTON or LOADBUTTON line's button and its companion.
  void placeButton(std::string& S, std::string_view keyword, TIWButton& button,
                   TIWCustomControl* companion, bool& flag);
  // Runs the handler of one item line.
  void dispatch(const std::string& keyword, std::string& S);

  ServerFormSettings settings_;
  int port_ = 0;
  int lp_ = 0;
  int maxX_ = 0;
};

}  // namespace orv
