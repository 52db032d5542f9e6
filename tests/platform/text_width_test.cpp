// Text columns counted in characters, whatever the bytes of a name.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/text_width.hpp"

namespace kestrova {
namespace {

TEST(TextWidth, UnreadableBytesCountOneColumnEachAndNoCharacterIsCut) {
  // "Müller" in UTF-8 and in Latin-1; a cut sequence; a three-byte "€".
  for (const auto& [text, width, head] : {std::tuple{"M\xC3\xBCller", 6u, "M\xC3\xBC"}, {"M\xFCller", 6u, "M\xFC"},
                                          {"\xC3", 1u, "\xC3 "}, {"\xE2\x82\xAC", 1u, "\xE2\x82\xAC "}, {"", 0u, "  "}}) {
    EXPECT_EQ(platform::textWidth(text), width) << text;
    EXPECT_EQ(platform::leadingColumns(text, 2), head) << text;
  }
  std::string padded = "|";
  platform::appendPadded(padded, "M\xC3\xBCller", 8);
  EXPECT_EQ(padded, "|M\xC3\xBCller  ");
}

}  // namespace
}  // namespace kestrova
