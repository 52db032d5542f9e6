#include "engine/engine_commands.hpp"

#include <strings.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "chess/fen.hpp"
#include "engine/engine_client.hpp"
#include "engine/engine_lifecycle.hpp"
#include "engine/info_parser.hpp"
#include "pgn/board_view.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/output_files.hpp"
#include "pgn/pgn_file.hpp"
#include "pgn/pgn_writer.hpp"
#include "pgn/replay.hpp"
#include "platform/interrupt.hpp"
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

// Why a game was not analysed, kept short so that its status fits a tag value.
constexpr const char* kUnreplayable = "unreadable or illegal";
constexpr const char* kEngineStopped = "the engine has stopped";
constexpr const char* kInterrupted = "interrupted by Ctrl-C";
constexpr const char* kNoScore = "the engine gave no score";

// One vfilt run: the games, the engine that judges them and the two files they go to.
struct FilterRun {
  const GameLoopParts& games;
  EngineClient& engine;
  platform::Timers& timers;
  const FilterOptions& options;
  platform::OutputFile& acceptedFile;
  platform::OutputFile& rejectedFile;
};

// Puts every game the loop reads into one of the two files: judged by the engine, or rejected as
// not analysed when it cannot be replayed, its position must not reach the engine or the engine
// is gone. A game too large for the buffers is the one exception: its text is not at hand.
class Filtering : public GameVisitor {
 public:
  Filtering(const FilterRun& run, GameLoop& loop, std::uint64_t total) : run_(run), loop_(loop), total_(total) {}

  void onGame() override {
    const GameLoopParts& games = run_.games;
    Game& game = games.game;
    Console& console = games.console;
    const unsigned number = loop_.gameNumber();
    setStartPosition(games.chess, game, kStartPosition, &games.pgn.header());
    // The half-move is counted from the game's start, also when Black moves first.
    const int ply = run_.options.ply;
    replayTo(games.chess, game, console, ply == kLastPly || ply == 0 ? ply : ply + game.firstPly() - 1);
    if (const char* unfit = unfitForEngine(*games.chess.attacks, game.currentFen)) return notAnalysed(number, unfit);
    if (engineGivenUp_) return notAnalysed(number, kEngineStopped);
    printDiagram(console, games.strings, games.chess.board, games.language);
    console.writeText(game.currentFen, colour::kDefault);
    console.writeText("\n", colour::kDefault);

    int depth = 0;
    int value = 0;
    const bool analysed = analyse(number, depth, value);
    // The search was cut short: its value is no verdict, and no further game is read.
    if (platform::interruptRequested()) {
      interrupted = true;
      loop_.stop();
      return notAnalysed(number, kInterrupted);
    }
    if (!analysed) return notAnalysed(number, kEngineStopped);
    if (value == InfoParser::kNoValue) return notAnalysed(number, kNoScore);

    const FilterOptions& options = run_.options;
    // A mate is beyond any window: a win above it, a loss below it.
    const bool accept = !isMateValue(value) && options.lowerBound <= value && value <= options.upperBound;
    game.tags.setValue(kTagAnnotator,
                       filterStatus(number, depth, value, options.lowerBound, options.upperBound, accept));
    writePgn(game, games.pgn, accept ? run_.acceptedFile : run_.rejectedFile, games.printCmt);
    console.writeText(accept ? "- accepted\n" : "- rejected\n", accept ? colour::kSuccess : colour::kError);
    ++(accept ? accepted : rejected);
    settled(number);
  }

  void onLeftOut(std::string_view) override {
    if (!loop_.gameTextWhole()) {
      ++unwritten;
      return;
    }
    // The loop could not replay the game: there are no moves to write, only its text as read.
    const unsigned number = loop_.gameNumber();
    const GameLoopParts& games = run_.games;
    if (games.game.tags.outputEnabled(kTagAnnotator)) {
      writeAsRead(games.pgn, kTagAnnotator, notAnalysedStatus(number, kUnreplayable), run_.rejectedFile);
    } else {
      games.pgn.writeGame(run_.rejectedFile);
    }
    countNotAnalysed(number, kUnreplayable);
  }

  unsigned accepted = 0;
  unsigned rejected = 0;     // not analysed games included
  unsigned notAnalysedCount = 0;
  unsigned unwritten = 0;    // too large for the buffers
  bool interrupted = false;  // by Ctrl-C during an analysis

