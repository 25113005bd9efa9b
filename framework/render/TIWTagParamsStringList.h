#pragma once
// The ordered attribute list of a tag: one line per attribute, "name=value" or a bare
// name. The name part (everything before the first "=") is lower-cased whenever a line
// is added or set; look-ups by name ignore case. Setting an attribute that exists
// replaces its value where it stands, so an attribute keeps its first position.
//
// Values are stored as given: the caller escapes them for an attribute value.
// Owned by its tag; used by the thread that renders.
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class TIWTagParamsStringList {
 public:
  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  const std::string& operator[](std::size_t i) const { return lines_[i]; }
  const std::vector<std::string>& lines() const { return lines_; }

  // Appends a raw line (name part lower-cased).
  void add(std::string_view line);
  // Sets name=value: replaces the value of an existing attribute in place, appends a
  // new one; an empty value removes the attribute.
  void setValue(std::string_view name, std::string_view value);
  // Removes every line of that name.
  void remove(std::string_view name);
  void clear() { lines_.clear(); }

  // Index of the first line of that name (the whole line for a bare name), or -1.
  int indexOfName(std::string_view name) const;
  bool contains(std::string_view name) const { return indexOfName(name) >= 0; }
  // The value of the first line of that name; empty when absent.
  std::string value(std::string_view name) const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace orv
