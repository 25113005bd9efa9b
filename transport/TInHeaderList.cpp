#include "transport/TInHeaderList.h"

#include "transport/UrlCoding.h"

namespace orv {

void TInHeaderList::addLine(std::string_view line) {
  if (!line.empty() && (line.front() == ' ' || line.front() == '\t') && !lines_.empty()) {
    const std::string_view more = trimText(line);
    std::string& value = lines_.back().second;
    if (!more.empty()) {
      if (!value.empty()) value += ' ';
      value += more;
    }
    return;
  }
  const auto colon = line.find(':');
  if (colon == std::string_view::npos) {
    lines_.emplace_back(std::string(trimText(line)), std::string());
    return;
  }
  lines_.emplace_back(std::string(trimText(line.substr(0, colon))),
                      std::string(trimText(line.substr(colon + 1))));
}

void TInHeaderList::add(std::string name, std::string value) {
  lines_.emplace_back(std::move(name), std::move(value));
}

std::string TInHeaderList::Values(std::string_view name) const {
  for (const auto& [n, v] : lines_) {
    if (equalsIgnoreCase(n, name)) return v;
  }
  return {};
}

bool TInHeaderList::has(std::string_view name) const {
  for (const auto& line : lines_) {
    if (equalsIgnoreCase(line.first, name)) return true;
  }
  return false;
}

std::vector<std::string> TInHeaderList::allValues(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [n, v] : lines_) {
    if (equalsIgnoreCase(n, name)) values.push_back(v);
  }
  return values;
}

}  // namespace orv
