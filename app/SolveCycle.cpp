// The solve cycle: what the calculate button does. It checks the visitor's numeric
// inputs, writes them with the page's export requests into a solver input file, runs the
// solver program and waits for it, and shows the result line (or the error line) the
// solver wrote.
//
// Files of concurrent cycles never meet: each cycle holds a number of the process's
// CycleNumberPool while it deals with its files, and exports its plots to files of its
// own, so one visitor never reads, deletes or sees what another visitor's solver wrote.
#include "app/SolveCycle.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <thread>
#include <vector>

#include "app/AnsiTextFile.h"
#include "app/CycleNumberPool.h"
#include "app/Messages.h"
#include "app/WDiagramU.h"
#include "app/mylib/myLib.h"
#include "platform/Picture.h"

namespace orv {

namespace detail {

namespace {

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string trimmed(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && isBlankOrControl(s[b])) ++b;
  while (e > b && isBlankOrControl(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Position of the first ".DLY" in any letter case, or npos.
std::size_t findDly(std::string_view name) {
  constexpr std::string_view kDly = ".DLY";
  for (std::size_t i = 0; i + kDly.size() <= name.size(); ++i) {
    bool match = true;
    for (std::size_t k = 0; k < kDly.size() && match; ++k) match = upper(name[i + k]) == kDly[k];
    if (match) return i;
  }
  return std::string_view::npos;
}

std::string quotedIfBlank(std::string_view word) {
  if (word.find_first_of(" \t") == std::string_view::npos) return std::string(word);
  return "\"" + std::string(word) + "\"";
}

}  // namespace

std::string solveCycleBase(std::string_view dlyFile, int port, int number) {
  const std::size_t nameStart =
      dlyFile.rfind('/') == std::string_view::npos ? 0 : dlyFile.rfind('/') + 1;
  const std::string_view name = dlyFile.substr(nameStart);
  const std::size_t dly = findDly(name);
  const std::string_view stem = dly == std::string_view::npos ? name : name.substr(0, dly);
  return std::string(dlyFile.substr(0, nameStart)) + std::string(stem) + "@" +
         std::to_string(port) + "_" + std::to_string(number);
}

std::string plotCycleFile(std::string_view plotFile, int port, int number) {
  const std::size_t slash = plotFile.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::size_t dot = plotFile.rfind('.');
  if (dot == std::string_view::npos || dot < nameStart) dot = plotFile.size();
  return std::string(plotFile.substr(0, dot)) + "@" + std::to_string(port) + "_" +
         std::to_string(number) + std::string(plotFile.substr(dot));
}

std::string solverCommandLine(std::string_view program, std::string_view inputFile) {
  const std::string argument = "/DIAGRAMINPUT=" + std::string(inputFile);
  return quotedIfBlank(program) + " " + quotedIfBlank(argument);
}

ResultField splitResultField(std::string_view field) {
  const std::size_t bracket = field.find('[');
  if (bracket == std::string_view::npos) return {std::string(field), {}};
  return {trimmed(field.substr(0, bracket)), trimmed(field.substr(bracket))};
}

std::string secondsText(std::chrono::milliseconds limit) {
  const std::int64_t ms = limit.count();
  std::string text = std::to_string(ms / 1000);
  if (const std::int64_t rest = ms % 1000; rest != 0) {
    std::string fraction = std::to_string(rest < 0 ? -rest : rest);
    fraction.insert(0, 3 - fraction.size(), '0');
    while (fraction.back() == '0') fraction.pop_back();
    if (ms < 0 && ms / 1000 == 0) text = "-" + text;
    text += "." + fraction;
  }
  return text;
}

}  // namespace detail

namespace {

// The solver gets this long to write its result or error file after its process ended
// (251 looks, 5 ms apart: a file system that shows a new file late is waited for).
constexpr int kResultPolls = 251;
constexpr auto kResultPollInterval = std::chrono::milliseconds(5);

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

void removeFile(const std::string& path) { ::unlink(path.c_str()); }

bool isStringInput(const InputRec& rec) {
  return (!rec.VarName.empty() && rec.VarName.back() == '$') ||
         rec.Format.Style == DecStyle::StrVar;
}

// The names of one cycle's files, and the clean-up of those the solver may have left.
struct CycleFiles {
  std::string input;               // base + ".TXT": written by the cycle
  std::string result;              // base + ".out": written by the solver on success
  std::string error;               // base + ".err": written by the solver on failure
  std::vector<std::string> plots;  // one per plot, in PlotList order

