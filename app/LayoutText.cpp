#include "app/LayoutText.h"

#include <dirent.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "platform/CodePage.h"

namespace orv {

namespace detail {

// Copies UTF-8 text with every ill-formed sequence replaced by U+FFFD, the way the code
// page helpers count it, so later code never sees broken sequences.
std::string sanitizeUtf8(std::string_view in) {
  std::string out;
  out.reserve(in.size());
  std::size_t pos = 0;
  while (pos < in.size()) appendUtf8(out, utf8Decode(in, pos));
  return out;
}

bool isRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace detail

std::string decodeTextFile(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    return detail::sanitizeUtf8(bytes.substr(3));
  }
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") {
    return utf16ToUtf8(bytes.substr(2), false);
  }
  if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF") {
    return utf16ToUtf8(bytes.substr(2), true);
  }
  return cp1252ToUtf8(bytes);
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::optional<std::vector<std::string>> readTextFileLines(const std::string& path) {
  if (!detail::isRegularFile(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return splitLines(decodeTextFile(bytes));
}

std::optional<std::string> findAuthorFile(const std::string& dir, std::string_view name) {
  if (name.empty()) return std::nullopt;
  std::string rel(name);
  for (char& c : rel) {
    if (c == '\\') c = '/';
  }
  std::string full = rel.front() == '/' ? rel : dir + rel;
  if (detail::isRegularFile(full)) return full;

  const auto slash = full.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string(".") : full.substr(0, slash + 1);
  const std::string leaf = slash == std::string::npos ? full : full.substr(slash + 1);
  if (leaf.empty()) return std::nullopt;
  std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(folder.c_str()), &::closedir);
  if (!d) return std::nullopt;
  // Of several names that differ only in case, the first in byte order, so that every
  // look-up finds the same file whatever order the directory lists them in.
  std::optional<std::string> found;
  while (const dirent* e = ::readdir(d.get())) {
    if (detail::equalsIgnoringAsciiCase(e->d_name, leaf) && (!found || e->d_name < *found)) {
      if (detail::isRegularFile(folder + e->d_name)) found = e->d_name;
    }
  }
  if (found) return folder + *found;
  return std::nullopt;
}

}  // namespace orv
