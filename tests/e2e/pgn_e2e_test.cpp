// Opening files, showing, playing and stepping through games, merging and the comment memory.
#include <gtest/gtest.h>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

bool has(const RunResult& run, const std::string& text) { return run.output.find(text) != std::string::npos; }

const std::string kTwoGames =
    "[Event \"Test\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n"
    "1. e4 {+0.35/12 5s} e5 {-0.20/11 4s} 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0\n\n"
    "[Event \"Test\"]\n[White \"B\"]\n[Black \"A\"]\n[Result \"0-1\"]\n\n"
    "1. f3 e5 2. g4 Qh4# 0-1\n\n";

TEST(PgnEndToEnd, StartUpReportsTheBuffersAndPlayNeedsAFile) {
  Session session;
  session.withDefaultData().withFile("kestrova.ini", "gBufSz=100000\n");
  const RunResult run = session.run({"play", "1", "2", "debug", "1"});
  EXPECT_TRUE(has(run, "- bitboards initialized\n- string manager initialized\n"
                       "- line buffer : 25000 bytes\n- game buffer : 100000 bytes\n- save buffer : 100000 bytes\n"));
  EXPECT_TRUE(has(run, "- commentary size per move : 512 bytes\n"));
  EXPECT_TRUE(has(run, "\n> no PGN-file in memory. Please load a pgn file\n"));
}

TEST(PgnEndToEnd, OpenRefusesTheOutputFileAndReportsMissingFiles) {
  Session session;
  session.withDefaultData().withFile("PGN-OUT.pgn", kTwoGames).withFile("games.pgn", kTwoGames);
  const RunResult run = session.run({}, "open PGN-OUT.pgn\nopen nothing\nopen games\nshow 2\n");
  EXPECT_TRUE(has(run, "\n> you can't use the output file as an input file\n> please rename this file before using it\n"));
  EXPECT_TRUE(has(run, "\n> unable to open the file \"nothing\"\n"));
  EXPECT_TRUE(has(run, "\n> PGN file open\n"));
  EXPECT_TRUE(has(run, "[White \"B\"]\n"));
  // The default configuration shows the evaluation comments (printCmt=2).
  EXPECT_TRUE(has(run, "1.f3  {+0.00/0 0s} e5  {+0.00/0 0s} 2.g4  {+0.00/0 0s} Qh4#  {+0.00/0 0s} "));
}

TEST(PgnEndToEnd, PlayShowsThePositionAfterAHalfMove) {
  Session session;
  session.withDefaultData().withFile("games.pgn", kTwoGames);
  const RunResult run = session.run({"open", "games.pgn", "play", "2", "4", "play", "1", "1000", "play", "9", "1",
                                     "play", "0", "3", "epdsv"});
  // After 1.f3 e5 2.g4 Qh4: the Black queen (12 in colour, letter Q) stands on h4.
  EXPECT_TRUE(has(run, "          |  |  |  |  |  |  | P| Q|\n")) << run.output;
  EXPECT_TRUE(has(run, "> game 2 after the 4th halfmove\n"));
  EXPECT_TRUE(has(run, "> game 1 after the 7th halfmove\n")) << "a half-move beyond the game stops at its end";
  EXPECT_TRUE(has(run, "> there is no game 9 in this file\n"));
  EXPECT_TRUE(has(run, "\n> arguments are not in the accepted range\n"));
}

TEST(PgnEndToEnd, AGameWithoutFenAfterASetUpGameStartsFromTheStartPosition) {
  // The set-up game's FEN line must not leak into the next game, which has fewer tags.
  const std::string games =
      "[Event \"T\"]\n[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 b - - 0 1\"]\n[Result \"*\"]\n\n"
      "1... Kd7 2. e4 *\n\n"
      "[Event \"T\"]\n[Result \"*\"]\n\n1. e4 e5 *\n\n";
  Session session;
  session.withDefaultData().withFile("games.pgn", games);
  const RunResult run = session.run({"open", "games.pgn", "show", "1", "show", "2"});
  EXPECT_TRUE(has(run, "1...Kd7 ")) << run.output;
  EXPECT_TRUE(has(run, "1.e4  {+0.00/0 0s} e5 ")) << run.output;
  EXPECT_FALSE(has(run, "can't read")) << run.output;
}

