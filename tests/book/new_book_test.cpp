// Book generation: the stop rule, the standard first moves, the merge of doubles and newbk.
#include <gtest/gtest.h>


#include "book/new_book.hpp"
#include "book_support.hpp"
#include "support/text.hpp"

namespace kestrova {
namespace {

TEST(StopRule, EndsALineAtTheFirstQuietPositionWithTheMinorPiecesOutAndBothKingsMoved) {
  // Minor pieces out, kings on h1 and h8 (off every square the rule looks at); then one change each.
  // The placement, the half-move (of 40, with minPly 5 and maxPly 30), whether it and the one before
  // it are active, and whether the line stops.
  const std::string out = "3rr2k/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RR2K";
  const std::tuple<std::string, int, bool, bool, bool> cases[] = {
      {out, 12, false, false, true}, {out, 41, false, false, true}, {out, 31, false, false, true},  // past the
      {out, 4, false, false, false}, {out, 12, true, false, false}, {out, 12, false, true, false},  // game, maxPly
      {"1n1rr2k/pppq1ppp/3pbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RR1NK", 12, false, false, false},  // b8 and g1 taken
      {"3rr2k/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RR1K1", 12, false, false, true},    // g1 alone
      {"3rr2k/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RK2R", 12, false, false, false},    // a king on e1
      {"3rk2r/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RR2K", 12, false, false, false},    // a king on e8
  };
  for (const auto& [placement, ply, active, previousActive, stops] : cases) {
    Board board;
    parseFen(board, placement + " w - -");
    EXPECT_EQ(stopsLine({ply, 40, 5, 30, active, previousActive, &board}), stops) << placement << ply;
  }
  Move move;
  for (std::uint16_t flag : {moveflag::kCheck, moveflag::kMate, moveflag::kCapture, moveflag::kPromoteKnight,
                             moveflag::kEnPassant, moveflag::kShortCastle, moveflag::kLongCastle, std::uint16_t{0}}) {
    move.flags = flag, move.piece = kKnight;
    EXPECT_EQ(isActiveMove(move), flag != 0) << flag;
  }
  move.piece = kKing;
  EXPECT_TRUE(isActiveMove(move));
}

TEST(StandardFirstMove, IsAPawnStepFromHomeOrAKnightToTheThirdRank) {
  const std::tuple<const char*, int, bool> cases[] = {
      {"a2a4", kWhite, true}, {"h2h3", kWhite, true}, {"b1a3", kWhite, true},  {"b1c3", kWhite, true},
      {"g1f3", kWhite, true}, {"g1h3", kWhite, true}, {"e7e5", kBlack, true},  {"e7e6", kBlack, true},
      {"b8a6", kBlack, true}, {"b8c6", kBlack, true}, {"g8f6", kBlack, true},  {"g8h6", kBlack, true},
      {"b1d2", kWhite, false}, {"e2e5", kWhite, false}, {"d2e3", kWhite, false}, {"e7e5", kWhite, false},
      {"g8e7", kBlack, false}, {"e7e4", kBlack, false}, {"e2e4", kBlack, false}};
  for (const auto& [move, colour, standard] : cases)
    EXPECT_EQ(isStandardFirstMove(test::square(move), test::square(move + 2), colour), standard) << move << colour;
}

TEST(MergeDoubles, CountsTheGamesRoundsThePercentageAndAveragesTheKnownElos) {
  // The mover's points and Elos of each game, the percentage and the average Elo.
  const std::tuple<std::vector<int>, std::vector<int>, int, int> cases[] = {
      {{2, 1}, {}, 75, 0}, {{1}, {}, 50, 0}, {{1, 1, 1}, {2600, 0, 2701}, 50, 2650},
      {{2, 2, 1}, {}, 83, 0}, {{2, 1, 1}, {}, 67, 0},  // 250 / 3 = 83 rest 1; 200 / 3 = 66 rest 2, above half of 3
      {{1, 0, 0, 0}, {}, 12, 0}};                     // 50 / 4 = 12 rest 2: an exact half rounds down
  for (const auto& [points, myElos, pc, myElo] : cases) {
    std::vector<BookEntry> entries;
    for (int p : points) entries.push_back(test::entry(77, 88, 52, 36, 0, p));
    for (std::size_t i = 0; i < myElos.size(); ++i) entries[i].myElo = static_cast<std::uint16_t>(myElos[i]);
    BookTable book;
    test::adopt(book, entries);
    EXPECT_EQ(mergeDoubles(book), static_cast<int>(entries.size()) - 1);
    const BookEntry& kept = book.entries()[1];
    EXPECT_EQ(std::make_tuple(kept.n, int{kept.pc}, int{kept.myElo}), std::make_tuple(entries.size(), pc, myElo));
  }
  // Another move, another lock or another position is no double; past 1,048,575 games (20 bits) the
  // surplus doubles are deleted, not counted.
  std::vector<BookEntry> entries(1048576, test::entry(5, 1, 52, 36, 0, 2));
  entries.back().cmt = 0;
  for (const auto& [key, lock, from] : {std::tuple{5, 1, 51}, {5, 2, 51}, {5, 2, 52}, {6, 1, 52}})
    entries.push_back(test::entry(key, lock, from, 36, 0));
  BookTable book;
  test::adopt(book, entries);
  EXPECT_EQ(mergeDoubles(book), 1048575);
  EXPECT_EQ(std::make_pair(book.entries()[1].n, int{book.entries()[1].pc}), std::make_pair(1048575u, 100));
}

TEST(BookTables, AreTheSameOnEveryMachine) {
  BookTable book, wide;
  generateBookTables(book);
  // x = x * 1103515245 + 12345 from 1: 1103527590, 2524885223, 662824084.
  EXPECT_EQ(std::tie(book.sideKey, book.keyTable[0], book.lockTable[0]),
            std::tuple(1103527590u, 2524885223u, 662824084u));
  // 64-bit books draw random64 values from the run-time generator as the program's Zobrist keys
  // leave it (seeded with 1, 8,965 draws); values from an independent script.
  wide.setHashSize(64);
  generateBookTables(wide);
  EXPECT_EQ(std::tie(wide.sideKey, wide.keyTable[0], wide.lockTable[0]),
            std::make_tuple(13890243259580816184u, 15257716227784660849u, 1627395238782920693u));
}

std::string game(const std::string& result, const std::string& moves, const std::string& tags = "") {
  return "[Event \"t\"]\n[Result \"" + result + "\"]\n" + tags + "\n" + moves + " " + result + "\n\n";
}

TEST(NewBook, BuildsTheOpeningLinesOfTheGamesWithTheirScoresAndElos) {
  test::ScratchDir dir;
  const std::string endgame = "[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\"]\n";
  dir.write("games.pgn", game("1-0", "1. e4 e5", "[WhiteElo \"2600\"]\n[BlackElo \"2500\"]\n") +
                             game("1/2-1/2", "1. e4 c5", "[WhiteElo \"2700\"]\n[BlackElo \"2501\"]\n") +
                             game("0-1", "1. e4 e6", "[WhiteElo \"5000\"]\n[BlackElo \"650\"]\n") +  // not valid
                             game("*", "1. d4 d5 2. c4 e6") +            // "*" is won by Black; 3 half-moves
                             game("1-0", "1. Nf3 Ke5") +                 // illegal: left out whole
                             game("1-0", "1. Ke2 Kd7 2. e4", endgame) +  // first not standard: nothing
                             game("1-0", "1. e3 Ke7 2. e4", endgame));   // second not standard: the first
  auto app = test::makeApp("y\n");
  const std::string out = test::run(*app, "newbk 1 3 -pgn=games.pgn !");
  EXPECT_TRUE(test::has(out, "game 5: illegal move 1...Ke5") && test::has(out, "- 2 double moves deleted\n")) << out;
  ASSERT_TRUE(app->book.isLoaded() && app->book.sorted && app->book.clean && app->book.moves == 8) << "reloaded by !";
  // Games, percentage, the mover's and the opponent's Elo (the averages of the valid Elos, in halves) of
  // seven of the eight moves; the eighth is 1.e3 of the last game.
  const auto fields = [&](const char* before, const char* move) {
    const BookEntry& e = test::bookEntry(*app, before, move);
    return std::make_tuple(e.n, int{e.pc}, int{e.myElo}, int{e.oppElo});
  };
  EXPECT_EQ(fields("", "e2e4"), std::make_tuple(3u, 50, 2650, 2500));
  EXPECT_EQ(fields("", "d2d4"), std::make_tuple(1u, 0, 0, 0));
  EXPECT_EQ(fields("e2e4", "e7e5"), std::make_tuple(1u, 0, 2500, 2600));
  EXPECT_EQ(fields("e2e4", "c7c5"), std::make_tuple(1u, 50, 2500, 2700));
  EXPECT_EQ(fields("e2e4", "e7e6"), std::make_tuple(1u, 100, 0, 0));
  EXPECT_EQ(fields("d2d4", "d7d5"), std::make_tuple(1u, 100, 0, 0));
  EXPECT_EQ(fields("d2d4 d7d5", "c2c4"), std::make_tuple(1u, 0, 0, 0));
}

}  // namespace
}  // namespace kestrova
