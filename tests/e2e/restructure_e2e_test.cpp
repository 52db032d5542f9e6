// split, cut, dbl and sub run by the program on files in its working directory.
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

TEST(RestructureEndToEnd, SplitAndCutInOneBatch) {
  Session session;
  session.withDefaultData().withFile("games.pgn",
                                     "[Event \"E\"]\n[Result \"1-0\"]\n\n1. e4 e5 (1... c5 2. Nf3) 2. Nf3 Nc6 1-0\n\n");
  const RunResult run = session.run({"open", "games.pgn", "split", "-out=lines.pgn", "cut", "-ply=3", "exit"});
  EXPECT_TRUE(has(run, "\n> processing...\n> 1 games read, 1 used, 0 left out\nsee lines.pgn file\n")) << run.output;
  EXPECT_EQ(run.file("lines.pgn"), "[Event \"E\"]\n[Result \"1-0\"]\n\n1. e4 c5 2. Nf3\n\n"
                                   "[Event \"E\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Nc6 1-0\n\n\n\n");
  EXPECT_TRUE(has(run, "> 1 games cut \n> process time : "));
  // The default configuration writes the evaluation comments (printCmt=2): none here.
  EXPECT_EQ(run.file("pgn-out.pgn"), "[Event \"E\"]\n[Result \"1-0\"]\n\n1.e4 e5 2.Nf3 1-0\n\n");
}

TEST(RestructureEndToEnd, DblAndSubOnASampleFileRepeated) {
  Session session;
  session.withDefaultData()
      .withSourceFile("tests/data/samples/a_roundrobin.pgn")
      .withSourceFile("tests/data/samples/c_swiss.pgn");
  const std::string roundRobin = session.run({"exit"}).file("a_roundrobin.pgn");
  const std::string swiss = session.run({"exit"}).file("c_swiss.pgn");
  ASSERT_EQ(count(roundRobin, "[Event "), 30);
  session.withFile("all.pgn", roundRobin + "\n" + swiss + "\n" + roundRobin);

  const RunResult doubles = session.run({"open", "all.pgn", "dbl", "-abs", "dbl", "-sgl", "-out=singles.pgn", "exit"});
  EXPECT_TRUE(has(doubles, "> 90 games scanned           \n")) << doubles.output;
  EXPECT_TRUE(has(doubles, "\n- 30 doubles have been found and stored in pgn-out.pgn file\n"));
  EXPECT_TRUE(has(doubles, "\n- 60 single games have been stored in singles.pgn file\n"));
  EXPECT_EQ(count(doubles.file("pgn-out.pgn"), "[Annotator \"Double id = "), 30);
  EXPECT_EQ(count(doubles.file("singles.pgn"), "[Event "), 60);

  const RunResult sub = session.run({"open", "all.pgn", "sub", "-gam=a_roundrobin.pgn", "-out=rest.pgn", "exit"});
  EXPECT_TRUE(has(sub, "> 60 games have been removed and stored in the sub.pgn file\n")) << sub.output;
  EXPECT_EQ(count(sub.file("sub.pgn"), "[Event "), 60);
  EXPECT_EQ(count(sub.file("rest.pgn"), "[Event "), count(swiss, "[Event ")) << "the other sample is left";
}

}  // namespace
}  // namespace kestrova::e2e
