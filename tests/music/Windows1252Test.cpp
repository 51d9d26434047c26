#include <gtest/gtest.h>

#include "music/Windows1252.h"

TEST(Windows1252Test, EveryByteSurvivesTheRoundTripAsOneCharacter) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::u16string text = Windows1252::decode(all);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(Windows1252::encode(text), all);
  for (const char16_t c : text) EXPECT_TRUE(Windows1252::holds(c));
}

TEST(Windows1252Test, TheHighRowIsNotLatin1AndWhatTheSetLacksIsReplaced) {
  EXPECT_EQ(Windows1252::decode("\x80\x9F\xE9"), std::u16string(u"\u20AC\u0178\u00E9"));
  EXPECT_EQ(Windows1252::encode(u"\u2019\u0153\u00FF"), "\x92\x9C\xFF");
  EXPECT_FALSE(Windows1252::holds(u'\u263A'));
  EXPECT_FALSE(Windows1252::holds(u'\u0100'));
  EXPECT_EQ(Windows1252::encode(u"a\u263Ab"), "a?b");
}
