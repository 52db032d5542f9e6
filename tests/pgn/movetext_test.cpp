// A game's tag lines and movetext read into the Game, and the Game written back as PGN.
#include <sstream>

#include "pgn/pgn_writer.hpp"
#include "pgn_support.hpp"
#include "platform/output_file.hpp"

namespace kestrova::test {
namespace {

// Each form a real movetext may take, read whole: the half-moves and the final position (placement
// and side) are those chess.js gives for the same moves written plainly.
TEST_F(PgnTest, EveryFormOfAMovetextIsReadWhole) {
  const std::string italian = "r1bq1rk1/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQ1RK1 w";
  const std::string knights = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w";
  const struct { std::string movetext; int plies; std::string position; } cases[] = {
      {"1. e4 e5 2. Nf3 Nc6 3. Bc4 Bc5 4. 0-0 Nf6 5. d3 0-0 *", 10, italian},
      {"1.e4{+0.35/12 5s}e5{-0.20/11 4s}2.Nf3(2.d4 exd4)Nc6$1 *", 4, knights},
      {"1.\te4\te5\r\n2.\fNf3\tNc6 *", 4, knights},
      {"1. e4 ; rest of the line 2. d4\ne5 2. Nf3 Nc6 *", 4, knights},
      {"1. e4 a6 2. e5 d5 3. exd6 e.p. Qxd6 4. Nf3 Nc6 *", 8, "r1b1kbnr/1pp1pppp/p1nq4/8/8/5N2/PPPP1PPP/RNBQKB1R w"},
      {"1. e2-e4 e7e5 2. Ng1-f3 Nb8c6 *", 4, knights},
      {"1. e4 e5\n\n2. Nf3 Nc6\n\n3. Bb5 a6 4. Ba4 Nf6 *", 8, "r1bqkb1r/1ppp1ppp/p1n2n2/4p3/B3P3/5N2/PPPP1PPP/RNBQK2R w"},
      {"1. e4 e5\n% an escaped line 2. d4\n2. Nf3 Nc6 *", 4, knights},
      {"1. e4! d5?! 2. exd5 c6 3. dxc6 Qd7 4. cxb7 Kd8 5. bxa8Q Qxd2+ 6. Nxd2 Kc7 *", 12,
       "Qnb2bnr/p1k1pppp/8/8/8/8/PPPN1PPP/R1BQKBNR w"},
      {"1. d4 e5 2. dxe5 d5 3. Nf3 d4 4. Nc3 dxc3 5. Bf4 cxb2 6. e3 bxa1Q *", 12,
       "rnbqkbnr/ppp2ppp/8/4P3/5B2/4PN2/P1P2PPP/q2QKB1R w"},
  };
  for (const auto& c : cases) {
    open("[Event \"E\"]\n\n" + c.movetext + "\n\n");
    Visitor visitor;
    std::string position;
    visitor.each = [&] { position = positionOf(chess.board); };
    const GameCounts counts = GameLoop(parts(), GameDepth::kReplay).run(visitor);
    EXPECT_EQ(counts.used, 1u) << c.movetext << "\n" << console.takeCaptured();
    EXPECT_EQ(game.plyCount, c.plies) << c.movetext;
    EXPECT_EQ(position, c.position) << c.movetext;
  }
  load("1.e4{+0.35/12 5s}e5 *");
  EXPECT_EQ(std::tuple(game.plies[1].evaluation, game.plies[1].depth), std::tuple(35, 12)) << "a glued comment counts";
}

// A game that cannot be read whole, or holds an illegal move, is named and left out, never shortened.
TEST_F(PgnTest, AGameThatCannotBeReadWholeIsNamedAndLeftOut) {
  const struct { std::string movetext, report; } cases[] = {
      {"1. e4 -- 2. Nf3 *", "game 1: movetext unreadable at '--' after ply 1\n"},
      {"1. e4 e5 2. Nf3 Zz9 3. d4 *", "game 1: movetext unreadable at 'Zz9' after ply 3\n"},
      {"1. e4 e5 2. Ke3 Nc6 *", "game 1: illegal move 2.Ke3 (ply 3)"},
      {"1. e4 e5 2. O-O Nc6 *", "game 1: illegal move 2.O-O (ply 3)"},
  };
  for (const auto& c : cases) {
    open("[Event \"E\"]\n[White \"W\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n" + c.movetext + "\n\n");
    Visitor visitor;
    visitor.each = [] {};
    const GameCounts counts = GameLoop(parts(), GameDepth::kReplay).run(visitor);
    EXPECT_EQ(std::tuple(counts.read, counts.used, counts.leftOut), std::tuple(1u, 0u, 1u)) << c.movetext;
    EXPECT_TRUE(has(visitor.reports, c.report)) << visitor.reports;
  }
}

// Written back: every tag in its order (a known tag as the output list says, with the standard
// spelling; any other as read), the comments as read, the move numbers and result of the game.
TEST_F(PgnTest, AGameIsWrittenBackAsItWasRead) {
  const std::string tags = "[Event \"Match \\\"A\\\"\"]\n[GameId \"17\"]\n[White \"A\"]\n[Plycount \"4\"]\n"
                           "[WhiteClock \"0:01:00\"]\n[Black \"B\"]\n[Result \"1-0\"]\n";
  const std::string moves = "{opening} 1. e4 {+0.35/12 5s} e5 $1 (1... c5 2. Nf3) 2. Nf3 ; a line\nNc6 1-0";
  const struct { std::string tags, moves; int printCmt; std::vector<int> enabled; std::string written; } cases[] = {
      {tags, moves, 1, {kTagEvent, kTagWhite, kTagBlack, kTagResult, kTagPlyCount},
       "[Event \"Match \\\"A\\\"\"]\n[GameId \"17\"]\n[White \"A\"]\n[PlyCount \"4\"]\n[WhiteClock \"0:01:00\"]\n"
       "[Black \"B\"]\n[Result \"1-0\"]\n\n"
       "{opening} 1.e4 {+0.35/12 5s} e5 $1 (1... c5 2. Nf3) 2.Nf3 { a line} Nc6 1-0\n\n"},
      {tags, moves, 0, {kTagResult}, "[GameId \"17\"]\n[WhiteClock \"0:01:00\"]\n[Result \"1-0\"]\n\n1.e4 e5 2.Nf3 Nc6 1-0\n\n"},
      // A set-up game is numbered from its FEN; without a Result tag the movetext's result ends it.
      {"[FEN \"8/8/7k/8/8/8/6K1/8 b - - 0 41\"]\n", "41... Kg6 42. Kf2 1/2-1/2", 0, {kTagFen},
       "[FEN \"8/8/7k/8/8/8/6K1/8 b - - 0 41\"]\n\n41...Kg6 42.Kf2 1/2-1/2\n\n"},
      {"[Event \"E\"]\n", "1. e4", 0, {kTagEvent}, "[Event \"E\"]\n\n1.e4 *\n\n"},
  };
  for (const auto& c : cases) {
    load(c.moves, c.tags, c.printCmt);
    for (int i = 0; i < TagTable::kEntries; ++i) game.tags.setOutputEnabled(i, std::ranges::count(c.enabled, i) == 1);
    platform::OutputFile out;
    ASSERT_TRUE(out.create("out.pgn"));
    writePgn(game, pgn, out, c.printCmt);
    out.commit();
    EXPECT_EQ(dir.read("out.pgn"), c.written) << c.moves;
  }
  for (const auto& [name, index] : {std::pair{"WhiteElo", int{kTagWhiteElo}}, {"EVENT", kTagEvent},
                                    {"annotator", kTagAnnotator}, {"eventtype", -1}, {"fen", -1}, {"whit", -1}}) {
    EXPECT_EQ(TagTable::lookupName(name), index) << name;  // the names commands accept
  }
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
    out.commit();
    EXPECT_EQ(dir.read("out.pgn"), "[E \"\"]\n\n" + c.written + "*\n\n");
    load(c.written, "[E \"\"]\n");
    EXPECT_EQ(values(), first) << c.written;
  }
}

// Every sample game (e_setup.pgn starts some with Black to move) replays without a warning; written
// with all its tags and comments, it reads and writes back the same, its movetext broken at the
// first blank after column 90 outside a comment.
TEST_F(PgnTest, SampleGamesSurviveWritingAndReadingBack) {
  for (const char* sample : {"a_roundrobin.pgn", "b_gauntlet.pgn", "c_swiss.pgn", "d_match.pgn", "e_setup.pgn"}) {
    open(sourceFile(std::string("tests/data/samples/") + sample));
    for (int i = 0; i < TagTable::kEntries; ++i) game.tags.setOutputEnabled(i, true);
    for (const char* name : {"once.pgn", "twice.pgn"}) {
      platform::OutputFile out;
      ASSERT_TRUE(out.create(name));
      Visitor writer;
      writer.each = [&] { writePgn(game, pgn, out, 1); };
      const GameCounts counts = GameLoop(parts(1), GameDepth::kReplay).run(writer);
      EXPECT_TRUE(counts.read >= 10 && counts.used == counts.read) << sample;
      out.commit();
      ASSERT_TRUE(pgn.open(name));
    }
    const std::string once = dir.read("once.pgn");
    EXPECT_EQ(dir.read("twice.pgn"), once) << sample;
    EXPECT_EQ(console.takeCaptured(), "") << sample;
    std::istringstream lines(once);
    for (std::string line; std::getline(lines, line);) {
      const bool broken = !line.empty() && line[0] != '[' && lines.peek() != '\n' && lines.peek() != EOF;
      if (broken && line.find('{') == std::string::npos) {
        EXPECT_TRUE(line.size() >= 90 && line.find(' ', 91) == std::string::npos) << line;
      }
    }
  }
}

}  // namespace
}  // namespace kestrova::test
