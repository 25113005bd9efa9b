// External programs of myLib: starting and waiting for programs, the program
// associated with a file extension, the browser, and the warning sound.
#include <unistd.h>

#include <sys/stat.h>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "app/mylib/myLib.h"
#include "platform/Beep.h"
#include "platform/CodePage.h"
#include "platform/Process.h"

namespace orv {

namespace {

// The command text once went into a buffer of 256 characters; a longer text is refused
// whole, because a cut path could start another program or name another file.
constexpr std::size_t kMaxCommandLength = 255;
// Results of GetProgramAssociation hold at most 255 characters (longer: none found).
constexpr std::size_t kMaxAssociationLength = 255;

constexpr unsigned kBeepWarning = 25;
constexpr unsigned kBeepFailedStart = 5;

std::string trimmed(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

std::string upperAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// The extension as file-name functions take it: from the last "." that comes after the
// last folder separator ("/", or "\" and ":" of a name written on Windows).
std::string extractFileExt(const std::string& name) {
  const auto dot = name.find_last_of(".\\/:");
  if (dot == std::string::npos || name[dot] != '.') return {};
  return name.substr(dot);
}

std::size_t removeApostrophes(std::string& text) { return std::erase(text, '\''); }

ProcessOutcome runProgram(const std::string& command, const std::string& workingDir,
                          std::optional<std::chrono::milliseconds> limit) {
  std::string text = trimmed(command);
  if (utf8Length(text) > kMaxCommandLength) {
    MessageBeep(kBeepFailedStart);
    return ProcessOutcome::StartFailed;
  }
  // Anything but a program file is first offered to the desktop's "open" action; there
  // is no process to wait for when it opens.
  if (upperAscii(extractFileExt(text)) != ".EXE" && shellOpen(text)) {
    return ProcessOutcome::Finished;
  }
  ProcessResult result = runProcessAndWait(text, workingDir, limit);
  if (result.outcome == ProcessOutcome::StartFailed) {
    RemoveAnsiQuotes(text);
    result = runProcessAndWait(text, workingDir, limit);
  }
  if (result.outcome == ProcessOutcome::StartFailed) MessageBeep(kBeepFailedStart);
  return result.outcome;
}

// --- Associations through the desktop's shared MIME database -------------------------

std::string envOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return (v != nullptr && *v != '\0') ? std::string(v) : fallback;
}

std::vector<std::string> splitList(const std::string& list, char separator) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= list.size()) {
    const auto end = list.find(separator, start);
    std::string item =
        list.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!item.empty()) out.push_back(std::move(item));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

std::string homeDir() { return envOr("HOME", ""); }

// $XDG_DATA_HOME, then $XDG_DATA_DIRS (with the base directory defaults).
std::vector<std::string> dataDirs() {
  std::vector<std::string> dirs;
  const std::string home = homeDir();
  const std::string dataHome = envOr("XDG_DATA_HOME", home.empty() ? "" : home + "/.local/share");
  if (!dataHome.empty()) dirs.push_back(dataHome);
  for (auto& d : splitList(envOr("XDG_DATA_DIRS", "/usr/local/share:/usr/share"), ':')) {
    dirs.push_back(std::move(d));
  }
  return dirs;
}

// $XDG_CONFIG_HOME, then $XDG_CONFIG_DIRS.
std::vector<std::string> configDirs() {
  std::vector<std::string> dirs;
  const std::string home = homeDir();
  const std::string configHome = envOr("XDG_CONFIG_HOME", home.empty() ? "" : home + "/.config");
  if (!configHome.empty()) dirs.push_back(configHome);
  for (auto& d : splitList(envOr("XDG_CONFIG_DIRS", "/etc/xdg"), ':')) dirs.push_back(std::move(d));
  return dirs;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The MIME type of an extension: the shared MIME globs first (highest weight in the
// first file that knows the extension), then /etc/mime.types.
std::string mimeTypeOf(const std::string& extension) {
  const std::string pattern = "*." + extension;
  for (const auto& dir : dataDirs()) {
    std::ifstream in(dir + "/mime/globs2");
    std::string line;
    std::string best;
    long bestWeight = -1;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      const auto fields = splitList(line, ':');  // weight:type:glob[:flags]
      if (fields.size() < 3 || !equalsIgnoreCase(fields[2], pattern)) continue;
      const long weight = std::strtol(fields[0].c_str(), nullptr, 10);
      if (weight > bestWeight) {
        bestWeight = weight;
        best = fields[1];
      }
    }
    if (!best.empty()) return best;
  }
  std::ifstream in("/etc/mime.types");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const auto words = splitList(line, '\t');
    std::vector<std::string> all;
    for (const auto& w : words) {
      for (auto& x : splitList(w, ' ')) all.push_back(std::move(x));
    }
    for (std::size_t i = 1; i < all.size(); ++i) {
      if (equalsIgnoreCase(all[i], extension)) return all[0];
    }
  }
  return {};
}

// The full path of a desktop entry id, or empty text.
std::string desktopEntryPath(const std::string& id) {
  if (id.find('/') != std::string::npos) return {};
  for (const auto& dir : dataDirs()) {
    const std::string path = dir + "/applications/" + id;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return path;
  }
  return {};
}

// The desktop entries listed for a MIME type under [section] of an association file,
// in their order.
std::vector<std::string> listedEntries(const std::string& file, std::string_view section,
                                       const std::string& mimeType) {
  std::ifstream in(file);
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inSection = line == "[" + std::string(section) + "]";
      continue;
    }
    if (!inSection) continue;
    const auto eq = line.find('=');
    if (eq == std::string::npos || trimmed(line.substr(0, eq)) != mimeType) continue;
    return splitList(trimmed(line.substr(eq + 1)), ';');
  }
  return {};
}

