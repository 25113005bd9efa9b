#pragma once
// The header lines of a request, in arrival order. A line's name is the text before
// its first ":", its value the rest with blanks trimmed; a line that begins with a
// blank or TAB continues the previous value (joined with one blank). Names compare in
// any letter case and the first matching line wins; a missing header reads as empty.
// Belongs to the request being read, on its connection thread.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orv {

class TInHeaderList {
 public:
  // Adds one received header line (continuations join the previous line).
  void addLine(std::string_view line);
  // Adds or appends a name and value as they are.
  void add(std::string name, std::string value);

  // The value of the first line named `name`, or empty.
  std::string Values(std::string_view name) const;
  bool has(std::string_view name) const;
  // Every value of lines named `name`, in order.
  std::vector<std::string> allValues(std::string_view name) const;

  std::size_t count() const { return lines_.size(); }
  const std::vector<std::pair<std::string, std::string>>& lines() const { return lines_; }

 private:
  std::vector<std::pair<std::string, std::string>> lines_;
};

}  // namespace orv