 private:
  // The engine's value of the position on the board. An engine that dies or hangs is started again
  // once and given the position again; if that fails too, it is given up for the rest of the run.
  bool analyse(unsigned number, int& depth, int& value) {
    Console& console = run_.games.console;
    const Game& game = run_.games.game;
    for (int attempt = 0;; ++attempt) {
      std::string pv;
      if (analysePosition(run_.engine, console, run_.timers, game.currentFen, run_.options.timeMs, pv, depth, value,
                          true, false, run_.options.hashMb)) {
        return true;
      }
      if (attempt > 0 || platform::interruptRequested()) break;
      console.print(colour::kError, "> the chess engine has stopped at game %u: starting it again\n", number);
      if (!restartEngine(run_.engine, run_.timers)) break;
    }
    engineGivenUp_ = true;
    console.print(colour::kError, "> the chess engine can't go on: game %u and the following ones are not analysed\n",
                  number);
    return false;
  }

  void notAnalysed(unsigned number, const char* reason) {
    const GameLoopParts& games = run_.games;
    games.game.tags.setValue(kTagAnnotator, notAnalysedStatus(number, reason));
    writePgn(games.game, games.pgn, run_.rejectedFile, games.printCmt);
    countNotAnalysed(number, reason);
  }

  void countNotAnalysed(unsigned number, const char* reason) {
    run_.games.console.print(colour::kError, "- not analysed: %s\n", reason);
    ++rejected;
    ++notAnalysedCount;
    settled(number);
  }

  void settled(unsigned number) {
    Console& console = run_.games.console;
    console.print(colour::kNormal, "- %u of %llu games / %u games rejected until now\n\n", number,
                  static_cast<unsigned long long>(total_), rejected);
    // The files are already complete on disk (flushed after every game); the notice stays.
    if (number % kSaveNoticeEvery == 0) console.writeText("\n\n- saving files...\n\n", colour::kSuccess);
  }

  const FilterRun& run_;
  GameLoop& loop_;
  std::uint64_t total_;
  bool engineGivenUp_ = false;
};

}  // namespace

std::string filterStatus(unsigned gameNumber, int depth, int value, int lowerBound, int upperBound,
                         bool accepted) {
  const char* status = accepted ? "accepted" : "rejected";
  const std::string shown = formatValue(value);
  char text[160];
  std::snprintf(text, sizeof text, "game %u, depth=%d val=%s filter=[%d/%d] status=%s", gameNumber, depth,
                shown.c_str(), lowerBound, upperBound, status);
  if (std::string_view(text).size() > TagTable::kValueLength) {
    std::snprintf(text, sizeof text, "game %u, depth=%d val=%s status=%s", gameNumber, depth, shown.c_str(), status);
  }
  return text;
}

std::string notAnalysedStatus(unsigned gameNumber, std::string_view reason) {
  std::string text = "game " + std::to_string(gameNumber) + ", status=not analysed: ";
  text += reason;
  if (text.size() > TagTable::kValueLength) text.resize(TagTable::kValueLength);
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
  if (const char* unfit = unfitForEngine(*app.chess.attacks, app.game.currentFen)) {
    app.console.fail("> this position is not sent to the engine: %s\n", unfit);
    return 1;
  }
  std::string pv;
  int depth = 0;
  int value = 0;
  analysePosition(app.engine, app.console, app.timers, app.game.currentFen, timeMs, pv, depth, value,
                  true, scroll, hashMb);
  if (platform::interruptRequested()) app.console.writeText("> analysis stopped by Ctrl-C\n", colour::kError);
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
  app.console.print(colour::kNormal, "- this pgn file has %llu games\n", static_cast<unsigned long long>(total));
  app.console.print(colour::kNormal,
                    "- filtering games at the specified move's rank (%d) according to the interval of "
                    "values [%d/%d]\n",
                    options.ply, options.lowerBound, options.upperBound);

  const FilterRun run{games, app.engine, app.timers, options, acceptedFile, rejectedFile};
  Filtering visitor(run, loop, total);
  loop.showProgress("> scanning game ", kProgressEvery);
  const GameCounts counts = loop.run(visitor);
  if (visitor.interrupted) {
    app.console.print(colour::kError, "> interrupted by Ctrl-C after %llu games\n",
                      static_cast<unsigned long long>(counts.read));
  }
  app.console.print(colour::kNormal, "\n- %llu games read: %u accepted, %u rejected (%u of them not analysed)\n",
                    static_cast<unsigned long long>(counts.read), visitor.accepted, visitor.rejected,
                    visitor.notAnalysedCount);
  if (visitor.unwritten > 0) {
    app.console.print(colour::kError, "> %u games too large for the buffers (gBufSz) are in neither file\n",
                      visitor.unwritten);
  }
  // The files are named as saved only once they are.
  if (finishOutputs(app.console, {&acceptedFile, &rejectedFile})) {
    app.console.print(colour::kSuccess,
                      "> %u accepted games saved in the '%s' file\n> %u rejected games saved in the 'vfilt.pgn' "
                      "file\n",
                      visitor.accepted, options.out.c_str(), visitor.rejected);
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
