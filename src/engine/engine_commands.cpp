#include "engine/engine_commands.hpp"

#include <strings.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "chess/fen.hpp"
#include "engine/engine_client.hpp"
#include "pgn/board_view.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/output_files.hpp"
#include "pgn/pgn_writer.hpp"
#include "pgn/replay.hpp"
#include "platform/numbers.hpp"
#include "platform/output_file.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

constexpr const char* kNoEngine = "> no chess engine running (see engineFile in kestrova.ini)\n";
constexpr const char* kRejectedFile = "vfilt.pgn";
constexpr int kLastPly = 9999;
constexpr unsigned kProgressEvery = 512;
constexpr unsigned kSaveNoticeEvery = 50;

// An option read as a decimal integer and kept in 16 bits, as the engine options are (70000
// becomes 4464).
std::uint16_t option16(const CommandLine& line, std::string_view prefix, std::uint16_t fallback) {
  if (line.findOption(prefix) == 0) return fallback;
  return static_cast<std::uint16_t>(static_cast<unsigned long>(leadingInteger(line.optionValue(prefix))));
}

int optionInt(const CommandLine& line, std::string_view prefix, int fallback) {
  if (line.findOption(prefix) == 0) return fallback;
  return static_cast<int>(std::clamp<long>(leadingInteger(line.optionValue(prefix)), INT_MIN, INT_MAX));
}

struct FilterOptions {
  int timeMs = 1000;
  std::uint16_t hashMb = 128;
  int ply = kLastPly;
  int lowerBound = -80;
  int upperBound = 80;
  std::string out = "pgn-out.pgn";
};

FilterOptions readFilterOptions(const CommandLine& line) {
  FilterOptions options;
  options.timeMs = std::max(0, optionInt(line, "-time=", options.timeMs));
  options.hashMb = option16(line, "-hash=", options.hashMb);
  if (line.findOption("-ply=") != 0) {
    const std::string ply(line.optionValue("-ply="));
    options.ply = strcasecmp(ply.c_str(), "last") == 0 ? kLastPly : option16(line, "-ply=", 0);
  }
  options.lowerBound = optionInt(line, "-minval=", options.lowerBound);
  options.upperBound = optionInt(line, "-maxval=", options.upperBound);
  if (!line.optionValue("-out=").empty()) options.out = line.optionValue("-out=");
  return options;
}

// Creates both files, or neither when either name is refused: nothing is deleted before both
// names have been checked.
bool createFilterFiles(Console& console, const PgnFile& open, const std::string& out, platform::OutputFile& accepted,
                       platform::OutputFile& rejected) {
  if (namesSameFile(out, kRejectedFile)) {
    console.fail("\n> \"%s\" receives the rejected games: it can't be the output file\n", kRejectedFile);
    return false;
  }
  if (refusesOutputs(console, open, {out, kRejectedFile})) return false;
  return createOutputFileOrSay(console, open, accepted, out) &&
         createOutputFileOrSay(console, open, rejected, kRejectedFile);
}

// One vfilt run: the games, the engine that judges them and the two files they go to.
struct FilterRun {
  const GameLoopParts& games;
  EngineClient& engine;
  platform::Timers& timers;
  const FilterOptions& options;
  platform::OutputFile& acceptedFile;
  platform::OutputFile& rejectedFile;
};

enum class Outcome { kAccepted, kRejected, kEngineGone };

// The game just replayed whole: its position before the chosen half-move is analysed and the game
// written to the file its value chooses.
Outcome filterGame(const FilterRun& run, unsigned number) {
  const GameLoopParts& games = run.games;
  Game& game = games.game;
  Console& console = games.console;
  setStartPosition(games.chess, game, kStartPosition, &games.pgn.header());
  // The half-move is counted from the game's start, also when Black moves first.
  const int ply = run.options.ply;
  replayTo(games.chess, game, console, ply == kLastPly || ply == 0 ? ply : ply + game.firstPly() - 1);
  printDiagram(console, games.strings, games.chess.board, games.language);
  console.writeText(game.currentFen, colour::kDefault);
  console.writeText("\n", colour::kDefault);

  std::string pv;
  int depth = 0;
  int value = 0;
  if (!analysePosition(run.engine, console, run.timers, game.currentFen, run.options.timeMs, pv, depth, value, true,
                       false, run.options.hashMb)) {
    // The engine is gone for good; the games left would all get a value it never gave.
    console.print(colour::kError,
                  "> the chess engine has stopped: game %u and the following ones are not filtered\n", number);
    return Outcome::kEngineGone;
  }

  const FilterOptions& options = run.options;
  const bool accepted = options.lowerBound <= value && value <= options.upperBound;
  game.tags.setValue(kTagAnnotator,
                     filterStatus(number, depth, value, options.lowerBound, options.upperBound, accepted));
  platform::OutputFile& file = accepted ? run.acceptedFile : run.rejectedFile;
  writePgn(game, games.pgn, file, games.printCmt);
  if (accepted) {
    console.writeText("- accepted\n", colour::kSuccess);
    return Outcome::kAccepted;
  }
  console.writeText("- rejected\n", colour::kError);
  return Outcome::kRejected;
}

