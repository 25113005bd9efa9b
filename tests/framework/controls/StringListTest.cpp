#include "framework/controls/StringList.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace orv {
namespace {

TEST(StringListTest, SetTextSplitsAtEveryKindOfLineEnd) {
  struct Case {
    const char* text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"a\n\rb", {"a", "", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    StringList list;
    list.setText(c.text);
    EXPECT_EQ(list.lines(), c.lines);
  }
  EXPECT_EQ(StringList({"a", "b"}).text(), "a\r\nb\r\n");
  EXPECT_EQ(StringList().text(), "");
}

TEST(StringListTest, NameValueLines) {
  const StringList list({"Width=10", "height=20", "bare", "odd=a=b", "=x"});
  EXPECT_EQ(list.value("WIDTH"), "10");
  EXPECT_EQ(list.value("Height"), "20");
  EXPECT_EQ(list.value("odd"), "a=b");
  EXPECT_EQ(list.value("bare"), "");
  EXPECT_EQ(list.value("missing"), "");
  EXPECT_EQ(list.indexOfName("height"), 1);
  EXPECT_EQ(list.indexOfName("bare"), -1);
  EXPECT_EQ(list.value(""), "x");
  EXPECT_EQ(StringList::nameOf("a=b"), "a");
  EXPECT_EQ(StringList::nameOf("ab"), "ab");
  EXPECT_EQ(StringList::valueOf("ab"), "");
  EXPECT_EQ(list.indexOf("bare"), 2);
  EXPECT_EQ(list.indexOf("BARE"), -1);
}

TEST(StringListTest, ReportsEachChange) {
  StringList list;
  std::vector<std::string> log;
  list.OnChange = [&](const StringListChange& c) {
    log.push_back(std::to_string(static_cast<int>(c.kind)) + ":" + std::to_string(c.index) + ":" +
                  std::to_string(c.other));
  };
  list.add("a");        // Inserted 0
  list.insert(0, "b");  // Inserted 0
  list.exchange(0, 1);  // Exchanged 0 1
  list.exchange(1, 1);  // nothing
  list.set(0, "c");     // Changed 0
  list.set(0, "c");     // nothing
  list.remove(1);       // Deleted 1
  list.clear();         // Reset
  list.clear();         // nothing: already empty
  list.assign({"x"});   // Reset
  EXPECT_EQ(log, (std::vector<std::string>{"0:0:0", "0:0:0", "2:0:1", "3:0:0", "1:1:0", "4:0:0",
                                           "4:0:0"}));
}

TEST(StringListTest, IndexesOutsideTheListThrow) {
  StringList list({"a"});
  EXPECT_THROW(list.remove(1), std::out_of_range);
  EXPECT_THROW(list.insert(3, "x"), std::out_of_range);
  EXPECT_THROW(list.exchange(0, 1), std::out_of_range);
  EXPECT_THROW(list.set(2, "x"), std::out_of_range);
  EXPECT_THROW((void)list[1], std::out_of_range);
  EXPECT_EQ(list.size(), 1u);
}

TEST(StringListTest, CopiesTakeTheLinesButNotTheHandler) {
  StringList source({"a", "b"});
  int sourceChanges = 0;
  source.OnChange = [&](const StringListChange&) { ++sourceChanges; };
  StringList copy(source);
  EXPECT_FALSE(copy.OnChange);
  int targetChanges = 0;
  StringList target;
  target.OnChange = [&](const StringListChange&) { ++targetChanges; };
  target = source;
  EXPECT_EQ(target.lines(), source.lines());
  EXPECT_EQ(targetChanges, 1);
  EXPECT_EQ(sourceChanges, 0);
}

}  // namespace
}  // namespace orv
