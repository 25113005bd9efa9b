// Saved input sets: visitors keep the state of the page's inputs under a name in
// DATADir (shared by every session) and bring it back later. A set is a Windows-1252
// text file with CR LF line ends and TAB-separated fields:
//
//   line 1             the layout file's full path
//   one per INPUT      VarName TAB text   (string items: 'text')
//   one per DROPDOWN   "//Dropdown " TAB VarName TAB ItemIndex
//   one per RADIO      "//RadioGroup" TAB n TAB ItemIndex   (n from 1)
//   one per CHECKBOX   "//CheckBox" TAB n TAB TRUE|FALSE    (n from 1)
//   last               "//end"
//
// A set is written under a temporary name and renamed into place once complete, so no
// reader, crash or rejected input ever leaves a half-written set under a visitor's name.
#include "app/InputSets.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

#include "app/AnsiTextFile.h"
#include "app/LayoutText.h"
#include "app/Messages.h"
#include "app/WDiagramU.h"
#include "app/mylib/myLib.h"
#include "platform/CodePage.h"

namespace orv {

namespace {

constexpr std::string_view kSetExtension = ".OWS";
constexpr std::size_t kMaxSetNameLength = 255;

std::string upperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

namespace detail {

std::optional<std::string> inputSetFileName(std::string_view typed) {
  const std::size_t separator = typed.find_last_of("/\\");
  std::string name(separator == std::string_view::npos ? typed : typed.substr(separator + 1));
  if (name.empty()) return std::nullopt;
  if (std::any_of(name.begin(), name.end(),
                  [](char c) { return static_cast<unsigned char>(c) < ' ' || c == '\x7F'; })) {
    return std::nullopt;
  }
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  name += kSetExtension;
  if (utf8Length(name) > kMaxSetNameLength) return std::nullopt;
  return name;
}

std::optional<std::string> inputSetEntry(std::string_view fileName) {
  if (fileName.size() < kSetExtension.size() ||
      upperAscii(fileName.substr(fileName.size() - kSetExtension.size())) != kSetExtension) {
    return std::nullopt;
  }
  const std::size_t pos = fileName.find(kSetExtension);
  if (pos == std::string_view::npos) return std::nullopt;
  return std::string(fileName.substr(0, pos));
}

}  // namespace detail

namespace {

// Prefix of the temporary name a set is written under: hidden, and never a name the
// list of sets shows.
constexpr std::string_view kTemporaryPrefix = ".orv-set-";

bool isDirectory(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ensureDirectory(const std::string& path) {
  if (isDirectory(path)) return true;
  if (path.empty()) return false;
  return ::mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && isDirectory(path));
}

bool isStringInput(const InputRec& rec) {
  return (!rec.VarName.empty() && rec.VarName.back() == '$') ||
         rec.Format.Style == DecStyle::StrVar;
}

std::string trimmed(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

// A typed text as one field of a set line: a TAB inside it would start another field.
std::string asField(std::string text) {
  std::replace(text.begin(), text.end(), '\t', ' ');
  return text;
}

// Removes the temporary file of a save that did not complete.
class TemporaryFileRemover {
 public:
  explicit TemporaryFileRemover(std::string path) : path_(std::move(path)) {}
  TemporaryFileRemover(const TemporaryFileRemover&) = delete;
  TemporaryFileRemover& operator=(const TemporaryFileRemover&) = delete;
  ~TemporaryFileRemover() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  // The file now lives under its final name.
  void release() { path_.clear(); }

 private:
  std::string path_;
};

}  // namespace

void TORVServerForm::SaveButtonClick(TIWCustomControl& /*Sender*/) {
  LoadFilesBox->Hide();
  if (!SaveEdit->Visible()) {
    SaveEdit->setText(std::string(msg::kSaveEditPrompt));
    SaveEdit->Show();
    return;
  }

  if (!ensureDirectory(DATADir)) {
    Beep();
    return;
  }
  const std::optional<std::string> name = detail::inputSetFileName(SaveEdit->Text());
  if (!name) {
    Beep();  // the name field stays open for another name
    return;
  }
  const std::string path = DATADir + *name;

  std::optional<AnsiTextFile> file = AnsiTextFile::createTemporary(DATADir, kTemporaryPrefix);
  if (!file) {
    Beep();
    return;
  }
  TemporaryFileRemover remover(file->path());

  file->writeLine(DLYFile);
  for (const InputRec& rec : InputList) {
    if (rec.aIWInput == nullptr) continue;
    const std::string text = asField(rec.aIWInput->Text());
    if (isStringInput(rec)) {
      file->writeLine(rec.VarName + "\t'" + text + "'");
      continue;
    }
    bool ok = false;
    Str2Num(text, ok);
    if (!ok) {
      // The save ends here; a set saved earlier under this name stays as it was.
      if (rec.aIWInput->CanReceiveFocus()) rec.aIWInput->SetFocus();
      Beep();
      return;
    }
    file->writeLine(rec.VarName + "\t" + text);
  }
  for (const InputRec& rec : InputList) {
    if (rec.aIWComboBox == nullptr) continue;
    file->writeLine("//Dropdown \t" + rec.VarName + "\t" +
                    std::to_string(rec.aIWComboBox->ItemIndex()));
  }
  int n = 0;
  for (const RadioGroupRec& group : RadioGroupList) {
    file->writeLine("//RadioGroup\t" + std::to_string(++n) + "\t" +
                    std::to_string(group.aIWRadio->ItemIndex()));
  }
  n = 0;
  for (const TIWCheckBox* box : CheckBoxList) {
    file->writeLine("//CheckBox\t" + std::to_string(++n) + "\t" +
                    (box->Checked() ? "TRUE" : "FALSE"));
  }
  file->writeLine("//end");

  // A later save under the same name replaces this one whole (the later one wins).
  if (!file->close(true) || ::rename(file->path().c_str(), path.c_str()) != 0) {
    Beep();
    return;
  }
  remover.release();
  SaveEdit->Hide();
}

void TORVServerForm::LoadButtonClick(TIWCustomControl& /*Sender*/) {
  SaveEdit->Hide();
  if (!LoadFilesBox->Visible()) {
    FillLoadFilesBox();
    LoadFilesBox->Show();
    if (LoadFilesBox->Items().empty()) Beep();
    return;
  }

  const int index = LoadFilesBox->ItemIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= LoadFilesBox->Items().size()) return;
  const std::string path =
      DATADir + LoadFilesBox->Items()[static_cast<std::size_t>(index)] + std::string(".OWS");
  if (!isDirectory(DATADir)) {
    Beep();
    return;
  }
  LoadFilesBox->Hide();

