#pragma once
// Golden-file comparison for rendered documents. The expected text lives in
// tests/testdata/render/<name> byte for byte (CR LF included). Running the tests with
// UPDATE_GOLDEN=1 rewrites the files from the actual output instead of comparing, so a
// deliberate change shows up as a reviewable diff of the golden files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace orv::testing {

inline std::string goldenPath(const std::string& name) {
  return std::string(ORV_TESTDATA_DIR) + "/render/" + name;
}

inline bool updatingGolden() {
  const char* flag = std::getenv("UPDATE_GOLDEN");
  return flag != nullptr && std::string(flag) == "1";
}

// Compares the whole text with the golden file (or rewrites it under UPDATE_GOLDEN=1).
inline void expectMatchesGolden(const std::string& name, const std::string& actual) {
  const std::string path = goldenPath(name);
  if (updatingGolden()) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << actual;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in.good()) << "missing golden file " << path << " (run with UPDATE_GOLDEN=1)";
  std::ostringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(expected.str(), actual) << "differs from " << path;
}

}  // namespace orv::testing