// Filters every game the loop replays, until the engine is gone.
class Filtering : public GameVisitor {
 public:
  Filtering(const FilterRun& run, GameLoop& loop, std::uint64_t total) : run_(run), loop_(loop), total_(total) {}

  void onGame() override {
    const unsigned number = loop_.gameNumber();
    const Outcome outcome = filterGame(run_, number);
    if (outcome == Outcome::kEngineGone) {
      loop_.leaveOut("the engine has stopped");
      loop_.stop();
      return;
    }
    if (outcome == Outcome::kAccepted) ++accepted;
    if (outcome == Outcome::kRejected) ++rejected;
    run_.games.console.print(colour::kNormal, "- %u of %llu games / %u games rejected until now\n\n", number,
                             static_cast<unsigned long long>(total_), rejected);
    // The files are already complete on disk (flushed after every game); the notice stays.
    if (number % kSaveNoticeEvery == 0) run_.games.console.writeText("\n\n- saving files...\n\n", colour::kSuccess);
  }

  unsigned accepted = 0;
  unsigned rejected = 0;

 private:
  const FilterRun& run_;
  GameLoop& loop_;
  std::uint64_t total_;
};

}  // namespace

std::string filterStatus(unsigned gameNumber, int depth, int value, int lowerBound, int upperBound,
                         bool accepted) {
  const char* status = accepted ? "accepted" : "rejected";
  char text[160];
  std::snprintf(text, sizeof text, "game %u, depth=%d val=%d filter=[%d/%d] status=%s", gameNumber,
                depth, value, lowerBound, upperBound, status);
  if (std::string_view(text).size() > TagTable::kValueLength) {
    std::snprintf(text, sizeof text, "game %u, depth=%d val=%d status=%s", gameNumber, depth, value,
                  status);
  }
  return text;
}

int handleAskng(App& app, CommandLine& line) {
  const int timeMs = option16(line, "-time=", 5000);
  const std::uint16_t hashMb = option16(line, "-hash=", 128);
  const bool scroll = line.findOption("-scroll") != 0;

  app.console.writeText(app.game.currentFen, colour::kDefault);
  // Scrolled variations start their own lines; otherwise the first would overwrite the position.
  if (!scroll || !app.engine.running()) app.console.writeText("\n", colour::kDefault);
  if (!app.engine.running()) {
    app.console.fail("%s", kNoEngine);
    return 1;
  }
  std::string pv;
  int depth = 0;
  int value = 0;
  analysePosition(app.engine, app.console, app.timers, app.game.currentFen, timeMs, pv, depth, value,
                  true, scroll, hashMb);
  return 1;
}

int handleVfilt(App& app, CommandLine& line) {
  const FilterOptions options = readFilterOptions(line);
  // Without an engine every game would be sorted by a value nobody computed.
  if (!app.engine.running()) {
    app.console.writeText("\n", colour::kDefault);
    app.console.fail("%s", kNoEngine);
    return 1;
  }
  platform::OutputFile acceptedFile;
  platform::OutputFile rejectedFile;
  if (!createFilterFiles(app.console, app.pgn, options.out, acceptedFile, rejectedFile)) return 1;

  app.console.writeText("> counting games\n");
  const GameLoopParts games = app.loopParts();
  GameLoop loop(games, GameDepth::kReplay);
  const std::uint64_t total = loop.countGames();
  app.console.print(colour::kNormal, "\r- this pgn file has %llu games\n", static_cast<unsigned long long>(total));
  app.console.print(colour::kNormal,
                    "- filtering games at the specified move's rank (%d) according to the interval of "
                    "values [%d/%d]\n",
                    options.ply, options.lowerBound, options.upperBound);

  const FilterRun run{games, app.engine, app.timers, options, acceptedFile, rejectedFile};
  Filtering visitor(run, loop, total);
  loop.showProgress("> scanning game ", kProgressEvery);
  const GameCounts counts = loop.run(visitor);
  const unsigned accepted = visitor.accepted;
  const unsigned rejected = visitor.rejected;

  app.console.print(colour::kNormal, "\n- %u games have been verified\n", accepted + rejected);
  // The files are named as saved only once they are.
  if (finishOutputs(app.console, {&acceptedFile, &rejectedFile})) {
    app.console.print(colour::kSuccess,
                      "> %u accepted games saved in the '%s' file\n> %u rejected games saved in the 'vfilt.pgn' "
                      "file\n",
                      accepted, options.out.c_str(), rejected);
  }
  printGameCounts(app.console, counts);
  if (app.game.tags.outputEnabled(kTagAnnotator)) {
    app.console.writeText("- depth, value and status have been written in all pgn 'ANNOTATOR' fields\n");
  } else {
    app.console.writeText(
        "> the Annotator tag is not enabled for output in kestrova.ini: depth, value and status have not been "
        "written\n",
        colour::kError);
  }
  return 1;
}

}  // namespace kestrova
