#pragma once
// The one loop over the games of the open PGN file: each game is read, loaded and replayed as far
// as the command needs, and handed to the command's visitor. The loop owns the one policy for a
// game that cannot be read, loaded or replayed: it is named by its number with the reason,
// counted as left out, and the loop goes on with the next game.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "pgn/replay.hpp"

namespace kestrova {

class Console;
class Game;
class GameWorkers;
class PgnFile;
class StringManager;
namespace platform {
class OutputFile;
}

// How far the loop takes each game before handing it over.
enum class GameDepth {
  kTags,    // the tags (the movetext was read whole; GameLoop::loadMoves loads it on demand)
  kReplay,  // the tags and the half-moves with their comments, replayed and found legal
};

// Read = used + left out.
struct GameCounts {
  std::uint64_t read = 0;
  std::uint64_t used = 0;
  std::uint64_t leftOut = 0;
};

// A command's work on the games of the loop. onPly (of ReplayVisitor) runs after each half-move
// of a kReplay loop.
class GameVisitor : public ReplayVisitor {
 public:
  // Games the command passes over unread and uncounted (a second pass, or one game wanted).
  virtual bool wants(std::uint32_t gameNumber) { return true; }
  // A kReplay game is loaded and its start position set; its replay follows.
  virtual void onGameStart() {}
  // The game, read and taken to the loop's depth. Counted as used unless the command left it
  // out (GameLoop::leaveOut, or a failed GameLoop::loadMoves).
  virtual void onGame() = 0;
  // A game left out, after the loop has shown `report` (its number and reason).
  virtual void onLeftOut(std::string_view report) {}
};

// What the loop works with: the open file, the game and the board it fills, and where it reports.
struct GameLoopParts {
  PgnFile& pgn;
  Game& game;
  ChessCore& chess;
  Console& console;
  StringManager& strings;
  int printCmt = 0;  // comment texts are kept when 1
  int language = 0;  // of the board diagram of an illegal position
};

class GameLoop {
 public:
  GameLoop(const GameLoopParts& parts, GameDepth depth) : parts_(parts), depth_(depth) {}

  // Shows "LABEL N\r" every `every` games read.
  void showProgress(const char* label, unsigned every) {
    progressLabel_ = label;
    progressEvery_ = every;
  }

  // From the first game of the file to the last, or until stop(). The counts of this run. Games
  // the visitor or `chooser` does not want are passed over.
  GameCounts run(GameVisitor& visitor, GameWorkers* chooser = nullptr);

  // A worker thread's loop: its games come one at a time (the number and text in the parts'
  // file), read or too large (a PgnFile::ReadResult); counts() sums them.
  void beginGames(GameVisitor& visitor);
  void takeGame(int readResult);

  // The number of games in the file, read without being loaded (for a command that shows how far
  // it has come).
  std::uint64_t countGames();

  // In onGame of a kTags loop: loads the current game's half-moves and replays them. False when
  // they cannot be loaded or are not legal: the game is then left out.
  bool loadMoves();
  // Leaves the current game out: shows "game N: REASON" and counts it.
  void leaveOut(std::string_view reason);
  // No game is read after the current one.
  void stop() { stopped_ = true; }

  std::uint32_t gameNumber() const;
  // False for a game that did not fit the buffers: its text was not kept, so it cannot be written.
  bool gameTextWhole() const { return textWhole_; }
  const GameCounts& counts() const { return counts_; }

 private:
  bool loadAndReplay(GameVisitor* visitor);
  void handleGame(GameVisitor& visitor, int readResult);
  void reportIllegal(const ReplayResult& result);
  void leftOut(std::string_view report);

  GameLoopParts parts_;
  GameDepth depth_;
  const char* progressLabel_ = nullptr;
  unsigned progressEvery_ = 0;
  GameVisitor* visitor_ = nullptr;
  GameCounts counts_;
  bool movesLoaded_ = false;
  bool currentLeftOut_ = false;
  bool stopped_ = false;
  bool textWhole_ = true;
  std::string report_;
  std::string leftOutLine_;
};

// The per-game work of a command that can run on several threads.
class GameWorkers {
 public:
  virtual ~GameWorkers() = default;
  // Games the command passes over unread and uncounted (a second pass that writes some of the
  // games). Asked on the reading thread, in the order of the games, whatever the threads.
  virtual bool wants(std::uint32_t gameNumber) { return true; }
  // The visitor of one more worker. It works on the worker's own parts (game, board, console,
  // strings and file) with the worker's loop, and writes the command's outputs to `outputs`: the
  // command's files themselves with one thread, else in-memory stand-ins in the same order. Called
  // on the calling thread before any game is read.
  virtual GameVisitor& addWorker(GameLoop& loop, const GameLoopParts& parts,
                                 std::span<platform::OutputFile* const> outputs) = 0;
};

// Runs every game of the open file through the workers' visitors on `threads` threads: the
// calling thread reads the file and hands batches of games to the workers, then writes what each
// batch wrote (console lines and the outputs) in the order of the games, so that every output is
// the one a single thread writes. With one thread it is the loop of today. The workers' visitors
// may not ask for single games (GameVisitor::wants: the workers' wants chooses) nor stop the loop.
GameCounts runGameWorkers(const GameLoopParts& parts, GameDepth depth, int threads, GameWorkers& workers,
                          std::span<platform::OutputFile* const> outputs, const char* progressLabel = nullptr,
                          unsigned progressEvery = 0);

// The closing line of every command that walks games: "> N games read, U used, L left out".
void printGameCounts(Console& console, const GameCounts& counts);

}  // namespace kestrova
