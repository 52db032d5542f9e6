// split, cut, dbl and sub, and the output files of every command that writes games.
#include <memory>

#include "commands/commands_support.hpp"
#include "commands/doubles.hpp"
#include "commands/split_game.hpp"
#include "pgn/game.hpp"

namespace kestrova::test {
namespace {

class RestructureCommands : public CommandTest {};

TEST_F(RestructureCommands, SplitWritesEachVariationWithTheMovesBeforeItThenTheMainLineAsGames) {
  const struct {
    std::string movetext;
    Texts lines;
  } cases[] = {
      {"1. e4 e5 (1... c5 2. Nf3) 2. Nf3 \n", {"1. e4 c5 2. Nf3", "1. e4 e5 2. Nf3"}},
      {"1. e4 e5 (1... c5 2. Nf3 (2. Nc3 Nc6) 2... d6) 2. Nf3 Nc6 1-0 \n",
       {"1. e4 c5 2. Nc3 Nc6", "1. e4 c5 2. Nf3 d6", "1. e4 e5 2. Nf3 Nc6 1-0"}},
      {"1. e4 e5 (1... c5) (1... e6) 2. Nf3 \n", {"1. e4 c5", "1. e4 e6", "1. e4 e5 2. Nf3"}},
      {"1. e4 (1. d4 d5) 1... e5 2. Nf3 \n", {"1. d4 d5", "1. e4 e5 2. Nf3"}},  // a White move with its number
      {"1.e4 e5 (1...c5 2.Nf3) 2.Nf3 \n", {"1.e4 c5 2.Nf3", "1.e4 e5 2.Nf3"}},
      {"1. e4 {+0.35/12 5s} e5 {-0.20/11 4s} (1... c5 {+0.10/9 1s}) 2. Nf3 {x (y)} 1-0 \n",
       {"1. e4 {+0.35/12 5s} c5 {+0.10/9 1s}", "1. e4 {+0.35/12 5s} e5 {-0.20/11 4s} 2. Nf3 {x (y)} 1-0"}},
      {"23... Nf6 (23... Nc6 24. e4) 24. e4 Nxe4 \n", {"23... Nc6 24. e4", "23... Nf6 24. e4 Nxe4"}},  // Black first
      {"1.  e4 ..  e5   2. Nf3 \n", {"1. e4 e5 2. Nf3"}}, {"", {""}},
      {"1. e4 -- (1... e5) 2. d4 \n", {"1. e4 e5", "1. e4 -- 2. d4"}},
      {"1. e4 ) e5 2. Nf3 \n", {"1. e4 e5 2. Nf3"}},                     // a stray closing bracket
      {"1. e4 e5 (1... c5 2. Nf3 \n", {"1. e4 c5 2. Nf3", "1. e4 e5"}},  // a variation left open
      // "2. N" and ten x's make the fourteen characters put aside.
      {"1. e4 e5 2. Nxxxxxxxxxxxxxxxxxxxf3 {c} (2. d4) 2... Nc6 \n",
       {"1. e4 e5 2. d4", "1. e4 e5 2. Nxxxxxxxxxx {c} Nc6"}},
      {"1. e4 (1. d4", {"1. d4", "1. e4"}},  // a variation open at the end
      {"1. e4\n\t(1. d4 ; d4 instead\n) e5", {"1. d4 { d4 instead}", "1. e4 e5"}},  // blanks of every kind
      {"1. e4 " + std::string(20000, '(') + "1. d4 " + std::string(20000, ')') + " e5 \n", {"1. d4", "1. e4 e5"}}};
  MovetextSplitter splitter;
  for (const auto& c : cases) {
    Texts lines;
    splitter.split(c.movetext, [&](std::string_view line) { lines.emplace_back(line); });
    EXPECT_EQ(lines, c.lines) << c.movetext.substr(0, 80);
  }
  // Each line of play becomes a game with the header as it was read and the game's result.
  const std::string header = "[Event \"Test\"]\n[Site \"Here\"]\n[Result \"1-0\"]\n[Custom \"kept\"]\n";
  open(header + "\n1. e4 e5 (1... c5\n2. Nf3) 2. Nf3 1-0\n\n" + header + "\n1. d4 d5 1-0\n\n");
  EXPECT_EQ(run("split -out=lines.pgn"), "\n> processing...\n> 2 games read, 2 used, 0 left out\nsee lines.pgn file\n");
  EXPECT_EQ(output("lines.pgn"), header + "\n1. e4 c5 2. Nf3 1-0\n\n" + header + "\n1. e4 e5 2. Nf3 1-0\n\n\n\n" + header +
                                     "\n1. d4 d5 1-0\n\n\n\n");
}

TEST(GameHashes, ByTheKeysOfEveryPlyInOrderOrByTheEndAndTwoThirdsWithTheResult) {
  auto game = std::make_unique<Game>();
  game->plies[1].keys = {0x10, 0x20};
  game->plies[2].keys = {0x3, 0x5};
  game->resultScore = 100;  // a White win marks hash B with 0xAA
  // A: (0 ^ 0x10) + 1 = 0x11, shifted right: 0x8; (0x8 ^ 0x3) + 2 = 0xD, shifted left: 0x1A,
  // complemented. B: 0x21 -> 0x10; 0x17 -> 0x2E -> complemented.
  GameHashes hashes = hashGame(*game, 2, HashMode::kSequence);
  EXPECT_EQ(std::pair(hashes.a, hashes.b), std::pair(~0x1Aul, ~0x2Eul ^ 0xAAu));
  for (unsigned i = 1; i <= 4; ++i) game->plies[i].keys = {2u * i - 1, 2u * i};
  game->resultScore = 50;                             // a draw: 0xFF
  hashes = hashGame(*game, 4, HashMode::kPosition);  // two thirds of 4 half-moves: ply 2
  EXPECT_EQ(std::pair(hashes.a, hashes.b), std::pair(7ul ^ 3u, 8ul ^ 4u ^ 0xFFu));
  game->plies[2].keys = game->plies[4].keys;  // they would cancel out: ply 3 instead
  hashes = hashGame(*game, 4, HashMode::kPosition);
  EXPECT_EQ(std::pair(hashes.a, hashes.b), std::pair(7ul ^ 5u, 8ul ^ 6u ^ 0xFFu));
}

TEST_F(RestructureCommands, CutKeepsTheFirstHalfMovesOrWithRevDropsTheLastOnes) {
  const std::string knights = "1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3 Nf6 4.Ng1 Ng8 5.Nf3 Nf6 6.Ng1 Ng8 7.Nf3 Nf6 8.Ng1 Ng8 ";
  auto games = [&](int longer, int shorter) {  // move pairs of 10 characters: one line each
    return game("long", "1-0", knights.substr(0, 10 * longer)) + game("short", "1-0", knights.substr(0, 10 * shorter));
  };
  open(games(8, 2));
  EXPECT_TRUE(has(run("cut -ply=6"), "\n> 2 games cut \n> process time : "));
  EXPECT_EQ(output(), games(3, 2));
  run("cut -ply=6 -rev");
  EXPECT_EQ(output(), games(5, 0));
  for (const char* line : {"cut -ply=0", "cut -ply=800", "cut -rev", "cut -ply=-3"}) {
    EXPECT_EQ(run(line), "> number out of range\n") << line;
  }
  EXPECT_EQ(output(), games(5, 0)) << "a refused command leaves the output alone";
  // The empty first ply of a game that starts with Black to move is no half-move played; the moves
  // keep their numbers; a PlyCount tag counts the half-moves written.
  const std::string tags = "[Event \"E\"]\n[Result \"1-0\"]\n[FEN \"8/8/7k/8/8/8/6K1/8 b - - 0 41\"]\n";
  open(tags + "[PlyCount \"3\"]\n\n41... Kg6 42. Kf2 Kf6 1-0\n\n", {kTagFen, kTagPlyCount});
  run("cut -ply=1");
  EXPECT_EQ(output(), tags + "[PlyCount \"1\"]\n\n41...Kg6 1-0\n\n");
  run("cut -ply=1 -rev");
  EXPECT_EQ(output(), tags + "[PlyCount \"2\"]\n\n41...Kg6 42.Kf2 1-0\n\n");
}

TEST_F(RestructureCommands, DblWritesTheLaterCopiesWithChkTheFirstTooWithSglOneCopyOfEach) {
  // g1, g2, g3 are one game (g-lost has another result); e1 and e2 have no moves. By position t1
  // and t2 are one game too, reached by another move order; t3 ends alike but meets them later; k6
  // and k18 end alike and meet at two thirds (ply 4 and 12: the start position) but differ in length.
  const std::string moves = "1.e4 e5 2.Nf3 Nc6 ", knights = "1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3 Nf6 ";
  open(game("g1", "1-0", moves) + game("h", "1-0", "1.d4 d5 ") + game("g2", "1-0", moves) +
           game("g-lost", "0-1", moves) + game("g3", "1-0", moves) + game("e1", "1-0", "") + game("e2", "1-0", "") +
           game("t1", "*", "1.Nf3 Nf6 2.Nc3 Nc6 3.e3 e6 ") + game("t3", "*", "1.e3 e6 2.Nf3 Nf6 3.Nc3 Nc6 ") +
           game("t2", "*", "1.Nc3 Nc6 2.Nf3 Nf6 3.e3 e6 ") + game("k6", "*", knights) +
           game("k18", "*", knights + "4.Ng1 Ng8 5.Nf3 Nf6 6.Ng1 Ng8 7.Nf3 Nf6 8.Ng1 Ng8 9.Nf3 Nf6 "),
       {kTagAnnotator});
  const struct {
    const char *line, *summary;
    Texts events;
    bool withIds;
  } cases[] = {
      {"dbl", "\n- 3 doubles have been found and stored in pgn-out.pgn file\n", {"g2", "g3", "t2"}, true},
      {"dbl -abs", "\n- 2 doubles have been found and stored in pgn-out.pgn file\n", {"g2", "g3"}, true},
      {"dbl -chk", "\n- 3 doubles AND 2 selected games from doubles have been stored in pgn-out.pgn file\n",
       {"g1", "g2", "g3", "t1", "t2"}, true},
      {"dbl -sgl", "\n- 9 single games have been stored in pgn-out.pgn file\n",
       {"g1", "h", "g-lost", "e1", "e2", "t1", "t3", "k6", "k18"}, false}};
  for (const auto& c : cases) {
    EXPECT_TRUE(has(run(c.line), c.summary)) << c.line;
    EXPECT_EQ(tagValues(output(), "Event"), c.events) << c.line;
    // "Double id = " and a number, the same for the copies of one game (g or t).
    const Texts ids = tagValues(output(), "Annotator");
    ASSERT_EQ(ids.size(), c.withIds ? c.events.size() : 0u) << c.line;
    for (std::size_t i = 0; i < ids.size(); ++i) {
      EXPECT_EQ(ids[i].substr(0, 12), "Double id = ");
      for (std::size_t j = 0; j < i; ++j) EXPECT_EQ(ids[i] == ids[j], c.events[i][0] == c.events[j][0]) << c.line;
    }
  }
}

TEST_F(RestructureCommands, SubMovesTheGamesOfTheSecondFileToSubPgn) {
  open(game("a", "1-0", "1.e4 e5 2.Nf3 ") + game("b", "1-0", "1.d4 d5 ") + game("c", "0-1", "1.c4 e5 ") +
       game("empty", "1-0", "") + game("d", "1-0", "1.e4 e5 2.Nf3 Nc6 "));
  // b as it is; c with another result; a longer a (exactly d); d by another move order.
  dir.write("seen.pgn", game("b'", "1-0", "1.d4 d5 ") + game("c'", "1-0", "1.c4 e5 ") +
                            game("a'", "1-0", "1.e4 e5 2.Nf3 Nc6 ") + game("d'", "1-0", "1.Nf3 Nc6 2.e4 e5 "));
  EXPECT_TRUE(has(run("sub -gam=seen -out=kept.pgn"), "> operation complete\n> 5 games read, 5 used, 0 left out\n"
                                                      "> 2 games have been removed and stored in the sub.pgn file\n"
                                                      "> the resuling file is kept.pgn\n"));
  EXPECT_EQ(output("sub.pgn"), game("b", "1-0", "1.d4 d5 ") + game("d", "1-0", "1.e4 e5 2.Nf3 Nc6 "));
  EXPECT_EQ(tagValues(output("kept.pgn"), "Event"), (Texts{"a", "c", "empty"})) << "no moves: matches none";
  EXPECT_EQ(app->pgn.name(), "games.pgn") << "the file that was open is open again";
  EXPECT_EQ(run("sub -out=x.pgn"), "- missing parameter\n");
  EXPECT_EQ(run("sub -gam=nothing"), "\n> unable to open the file \"nothing\"\n");
  EXPECT_EQ(run("sub -gam=seen.pgn -out=./sub.pgn"),
            "\n> \"./sub.pgn\" receives the removed games: it can't be the output file\n");
}

TEST_F(RestructureCommands, NoCommandWritesIntoAFileItReadsAndEachSaysWhenItCannotCreateItsOutput) {
  open(game("a", "1-0", "1.e4 "));
  dir.write("seen.pgn", game("b", "1-0", "1.d4 "));
  for (const std::string line : {"split", "cut -ply=1", "dbl", "sub -gam=seen.pgn", "select Event=a", "delete Event=a",
                                 "instxt Event=x", "reptxt Event=x", "setcap Event=up", "setcmt none",
                                 "ddepd -in=seen.pgn"}) {
    const std::string refused = run(line + " -out=./games.pgn"), failed = run(line + " -out=no/x.pgn");
    EXPECT_TRUE(has(refused, "\n> \"./games.pgn\" is read by this command: it can't be its output file\n")) << line;
    EXPECT_TRUE(has(failed, "> can't create the file \"no/x.pgn\": No such file or directory\n")) << line;
  }
  EXPECT_TRUE(has(run("sub -gam=seen.pgn -out=seen.pgn"), "> \"seen.pgn\" is read by this command"));
  EXPECT_EQ(output("games.pgn") + output("seen.pgn"), game("a", "1-0", "1.e4 ") + game("b", "1-0", "1.d4 "));
}

}  // namespace
}  // namespace kestrova::test
