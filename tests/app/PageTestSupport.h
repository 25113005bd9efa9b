#pragma once
// Helpers for the calculator page's tests: a temporary server directory that holds a
// layout file, its solver program, pictures and memo texts, and building a page from
// it the way a session does (TIWAppForm::createForm).
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/WDiagramU.h"
#include "platform/ExePaths.h"

namespace orv::test {

inline constexpr int kTestPort = 8001;

// A fresh directory under the system temporary directory, removed with everything in
// it at the end. The process's current directory (which a page sets) is put back.
class ServerDir {
 public:
  ServerDir() {
    std::string templ = exePaths().tempDir + "orv-page-XXXXXX";
    if (::mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = templ + "/";
    savedCwd_ = std::filesystem::current_path();
  }
  ~ServerDir() {
    std::error_code ec;
    std::filesystem::current_path(savedCwd_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ServerDir(const ServerDir&) = delete;
  ServerDir& operator=(const ServerDir&) = delete;

  // With a trailing "/".
  const std::string& path() const { return path_; }

  void writeBytes(const std::string& relative, std::string_view bytes) const {
    const std::filesystem::path p = path_ + relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  // Lines joined with CR LF (the layout's own line ends), as given (UTF-8 here; the
  // tests that need other encodings write bytes).
  void writeLines(const std::string& relative, std::initializer_list<std::string> lines) const {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    writeBytes(relative, text);
  }
  void writeLines(const std::string& relative, const std::vector<std::string>& lines) const {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    writeBytes(relative, text);
  }
  // Copies a folder of tests/testdata/app into this directory.
  void copyFixture(const std::string& name) const {
    std::filesystem::copy(std::string(ORV_TESTDATA_DIR) + "/app/" + name, path_,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
  }
  std::string readFixture(const std::string& relative) const {
    std::ifstream in(std::string(ORV_TESTDATA_DIR) + "/app/" + relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string path_;
  std::filesystem::path savedCwd_;
};

// The five lines before the items: a version text and four lines nobody reads.
inline std::vector<std::string> layoutWith(std::initializer_list<std::string> items) {
  std::vector<std::string> lines = {"ORV Diagram Layout 3.0", "x", "x", "x", "x"};
  lines.insert(lines.end(), items.begin(), items.end());
  return lines;
}

// Fields joined by TAB.
inline std::string tabbed(std::initializer_list<std::string> fields) {
  std::string line;
  bool first = true;
  for (const std::string& f : fields) {
    if (!first) line += '\t';
    line += f;
    first = false;
  }
  return line;
}

inline std::unique_ptr<TORVServerForm> buildPage(const ServerDir& dir, int port = kTestPort) {
  return TIWAppForm::createForm<TORVServerForm>(ServerFormSettings{dir.path(), port});
}

// Writes "CALC.DLY" (UTF-8 with its byte-order mark, so that tests can write any
// character) with those item lines and an empty "CALC.EXE", then builds the page.
inline std::unique_ptr<TORVServerForm> buildFromItems(const ServerDir& dir,
                                                      std::initializer_list<std::string> items) {
  std::vector<std::string> lines = layoutWith(items);
  lines[0] = "\xEF\xBB\xBF" + lines[0];
  dir.writeLines("CALC.DLY", lines);
  dir.writeBytes("CALC.EXE", "");
  return buildPage(dir);
}

// The message of the error that building the page raises ("" when it builds).
inline std::string buildError(const ServerDir& dir, std::initializer_list<std::string> items) {
  try {
    buildFromItems(dir, items);
  } catch (const std::exception& e) {
    return e.what();
  }
  return {};
}

}  // namespace orv::test
