#include "host/CommandLine.h"

#include <fstream>
#include <iterator>

namespace orv {

std::vector<std::string> processParams() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    words.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  if (!words.empty()) words.erase(words.begin());  // the program itself
  return words;
}

bool findCmdLineSwitch(const std::vector<std::string>& params, std::string_view name) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  for (const std::string& p : params) {
    if (p.size() != name.size() + 1 || (p[0] != '-' && p[0] != '/')) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) same = lower(p[i + 1]) == lower(name[i]);
    if (same) return true;
  }
  return false;
}

}  // namespace orv