  auto show = [this](const std::string& message) {
    Status->setText(message);
    Status->Show();
  };

  const std::optional<std::string> text = readAnsiTextFile(path);
  if (!text) {
    // Removed or made unreadable since the list was filled.
    show(msg::setUnreadable(path));
    Beep();
    return;
  }
  const std::vector<std::string> lines = splitLines(*text);
  std::size_t next = 0;
  // Past the last line every read gives an empty line, which no item line matches.
  auto readLine = [&]() { return next < lines.size() ? lines[next++] : std::string(); };

  const std::string writtenFor = readLine();
  if (writtenFor != DLYFile) {
    show(msg::setForOtherLayout(path, writtenFor));
    return;
  }

  // Once a value has been applied the shown results no longer belong to the inputs,
  // also when the loading ends early.
  bool applied = false;
  auto stop = [&](const std::string& message) {
    show(message);
    if (applied) GrayOut();
  };

  try {
    for (const InputRec& rec : InputList) {
      if (rec.aIWInput == nullptr) continue;
      std::string line = readLine();
      if (NextToken(line) != rec.VarName) return stop(msg::errorReadingInput(rec.VarName));
      std::string value = NextToken(line);
      if (isStringInput(rec)) RemoveQuotes(value);
      rec.aIWInput->setText(value);
      applied = true;
    }
    for (const InputRec& rec : InputList) {
      if (rec.aIWComboBox == nullptr) continue;
      std::string line = readLine();
      if (upperAscii(trimmed(NextToken(line))) != "//DROPDOWN") {
        return stop(msg::errorReadingDropdown(rec.VarName));
      }
      NextToken(line);  // the name, not compared
      const std::int32_t item = myStrtoInt(NextToken(line));
      // An entry the list does not have leaves it without a selection.
      const bool known =
          item >= 0 && static_cast<std::size_t>(item) < rec.aIWComboBox->Items().size();
      rec.aIWComboBox->setItemIndex(known ? item : -1);
      applied = true;
    }
    int n = 0;
    for (const RadioGroupRec& group : RadioGroupList) {
      ++n;
      std::string line = readLine();
      if (upperAscii(NextToken(line)) != "//RADIOGROUP")
        return stop(msg::errorReadingRadioGroup(n));
      (void)myStrtoInt(NextToken(line));  // the group is chosen by position
      const std::int32_t item = myStrtoInt(NextToken(line));
      // A button the group does not have gives its first button.
      const bool known = item >= 0 && item < group.NButtons &&
                         static_cast<std::size_t>(item) < group.aIWRadio->Items().size();
      group.aIWRadio->setItemIndex(known ? item : 0);
      applied = true;
    }
    n = 0;
    for (TIWCheckBox* box : CheckBoxList) {
      ++n;
      std::string line = readLine();
      if (upperAscii(NextToken(line)) != "//CHECKBOX") return stop(msg::errorReadingCheckBox(n));
      (void)myStrtoInt(NextToken(line));
      box->setChecked(upperAscii(NextToken(line)) != "FALSE");
      applied = true;
    }
  } catch (...) {
    // A number field that is not a whole number ends the loading with the conversion
    // error, which the framework reports.
    if (applied) GrayOut();
    throw;
  }
  GrayOut();
}

void TORVServerForm::FillLoadFilesBox() {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(DATADir.empty() ? nullptr : ::opendir(DATADir.c_str()),
                                          &::closedir);
  if (!dir) {
    Beep();  // the list keeps what it showed before
    return;
  }
  std::vector<std::string> entries;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    std::optional<std::string> shown = detail::inputSetEntry(name);
    if (shown && isRegularFile(DATADir + name)) entries.push_back(std::move(*shown));
  }
  // A Windows directory lists names in case-insensitive order; a Linux one in no useful
  // order, so the list is sorted the same way.
  std::sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
    const std::string ua = upperAscii(a);
    const std::string ub = upperAscii(b);
    return ua != ub ? ua < ub : a < b;
  });
  LoadFilesBox->Items().assign(std::move(entries));
}

}  // namespace orv
