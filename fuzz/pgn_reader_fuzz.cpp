// The PGN reader, the game model and the replay on a file of any content: the game loop reads,
// loads and replays every game with a visitor that checks the board, writes it back as PGN and
// shows it, replays it partly and plays moves from squares and takes them back; then the commands
// show, play and debug run over the same file.
//
// Input: one byte of options, then the file.
//   bits 0-1  printCmt (0..3)
//   bit 2     small buffers (game 400, line 100 bytes), so that "too large" is reached
//   bit 3     comment buffers of 8 bytes instead of 512
//   bits 4-5  the game debug steps through from its second half-move (1..4)
//   bits 6-7  replayTo target: 1, 6, 41 or 800
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chess/fen.hpp"
#include "fuzz_support.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/pgn_writer.hpp"
#include "pgn/replay.hpp"
#include "platform/output_file.hpp"
#include "shell/command_table.hpp"

namespace kestrova::fuzz {
namespace {

class CheckingVisitor : public GameVisitor {
 public:
  CheckingVisitor(App& app, GameLoop& loop, platform::OutputFile& out, int target)
      : app_(app), loop_(loop), out_(out), target_(target) {}

  bool onPly(int ply, const Board& before) override {
    if (ply < app_.game.firstPly() || ply > app_.game.plyCount) fail("a ply outside the game's half-moves");
    checkBoard(before);
    checkBoard(app_.chess.board);
    return true;
  }

  void onGame() override {
    if (++games_ == kMaxGames) loop_.stop();  // a file of many tiny games stays quick
    Game& game = app_.game;
    if (game.plyCount < 0 || game.plyCount >= Game::kSlots) fail("ply count out of range");
    checkBoard(app_.chess.board);
    writePgn(game, app_.pgn, out_, app_.settings.printCmt);
    printGame(game, app_.console, app_.settings.printCmt);

    // The engine and book commands: a partial replay, then moves by their squares and take-backs.
    setStartPosition(app_.chess, game, kStartPosition, &app_.pgn.header());
    const int reached = replayTo(app_.chess, game, app_.console, target_);
    if (reached < 0 || reached > Game::kSlots) fail("replayTo reached an impossible ply");
    checkBoard(app_.chess.board);
    std::vector<std::pair<int, int>> squares;
    for (int ply = game.firstPly(); ply <= game.currentPly && ply <= game.plyCount && squares.size() < 4; ++ply) {
      squares.emplace_back(game.plies[ply].from, game.plies[ply].to);
    }
    for (const auto& [from, to] : squares) {
      playMoveFromSquares(app_.chess, game, app_.console, from, to);
      checkBoard(app_.chess.board);
    }
    while (takeBack(app_.chess, game, app_.console)) checkBoard(app_.chess.board);
    app_.console.takeCaptured();
  }

  void onLeftOut(std::string_view report) override {
    if (report.empty()) fail("a game left out without a report");
    checkBoard(app_.chess.board);
    app_.console.takeCaptured();
  }

 private:
  static constexpr int kMaxGames = 200;
  App& app_;
  GameLoop& loop_;
  platform::OutputFile& out_;
  int target_;
  int games_ = 0;
};

void runCommand(App& app, const std::string& text) {
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
  app.chess.keyCheck = true;
  for (int i = 0; i < TagTable::kEntries; ++i) app.game.tags.setOutputEnabled(i, true);
  static constexpr int kTargets[] = {1, 6, 41, 800};
  app.console.takeCaptured();

  if (!app.pgn.open(input.path())) fail("cannot open the scratch file");
  platform::OutputFile out;
  if (!out.create(output.path())) fail("cannot create the output file");
  GameLoop loop(app.loopParts(), GameDepth::kReplay);
  CheckingVisitor visitor(app, loop, out, kTargets[options >> 6]);
  const GameCounts counts = loop.run(visitor);
  if (counts.read != counts.used + counts.leftOut) fail("games read are not those used and those left out");
  if (!out.commit()) fail("cannot write the output file");
  app.console.takeCaptured();

  runCommand(app, "show 2");
  runCommand(app, "play 1 5");
  runCommand(app, "play 2 1000");
  app.input = platform::Input("\n\n\n\nx\n");
  runCommand(app, "debug " + std::to_string(((options >> 4) & 3) + 1) + " after 2");
  app.input = platform::Input("\n\nx\n");
  runCommand(app, "debug 1 after last");
  app.pgn.close();
  return 0;
}
