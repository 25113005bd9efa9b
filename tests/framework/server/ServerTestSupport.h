#pragma once
// Helpers of the server tests: a temporary folder per test and the application path
// pointed at it, so that "port.ini", the log file and the content folders of the test
// live there.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/server/TIWServerControllerBase.h"
#include "platform/ExePaths.h"

namespace orv::test {

// A fresh folder under the system temporary directory, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string tmpl = std::filesystem::temp_directory_path().string() + "/orv-server-XXXXXX";
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl + "/";
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // Ends with "/".
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline std::vector<std::string> readLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(readFile(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// A controller class whose build-time settings and OnConfig the test chooses.
class ProbeController : public TIWServerControllerBase {
 public:
  explicit ProbeController(ConstructionKey key) : TIWServerControllerBase(key) {}

  // Run as the build-time settings (step 2 of the construction order).
  static inline std::function<void(ProbeController&)> storedSettings;

 protected:
  void ApplyStoredSettings() override {
    if (storedSettings) storedSettings(*this);
  }
};

// The message of the exception `action` throws, or "" when it throws none.
template <class F>
std::string errorOf(F&& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return {};
}

}  // namespace orv::test