TEST(PgnEndToEnd, DebugStepsThroughTheMovesUntilStopped) {
  Session session;
  session.withDefaultData().withFile("games.pgn", kTwoGames);
  const RunResult all = session.run({}, "open games.pgn\ndebug 2\n\n\n\n\n");
  EXPECT_TRUE(has(all, "> processing...\n- played move : f3 [1]\n"));
  EXPECT_TRUE(has(all, "- played move : Qh4# [4]\n"));
  EXPECT_TRUE(has(all, "- press 'enter' key twice to continue or 'x' to stop :"));

  const RunResult fromThree = session.run({}, "open games.pgn\ndebug 1 after 3\nx\n");
  EXPECT_FALSE(has(fromThree, "- played move : e4 [1]\n"));
  EXPECT_TRUE(has(fromThree, "- played move : Qh5 [3]\n"));
  EXPECT_FALSE(has(fromThree, "- played move : Nc6 [4]\n")) << "x stops the stepping";

  const RunResult last = session.run({}, "open games.pgn\ndebug 1 after last\n\n");
  EXPECT_FALSE(has(last, "- played move : Bc4 [5]\n"));
  EXPECT_TRUE(has(last, "- played move : Qxf7# [7]\n"));
}

TEST(PgnEndToEnd, MergeJoinsTheDirectorysFilesInNameOrder) {
  Session session;
  session.withDefaultData();
  std::filesystem::create_directory(session.directory() / "in");
  session.withFile("in/b.PGN", "[Event \"B\"]\r\n\r\n1. d4 *\r\n").withFile("in/a.pgn", "[Event \"A\"]\n\n1. e4 *\n")
      .withFile("in/notes.txt", "not a game");
  const RunResult run = session.run({"merge", "-dir=in", "-out=all.pgn"});
  EXPECT_TRUE(has(run, "> merging in/a.pgn file...\n> merging in/b.PGN file...\n> PGN files scan completed\n"));
  EXPECT_TRUE(has(run, "see all.pgn file\n"));
  EXPECT_EQ(run.file("all.pgn"), "[Event \"A\"]\n\n1. e4 *\n\n[Event \"B\"]\n\n1. d4 *\n\n");

  const RunResult empty = session.run({"merge", "-dir=nowhere"});
  EXPECT_TRUE(has(empty, "> No PGN files found\n"));
  EXPECT_FALSE(has(empty, "see merge.pgn file")) << "a failed merge points at no file";

  const RunResult help = session.run({"merge", "-out=x.pgn"});
  EXPECT_TRUE(has(help, "syntax")) << "without -dir= the command shows its help";
}

TEST(PgnEndToEnd, MergeIntoTheDirectoryItselfSkipsTheOutput) {
  Session session;
  session.withDefaultData().withFile("a.pgn", "[Event \"A\"]\n\n1. e4 *\n").withFile("z.pgn", "[Event \"Z\"]\n\n1. c4 *\n");
  const RunResult run = session.run({"open", "z.pgn", "merge", "-dir=.", "-out=m.pgn"});
  EXPECT_TRUE(has(run, "> closing PGN-file in memory\n"));
  EXPECT_EQ(run.file("m.pgn"), "[Event \"A\"]\n\n1. e4 *\n\n[Event \"Z\"]\n\n1. c4 *\n\n");
}

TEST(PgnEndToEnd, CmemClampsTheCommentSize) {
  Session session;
  session.withDefaultData();
  const RunResult run = session.run({"cmem", "0", "cmem", "20000000", "cmem", "1000"});
  EXPECT_TRUE(has(run, "\n> comment memory reallocated (1 bytes for each move)\n> the total size for all game's comments is now : 0.8 Kb\n"));
  EXPECT_TRUE(has(run, "(10000000 bytes for each move)\n> the total size for all game's comments is now : 8000000.0 Kb\n"));
  EXPECT_TRUE(has(run, "(1000 bytes for each move)\n> the total size for all game's comments is now : 800.0 Kb\n"));
}

}  // namespace
}  // namespace kestrova::e2e