// The desktop entry file of the default application of a MIME type, or empty text.
std::string defaultApplication(const std::string& mimeType) {
  std::vector<std::string> lists;
  for (const auto& dir : configDirs()) lists.push_back(dir + "/mimeapps.list");
  for (const auto& dir : dataDirs()) lists.push_back(dir + "/applications/mimeapps.list");
  for (const auto& dir : dataDirs()) lists.push_back(dir + "/applications/defaults.list");
  for (std::string_view section : {"Default Applications", "Added Associations"}) {
    for (const auto& list : lists) {
      for (const auto& id : listedEntries(list, section, mimeType)) {
        if (auto path = desktopEntryPath(id); !path.empty()) return path;
      }
    }
  }
  for (const auto& dir : dataDirs()) {
    for (const auto& id :
         listedEntries(dir + "/applications/mimeinfo.cache", "MIME Cache", mimeType)) {
      if (auto path = desktopEntryPath(id); !path.empty()) return path;
    }
  }
  return {};
}

// The Exec= value of a desktop entry file's [Desktop Entry] group.
std::string desktopExec(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  bool inGroup = false;
  while (std::getline(in, line)) {
    line = trimmed(line);
    if (!line.empty() && line[0] == '[') {
      inGroup = line == "[Desktop Entry]";
      continue;
    }
    if (inGroup && line.starts_with("Exec=")) return trimmed(line.substr(5));
  }
  return {};
}

std::string findOnPath(const std::string& program) {
  for (const auto& dir : splitList(envOr("PATH", "/usr/bin:/bin"), ':')) {
    const std::string path = dir + "/" + program;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(path.c_str(), X_OK) == 0) {
      return path;
    }
  }
  return {};
}

// A command value reduced to its program: cut at the first "%", a leading double quote
// removed, cut at the next double quote, blanks at the end removed.
std::string programOfCommand(std::string value) {
  if (const auto pct = value.find('%'); pct != std::string::npos) value.erase(pct);
  if (!value.empty() && value[0] == '"') value.erase(0, 1);
  if (const auto quote = value.find('"'); quote != std::string::npos) value.erase(quote);
  while (!value.empty() && value.back() == ' ') value.pop_back();
  return value;
}

}  // namespace

bool RunProgramOK(const std::string& command, const std::string& workingDir) {
  return runProgram(command, workingDir, std::nullopt) == ProcessOutcome::Finished;
}

ProcessOutcome RunProgramOK(const std::string& command, const std::string& workingDir,
                            std::chrono::milliseconds timeLimit) {
  return runProgram(command, workingDir, timeLimit);
}

std::string GetProgramAssociation(const std::string& extension) {
  std::string found;
  const std::string upper = upperAscii(extension);
  if (upper == "HTM" || upper == "HTML") {
    const auto browsers = splitList(envOr("BROWSER", ""), ':');
    found = browsers.empty() ? findOnPath("xdg-open") : browsers.front();
  } else if (!extension.empty()) {
    if (const auto mimeType = mimeTypeOf(extension); !mimeType.empty()) {
      if (const auto entry = defaultApplication(mimeType); !entry.empty()) {
        found = desktopExec(entry);
      }
    }
  }
  found = programOfCommand(std::move(found));
  if (utf8Length(found) > kMaxAssociationLength) return {};
  return found;
}

bool StartNewBrowserWindow(const std::string& URL) {
  const std::string app = GetProgramAssociation("HTM");
  if (app.empty()) return false;
  // A program path with blanks stays one word; "firefox --new-window" stays two.
  std::string command = app;
  struct stat st {};
  if (app.find(' ') != std::string::npos && ::stat(app.c_str(), &st) == 0) {
    command = "\"" + app + "\"";
  }
  std::string address;
  for (char c : URL) {
    if (c == '"') {
      address += "%22";
    } else {
      address += c;
    }
  }
  command += " \"" + address + "\"";
  return startProcessDetached(command, std::string());
}

void Beep() { MessageBeep(kBeepWarning); }

void RemoveAnsiQuotes(std::string& text) {
  const auto removed = removeApostrophes(text);
  if (removed != 0 && removed != 2) MessageBeep(kBeepFailedStart);
}

}  // namespace orv