  // Removes what the solver wrote (result, error, plot pictures) unless the operator
  // keeps the files.
  void removeSolverFiles() const {
    if (TORVServerForm::ShiftKey()) return;
    removeFile(result);
    removeFile(error);
    for (const std::string& plot : plots) removeFile(plot);
  }
};

// Removes every file of the cycle when an error leaves the handler early (a file the
// system refused to write or read, a plot picture that cannot be loaded), unless the
// operator keeps the files.
class RemoveOnError {
 public:
  explicit RemoveOnError(const CycleFiles& files) : files_(files) {}
  RemoveOnError(const RemoveOnError&) = delete;
  RemoveOnError& operator=(const RemoveOnError&) = delete;
  ~RemoveOnError() {
    if (std::uncaught_exceptions() > uncaught_ && !TORVServerForm::ShiftKey()) {
      removeFile(files_.input);
      files_.removeSolverFiles();
    }
  }

 private:
  const CycleFiles& files_;  // lives in the handler's frame, as this guard does
  int uncaught_ = std::uncaught_exceptions();
};

}  // namespace

void TORVServerForm::SolveButtonClick(TIWCustomControl& /*Sender*/) {
  Status->setText(std::string(msg::kCalculating));
  Status->Show();
  LoadFilesBox->Hide();
  SaveEdit->Hide();

  // A page that found no layout file with its solver has nothing to run, and no folder
  // to put the cycle's files in.
  if (DLYFile.empty() || ORVName.empty()) {
    Status->setText(std::string(msg::kProgramDidNotRun));
    Beep();
    return;
  }

  // Held until this handler has dealt with every file of the cycle.
  const CycleNumberPool::Lease lease = CycleNumberPool::process().acquire();
  const std::string base = detail::solveCycleBase(DLYFile, port_, lease.number());
  CycleFiles files{base + ".TXT", base + ".out", base + ".err", {}};
  files.plots.reserve(PlotList.size());
  for (const PlotInfoRec& plot : PlotList) {
    files.plots.push_back(detail::plotCycleFile(plot.FN, port_, lease.number()));
  }
  const RemoveOnError removeOnError(files);

  // --- The solver input file ----------------------------------------------------------
  if (fileExists(files.input)) removeFile(files.input);
  std::optional<AnsiTextFile> input = AnsiTextFile::create(files.input);
  if (!input) throw std::runtime_error(msg::cycleFileNotWritten(files.input));

  // A rejected input ends the cycle: the edit gets the focus, the message shows, and
  // the input file goes.
  auto reject = [&](TIWEdit& edit, const std::string& message) {
    if (edit.CanReceiveFocus()) edit.SetFocus();
    Status->setText(message);
    Status->Show();
    input.reset();  // closed without writing what was collected
    removeFile(files.input);
  };

  for (const InputRec& rec : InputList) {
    if (rec.aIWInput != nullptr) {
      const std::string& text = rec.aIWInput->Text();
      if (isStringInput(rec)) {
        input->writeLine(rec.VarName + "='" + text + "'");
        continue;
      }
      bool ok = false;
      const long double value = Str2Num(text, ok);
      if (!ok) return reject(*rec.aIWInput, msg::illegalInput(rec.VarName, text));
      if (value < rec.Lower) {
        return reject(*rec.aIWInput,
                      msg::mustBeGreaterThan(rec.VarName, AutoSVAL(rec.Lower, rec.Format)));
      }
      if (value > rec.Upper) {
        return reject(*rec.aIWInput,
                      msg::mustBeLessThan(rec.VarName, AutoSVAL(rec.Upper, rec.Format)));
      }
      // The text as typed, not the number read from it: "1,5e3" stays "1,5e3".
      input->writeLine(rec.VarName + "=" + text);
    } else if (rec.aIWComboBox != nullptr && rec.DropDown) {
      // A list without a chosen entry has nothing to say.
      const int index = rec.aIWComboBox->ItemIndex();
      if (index < 0 || static_cast<std::size_t>(index) >= rec.DropDown->size()) continue;
      const std::string& entry = (*rec.DropDown)[static_cast<std::size_t>(index)];
      if (entry.find('\'') == std::string::npos) input->writeLine(rec.VarName + "='" + entry + "'");
      if (const auto marker = entry.find("//"); marker != std::string::npos) {
        input->writeLine(entry.substr(marker + 2));
      }
    }
  }

  for (const TIWCheckBox* box : CheckBoxList) {
    // Lines before the first "--" apply to a checked box, lines after it to an
    // unchecked one.
    bool afterDivider = false;
    for (const std::string& line : box->ExtraTagParams()) {
      if (line == "--") {
        afterDivider = true;
      } else if (line != "<>" && box->Checked() != afterDivider) {
        input->writeLine(line);
      }
    }
  }

  for (const RadioGroupRec& group : RadioGroupList) {
    if (const std::vector<std::string>* block = group.blockOfItem(group.aIWRadio->ItemIndex())) {
      for (const std::string& line : *block) input->writeLine(line);
    }
  }

  // Whatever lies under the names the solver will write is not this cycle's answer.
  if (fileExists(files.result)) removeFile(files.result);
  for (const std::string& plot : files.plots) {
    if (fileExists(plot)) removeFile(plot);
  }
  std::string exportLine = "$EXPORT '" + files.result + "' /U /D ";
  for (const OutputRec& rec : OutputList) exportLine += rec.VarName + " ";
  input->writeLine(exportLine);
  for (std::size_t i = 0; i < PlotList.size(); ++i) {
    input->writeLine("$EXPORTPLOT '" + files.plots[i] + "' " +
                     std::to_string(PlotList[i].PlotWindowNo) + " /R=1");
  }
  if (!input->close()) throw std::runtime_error(msg::cycleFileNotWritten(files.input));

  // --- The solver's run -----------------------------------------------------------------
  const std::chrono::milliseconds limit = SolverTimeLimit();
  const ProcessOutcome outcome =
      RunProgramOK(detail::solverCommandLine(ORVName, files.input), MainDir, limit);
  if (outcome == ProcessOutcome::StartFailed) {
    // The input file stays for whoever looks into the failed start.
    Status->setText(std::string(msg::kProgramDidNotRun));
    Status->Show();
    Beep();
    return;
  }
  if (outcome == ProcessOutcome::TimedOut) {
    // The solver was stopped with everything it started; nothing it left is an answer.
    if (!ShiftKey()) removeFile(files.input);
    files.removeSolverFiles();
    Status->setText(msg::programDidNotFinish(detail::secondsText(limit)));
    Status->Show();
    return;
  }

  if (!ShiftKey()) removeFile(files.input);
  Status->setText(std::string(msg::kCalculatingPleaseWait));
  Status->Show();

  for (int poll = 0; poll < kResultPolls; ++poll) {
    std::this_thread::sleep_for(kResultPollInterval);
    if (fileExists(files.result) || fileExists(files.error)) break;
  }

  // --- The solver's answer ----------------------------------------------------------------
  if (fileExists(files.error)) {
    // The error file wins over a result file written as well.
    const std::optional<std::string> line = readAnsiFirstLine(files.error);
    if (!line) throw std::runtime_error(msg::cycleFileNotRead(files.error));
    Status->setText(msg::solverError(*line));
    Status->Show();
    removeFile(files.result);
    files.removeSolverFiles();
    return;
  }

  if (!fileExists(files.result)) {
    Status->setText(std::string(msg::kOutputFileNotFound));
    Status->Show();
    files.removeSolverFiles();
    return;
  }

  std::optional<std::string> resultLine = readAnsiFirstLine(files.result);
  if (!resultLine) throw std::runtime_error(msg::cycleFileNotRead(files.result));
  if (!ShiftKey()) removeFile(files.result);
  Status->Hide();
  Status->setText("");

  for (const OutputRec& rec : OutputList) {
    std::string field = NextToken(*resultLine);
    if (rec.Format.Style == DecStyle::StrVar) {
      // A string result shows as written and keeps its colour.
      rec.aIWOutput->setText(field);
      continue;
    }
    // The solver formatted the number; it is shown as written.
    detail::ResultField parts = detail::splitResultField(field);
    std::string text = std::move(parts.value);
    if (rec.ShowUnits) text += " " + parts.units;
    rec.aIWOutput->setText(text);
    rec.aIWOutput->WebFont().setColor(rec.FontColor);
  }

  for (std::size_t i = 0; i < PlotList.size(); ++i) {
    const PlotInfoRec& plot = PlotList[i];
    // A plot the solver did not draw this time keeps its picture.
    if (!fileExists(files.plots[i])) continue;
    plot.theImage->Picture().LoadFromFile(files.plots[i]);
    plot.theImage->setWidth(plot.Width);
    plot.theImage->setHeight(plot.Height);
    const std::int64_t right = std::int64_t{plot.theImage->Left()} + plot.theImage->Width();
    if (right > std::int64_t{Status->Left()} + Status->Width()) {
      Status->setWidth(static_cast<int>(std::min<std::int64_t>(right - Status->Left(), INT32_MAX)));
    }
  }
  files.removeSolverFiles();
}

}  // namespace orv
