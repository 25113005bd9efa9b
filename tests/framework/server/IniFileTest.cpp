#include "framework/server/IniFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/framework/server/ServerTestSupport.h"

namespace orv {
namespace {

using test::errorOf;

struct ReadCase {
  const char* name;
  const char* text;
  const char* section;
  const char* key;
  const char* want;  // nullptr: missing
};

class IniFileReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniFileReadTest, FindsTheValue) {
  const ReadCase& k = GetParam();
  const IniFile ini = IniFile::parse(k.text);
  const auto v = ini.value(k.section, k.key);
  if (k.want == nullptr) {
    EXPECT_FALSE(v.has_value()) << *v;
  } else {
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(*v, k.want);
  }
}

INSTANTIATE_TEST_SUITE_P(
    IniFileTest, IniFileReadTest,
    ::testing::Values(
        ReadCase{"Plain", "[S]\r\nK=V\r\n", "S", "K", "V"},
        ReadCase{"LineFeedsOnly", "[S]\nK=V\n", "S", "K", "V"},
        ReadCase{"CarriageReturnsOnly", "[S]\rK=V\r", "S", "K", "V"},
        ReadCase{"NoFinalLineEnd", "[S]\nK=V", "S", "K", "V"},
        ReadCase{"SectionCase", "[ports]\nK=V\n", "PORTS", "K", "V"},
        ReadCase{"KeyCase", "[S]\nport=V\n", "S", "PORT", "V"},
        ReadCase{"BlanksTrimmed", "  [ S ]  \n\t K \t= \t V W \t\n", "S", "K", "V W"},
        ReadCase{"DoubleQuotesRemoved", "[S]\nK=\" V \"\n", "S", "K", " V "},
        ReadCase{"SingleQuotesRemoved", "[S]\nK='V'\n", "S", "K", "V"},
        ReadCase{"UnmatchedQuotesKept", "[S]\nK=\"V'\n", "S", "K", "\"V'"},
        ReadCase{"EmptyValue", "[S]\nK=\n", "S", "K", ""},
        ReadCase{"EqualsInValue", "[S]\nK=a=b\n", "S", "K", "a=b"},
        ReadCase{"FirstKeyWins", "[S]\nK=1\nK=2\n", "S", "K", "1"},
        ReadCase{"FirstSectionWins", "[S]\nA=1\n[S]\nK=2\n", "S", "K", nullptr},
        ReadCase{"CommentIgnored", "[S]\n;K=1\nK=2\n", "S", "K", "2"},
        ReadCase{"LineWithoutEqualsIgnored", "[S]\nK\nK=3\n", "S", "K", "3"},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[S]\nK=V\n", "S", "K", "V"},
        ReadCase{"KeyBeforeAnySection", "K=V\n[S]\n", "S", "K", nullptr},
        ReadCase{"OtherSection", "[A]\nK=V\n[B]\n", "B", "K", nullptr},
        ReadCase{"MissingSection", "[A]\nK=V\n", "C", "K", nullptr},
        ReadCase{"UnclosedHeaderIsNoSection", "[S\nK=V\n", "S", "K", nullptr},
        ReadCase{"EmptyText", "", "S", "K", nullptr},
        ReadCase{"Utf8Value", "[S]\nK=Gr\xC3\xBC\xC3\x9F" "e\n", "S", "K", "Gr\xC3\xBC\xC3\x9F" "e"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileTest, ReadsIntegersAndFallsBackToTheDefault) {
  struct Case {
    const char* value;
    int want;
  };
  const Case cases[] = {{"9000", 9000},     {" 42 ", 42},        {"-7", -7},
                        {"+7", 7},          {"$1F", 31},         {"0x1f", 31},
                        {"0X10", 16},       {"2147483647", 2147483647},
                        {"-2147483648", -2147483647 - 1},        {"2147483648", -1},
                        {"99999999999", -1}, {"abc", -1},        {"12abc", -1},
                        {"", -1},           {"1.5", -1},         {"$", -1},
                        {"0x", -1},         {"- 5", -1}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.value);
    const IniFile ini = IniFile::parse(std::string("[S]\nK=") + k.value + "\n");
    EXPECT_EQ(ini.readInteger("S", "K", -1), k.want);
  }
  EXPECT_EQ(IniFile().readInteger("S", "K", 5), 5);
}

TEST(IniFileTest, ReadsBooleans) {
  struct Case {
    const char* value;
    bool want;
  };
  const Case cases[] = {{"1", true},     {"0", false},     {"2", true},     {"true", true},
                        {"FALSE", false}, {"True", true},  {"yes", true} /* default */};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.value);
    const IniFile ini = IniFile::parse(std::string("[S]\nK=") + k.value + "\n");
    EXPECT_EQ(ini.readBool("S", "K", true), k.want);
  }
  EXPECT_FALSE(IniFile::parse("[S]\nK=maybe\n").readBool("S", "K", false));
}

