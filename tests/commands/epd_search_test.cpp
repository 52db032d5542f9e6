// fepd: the games that pass through the positions of an EPD file, one output file per position.
#include <gtest/gtest.h>

#include <string>

#include "commands/epd_diagrams.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Positions of the first game of the round-robin sample, and the games passing through them, as
// chess.js replays the file: after 12.Nxc6 (ply 23) and 12...Qd7 (ply 24) only game 1; after
// 1.e4 games 5, 7, 9, 14, 16, 25 and 27.
constexpr const char* kAfterWhite12 = "r2qk2r/4bppp/p1N2n2/2np4/8/8/PPP1QPPP/RNB2RK1 b kq - bm Qd7;";
// The castling field differs from the game's position: it does not count.
constexpr const char* kAfterBlack12 = "r3k2r/3qbppp/p1N2n2/2np4/8/8/PPP1QPPP/RNB2RK1 w - - c0 \"x\";";
constexpr const char* kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3";

class EpdSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("rr.pgn", test::sourceFile("tests/data/samples/a_roundrobin.pgn"));
    for (int tag : {kTagEvent, kTagRound, kTagWhite, kTagBlack, kTagResult, kTagAnnotator}) {
      app_->game.tags.setOutputEnabled(tag, true);
    }
    ASSERT_TRUE(app_->pgn.open("rr.pgn"));
  }

  test::ScratchDir dir_;
  std::unique_ptr<App> app_ = test::makeApp();
};

TEST_F(EpdSearch, AnnotatesTheMoveAfterWhichEachPositionStands) {
  dir_.write("find.epd", std::string(kAfterWhite12) + "\nshort line\n" + kAfterBlack12 + "\n" + kAfterE4 +
                             "\r\n" + kAfterE4 + " listed again\n");
  dir_.write("epd-4.pgn", "earlier results");
  const std::string printed = test::run(*app_, "fepd find.epd");
  EXPECT_NE(printed.find("\n> 5 diagrams loaded\n\n> processing...\n> searching now for epd positions\n"),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("> see files \"epd-x.pgn\"\n"), std::string::npos);

  const std::string first = dir_.read("epd-1.pgn");
  EXPECT_EQ(count(first, "[Event "), 1);
  EXPECT_NE(first.find("[Round \"1\"]\n[White \"Stockfish 15.1\"]\n[Black \"Stockfish 15.1 Elo2200\"]"),
            std::string::npos)
      << first;
  EXPECT_NE(first.find("[Annotator \"EPD 1 found after 12.Nxc6\"]"), std::string::npos) << first;
  EXPECT_NE(first.find("12.Nxc6"), std::string::npos) << "the whole game is written";

  const std::string third = dir_.read("epd-3.pgn");
  EXPECT_EQ(count(third, "[Event "), 1);
  EXPECT_NE(third.find("[Annotator \"EPD 3 found after 12...Qd7\"]"), std::string::npos) << third;

  // A position listed twice collects its games under its later line only; the earlier line's
  // file is emptied all the same.
  EXPECT_FALSE(dir_.exists("epd-4.pgn"));
  EXPECT_FALSE(dir_.exists("epd-2.pgn"));
  const std::string fifth = dir_.read("epd-5.pgn");
  EXPECT_EQ(count(fifth, "[Annotator \"EPD 5 found after 1.e4\"]"), 7) << fifth;
  EXPECT_EQ(count(fifth, "[Round \""), 7);
}

TEST_F(EpdSearch, AppendsToNothingWrittenBeforeTheRun) {
  dir_.write("find.epd", std::string(kAfterWhite12) + "\n");
  test::run(*app_, "fepd find.epd");
  test::run(*app_, "fepd find.epd");
  EXPECT_EQ(count(dir_.read("epd-1.pgn"), "[Event "), 1);
}

TEST_F(EpdSearch, RejectsADiagramWithoutTwoKingsNamingItsLine) {
  dir_.write("bad.epd", std::string(kAfterE4) + "\n\n8/8/8/4k3/8/8/8/8 w - - c0 \"one king\";\n" + kAfterWhite12 + "\n");
  const std::string printed = test::run(*app_, "fepd bad.epd");
  EXPECT_EQ(printed, "\n> corrupted EPD diagram, line 3\n");
  EXPECT_FALSE(dir_.exists("epd-1.pgn"));
}

TEST_F(EpdSearch, ReportsMissingFilesAndEmptyLists) {
  EXPECT_EQ(test::run(*app_, "fepd nothing.epd"), "\n> file \"nothing.epd\" not found...\n");
  dir_.write("short.epd", "8/8/8\n\nK7/8/k7\n");
  EXPECT_EQ(test::run(*app_, "fepd short.epd"), "\n> 3 diagrams loaded\n\n> no specified EPD-diagram\n");
}

TEST_F(EpdSearch, NeverEmptiesTheFilesItReads) {
  // Line 1 of this file names its own output "epd-1.pgn".
  dir_.write("epd-1.pgn", std::string(kAfterWhite12) + "\n");
  const std::string printed = test::run(*app_, "fepd epd-1.pgn");
  EXPECT_NE(printed.find("\"epd-1.pgn\" is read by this command"), std::string::npos) << printed;
  EXPECT_EQ(dir_.read("epd-1.pgn"), std::string(kAfterWhite12) + "\n");
}

TEST_F(EpdSearch, LoadingLeavesTheCurrentPositionAlone) {
  dir_.write("find.epd", std::string(kAfterWhite12) + "\n");
  const Board before = app_->chess.board;
  EpdDiagramList list;
  ASSERT_EQ(loadEpdDiagrams(*app_, list, "find.epd"), 1);
  EXPECT_EQ(list.size(), 1u);
  EXPECT_EQ(app_->chess.board.occupied, before.occupied);
  EXPECT_EQ(list.find(list.diagrams()[0].keys), 1);
  freeEpdDiagrams(list);
  EXPECT_TRUE(list.empty());
}

TEST(EpdSearchGames, FindsPositionsInGamesThatStartWithBlackToMove) {
  // 1... Kc6 2. Rh6+ from this position; chess.js gives the position after 2. Rh6+.
  test::ScratchDir dir;
  dir.write("g.pgn",
            "[Event \"E\"]\n[SetUp \"1\"]\n[FEN \"8/8/3k4/r7/8/3K4/8/7R b - - 0 1\"]\n\n1... Kc6 2. Rh6+ Kb5 *\n\n");
  dir.write("find.epd", "8/8/2k4R/r7/8/3K4/8/8 b - -\n");
  auto app = test::makeApp();
  app->game.tags.setOutputEnabled(kTagAnnotator, true);
  ASSERT_TRUE(app->pgn.open("g.pgn"));
  test::run(*app, "fepd find.epd");
  EXPECT_NE(dir.read("epd-1.pgn").find("[Annotator \"EPD 1 found after 2.Rh6+\"]"), std::string::npos)
      << dir.read("epd-1.pgn");
}

}  // namespace
}  // namespace kestrova
