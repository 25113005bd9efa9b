#include "framework/server/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace orv {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

std::string unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

std::optional<int> parseInteger(std::string_view s) {
  s = trim(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s.front() == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  long long value = 0;
  for (char c : s) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && lowerAscii(c) >= 'a' && lowerAscii(c) <= 'f') {
      digit = lowerAscii(c) - 'a' + 10;
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

void checkSectionName(std::string_view section) {
  const std::string_view t = trim(section);
  if (t.empty() || hasLineBreak(section) || section.find(']') != std::string_view::npos) {
    throw std::runtime_error("Invalid INI section name \"" + std::string(section) + "\"");
  }
}

void checkKey(std::string_view key) {
  const std::string_view t = trim(key);
  if (t.empty() || hasLineBreak(key) || key.find('=') != std::string_view::npos ||
      t.front() == '[' || t.front() == ';') {
    throw std::runtime_error("Invalid INI key \"" + std::string(key) + "\"");
  }
}

// The text to write after "=" so that reading gives back exactly `value`.
std::string encodeValue(std::string_view value) {
  const bool blankEnds = !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  if (blankEnds || quoted) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

[[noreturn]] void throwErrno(const char* what, const std::string& path, int err) {
  throw std::runtime_error(std::string(what) + " \"" + path + "\": " + std::strerror(err));
}

}  // namespace

IniFile IniFile::load(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return IniFile();
    throwErrno("Cannot read", path, errno);
  }
  std::string text;
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      throwErrno("Cannot read", path, err);
    }
    if (n == 0) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return parse(text);
}

IniFile IniFile::parse(std::string_view text) {
  IniFile ini;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  ini.sections_.push_back(Section{});  // lines before the first header
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view raw = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size()) {
      pos += (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
    }

    const std::string_view t = trim(raw);
    if (!t.empty() && t.front() == '[') {
      const std::size_t close = t.find(']');
      if (close != std::string_view::npos) {
        Section s;
        s.name = std::string(trim(t.substr(1, close - 1)));
        s.hasHeader = true;
        s.rawHeader = std::string(raw);
        ini.sections_.push_back(std::move(s));
        continue;
      }
    }
    Line line;
    line.raw = std::string(raw);
    const std::size_t eq = t.find('=');
    if (!t.empty() && t.front() != ';' && t.front() != '[' && eq != std::string_view::npos) {
      const std::string_view key = trim(t.substr(0, eq));
      if (!key.empty()) {
        line.isEntry = true;
        line.key = std::string(key);
        line.value = unquote(trim(t.substr(eq + 1)));
      }
    }
    ini.sections_.back().lines.push_back(std::move(line));
  }
  return ini;
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
  const std::string_view wanted = trim(name);
  for (const Section& s : sections_) {
    if (s.hasHeader && equalsNoCase(s.name, wanted)) return &s;
  }
  return nullptr;
}

IniFile::Section* IniFile::findSection(std::string_view name) {
  return const_cast<Section*>(static_cast<const IniFile*>(this)->findSection(name));
}

const IniFile::Line* IniFile::findLine(const Section& section, std::string_view key) {
  const std::string_view wanted = trim(key);
  for (const Line& l : section.lines) {
    if (l.isEntry && equalsNoCase(l.key, wanted)) return &l;
  }
  return nullptr;
}

bool IniFile::sectionExists(std::string_view section) const {
  return findSection(section) != nullptr;
}

