#pragma once
// Setting up a game's start position and replaying its half-moves through the chess core.
#include <string>
#include <string_view>

#include "chess/board.hpp"

namespace kestrova {

struct ChessCore;
class Console;
class Game;
struct HeaderLines;

// The position of the first "[FEN " header line; 1 and the value in out when it is longer than
// 5 characters, otherwise 0 and out unchanged.
int findFenTag(const HeaderLines& header, std::string& out);

// Starts a game: clears its current ply, castling marks and move clocks, sets the board from the
// header's FEN tag when it has one (otherwise from fen), computes the start keys and copies the
// string into the game's position texts.
void setStartPosition(ChessCore& core, Game& game, std::string_view fen, const HeaderLines* header = nullptr);

// What a command does at every half-move of a replay.
class ReplayVisitor {
 public:
  virtual ~ReplayVisitor() = default;
  // After the ply has been made and its position found plausible, on the board after it;
  // `before` is the board before it. False ends the replay there.
  virtual bool onPly(int ply, const Board& before) { return true; }
};

struct ReplayResult {
  enum Status {
    kComplete,
    kStopped,           // by the visitor
    kUnreadableMove,    // a text that is no move's notation
    kIllegalMove,       // a move no position of the game allows (left on the board when it left its king in check)
    kIllegalPosition,   // a position that cannot stand: not two kings, nine pawns, ... (a set-up's fault)
  };
  Status status = kComplete;
  int ply = 0;  // the ply the replay ended at
  bool ok() const { return status == kComplete || status == kStopped; }
};

// Decodes and makes every half-move from the start position already set, checking that each is
// legal and the position after it plausible, and calls the visitor after each. The game's position
// texts hold the last ply made.
ReplayResult replayGame(ChessCore& core, Game& game, Console& console, ReplayVisitor* visitor = nullptr);

// Plays the half-moves before `target`; returns target, the ply count + 1 for a shorter game, or 0
// on an unreadable move.
int replayTo(ChessCore& core, Game& game, Console& console, int target);

// Builds the game's next half-move from two squares (a book move), notes the position before it
// in the game's position history and plays it. False when there is no room or a square is wrong.
bool playMoveFromSquares(ChessCore& core, Game& game, Console& console, int from, int to);

// Undoes the current ply from the game's position history (book commands). 1 when done.
int takeBack(ChessCore& core, Game& game, Console& console);

}  // namespace kestrova
