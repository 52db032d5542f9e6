// The one loop over the games: what it hands to a command and the games it leaves out; the replay
// beneath it, and book moves made from squares.
#include <map>

#include "pgn_support.hpp"

namespace kestrova::test {
namespace {

// Eight games. 2: no king can reach e3: an illegal move. 3: a set-up of three kings, in a drawn game
// (0,5 is half a point): an illegal position after 1.Kc2. 4: a line of 260 characters does not fit a
// line buffer of 200 bytes. 5: "*" alone, a game without moves. 6: 800 half-moves, one more than a
// game holds. 1, 5, 7 and 8 are good, of 4, 0, 3 and 8 half-moves.
std::string eightGames() {
  std::string tooMany = "1. ";
  for (int line = 0; line < 40; ++line) tooMany += "a3 a3 a3 a3 a3 a3 a3 a3 a3 a3 a3 a3 a3 a3 a3 a3 a3 a3 a3 a3\n";
  return "[Event \"1\"]\n\n1. e4 e5 2. Nf3 Nc6 1-0\n\n[Event \"2\"]\n\n1. e4 e5 2. Ke3 *\n\n"
         "[White \"W\"]\n[Black \"B\"]\n[Result \"0,5-0,5\"]\n[FEN \"4k3/8/8/8/8/8/8/3K1K2 w - - 0 1\"]\n\n"
         "1. Kc2 1/2-1/2\n\n[E \"\"]\n\n1. e4 {" + std::string(250, 'c') + "} *\n\n[Event \"5\"]\n\n*\n\n[E \"\"]\n\n" +
         tooMany + "*\n\n[Event \"7\"]\n\n1. d4 d5 2. c4 *\n\n[Event \"8\"]\n\n1. e4 Nf6 2. Nf3 Ng8 3. Bc4 Nf6 4. O-O Ng8 *\n\n";
}

TEST_F(PgnTest, GameLoopHandsOverTheGoodGamesAndNamesEachGameLeftOut) {
  lineSize = 200;
  open(eightGames());
  GameLoop loop(parts(), GameDepth::kReplay);
  std::vector<std::string> games;  // the Event tag and number of half-moves of each game handed over
  Visitor all;
  all.each = [&] { games.push_back(game.tags.value(kTagEvent) + ":" + std::to_string(game.plyCount)); };
  const GameCounts counts = loop.run(all);
  EXPECT_EQ(games, (std::vector<std::string>{"1:4", "5:0", "7:3", "8:8"}));
  EXPECT_EQ(all.reports, "game 2: illegal move 2.Ke3 (ply 3)" + std::string(23, ' ') + "[-, ]\n"
                         "game 3: illegal position after 1.Kc2 (ply 1)" + std::string(13, ' ') + "[W-B, 0,5-0,5]\n"
                         "    Warning !, W should have lost due to illegal move\n"
                         "game 4: larger than the game or line buffer (gBufSz)\n"
                         "game 6: more half-moves than a game holds (800 half moves max)\n");
  EXPECT_EQ(std::vector({counts.read, counts.used, counts.leftOut}), std::vector<std::uint64_t>({8, 4, 4}));
  printGameCounts(console, counts);
  const std::string shown = console.takeCaptured();
  EXPECT_TRUE(shown.ends_with("> 8 games read, 4 used, 4 left out\n"));
  // The board of the illegal position in French: the kings (R) on c2, f1 and e8, in their side's colour.
  EXPECT_TRUE(has(shown, "\n          |  |  | R|  |  |  |  |  |\n"));
  std::map<std::uint32_t, int> letters;  // by colour
  for (const ColourRun& r : strings.runs()) letters[r.attribute] += r.attribute && strings.text()[r.first] != ' ';
  EXPECT_EQ(letters, (std::map<std::uint32_t, int>{{0, 0}, {colour::kError, 1}, {colour::kBright, 2}}));
  // The replay of game 8 leaves the positions before and after its last half-move with their clocks
  // (as chess.js counts them), the game's clock (seven moves since the pawn's) and its castling.
  EXPECT_EQ(game.previousFen, "rnbqkb1r/pppppppp/5n2/8/2B1P3/5N2/PPPP1PPP/RNBQ1RK1 b kq - 6 4;");
  EXPECT_EQ(game.currentFen, "rnbqkbnr/pppppppp/8/8/2B1P3/5N2/PPPP1PPP/RNBQ1RK1 w kq - 7 5;");
  EXPECT_EQ(std::vector<int>({game.halfMoveClock, game.previousHalfMoveClock}), std::vector<int>({7, 6}));
  EXPECT_TRUE(game.castled.whiteShort && !game.castled.whiteLong && !game.castled.blackShort);

  // Game 1 passed over uncounted; game 5 left out by the command, which then stops the loop.
  games.clear();
  Visitor some;
  some.firstWanted = 2;
  some.each = [&] {
    games.push_back(game.tags.value(kTagEvent));
    loop.leaveOut("not for this command");
    loop.stop();
  };
  const GameCounts stopped = loop.run(some);
  EXPECT_EQ(games, std::vector<std::string>{"5"});
  EXPECT_TRUE(some.reports.ends_with("game 5: not for this command\n"));
  EXPECT_EQ(std::vector({stopped.read, stopped.used, stopped.leftOut}), std::vector<std::uint64_t>({4, 0, 4}));
  EXPECT_FALSE(game.castled.whiteShort) << "each game starts afresh";
}

// Book moves from two squares: a pawn reaching the last row becomes a queen, a king's step of two
// squares castles, a pawn's diagonal step onto an empty square takes en passant.
TEST_F(PgnTest, ReplayToATargetAndBookMovesTakenBack) {
  load("1. e4 e5 2. Nf3 *", "[FEN \"8/8\"]\n");  // a FEN tag of 5 characters or fewer is not taken
  EXPECT_EQ(game.previousFen, kStartPosition);
  EXPECT_EQ(replayTo(chess, game, console, 2), 2) << "stops before the target";
  EXPECT_EQ(game.currentFen, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1;");
  setStartPosition(chess, game, "4k2r/P7/8/3pP3/8/8/8/4K2R w Kk d6 0 1");
  for (const char* move : {"a7a8", "e8g8", "e5d6", "g8h7", "e1g1"}) {
    ASSERT_TRUE(playMoveFromSquares(chess, game, console, squareOf(move[0], move[1]), squareOf(move[2], move[3])));
  }
  auto placement = [&] { std::string fen; writePlacementFen(chess.board, kWhite, fen); return fen; };
  EXPECT_EQ(placement(), "Q4r2/7k/3P4/8/8/8/8/5RK1 w - - 0 0");
  EXPECT_EQ(takeBack(chess, game, console), 1);
  EXPECT_EQ(placement(), "Q4r2/7k/3P4/8/8/8/8/4K2R w - - 0 0") << "the position noted before the last move";
  game.currentPly = 120;
  EXPECT_EQ(takeBack(chess, game, console), 0);
  EXPECT_EQ(console.takeCaptured(), "\n> too many moves. Can't take back\n");
}

}  // namespace
}  // namespace kestrova::test
