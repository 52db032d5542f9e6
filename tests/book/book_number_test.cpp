// The book file's number encoding and the packed move data.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "book/book_entry.hpp"
#include "book/book_number.hpp"

namespace kestrova {
namespace {

constexpr std::uint64_t kPattern = 12273903644374837845u;  // bytes 0xAA and 0x55 alternating

TEST(BookNumber, DigitsComeLeastSignificantFirstFromByte256MinusBase) {
  EXPECT_EQ(BookNumeration(224).encode(0), " ");
  EXPECT_EQ(BookNumeration(224).encode(224), " !");
  EXPECT_EQ(BookNumeration(2).encode(5), "\xFF\xFE\xFF");
  // Digits of the pattern worked out by hand division.
  EXPECT_EQ(BookNumeration(224).encode(kPattern), "\xB5\x82\xE5\xAB\x8A\xA3\xC9\xF1!");
}

TEST(BookNumber, RoundTripsInEveryBaseUpTo64Digits) {
  for (unsigned base = 2; base <= 224; ++base) {
    const BookNumeration numbers(base);
    const std::string text = numbers.encode(kPattern);
    std::uint64_t back = 0;
    ASSERT_TRUE(numbers.decode(text, back)) << "base " << base;
    EXPECT_EQ(back, kPattern) << "base " << base;
    EXPECT_LE(text.size(), 64u);
  }
  std::uint64_t back = 0;
  const BookNumeration binary(2);
  ASSERT_TRUE(binary.decode(binary.encode(~std::uint64_t{0}), back));
  EXPECT_EQ(back, ~std::uint64_t{0});
}

TEST(BookNumber, DecodeStopsAtLineFeedAndRejectsNonNumbers) {
  const BookNumeration numbers(224);
  std::uint64_t value = 0;
  ASSERT_TRUE(numbers.decode(" !\nrest", value));
  EXPECT_EQ(value, 224u);
  EXPECT_FALSE(numbers.decode("", value));
  EXPECT_FALSE(numbers.decode(std::string(65, '!'), value)) << "more than 64 digits";
  EXPECT_TRUE(numbers.decode(std::string(64, ' '), value));
  EXPECT_FALSE(numbers.decode("ab\tc", value)) << "control byte";
  EXPECT_FALSE(BookNumeration(10).decode("\xF6\x10", value)) << "below 256 - 10";
}

TEST(BookNumber, BasesTheFileCannotHoldFallBackTo224) {
  for (unsigned base : {0u, 1u, 246u}) EXPECT_EQ(BookNumeration(base).base(), 224u) << base;
  EXPECT_EQ(BookNumeration(100).base(), 100u);
}

TEST(PackedMoveData, FieldsSitAtTheirBitsAndDoNotSpill) {
  BookEntry entry;
  entry.from = 52;
  entry.to = 36;
  entry.cmt = 5;
  entry.n = 1048575;
  entry.pc = 100;
  entry.oppElo = 2500;
  entry.myElo = 2651;
  const std::uint64_t data = packMoveData(entry);
  EXPECT_EQ(data & 63, 52u);
  EXPECT_EQ((data >> 6) & 63, 36u);
  EXPECT_EQ((data >> 12) & 7, 5u);
  EXPECT_EQ((data >> 15) & 0xFFFFF, 1048575u);
  EXPECT_EQ((data >> 35) & 127, 100u);
  EXPECT_EQ((data >> 42) & 2047, 1250u);
  EXPECT_EQ(data >> 53, 1325u);
  BookEntry back;
  unpackMoveData(data, back);
  EXPECT_EQ(std::make_tuple(back.from, back.to, back.cmt, back.n, back.pc, back.oppElo),
            std::make_tuple(std::uint8_t{52}, std::uint8_t{36}, std::uint8_t{5}, 1048575u, std::uint8_t{100},
                            std::uint16_t{2500}));
  EXPECT_EQ(back.myElo, 2650) << "an odd Elo comes back one lower";

  BookEntry oversized;
  oversized.n = 1048576;  // one past the 20 bits
  oversized.pc = 0;
  EXPECT_EQ((packMoveData(oversized) >> 35) & 127, 0u);
}

}  // namespace
}  // namespace kestrova