TEST(IniFileTest, ListsKeysInFileOrder) {
  const IniFile ini = IniFile::parse("[S]\nb=1\n;x=2\nA=3\nB=4\n[T]\nc=5\n");
  EXPECT_EQ(ini.keys("s"), (std::vector<std::string>{"b", "A"}));
  EXPECT_TRUE(ini.sectionExists("t"));
  EXPECT_FALSE(ini.sectionExists("U"));
  EXPECT_TRUE(ini.valueExists("T", "C"));
}

TEST(IniFileTest, WritesNewSectionsAndKeysWithCrLf) {
  IniFile ini;
  ini.writeString("Main", "Parameters", "a=b");
  ini.writeBool("Main", "SSL", true);
  ini.writeInteger("HTTP", "SpeedLimit", 64000);
  EXPECT_EQ(ini.text(),
            "[Main]\r\nParameters=a=b\r\nSSL=1\r\n\r\n[HTTP]\r\nSpeedLimit=64000\r\n");
}

TEST(IniFileTest, ChangesOnlyWhatIsWritten) {
  IniFile ini = IniFile::parse(
      "; window settings\r\n[Main]\r\n  Browser = 2 \r\nRunInTray=1\r\n\r\n; speed\r\n"
      "[HTTP]\r\nSpeedLimit=0\r\n");
  ini.writeInteger("MAIN", "browser", 3);
  ini.writeBool("Main", "DebugInfo", true);
  ini.writeString("Other", "K", "V");
  EXPECT_EQ(ini.text(),
            "; window settings\r\n[Main]\r\nBrowser=3\r\nRunInTray=1\r\nDebugInfo=1\r\n\r\n"
            "; speed\r\n[HTTP]\r\nSpeedLimit=0\r\n\r\n[Other]\r\nK=V\r\n");
}

TEST(IniFileTest, ValuesReadBackExactlyAsWritten) {
  const char* values[] = {"", " lead", "trail ", "\"quoted\"", "'q'", "a\"b", "=x=", ";x"};
  IniFile ini;
  for (std::size_t n = 0; n < std::size(values); ++n) {
    ini.writeString("S", "K" + std::to_string(n), values[n]);
  }
  const IniFile back = IniFile::parse(ini.text());
  for (std::size_t n = 0; n < std::size(values); ++n) {
    SCOPED_TRACE(values[n]);
    EXPECT_EQ(back.readString("S", "K" + std::to_string(n), "?"), values[n]);
  }
}

TEST(IniFileTest, RefusesNamesAndValuesItCannotWrite) {
  IniFile ini;
  const std::vector<std::function<void()>> bad = {
      [&] { ini.writeString("", "K", "V"); },       [&] { ini.writeString("A]", "K", "V"); },
      [&] { ini.writeString("A\nB", "K", "V"); },   [&] { ini.writeString("S", "", "V"); },
      [&] { ini.writeString("S", "K=1", "V"); },    [&] { ini.writeString("S", "[K", "V"); },
      [&] { ini.writeString("S", ";K", "V"); },     [&] { ini.writeString("S", "K\r", "V"); },
      [&] { ini.writeString("S", "K", "line\nbreak"); },
  };
  for (std::size_t n = 0; n < bad.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_NE(errorOf(bad[n]), "");
  }
  EXPECT_EQ(ini.text(), "");
}

TEST(IniFileTest, ErasesKeysAndSections) {
  IniFile ini = IniFile::parse("[A]\nK=1\nL=2\nk=3\n[B]\nM=4\n");
  ini.eraseKey("a", "K");
  EXPECT_EQ(ini.keys("A"), std::vector<std::string>{"L"});
  ini.eraseSection("b");
  EXPECT_FALSE(ini.sectionExists("B"));
}

TEST(IniFileTest, LoadsSavesAndReplacesAFile) {
  test::TempDir dir;
  const std::string path = dir.path() + "ORVWS.iwb";
  EXPECT_EQ(IniFile::load(path).text(), "");  // missing: empty

  IniFile ini;
  ini.writeString("Main", "Parameters", "x");
  ini.save(path);
  ::chmod(path.c_str(), 0600);
  IniFile again = IniFile::load(path);
  EXPECT_EQ(again.readString("Main", "Parameters", ""), "x");
  again.writeString("Main", "Parameters", "y");
  again.save(path);
  EXPECT_EQ(test::readFile(path), "[Main]\r\nParameters=y\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);  // kept its permissions
  // No temporary file stays behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(IniFileTest, ReportsAFileThatCannotBeRead) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.path() + "folder.ini");
  const std::string error = errorOf([&] { IniFile::load(dir.path() + "folder.ini"); });
  EXPECT_EQ(error, "Cannot read \"" + dir.path() + "folder.ini\": Is a directory");
}

TEST(IniFileTest, ReportsAFileThatCannotBeWrittenAndKeepsTheOldOne) {
  test::TempDir dir;
  IniFile ini;
  ini.writeString("S", "K", "V");
  const std::string error = errorOf([&] { ini.save(dir.path() + "missing/x.ini"); });
  EXPECT_EQ(error, "Cannot write \"" + dir.path() + "missing/x.ini\": No such file or directory");
}

}  // namespace
}  // namespace orv
