// The tournament finder end to end: ftrn in both formats.
#include <gtest/gtest.h>

#include "e2e/harness.hpp"
#include "rating/game_text.hpp"

namespace kestrova::e2e {
namespace {

// Three players, each pairing once: A 1.5, B 1, C 0.5.
std::string threePlayers() {
  return test::gameText({"A", "B", "1-0", "Club", 1}) + test::gameText({"B", "C", "1-0", "Club", 2}) +
         test::gameText({"C", "A", "1/2-1/2", "Club", 3});
}

TEST(TournamentEndToEnd, FtrnWritesTheCrossTableAndKeepsTheFormat) {
  Session session;
  session.withDefaultData().withFile("club.pgn", threePlayers());
  const RunResult run = session.run({"open", "club.pgn", "ftrn", "-fmt=html", "ftrn", "-out=again"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(run.output.find("> see trnfound.html\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("> see again.html\n"), std::string::npos) << run.output;
  const std::string page = run.file("trnfound.html");
  for (const char* part : {"<a href=\"#1\">1. Club (2024.01.01)</a>", "Round Robin tournament</b>", "Winner : A<br>",
                           "3 games : +2 =1 -0<br>2 games per player<br>"}) {
    EXPECT_NE(page.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(page, run.file("again.html"));
}

TEST(TournamentEndToEnd, FtrnInTextWithoutAFile) {
  Session session;
  session.withDefaultData();
  const RunResult run = session.run({"ftrn"});
  EXPECT_NE(run.output.find("> no PGN-file in memory. Please load a pgn file\n"), std::string::npos);
  EXPECT_FALSE(run.hasFile("trnfound.txt"));
}

}  // namespace
}  // namespace kestrova::e2e
