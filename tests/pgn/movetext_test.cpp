// A game's tag lines and movetext read into the Game, and the Game written back as PGN.
#include <sstream>

#include "pgn/pgn_writer.hpp"
#include "pgn_support.hpp"
#include "platform/output_file.hpp"

namespace kestrova::test {
namespace {

TEST_F(PgnTest, ReadAndWrittenBack) {
  const std::string allTags = "[WHITEELO \"2800\"]\n[wHiTe \"A\"]\n[Whitex \"no\"]\n[TimeControl \"40/60\"]\n"
                              "[UTCDate \"2024.01.01\"]\n[Site \"here\"] [Event \"there\"]\n[[[[[[[Black \"B\"]\n"
                              "[ [ [ [ [ [ [[Result \"1-0\"]\n[Round \"" + std::string(80, 'r') + "\"]\n";
  const std::string tags = "[Event \"Match\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n[Opening \"\"]\n";
  const std::string moves = "1. e4 {+0.35/12 5s} e5 {-1.20/15 12} 2. Nf3 {book} Nc6 1-0";
  const std::vector<int> all = {kTagEvent, kTagSite, kTagDate, kTagRound, kTagWhite, kTagBlack, kTagResult, kTagTime,
                                kTagTimeControl, kTagWhiteElo, kTagUtcDate};
  // Tags, movetext, printCmt (for reading and writing), the tags enabled for output, what is written.
  const struct { std::string tags, moves; int printCmt; std::vector<int> enabled; std::string written; } cases[] = {
      // A tag line fills the first entry whose prefix it holds, in any case, with its first quoted value.
      {allTags, "1. e4 *", 0, all,
       "[Event \"here\"]\n[Round \"" + std::string(69, 'r') + "\"]\n[White \"A\"]\n[Black \"B\"]\n"
       "[Result \"1-0\"]\n[TimeControl \"40/60\"]\n[WhiteElo \"2800\"]\n[UTCDate \"2024.01.01\"]\n\n1.e4 1-0\n\n"},
      {tags, moves, 0, {kTagResult, kTagWhite}, "[White \"A\"]\n[Result \"1-0\"]\n\n1.e4 e5 2.Nf3 Nc6 1-0\n\n"},
      {tags, moves, 1, {}, "\n1.e4 {+0.35/12 5s} e5 {-1.20/15 12} 2.Nf3 {book} Nc6 1-0\n\n"},
      {tags, moves, 2, {}, "\n1.e4 {+0.35/12 5s} e5 {-1.20/15 12s} 2.Nf3 Nc6 1-0\n\n"},
      {"[E \"\"]\n", "1. e4 {0.00/9 0s} e5 {-0.05/3 1s} *", 2, {}, "\n1.e4 {+0.00/9 0s} e5 {-0.05/3 1s} \n\n"},
      {"[FEN \"8/8/7k/8/8/8/6K1/8 b - - 0 41\"]\n", "41... Kg6 42. Kf2 *", 0, {kTagFen},
       "[FEN \"8/8/7k/8/8/8/6K1/8 b - - 0 41\"]\n\n1...Kg6 2.Kf2 \n\n"},  // numbered from 1
      // Glyphs skipped, a variation kept as a comment, the last comment of a half-move kept.
      {"[E \"\"]\n", "1. e4 $1 e5 (1... c5) {y} 2. Nf3 {b {c}} Nc6 1-0", 1, {}, "\n1.e4 e5 {y} 2.Nf3 {b {c}} Nc6 \n\n"},
      {"[E \"\"]\n", "1.e4 e5\t2.Nf3 *", 0, {}, "\n1.e4 \n\n"},  // a tab ends the movetext,
      {"[E \"\"]\n", "1.e4{+0.35/12 5s} e5 *", 0, {}, "\n\n\n"},  // so does a comment glued to a move,
      {"[E \"\"]\n", "1.e4 e5 2.0-0 Nf6 *", 0, {}, "\n1.e4 e5 \n\n"},  // or castling with zeros
      {"[E \"\"]\n", "1.e4 e5xxxxxxxxxxxxxxxxxxxx Nf3 *", 0, {}, "\n1.e4 e5xxxxxxxxxxxxxxxxx 2.Nf3 \n\n"},  // cut to 19
  };
  for (const auto& c : cases) {
    EXPECT_EQ(load(c.moves, c.tags, c.printCmt), 1);
    for (int i = 0; i < TagTable::kEntries; ++i) game.tags.setOutputEnabled(i, std::ranges::count(c.enabled, i) == 1);
    platform::OutputFile out;
    ASSERT_TRUE(out.create("out.pgn"));
    writePgn(game, pgn, out, c.printCmt);
    out.close();
    EXPECT_EQ(dir.read("out.pgn"), c.written) << c.moves;
  }
  for (const auto& [name, index] : {std::pair{"WhiteElo", int{kTagWhiteElo}}, {"EVENT", kTagEvent},
                                    {"annotator", kTagAnnotator}, {"eventtype", -1}, {"fen", -1}, {"whit", -1}}) {
    EXPECT_EQ(TagTable::lookupName(name), index) << name;  // the names commands accept
  }
  // A comment before the first move is kept, not read for values; "{{ }" there: the tokenizer goes on
  // after its first "}", the copy runs to the end.
  load("{a} {+5.00/30 9s} 1.e4 *", "[E \"\"]\n", 1);
  EXPECT_EQ(game.comments.text(0), "+5.00/30 9s");
  EXPECT_EQ(game.evaluationCount, 0);
  load("{{ } 1.e4 *", "[E \"\"]\n", 1);
  EXPECT_EQ(std::string(game.comments.text(0)) + game.plies[game.plyCount].san, "{ } 1.e4 * e4");
  EXPECT_EQ(game.comments.resize(4), 3200) << "800 buffers of 4 bytes";
  EXPECT_EQ(game.comments.text(0), "{ }") << "a comment keeps what fits";
}

// Evaluation comments written with printCmt 2 read back to the same values: mates as announced (the
// corrected mate in 5 of ply 3 included), times with the decimals they had or their sum needs.
TEST_F(PgnTest, EvaluationCommentsReadBackAlike) {
  const struct { std::string read, written; } cases[] = {
      {"1. e4 {+0.35/12 5s} e5 {-1.20/15 12} 2. Nf3 {+0.26/9 0.042s} Nc6 {+0.10/8 0.050s} *",
       "1.e4 {+0.35/12 5s} e5 {-1.20/15 12s} 2.Nf3 {+0.26/9 0.042s} Nc6 {+0.10/8 0.050s} "},
      {"1. e4 {+M13/21 0.056s} e5 {-M5/20 1.5s} 2. Nf3 {+M5/21 1m 3.25s} Nc6 {-M4/30 2s} *",
       "1.e4 {+M13/21 0.056s} e5 {-M5/20 1.5s} 2.Nf3 {+M5/21 63.25s} Nc6 {-M4/30 2s} "},
      {"1. e4 {[%eval 35,14] [%emt 0:00:05.120]} e5 {[%eval -32766,9] [%emt 0:00:00.5]} *",
       "1.e4 {+0.35/14 5.120s} e5 {+M1/9 0.5s} "},
      {"1. e4 {+1.00/5 0.0415s} e5 {-0.05/3 0.5s 0.25s} *", "1.e4 {+1.00/5 0.041s} e5 {-0.05/3 0.75s} "},
  };
  auto values = [&] {
    std::vector<std::array<int, 5>> read;
    for (int n = 1; n <= game.plyCount; ++n) {
      const PlyRecord& r = game.plies[n];
      read.push_back({r.evaluation, r.evaluationIsMate, r.mate, r.depth, r.timeMs});
    }
    return read;
  };
  for (const auto& c : cases) {
    load(c.read, "[E \"\"]\n");
    const auto first = values();
    platform::OutputFile out;
    ASSERT_TRUE(out.create("out.pgn"));
    writePgn(game, pgn, out, 2);
    out.close();
    EXPECT_EQ(dir.read("out.pgn"), "\n" + c.written + "\n\n");
    load(c.written, "[E \"\"]\n");
    EXPECT_EQ(values(), first) << c.written;
  }
}

// Every sample game (e_setup.pgn starts some with Black to move) replays without a warning; written
// with all its tags and values, it reads and writes back the same, its movetext broken at the first
// blank after column 90.
TEST_F(PgnTest, SampleGamesSurviveWritingAndReadingBack) {
  for (const char* sample : {"a_roundrobin.pgn", "b_gauntlet.pgn", "c_swiss.pgn", "d_match.pgn", "e_setup.pgn"}) {
    open(sourceFile(std::string("tests/data/samples/") + sample));
    for (int i = 0; i < TagTable::kEntries; ++i) game.tags.setOutputEnabled(i, true);
    for (const char* name : {"once.pgn", "twice.pgn"}) {
      platform::OutputFile out;
      ASSERT_TRUE(out.create(name));
      Visitor writer;
      writer.each = [&] { writePgn(game, pgn, out, 2); };
      const GameCounts counts = GameLoop(parts(2), GameDepth::kReplay).run(writer);
      EXPECT_TRUE(counts.read >= 10 && counts.used == counts.read) << sample;
      out.close();
      ASSERT_TRUE(pgn.open(name));
    }
    const std::string once = dir.read("once.pgn");
    EXPECT_EQ(dir.read("twice.pgn"), once) << sample;
    EXPECT_EQ(console.takeCaptured(), "") << sample;
    std::istringstream lines(once);
    for (std::string line; std::getline(lines, line);) {
      const bool broken = !line.empty() && line[0] != '[' && lines.peek() != '\n' && lines.peek() != EOF;
      if (broken) { EXPECT_TRUE(line.size() >= 90 && line.find(' ', 91) == std::string::npos) << line; }
    }
  }
}

}  // namespace
}  // namespace kestrova::test
