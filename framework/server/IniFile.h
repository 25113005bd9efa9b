#pragma once
// IniFile: a small reader and writer of INI settings files ("[Section]" headers and
// "Key=Value" lines), as the server reads "port.ini" and the desktop window keeps its
// ".iwb" settings.
//
// Reading follows the usual INI rules: section and key names compare without regard to
// ASCII letter case; names and values are trimmed of blanks and tabs; one pair of
// matching quotes (" or ') around a whole value is removed; lines starting with ";"
// and lines without "=" are ignored; the first of two equal sections or keys wins; a
// UTF-8 byte-order mark is skipped; line ends may be CR LF, LF or CR.
//
// Writing changes only the entries written: comments, blank lines, unknown entries and
// their order survive, new keys go after the last entry of their section, new sections
// at the end. The file is written with CR LF line ends and replaced atomically (a
// temporary file in the same folder, then a rename), so a crash never leaves half a
// settings file behind.
//
// A value object; not thread-safe (each user keeps its own).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class IniFile {
 public:
  IniFile() = default;

  // Reads the file. A missing file gives an empty IniFile; a file that exists but
  // cannot be read (no permission, a folder, an I/O error) raises std::runtime_error
  // "Cannot read \"<path>\": <reason>".
  static IniFile load(const std::string& path);
  static IniFile parse(std::string_view text);

  bool sectionExists(std::string_view section) const;
  bool valueExists(std::string_view section, std::string_view key) const;
  // The value of the first matching key, or nullopt when the section or key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  std::string readString(std::string_view section, std::string_view key,
                         const std::string& defaultValue) const;
  // A missing key or a value that is not a 32-bit integer (decimal with an optional
  // sign, or hexadecimal written "$1F" or "0x1F") gives the default.
  int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // Integers: non-zero is true; also "true"/"false" in any case; else the default.
  bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;
  // The keys of a section in file order (first occurrences only).
  std::vector<std::string> keys(std::string_view section) const;

  // Names may not be empty nor hold line breaks; a key may not hold "=" nor start with
  // "[" or ";"; a section name may not hold "]"; a value may not hold line breaks.
  // Violations raise std::runtime_error. A value that would not read back as
  // written (blanks at its ends, or enclosed in quotes) is written in double quotes.
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, int value);
  // Written as "1" or "0".
  void writeBool(std::string_view section, std::string_view key, bool value);
  // Removes every occurrence of the key (the section stays).
  void eraseKey(std::string_view section, std::string_view key);
  // Removes every occurrence of the section with its entries.
  void eraseSection(std::string_view section);

  // The file's text, CR LF line ends.
  std::string text() const;
  // Writes text() to the path, replacing any earlier file atomically. Raises
  // std::runtime_error "Cannot write \"<path>\": <reason>" on failure (the earlier
  // file is then untouched).
  void save(const std::string& path) const;

 private:
  struct Line {
    bool isEntry = false;  // "Key=Value"; otherwise `raw` is kept as it was
    std::string key;       // trimmed
    std::string value;     // as read back (trimmed, outer quotes removed)
    std::string raw;       // the line as read, or empty for a written entry
  };
  struct Section {
    std::string name;       // empty for the lines before the first header
    bool hasHeader = false;
    std::string rawHeader;  // the header line as read, or empty for a new section
    std::vector<Line> lines;
  };

  const Section* findSection(std::string_view name) const;
  Section* findSection(std::string_view name);
  static const Line* findLine(const Section& section, std::string_view key);

  std::vector<Section> sections_;
};

}  // namespace orv
