// The scan and the synthesis on the bundled engine-match samples, run as the program.
#include <gtest/gtest.h>

#include <sstream>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const char* const kSamples[] = {"a_roundrobin.pgn", "b_gauntlet.pgn", "c_swiss.pgn", "d_match.pgn", "e_setup.pgn"};

// The report lines of a text ("12: [w] ..."), in order.
std::vector<std::string> reportLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t colon = line.find(": [");
    if (colon != std::string::npos && colon > 0 && line.find_first_not_of("0123456789") == colon) lines.push_back(line);
  }
  return lines;
}

std::size_t countGames(const std::string& pgn) {
  std::size_t count = 0;
  for (std::size_t at = pgn.find("[Event "); at != std::string::npos; at = pgn.find("[Event ", at + 1)) ++count;
  return count;
}

TEST(ScanEndToEnd, EverySampleScansWithoutCriticalErrorAndTheLogHoldsTheReports) {
  for (const char* sample : kSamples) {
    SCOPED_TRACE(sample);
    Session session;
    session.withDefaultData().withSourceFile(std::string("tests/data/samples/") + sample);
    const RunResult run = session.run({"open", sample, "scan", "exit"});
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_TRUE(has(run.output, "\n0 games with critical error\n")) << run.output;
    EXPECT_FALSE(has(run.output, "illegal position"));
    EXPECT_FALSE(has(run.output, "No commented game found"));
    EXPECT_TRUE(has(run.output, "see log.txt file\nsee epd-out.epd or pgn-out.pgn file\nsee also rating.txt\n"));
    // The default configuration reports to the console and the log alike, with no EPD or PGN output.
    const std::vector<std::string> logged = reportLines(run.file("log.txt"));
    EXPECT_FALSE(logged.empty());
    EXPECT_EQ(reportLines(run.output), logged);
    EXPECT_EQ(run.file("epd-out.epd"), "");
    EXPECT_EQ(run.file("pgn-out.pgn"), "");
    EXPECT_TRUE(run.hasFile("rating.txt"));
  }
}

TEST(ScanEndToEnd, TheRoundRobinSampleWithEpdAndPgnOutput) {
  Session session;
  // Only NoPlan (first pawn move or capture of each side) and ExceedingPc with a real surplus.
  std::string ini = "runElo=0\n[OutputEnabledTags]\n[Event\n[White\n[Black\n[Result\n\n";
  ini += "NoPlan: name=NoPlan, epd=1, pgn=1,\nExceedingPc: name=Exceeding, val=1,\n";
  for (const char* off : {"ValDrop", "ValJump", "Diamond", "Pawn1x3", "Pawn1x4", "Pawn2x2", "PawnStorm", "CrazyKing",
                          "AbnormTerm", "DepthDrop", "Confusion", "MatEvalBug", "LowDepth", "VeryShortGame",
                          "VeryLongGame", "SuspOpening", "WinAfterDraw", "WinGmNotWon", "MvWeakCastle", "Draw50RuleBrk",
                          "Draw3xRuleBrk", "BestPerf", "TooFewMoves", "OppCastles"}) {
    ini += std::string(off) + ": act=0,\n";
  }
  session.withFile("kestrova.ini", ini).withSourceFile("data/help.man").withSourceFile(
      "tests/data/samples/a_roundrobin.pgn");
  const RunResult run = session.run({"open", "a_roundrobin.pgn", "scan", "exit"});
  EXPECT_TRUE(has(run.output, "30 games read in ")) << run.output;
  EXPECT_TRUE(has(run.output, "\n0 games with critical error\n"));
  EXPECT_FALSE(has(run.output, "see also rating.txt"));
  const std::vector<std::string> logged = reportLines(run.file("log.txt"));
  // Both sides of every game move a pawn or capture: two NoPlan lines per game.
  std::size_t noPlan = 0;
  for (const std::string& line : logged) noPlan += has(line, "] NoPlan before ");
  EXPECT_EQ(noPlan, 60u);
  // Each NoPlan report has its position in the EPD file, before the move.
  std::vector<std::string> epd;
  std::istringstream in(run.file("epd-out.epd"));
  for (std::string line; std::getline(in, line);) epd.push_back(line);
  ASSERT_EQ(epd.size(), 60u);
  for (const std::string& line : epd) {
    EXPECT_TRUE(has(line, " 0 0; game ")) << line;
    EXPECT_TRUE(has(line, "] NoPlan before ")) << line;
  }
  // The first game opens 1.Nf3 e6 2.d4: Black's pawn move comes first.
  EXPECT_EQ(epd.front(), "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b KQkq - 0 0; game 1: [b] NoPlan before 1...e6 "
                         "[Stockfish 15.1-Stockfish 15.1 Elo2200, 1-0]");
  EXPECT_TRUE(has(epd[1], " w KQkq - 0 0; game 1: [w] NoPlan before 2.d4 [")) << epd[1];
  // Every game had a report with PGN output: all 30 are written, with the enabled tags.
  EXPECT_EQ(countGames(run.file("pgn-out.pgn")), 30u);
  EXPECT_TRUE(has(run.file("pgn-out.pgn"), "[Result \""));
}

TEST(ScanEndToEnd, SynWritesTheSynthesisOfTheRoundRobin) {
  Session session;
  session.withDefaultData().withSourceFile("tests/data/samples/a_roundrobin.pgn");
  const RunResult run = session.run({"open", "a_roundrobin.pgn", "syn", "exit"});
  EXPECT_TRUE(has(run.output, "> operation completed\n")) << run.output;
  EXPECT_TRUE(has(run.output, "see synthesis.txt file\n"));
  const std::string tournaments = run.file("trnfound.txt");
  EXPECT_TRUE(has(tournaments, "Round Robin tournament\n")) << tournaments;
  EXPECT_EQ(run.file("synthesis.txt"), tournaments + "Games log :\n\n" + run.file("log.txt") + "\n- Kestrova 0.92 -\n");
  EXPECT_TRUE(run.hasFile("rating.txt"));
}

TEST(ScanEndToEnd, AnEditedDetectionLineTakesEffectOnTheNextScan) {
  Session session;
  // With the program's thresholds NoPlan reports the first pawn move.
  session.withDefaultData().withSourceFile("tests/data/samples/d_match.pgn").withFile("kestrova.ini", "runElo=0\nNoPlan: name=NoPlan,\n");
  const RunResult first = session.run({"open", "d_match.pgn", "scan", "exit"});
  EXPECT_TRUE(has(first.file("log.txt"), "] NoPlan before "));
  session.withFile("kestrova.ini", "runElo=0\nNoPlan: act=0,\nExceedingPc: name=ExceedingPc,\n");
  const RunResult second = session.run({"open", "d_match.pgn", "scan", "exit"});
  EXPECT_FALSE(has(second.file("log.txt"), "] NoPlan before "));
  EXPECT_TRUE(has(second.file("log.txt"), "] ExceedingPc (Q) after 1."));
}

}  // namespace
}  // namespace kestrova::e2e
