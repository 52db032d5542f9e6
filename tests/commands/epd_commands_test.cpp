// ddepd, fenstat, epdsv and fepd.
#include <filesystem>

#include "chess/fen.hpp"
#include "commands/commands_support.hpp"
#include "commands/epd_dedup.hpp"

namespace kestrova::test {
namespace {

class EpdCommands : public CommandTest {};

TEST_F(EpdCommands, DedupKeepsTheFirstLineOfEachPlacementAndSideToMoveCopiedWhole) {
  const std::string kept[] = {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - c0 \"first\";\n", "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -\n",
                              "4k3/8/8/8/8/8/8/4K3 w - - c0 \"" + std::string(400, 'x') + "\";\n",
                              "4k3/8/8/8/8/8/8/3K4 w - -\n", "4k3/8/8/8/8/8/8/3K4 b"};
  // Other castling rights, en passant or comment: the same position. CR LF is read and written LF.
  dir.write("in.epd", kept[0] + "r3k2r/8/8/8/8/8/8/R3K2R w - - c0 \"x\";\n" + kept[1] + kept[2] +
                          "4k3/8/8/8/8/8/8/4K3 w - - c0 \"again\";\n4k3/8/8/8/8/8/8/3K4 w - -\r\n"
                          "4k3/8/8/8/8/8/8/3K4 w - e3\n" + kept[4]);
  EXPECT_TRUE(removeRepeatedPositions(app->console, app->pgn, *app->chess.zobrist, "in.epd", "out.epd"));
  // The closing notice is the caller's (ddepd's or the book analysis's).
  EXPECT_EQ(app->console.takeCaptured(),
            "\n- processing the in.epd file\n- 3 duplicated positions deleted\n- 5 remaining positions\n");
  EXPECT_EQ(output("out.epd"), kept[0] + kept[1] + kept[2] + kept[3] + kept[4]);
  EXPECT_TRUE(has(run("ddepd -in=in.epd"), "- 5 remaining positions\n- operation complete\n- please see the "
                                           "outputepd.epd file\n"));
  EXPECT_EQ(output("outputepd.epd"), output("out.epd"));
  EXPECT_EQ(run("ddepd -in=missing.epd"), "\n- processing the missing.epd file\n- can't open the epd source file\n"
                                          "- can't start or terminate the process !\n");
}

TEST_F(EpdCommands, FenstatCountsTheResultsOfEachStartPositionSortedByWhitesScore) {
  // The sample's six FEN tags have two games each (Result tags counted by hand); games without one
  // count under the start position, an unfinished game as a draw. Equal scores in text order.
  open(sourceFile("tests/data/samples/e_setup.pgn") + "\n" + game("x", "0-1", "1.e4 ") + game("y", "*", "1.d4 ") +
       game("z", "0-1", "1.c4 "));
  const std::string last = std::string(kStartPosition) + "; c0 \"N=3 w_win=0.0% draw=33.3% b_win=66.7%\";\n";
  EXPECT_TRUE(has(run("fenstat"), last + "\n> 7 positions recorded and sorted by score\n> 15 games read, 15 used, "
                                         "0 left out\n> list saved in the epd-out.epd file\n"));
  EXPECT_EQ(output("epd-out.epd"),
            "======new list======\n"
            "8/8/8/4k3/8/8/3QK3/7r w - - 0 1; c0 \"N=2 w_win=100.0% draw=0.0% b_win=0.0%\";\n"
            "8/8/8/4k3/8/8/8/4KBN1 w - - 0 1; c0 \"N=2 w_win=50.0% draw=50.0% b_win=0.0%\";\n"
            "4b3/4k3/5p2/1p1P1P2/1P6/2B5/4K3/8 w - - 12 57; c0 \"N=2 w_win=0.0% draw=100.0% b_win=0.0%\";\n"
            "8/5k2/8/2p3P1/2P2K2/8/r7/6R1 b - - 3 41; c0 \"N=2 w_win=0.0% draw=100.0% b_win=0.0%\";\n"
            "8/8/3k4/r7/8/3K4/8/7R w - - 0 1; c0 \"N=2 w_win=0.0% draw=100.0% b_win=0.0%\";\n"
            "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BP2N1P/PP1P1PP1/RNBQR1K1 b - - 0 9; c0 \"N=2 w_win=50.0% draw=0.0% "
            "b_win=50.0%\";\n" + last);
}

TEST_F(EpdCommands, EpdsvAppendsThePositionBeforeTheLastHalfMovePlayed) {
  open("[Event \"E\"]\n[Result \"*\"]\n\n1. Nf3 e6 2. d4 *\n\n");
  dir.write("epdsave.epd", "kept\n");
  run("play 1 3");
  EXPECT_EQ(run("epdsv") + run("epdsv"), "");
  // The position before 2. d4, with its clocks, as chess.js gives it.
  const std::string line = "rnbqkbnr/pppp1ppp/4p3/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - 0 2;game Current position\n";
  EXPECT_EQ(output("epdsave.epd"), "kept\n" + line + line);
  std::filesystem::remove(dir.path() / "epdsave.epd");
  std::filesystem::create_directory(dir.path() / "epdsave.epd");
  EXPECT_TRUE(has(run("epdsv"), "> can't write the file \"epdsave.epd\": ")) << "a directory cannot be replaced";
}

TEST_F(EpdCommands, FepdWritesEveryGameToTheFileOfEachPositionItPassesButNoneToAFileItReads) {
  // As chess.js replays the sample: game 1 alone passes 12.Nxc6 and 12...Qd7 (castling rights aside),
  // 7 games play 1.e4. A position listed twice collects its games under its later line.
  const std::string afterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3";
  open(sourceFile("tests/data/samples/a_roundrobin.pgn"), {kTagAnnotator});
  dir.write("find.epd", "r2qk2r/4bppp/p1N2n2/2np4/8/8/PPP1QPPP/RNB2RK1 b kq - bm Qd7;\nshort line\n"
                        "r3k2r/3qbppp/p1N2n2/2np4/8/8/PPP1QPPP/RNB2RK1 w - - c0 \"x\";\n" +
                            afterE4 + "\r\n" + afterE4 + "\n");
  dir.write("epd-4.pgn", "earlier results");
  run("fepd find.epd");  // a second run starts its files anew
  const std::string printed = run("fepd find.epd");
  EXPECT_TRUE(has(printed, "\n> 5 diagrams loaded\n\n> processing...\n> searching now for epd positions\n"));
  EXPECT_TRUE(has(printed, "> 30 games read, 30 used, 0 left out\n> see files \"epd-x.pgn\"\n")) << printed;
  EXPECT_EQ(tagValues(output("epd-1.pgn"), "Annotator"), Texts{"EPD 1 found after 12.Nxc6"});
  EXPECT_EQ(tagValues(output("epd-3.pgn"), "Annotator"), Texts{"EPD 3 found after 12...Qd7"});
  EXPECT_FALSE(dir.exists("epd-2.pgn") || dir.exists("epd-4.pgn"));
  EXPECT_EQ(tagValues(output("epd-5.pgn"), "Annotator"), Texts(7, "EPD 5 found after 1.e4"));
  // From a position with Black to move: 1... Kc6 2. Rh6+; chess.js gives the position after 2. Rh6+.
  open("[Event \"E\"]\n[SetUp \"1\"]\n[FEN \"8/8/3k4/r7/8/3K4/8/7R b - - 0 1\"]\n\n1... Kc6 2. Rh6+ Kb5 *\n\n");
  dir.write("find.epd", "8/8/2k4R/r7/8/3K4/8/8 b - -\n");
  run("fepd find.epd");
  EXPECT_EQ(tagValues(output("epd-1.pgn"), "Annotator"), Texts{"EPD 1 found after 2.Rh6+"});
  std::filesystem::remove(dir.path() / "epd-1.pgn");
  dir.write("bad.epd", "4k3/8/8/8/8/8/8/4K3 w - -\n\n8/8/8/4k3/8/8/8/8 w - - c0 \"one king\";\n4k3/8/8/8/8/8/8/3K4\n");
  EXPECT_EQ(run("fepd bad.epd"), "\n> corrupted EPD diagram, line 3\n");
  EXPECT_FALSE(dir.exists("epd-1.pgn"));
  EXPECT_EQ(run("fepd nothing.epd"), "\n> file \"nothing.epd\" not found...\n");
  dir.write("short.epd", "8/8/8\n\nK7/8/k7\n");
  EXPECT_EQ(run("fepd short.epd"), "\n> 3 diagrams loaded\n\n> no specified EPD-diagram\n");
  dir.write("epd-1.pgn", "4k3/8/8/8/8/8/8/4K3 w - -\n");  // line 1 of this file names its own output
  EXPECT_TRUE(has(run("fepd epd-1.pgn"), "\n> \"epd-1.pgn\" is read by this command: it can't be its output file\n"));
  EXPECT_EQ(output("epd-1.pgn"), "4k3/8/8/8/8/8/8/4K3 w - -\n");
}

}  // namespace
}  // namespace kestrova::test