bool IniFile::valueExists(std::string_view section, std::string_view key) const {
  return value(section, key).has_value();
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
  const Section* s = findSection(section);
  if (s == nullptr) return std::nullopt;
  const Line* l = findLine(*s, key);
  if (l == nullptr) return std::nullopt;
  return l->value;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                const std::string& defaultValue) const {
  return value(section, key).value_or(defaultValue);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const auto v = value(section, key);
  if (!v) return defaultValue;
  return parseInteger(*v).value_or(defaultValue);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
  const auto v = value(section, key);
  if (!v) return defaultValue;
  if (const auto n = parseInteger(*v)) return *n != 0;
  if (equalsNoCase(trim(*v), "true")) return true;
  if (equalsNoCase(trim(*v), "false")) return false;
  return defaultValue;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  std::vector<std::string> result;
  const Section* s = findSection(section);
  if (s == nullptr) return result;
  for (const Line& l : s->lines) {
    if (!l.isEntry) continue;
    bool seen = false;
    for (const std::string& k : result) seen = seen || equalsNoCase(k, l.key);
    if (!seen) result.push_back(l.key);
  }
  return result;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  checkSectionName(section);
  checkKey(key);
  if (hasLineBreak(value)) {
    throw std::runtime_error("INI value of \"" + std::string(key) +
                                "\" cannot hold a line break");
  }
  Section* s = findSection(section);
  if (s == nullptr) {
    // Keep a blank line between the earlier content and the new section.
    Section& last = sections_.empty() ? sections_.emplace_back() : sections_.back();
    if (last.hasHeader || !last.lines.empty()) {
      const bool endsBlank = !last.lines.empty() && !last.lines.back().isEntry &&
                             trim(last.lines.back().raw).empty();
      if (!endsBlank) last.lines.push_back(Line{});
    }
    Section created;
    created.name = std::string(trim(section));
    created.hasHeader = true;
    s = &sections_.emplace_back(std::move(created));
  }
  for (Line& l : s->lines) {
    if (l.isEntry && equalsNoCase(l.key, trim(key))) {
      l.value = std::string(value);
      l.raw.clear();
      return;
    }
  }
  Line line;
  line.isEntry = true;
  line.key = std::string(trim(key));
  line.value = std::string(value);
  // After the section's last entry, before trailing blank lines and comments.
  auto at = s->lines.end();
  for (auto it = s->lines.begin(); it != s->lines.end(); ++it) {
    if (it->isEntry) at = it + 1;
  }
  if (at == s->lines.end()) {
    // No entries yet: insert before the trailing blank lines.
    at = s->lines.end();
    while (at != s->lines.begin() && !(at - 1)->isEntry && trim((at - 1)->raw).empty()) --at;
  }
  s->lines.insert(at, std::move(line));
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

void IniFile::eraseKey(std::string_view section, std::string_view key) {
  Section* s = findSection(section);
  if (s == nullptr) return;
  std::erase_if(s->lines, [&](const Line& l) { return l.isEntry && equalsNoCase(l.key, trim(key)); });
}

void IniFile::eraseSection(std::string_view section) {
  const std::string_view wanted = trim(section);
  std::erase_if(sections_,
                [&](const Section& s) { return s.hasHeader && equalsNoCase(s.name, wanted); });
}

std::string IniFile::text() const {
  std::string out;
  for (const Section& s : sections_) {
    if (s.hasHeader) {
      out += s.rawHeader.empty() ? "[" + s.name + "]" : s.rawHeader;
      out += "\r\n";
    }
    for (const Line& l : s.lines) {
      out += (l.isEntry && l.raw.empty()) ? l.key + "=" + encodeValue(l.value) : l.raw;
      out += "\r\n";
    }
  }
  return out;
}

void IniFile::save(const std::string& path) const {
  const std::string content = text();
  std::string tmpl = path + ".XXXXXX";
  const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) throwErrno("Cannot write", path, errno);
  // The new file takes the old one's permissions, or the usual ones for a new file.
  struct stat st {};
  const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
  ::fchmod(fd, mode);
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int err = n < 0 ? errno : EIO;
      ::close(fd);
      ::unlink(tmpl.c_str());
      throwErrno("Cannot write", path, err);
    }
    done += static_cast<std::size_t>(n);
  }
  int err = ::fsync(fd) == 0 ? 0 : errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) {
    ::unlink(tmpl.c_str());
    throwErrno("Cannot write", path, err);
  }
  if (::rename(tmpl.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmpl.c_str());
    throwErrno("Cannot write", path, err);
  }
}

}  // namespace orv
