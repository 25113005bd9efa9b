#include "framework/controls/StringList.h"

#include <stdexcept>
#include <utility>

namespace orv {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) {
      return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

void checkIndex(std::size_t index, std::size_t limit) {
  if (index >= limit)
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

StringList& StringList::operator=(const StringList& other) {
  if (&other != this) assign(other.lines_);
  return *this;
}

void StringList::add(std::string line) {
  lines_.push_back(std::move(line));
  changed({StringListChange::Kind::Inserted, lines_.size() - 1});
}

void StringList::insert(std::size_t index, std::string line) {
  checkIndex(index, lines_.size() + 1);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
  changed({StringListChange::Kind::Inserted, index});
}

void StringList::remove(std::size_t index) {
  checkIndex(index, lines_.size());
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
  changed({StringListChange::Kind::Deleted, index});
}

void StringList::exchange(std::size_t a, std::size_t b) {
  checkIndex(a, lines_.size());
  checkIndex(b, lines_.size());
  if (a == b) return;
  std::swap(lines_[a], lines_[b]);
  changed({StringListChange::Kind::Exchanged, a, b});
}

void StringList::set(std::size_t index, std::string line) {
  checkIndex(index, lines_.size());
  if (lines_[index] == line) return;
  lines_[index] = std::move(line);
  changed({StringListChange::Kind::Changed, index});
}

void StringList::clear() {
  if (lines_.empty()) return;
  lines_.clear();
  changed({StringListChange::Kind::Reset});
}

void StringList::assign(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  changed({StringListChange::Kind::Reset});
}

std::string StringList::text() const {
  std::string joined;
  for (const std::string& line : lines_) {
    joined += line;
    joined += "\r\n";
  }
  return joined;
}

void StringList::setText(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  assign(std::move(lines));
}

int StringList::indexOf(std::string_view line) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i] == line) return static_cast<int>(i);
  }
  return -1;
}

std::string StringList::nameOf(const std::string& line) {
  const std::size_t eq = line.find('=');
  return eq == std::string::npos ? line : line.substr(0, eq);
}

std::string StringList::valueOf(const std::string& line) {
  const std::size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int StringList::indexOfName(std::string_view name) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::size_t eq = lines_[i].find('=');
    if (eq != std::string::npos &&
        equalsIgnoringCase(std::string_view(lines_[i]).substr(0, eq), name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string StringList::value(std::string_view name) const {
  const int i = indexOfName(name);
  return i < 0 ? std::string() : valueOf(lines_[static_cast<std::size_t>(i)]);
}

void StringList::changed(StringListChange change) {
  if (OnChange) OnChange(change);
}

}  // namespace orv
