#pragma once
// A fresh directory under the system temporary directory for one test, removed with
// everything in it when the test ends.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <fstream>
#include <string>
#include <system_error>

namespace orv::test {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orv-platform-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    // Canonical, so paths compare equal to what a child's getcwd reports.
    path_ = std::filesystem::canonical(pattern).string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

  // Writes a file; `executable` adds the execute bits.
  std::string write(const std::string& name, const std::string& content,
                    bool executable = false) const {
    const std::string p = file(name);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    {
      std::ofstream out(p, std::ios::binary);
      out << content;
    }
    if (executable) {
      std::filesystem::permissions(
          p, std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec,
          std::filesystem::perm_options::add);
    }
    return p;
  }

  std::string read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::string path_;
};

}  // namespace orv::test
