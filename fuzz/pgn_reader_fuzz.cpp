// The PGN reader, the game model and the replay on a file of any content: every game is read,
// loaded with its comments, replayed with hooks that check the board, written back as PGN and
// shown; then the commands show, play and debug run over the same file.
//
// Input: one byte of options, then the file.
//   bits 0-1  printCmt (0..3)
//   bit 2     small buffers (game 400, line 100 bytes), so that "too large" is reached
//   bit 3     comment buffers of 8 bytes instead of 512
//   bits 4-5  debug stepping in game 1..3 (0: none)
//   bits 6-7  replayTo target: 1, 6, 41 or 800
#include <cstdint>
#include <string>

#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "fuzz_support.hpp"
#include "pgn/movetext.hpp"
#include "pgn/pgn_commands.hpp"
#include "pgn/pgn_writer.hpp"
#include "pgn/replay.hpp"
#include "platform/output_file.hpp"
#include "shell/command_table.hpp"

namespace kestrova::fuzz {
namespace {

class CheckingHooks : public ReplayHooks {
 public:
  void runMoveRules(App& app, int ply) override { check(app, ply); }
  void runGameEndRules(App& app, int lastPly) override {
    if (lastPly != app.game.plyCount) fail("end-of-game rules see another last ply");
    checkBoard(app.chess.board);
  }
  void matchEpdAfterPly(App& app, int ply) override { check(app, ply); }

 private:
  static void check(App& app, int ply) {
    if (ply < app.game.firstPly() || ply > app.game.plyCount) fail("hook called outside the game's plies");
    checkBoard(app.chess.board);
  }
};

void runCommand(App& app, const char* text) {
  app.commandLine.raw() = text;
  app.commandLine.split(text);
  dispatchCommand(app);
  app.console.takeCaptured();
}

}  // namespace
}  // namespace kestrova::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova;
  using namespace kestrova::fuzz;
  if (size < 1) return 0;
  const std::uint8_t options = data[0];
  static ScratchFile input("games.pgn");
  static ScratchFile output("out.pgn");
  input.write(data + 1, size - 1);

  App& app = sharedApp();
  app.settings = Settings{};
  app.settings.printCmt = options & 3;
  const bool small = options & 4;
  app.pgn.create(app.console, small ? 400 : 30000, small ? 100 : 5000, small ? 400 : 30000);
  const int commentSize = options & 8 ? 8 : 512;
  if (app.game.comments.size() != commentSize) app.game.comments.resize(commentSize);
  app.game.debugGame = (options >> 4) & 3;
  app.game.debugStartPly = 2;
  app.input = platform::Input("\n\nn\n\n");
  app.chess.keyCheck = true;
  for (int i = 0; i < TagTable::kEntries; ++i) app.game.tags.setOutputEnabled(i, true);
  static constexpr int kTargets[] = {1, 6, 41, 800};
  const int target = kTargets[options >> 6];
  app.console.takeCaptured();

  if (!app.pgn.open(input.path())) fail("cannot open the scratch file");
  platform::OutputFile out;
  if (!out.create(output.path())) fail("cannot create the output file");
  CheckingHooks hooks;
  int games = 0;
  for (int result; games < 200 && (result = app.pgn.readNextGame(app.console)) != PgnFile::kEnd; ++games) {
    Game& game = app.game;
    startGame(app, true);
    if (game.plyCount < 0 || game.plyCount >= Game::kSlots) fail("ply count out of range");
    replayGame(app, replay::kMoveRules | replay::kGameEndRules | replay::kEpdSearch, &hooks);
    checkBoard(app.chess.board);
    writePgn(game, app.pgn, out, app.settings.printCmt);
    printGame(game, app.console, app.settings.printCmt);

    // The engine and book commands: a partial replay, then moves by their squares and take-backs.
    setPositionFromFen(app.chess, game, kStartPosition, &app.pgn.header());
    const int reached = replayTo(app, target);
    if (reached < 0 || reached > Game::kSlots) fail("replayTo reached an impossible ply");
    checkBoard(app.chess.board);
    const int made = game.currentPly;
    for (int ply = game.firstPly(); ply <= made && ply < game.firstPly() + 4; ++ply) {
      makeMoveFromSquares(app.chess, game, game.plies[ply].from, game.plies[ply].to, app.console);
      checkBoard(app.chess.board);
    }
    while (takeBack(app)) checkBoard(app.chess.board);
    app.console.takeCaptured();
  }
  out.close();
  app.game.debugGame = 0;

  runCommand(app, "show 2");
  runCommand(app, "play 1 5");
  runCommand(app, "play 2 1000");
  app.input = platform::Input("\n\nx\n");
  runCommand(app, "debug 1 after last");
  app.pgn.close();
  return 0;
}
