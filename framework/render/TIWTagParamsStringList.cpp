#include "framework/render/TIWTagParamsStringList.h"

#include "framework/render/MarkupText.h"

namespace orv {

namespace {

std::string_view namePart(std::string_view line) {
  const std::size_t eq = line.find('=');
  return eq == std::string_view::npos ? line : line.substr(0, eq);
}

std::string normalised(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return lowerCaseAscii(line);
  std::string out = lowerCaseAscii(line.substr(0, eq));
  out.append(line.substr(eq));
  return out;
}

}  // namespace

void TIWTagParamsStringList::add(std::string_view line) { lines_.push_back(normalised(line)); }

void TIWTagParamsStringList::setValue(std::string_view name, std::string_view value) {
  const int index = indexOfName(name);
  if (value.empty()) {
    if (index >= 0) lines_.erase(lines_.begin() + index);
    return;
  }
  std::string line = lowerCaseAscii(name);
  line += '=';
  line.append(value);
  if (index >= 0)
    lines_[static_cast<std::size_t>(index)] = std::move(line);
  else
    lines_.push_back(std::move(line));
}

void TIWTagParamsStringList::remove(std::string_view name) {
  std::erase_if(lines_,
                [&](const std::string& line) { return equalsIgnoringCase(namePart(line), name); });
}

int TIWTagParamsStringList::indexOfName(std::string_view name) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (equalsIgnoringCase(namePart(lines_[i]), name)) return static_cast<int>(i);
  }
  return -1;
}

std::string TIWTagParamsStringList::value(std::string_view name) const {
  const int index = indexOfName(name);
  if (index < 0) return {};
  const std::string& line = lines_[static_cast<std::size_t>(index)];
  const std::size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

}  // namespace orv
