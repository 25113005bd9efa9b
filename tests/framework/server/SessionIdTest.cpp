#include <set>

#include <gtest/gtest.h>

#include "framework/server/SessionId.h"

namespace orv {
namespace {

TEST(Encode64Test, EncodesTheTwoReferenceByteStrings) {
  std::array<unsigned char, 16> counting{};
  for (int i = 0; i < 16; ++i) counting[i] = static_cast<unsigned char>(i);
  EXPECT_EQ(Encode64(counting), "aaecaWqfbGCicqOlda0odW");
  std::array<unsigned char, 16> ones{};
  ones.fill(0xFF);
  EXPECT_EQ(Encode64(ones), std::string(21, '-') + "W");
}

TEST(Encode64Test, ShortInputsKeepTheirLastBitsWithoutFill) {
  struct Case {
    std::vector<unsigned char> bytes;
    const char* text;
  };
  for (const Case& c : {Case{{}, ""}, Case{{0x00}, "aa"}, Case{{0xFF}, "-W"},
                        Case{{0x04, 0x10}, "bba"}, Case{{0xFF, 0xFF, 0xFF}, "----"}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Encode64(c.bytes), c.text);
  }
}

TEST(SessionIdTest, IdsAre22LettersOfTheAlphabetAndDoNotRepeat) {
  std::set<std::string> seen;
  for (int i = 0; i < 2000; ++i) {
    const std::string id = NewGuidEncode64();
    ASSERT_EQ(id.size(), 22u);
    ASSERT_EQ(id.find_first_not_of(kEncode64Alphabet), std::string::npos);
    ASSERT_TRUE(seen.insert(id).second) << id;
  }
}

TEST(SessionIdTest, GuidsCarryVersionFourAndTheVariantBits) {
  for (int i = 0; i < 100; ++i) {
    const auto g = NewRandomGuid();
    EXPECT_EQ(g[7] & 0xF0, 0x40);
    EXPECT_EQ(g[8] & 0xC0, 0x80);
  }
}

TEST(SessionIdTest, EveryRandomBitVaries) {
  // 122 random bits: over many GUIDs each of them is seen both set and clear.
  std::array<unsigned, 16> seenSet{}, seenClear{};
  for (int i = 0; i < 400; ++i) {
    const auto g = NewRandomGuid();
    for (int b = 0; b < 16; ++b) {
      seenSet[b] |= g[b];
      seenClear[b] |= static_cast<unsigned char>(~g[b]);
    }
  }
  for (int b = 0; b < 16; ++b) {
    const unsigned fixed = b == 7 ? 0xF0u : b == 8 ? 0xC0u : 0u;
    EXPECT_EQ((seenSet[b] & seenClear[b]) | fixed, 0xFFu) << "byte " << b;
  }
}

}  // namespace
}  // namespace orv
