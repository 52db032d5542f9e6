#pragma once
// Helpers of the PGN tests: a PGN text in a scratch file read into what a command lends the game loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "chess/fen.hpp"
#include "pgn/movetext.hpp"
#include "support/test_app.hpp"
#include "support/text.hpp"

namespace kestrova::test {

struct PgnTest : ::testing::Test {
  // Writes the text as games.pgn and opens it, with buffers of gameSize and lineSize bytes.
  void open(const std::string& text) {
    dir.write("games.pgn", text);
    pgn.create(console, gameSize, lineSize, 30000);
    ASSERT_TRUE(pgn.open("games.pgn"));
    console.takeCaptured();
  }
  // A file of one game, read, set up and loaded with its moves; what loadGame returns.
  LoadResult load(const std::string& movetext, const std::string& tags = "[Event \"E\"]\n", int printCmt = 0) {
    open(tags + "\n" + movetext + "\n\n");
    EXPECT_EQ(pgn.readNextGame(console), PgnFile::kGame);
    setStartPosition(chess, game, kStartPosition, &pgn.header());
    return loadGame(game, pgn, printCmt, true);
  }
  // The placement and the side to move of the board.
  static std::string positionOf(const Board& board) {
    std::string fen;
    writeFen(board, board.side, fen);
    return fen.substr(0, fen.find(' ', fen.find(' ') + 1));
  }
  GameLoopParts parts(int printCmt = 0) { return {pgn, game, chess, console, strings, printCmt, kFrench}; }
  int gameSize = 30000, lineSize = 5000;
  ScratchDir dir;
  Console console = Console::capturing();
  PgnFile pgn;
  Game game;
  ChessCore chess;
  StringManager strings;
};

// A command's work on the games of a loop.
struct Visitor : GameVisitor {
  bool wants(std::uint32_t gameNumber) override { return gameNumber >= firstWanted; }
  void onGame() override { each(); }
  void onLeftOut(std::string_view report) override { reports += report; }
  std::function<void()> each;
  std::uint32_t firstWanted = 1;
  std::string reports;
};

}  // namespace kestrova::test
