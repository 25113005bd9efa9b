#pragma once
// AnsiTextFile: a text file that the calculator page writes for others to read (the
// solver input file of a solve cycle, a saved input set): Windows-1252 bytes, each line
// ended by CR LF. Lines are collected in memory and written in one go by close(), which
// reports whether every byte reached the file. The descriptor is close-on-exec, so a
// solver started meanwhile by another request thread never holds it.
//
// The free functions read such files back: the whole text, or only its first line,
// decoded from Windows-1252 to UTF-8.
//
// An AnsiTextFile is used by one thread; the destructor closes a file still open
// without writing the collected lines (the caller decides whether to remove it).
#include <optional>
#include <string>
#include <string_view>

namespace orv {

class AnsiTextFile {
 public:
  // Creates the file (or empties an existing one). Nothing when it cannot be created.
  static std::optional<AnsiTextFile> create(const std::string& path);
  // Creates a new file with a unique name in `dir` (which ends in "/"): a hidden name
  // starting with `prefix`, then six random characters. Nothing on failure.
  static std::optional<AnsiTextFile> createTemporary(const std::string& dir,
                                                     std::string_view prefix);

  AnsiTextFile(AnsiTextFile&& other) noexcept;
  AnsiTextFile& operator=(AnsiTextFile&&) = delete;
  AnsiTextFile(const AnsiTextFile&) = delete;
  AnsiTextFile& operator=(const AnsiTextFile&) = delete;
  ~AnsiTextFile();

  const std::string& path() const { return path_; }

  // Adds one line (UTF-8; characters Windows-1252 cannot hold become "?") and its CR LF.
  // A CR or LF inside the text becomes a blank: what a visitor typed into a one-line
  // field can never add a line of its own (a statement for the solver, a line of a set).
  void writeLine(std::string_view utf8);
  // The bytes collected so far.
  const std::string& bytes() const { return bytes_; }

  // Writes the collected bytes, with `sync` also to the disk itself, and closes the
  // file. False when anything failed; the file is closed either way.
  bool close(bool sync = false);

 private:
  AnsiTextFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

  int fd_ = -1;  // open descriptor, -1 once closed or moved from
  std::string path_;
  std::string bytes_;
};

// The whole file decoded from Windows-1252; nothing when it cannot be opened or read.
std::optional<std::string> readAnsiTextFile(const std::string& path);
// The file's first line (up to its first CR or LF) decoded from Windows-1252; an empty
// file gives an empty line. Reads no further than that line. Nothing when the file
// cannot be opened or read.
std::optional<std::string> readAnsiFirstLine(const std::string& path);

}  // namespace orv
