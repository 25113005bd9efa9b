#pragma once
// An ordered list of text lines, the shape of the framework's item lists (combo box
// entries, radio captions, memo lines, raw attribute lines, event parameters).
//
// Lines of the form name=value can be read by name (the name compared without regard
// to ASCII case). Every change is reported through OnChange with what happened, so an
// owning control can keep its selection on the same entry and mark itself for refresh.
// Copying copies the lines only, never the OnChange of the source.
// Used by the thread that holds the page's session.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

struct StringListChange {
  enum class Kind {
    Inserted,   // a line was inserted at `index` (appending included)
    Deleted,    // the line at `index` was deleted
    Exchanged,  // the lines at `index` and `other` swapped places
    Changed,    // the line at `index` got a new text
    Reset,      // the whole list was replaced or cleared
  };
  Kind kind;
  std::size_t index = 0;
  std::size_t other = 0;
};

class StringList {
 public:
  StringList() = default;
  StringList(std::initializer_list<std::string> lines) : lines_(lines) {}
  explicit StringList(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  StringList(const StringList& other) : lines_(other.lines_) {}
  StringList& operator=(const StringList& other);

  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  const std::string& operator[](std::size_t i) const { return lines_.at(i); }
  const std::vector<std::string>& lines() const { return lines_; }
  auto begin() const { return lines_.begin(); }
  auto end() const { return lines_.end(); }

  void add(std::string line);
  void insert(std::size_t index, std::string line);  // index <= size()
  void remove(std::size_t index);                    // index < size()
  void exchange(std::size_t a, std::size_t b);
  void set(std::size_t index, std::string line);
  void clear();
  void assign(std::vector<std::string> lines);

  // Lines joined, each followed by CR LF.
  std::string text() const;
  // Replaces the lines with those of `text`, split at CR LF, LF or CR; a final line
  // end does not start another line.
  void setText(std::string_view text);

  // Index of the first line equal to `line`, or -1.
  int indexOf(std::string_view line) const;

  // name=value lines: the name part (the whole line when it holds no "="), the value
  // after the first "=", the index of the first line with that name (or -1) and the
  // value of the first line with that name (empty when none).
  static std::string nameOf(const std::string& line);
  static std::string valueOf(const std::string& line);
  int indexOfName(std::string_view name) const;
  std::string value(std::string_view name) const;

  std::function<void(const StringListChange&)> OnChange;

 private:
  void changed(StringListChange change);

  std::vector<std::string> lines_;
};

}  // namespace orv
