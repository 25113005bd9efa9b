#include "examples/solver/TextFiles.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "examples/solver/Messages.h"
#include "examples/solver/SolverError.h"
#include "platform/CodePage.h"

namespace orv::solver {

namespace {

bool validUtf8(std::string_view s) {
  std::size_t pos = 0;
  while (pos < s.size()) {
    const auto b = static_cast<unsigned char>(s[pos]);
    if (b < 0x80) {
      ++pos;
      continue;
    }
    std::size_t before = pos;
    const char32_t c = utf8Decode(s, pos);
    // A genuine U+FFFD is three bytes long; an ill-formed sequence decodes to it too.
    if (c == 0xFFFD && !(pos - before == 3 && s.substr(before, 3) == "\xEF\xBF\xBD")) return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::string> readTextLines(const std::string& path, TextEncoding encoding) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SolverError(std::string(kFileUnreadable) + path);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw SolverError(std::string(kFileUnreadable) + path);

  std::string text;
  if (encoding == TextEncoding::Cp1252) {
    text = cp1252ToUtf8(bytes);
  } else if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
    text = bytes.substr(3);
  } else if (bytes.rfind("\xFF\xFE", 0) == 0) {
    text = utf16ToUtf8(std::string_view(bytes).substr(2), false);
  } else if (bytes.rfind("\xFE\xFF", 0) == 0) {
    text = utf16ToUtf8(std::string_view(bytes).substr(2), true);
  } else if (validUtf8(bytes)) {
    text = std::move(bytes);
  } else {
    text = cp1252ToUtf8(bytes);
  }
  return splitLines(text);
}

void writeFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string temp = path + ".~" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw SolverError(std::string(kFileUnwritable) + path);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      throw SolverError(std::string(kFileUnwritable) + path);
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    throw SolverError(std::string(kFileUnwritable) + path);
  }
}

}  // namespace orv::solver
