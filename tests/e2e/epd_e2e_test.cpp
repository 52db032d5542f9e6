// The EPD commands run by the program on files in its working directory.
#include <gtest/gtest.h>

#include <string>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

bool has(const RunResult& run, const std::string& text) { return run.output.find(text) != std::string::npos; }

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(EpdEndToEnd, SearchCountDeduplicateAndSaveInOneBatch) {
  Session session;
  // After 1.e4 (games 5, 7, 9, 14, 16, 25, 27 of the sample) and after 1.e4 e5 (game 14), as
  // chess.js replays the file; the second 1.e4 line repeats the first with other castling rights.
  session.withDefaultData()
      .withSourceFile("tests/data/samples/a_roundrobin.pgn", "rr.pgn")
      .withSourceFile("tests/data/samples/e_setup.pgn", "setup.pgn")
      .withFile("find.epd",
                "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3\n"
                "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6\n"
                "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b - -\n");
  const RunResult run = session.run({"open", "rr.pgn", "fepd", "find.epd", "ddepd", "-in=find.epd", "-out=single.epd",
                                     "play", "1", "3", "epdsv", "open", "setup.pgn", "fenstat", "exit"});
  EXPECT_TRUE(has(run, "\n> 3 diagrams loaded\n")) << run.output;
  EXPECT_TRUE(has(run, "> see files \"epd-x.pgn\"\n"));
  EXPECT_FALSE(run.hasFile("epd-1.pgn"));
  EXPECT_EQ(count(run.file("epd-3.pgn"), "[Annotator \"EPD 3 found after 1.e4\"]"), 7) << run.file("epd-3.pgn");
  EXPECT_EQ(count(run.file("epd-2.pgn"), "[Annotator \"EPD 2 found after 1...e5\"]"), 1);

  EXPECT_TRUE(has(run, "- 1 duplicated positions deleted\n- 2 remaining positions\n- operation complete\n"
                       "- please see the single.epd file\n"));
  EXPECT_EQ(run.file("single.epd"),
            "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3\n"
            "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6\n");

  // The saved position is in the file when the program has ended: before 2.d4 of game 1.
  EXPECT_EQ(run.file("epdsave.epd"),
            "rnbqkbnr/pppp1ppp/4p3/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - 0 0;game Current position\n");

  EXPECT_TRUE(has(run, "> 6 positions recorded and sorted by score\n"));
  EXPECT_TRUE(has(run, "> list saved in the epd-out.epd file\n"));
  EXPECT_EQ(count(run.file("epd-out.epd"), "; c0 \"N=2 "), 6);
}

}  // namespace
}  // namespace kestrova::e2e
