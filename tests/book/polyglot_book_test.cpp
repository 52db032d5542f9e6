// The book as a polyglot ".bin": polyglot make-book's weights, and the files newbk and openbk write,
// compared with the file polyglot make-book makes of the same games.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "book/polyglot_book.hpp"
#include "platform/output_file.hpp"
#include "support/test_app.hpp"
#include "support/text.hpp"

namespace kestrova {
namespace {

constexpr const char* kPolyglot = "/usr/games/polyglot";

std::vector<PolyglotEntry> readEntries(const std::string& bytes) {
  std::vector<PolyglotEntry> entries;
  for (std::size_t at = 0; at + 16 <= bytes.size(); at += 16) {
    const auto number = [&](std::size_t from, std::size_t size) {
      std::uint64_t value = 0;
      for (std::size_t i = from; i < from + size; ++i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
      return value;
    };
    entries.push_back({number(0, 8), static_cast<std::uint16_t>(number(8, 2)), static_cast<std::uint16_t>(number(10, 2))});
    EXPECT_EQ(number(12, 4), 0u) << "learn";
  }
  return entries;
}

TEST(PolyglotBook, WeighsAsPolyglotMakeBookDoes) {
  // Moves by their codes. Position 5: the games of polyglot make-book's "*" test file, wins (2) and
  // draws (1) for the mover in game order; a move lost every time is left out, equal weights keep the
  // order the moves were first played in. Position 7: 3 draws of d4, then e4 wins 16,384 times, which
  // halves both moves' games and points (rounded up: e4 8,192 games 16,384 points, d4 2 and 2), then 5
  // more: make-book gives e4 16394, d4 2.
  enum : std::uint16_t { kNf3 = 405, kC4 = 666, kE4 = 796, kB3 = 593, kD4 = 731 };
  std::vector<PolyglotEntry> raw(3, {7, kD4, 1});
  raw.insert(raw.end(), 16384 + 5, {7, kE4, 2});
  for (auto [move, points] : {std::pair{kE4, 1}, {kD4, 0}, {kNf3, 2}, {kC4, 2}, {kB3, 1}})
    raw.push_back({5, move, static_cast<std::uint16_t>(points)});
  test::ScratchDir dir;
  auto app = test::makeApp();
  platform::OutputFile rawFile, book;
  ASSERT_TRUE(rawFile.create("raw.bin") && book.create("book.bin"));
  for (const PolyglotEntry& entry : raw) writePolyglotEntry(rawFile, entry);
  ASSERT_TRUE(rawFile.commit() && writePolyglotFromRaw(app->console, "raw.bin", book) && book.commit());
  EXPECT_EQ(readEntries(dir.read("book.bin")),
            (std::vector<PolyglotEntry>{{5, kNf3, 2}, {5, kC4, 2}, {5, kE4, 1}, {5, kB3, 1}, {7, kE4, 16394}, {7, kD4, 2}}));
}

TEST(PolyglotBook, NewbkAndOpenbkWriteWhatPolyglotMakeBookMakesOfTheSameGames) {
  if (!std::filesystem::exists(kPolyglot)) GTEST_SKIP() << "no polyglot (scripts/setup-deps installs it)";
  test::ScratchDir dir;
  // The engine games of the samples without a set-up position; every game won or drawn.
  std::string games;
  for (const char* name : {"a_roundrobin", "b_gauntlet", "c_swiss", "d_match"})
    games += test::sourceFile(std::string("tests/data/samples/") + name + ".pgn");
  dir.write("games.pgn", games);
  // minPly above maxPly: every line is the game's first 12 half-moves, make-book's -max-ply 12.
  auto app = test::makeApp("y\n");
  std::string out = test::run(*app, "newbk 13 12 -pgn=games.pgn -bin=new.bin");
  out += test::run(*app, "openbk book.obk -bin=");
  EXPECT_TRUE(test::has(out, "- polyglot book written to new.bin\n") && test::has(out, " to the polyglot book book.bin\n"))
      << out;
  const std::string make = std::string(kPolyglot) + " make-book -pgn games.pgn -bin theirs.bin -max-ply 12 -min-game 1";
  ASSERT_EQ(std::system((make + " > /dev/null").c_str()), 0);
  const std::string theirs = dir.read("theirs.bin");
  ASSERT_GT(theirs.size(), 100 * 16u);
  // From the games: the same file, byte for byte (castling included, as the king taking its rook).
  EXPECT_EQ(dir.read("new.bin"), theirs);
  const std::vector<PolyglotEntry> made = readEntries(theirs);
  EXPECT_TRUE(std::any_of(made.begin(), made.end(), [](auto& e) { return e.move == 263 || e.move == 3903; }));
  // From the book: the same entries (the book keeps no order among moves of equal weight), each
  // weight the points of the book's n and pc, in key order and by weight.
  std::vector<PolyglotEntry> exported = readEntries(dir.read("book.bin")), expected = made;
  const auto order = [](const PolyglotEntry& a, const PolyglotEntry& b) {
    return std::tuple(a.key, -a.weight, a.move) < std::tuple(b.key, -b.weight, b.move);
  };
  EXPECT_TRUE(std::is_sorted(exported.begin(), exported.end(), [](auto& a, auto& b) {
    return std::pair(a.key, -a.weight) < std::pair(b.key, -b.weight);
  }));
  std::sort(exported.begin(), exported.end(), order);
  std::sort(expected.begin(), expected.end(), order);
  EXPECT_EQ(exported, expected);
}

}  // namespace
}  // namespace kestrova
