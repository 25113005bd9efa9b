#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "transport/InErrors.h"
#include "transport/MakeTempFile.h"

namespace orv {
namespace {

TEST(MakeTempFileTest, JoinsDirectoryPrefixStampCounterAndExtension) {
  const std::string stamp = tempFileStartStamp();
  EXPECT_TRUE(std::regex_match(stamp, std::regex("[0-9A-F]+"))) << stamp;
  const std::string a = MakeTempFile("/tmp/cache", "KVQ", ".jpg");
  const std::string b = MakeTempFile("/tmp/cache/", "KVQ", "");
  const std::regex shape("/tmp/cache/KVQ" + stamp + "([0-9A-F]+)(\\..*)");
  std::smatch ma, mb;
  ASSERT_TRUE(std::regex_match(a, ma, shape)) << a;
  ASSERT_TRUE(std::regex_match(b, mb, shape)) << b;
  EXPECT_EQ(ma[2], ".jpg");
  EXPECT_EQ(mb[2], ".tmp");  // no extension given
  EXPECT_EQ(std::stoull(mb[1], nullptr, 16), std::stoull(ma[1], nullptr, 16) + 1);
}

TEST(MakeTempFileTest, RefusesAnEmptyDirectory) {
  try {
    MakeTempFile("");
    FAIL() << "no error";
  } catch (const EInException& e) {
    EXPECT_STREQ(e.what(), "MakeTempFile: No path was provided");
  }
}

TEST(MakeTempFileTest, GivesDistinctNamesAcrossThreads) {
  std::vector<std::vector<std::string>> names(4);
  std::vector<std::thread> threads;
  for (auto& list : names) {
    threads.emplace_back([&list] {
      for (int i = 0; i < 500; ++i) list.push_back(MakeTempFile("/tmp"));
    });
  }
  for (auto& t : threads) t.join();
  std::set<std::string> unique;
  for (const auto& list : names) unique.insert(list.begin(), list.end());
  EXPECT_EQ(unique.size(), 2000u);
}

}  // namespace
}  // namespace orv
