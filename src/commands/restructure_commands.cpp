#include "commands/restructure_commands.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "commands/doubles.hpp"
#include "commands/split_game.hpp"
#include "commands/subtraction.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/output_files.hpp"
#include "pgn/pgn_writer.hpp"
#include "platform/line_reader.hpp"
#include "platform/numbers.hpp"
#include "platform/output_file.hpp"
#include "shell/app.hpp"

namespace kestrova {

namespace {

constexpr const char* kDefaultOutput = "pgn-out.pgn";
constexpr const char* kRemovedGames = "sub.pgn";

}  // namespace

int handleSplit(App& app, CommandLine& line) {
  const std::string output = outputOption(line, kDefaultOutput);
  platform::OutputFile out;
  if (!createOutputFileOrSay(app.console, app.pgn, out, output)) return 1;
  app.console.writeText("\n> processing...\n");
  struct Splitting : GameVisitor {
    Splitting(App& app, platform::OutputFile& out) : app(app), out(out) {}
    void onGame() override {
      movetext.assign(app.pgn.gameBuffer());
      result = gameResult(app.game);
      splitter.split(movetext, writeLine);
      out.write("\n\n");
    }
    App& app;
    platform::OutputFile& out;
    MovetextSplitter splitter;
    std::string movetext;  // the walk reads a copy: each line of play is written through the buffer
    std::string_view result;
    // Every line of play ends with the game's result, as its tags say.
    const MovetextSplitter::Sink writeLine = [this](std::string_view text) {
      std::string& buffer = app.pgn.gameBuffer();
      buffer.assign(text);
      if (!text.ends_with(result)) (buffer += ' ') += result;
      buffer += '\n';
      app.pgn.writeGame(out);  // the header lines as read, then this line of play
    };
  } visitor(app, out);
  // Replayed first: a main line that cannot be read whole or is not legal is not split.
  GameLoop loop(app.loopParts(), GameDepth::kReplay);
  loop.showProgress("> splitting game ", 512);
  const GameCounts counts = loop.run(visitor);
  printGameCounts(app.console, counts);
  if (finishOutput(app.console, out)) app.console.print(colour::kSuccess, "see %s file\n", output.c_str());
  return 1;
}

int handleCut(App& app, CommandLine& line) {
  // Checked before the output is touched: a refused command leaves an earlier result in place.
  const long plies = line.findOption("-ply=") ? leadingInteger(line.optionValue("-ply=")) : 0;
  if (plies < 1 || plies > Game::kSlots - 1) {
    app.console.fail("> number out of range\n");
    return 1;
  }
  const std::string output = outputOption(line, kDefaultOutput);
  platform::OutputFile out;
  if (!createOutputFileOrSay(app.console, app.pgn, out, output)) return 1;
  app.timers.restartProcessTimer();
  app.console.writeText("\n");
  struct Cutting : GameVisitor {
    Cutting(const GameLoopParts& games, platform::OutputFile& out, int plies, bool reverse)
        : games(games), out(out), plies(plies), reverse(reverse) {}
    void onGame() override {
      Game& game = games.game;
      // Counted in half-moves played: the empty first ply of a game starting with Black is not one.
      const int none = game.firstPly() - 1;
      game.plyCount = reverse ? std::max(none, game.plyCount - plies) : std::min(game.plyCount, none + plies);
      // A PlyCount tag says how long the game written is.
      if (!game.tags.value(kTagPlyCount).empty()) {
        game.tags.setValue(kTagPlyCount, std::to_string(game.playedHalfMoves(game.plyCount)));
      }
      writePgn(game, games.pgn, out, games.printCmt);
    }
    GameLoopParts games;
    platform::OutputFile& out;
    int plies;
    bool reverse;
  };
  // Each worker cuts its own games: the cut depends on nothing but the game.
  struct Workers : GameWorkers {
    Workers(int plies, bool reverse) : plies(plies), reverse(reverse) {}
    GameVisitor& addWorker(GameLoop&, const GameLoopParts& games, std::span<platform::OutputFile* const> outputs) override {
      visitors.push_back(std::make_unique<Cutting>(games, *outputs[0], plies, reverse));
      return *visitors.back();
    }
    int plies;
    bool reverse;
    std::vector<std::unique_ptr<Cutting>> visitors;
  } workers(static_cast<int>(plies), line.findOption("-rev") != 0);
  platform::OutputFile* const outputs[] = {&out};
  const GameCounts counts = runGameWorkers(app.loopParts(), GameDepth::kReplay, app.settings.threads, workers, outputs,
                                           "> cutting game ", 64);
  app.console.print(colour::kNormal, "> %llu games cut \n> process time : %ds              \n",
                    static_cast<unsigned long long>(counts.used), app.timers.elapsedSeconds());
  printGameCounts(app.console, counts);
  if (finishOutput(app.console, out)) app.console.print(colour::kSuccess, "see %s file\n", output.c_str());
  return 1;
}

namespace {

// The first pass of dbl and sub: a small record of every game of the open file, from its replay.
class GameRecorder : public GameVisitor {
 public:
  GameRecorder(const Game& game, const GameLoop& loop, HashMode mode) : game_(game), loop_(loop), mode_(mode) {}
  void onGame() override { records.push_back(recordGame(game_, mode_, loop_.gameNumber())); }
  std::vector<GameRecord> records;

 private:
  const Game& game_;
  const GameLoop& loop_;
  HashMode mode_;
};

}  // namespace

int handleDbl(App& app, CommandLine& line) {
  const std::string output = outputOption(line, kDefaultOutput);
  const HashMode mode = line.findOption("-abs") ? HashMode::kSequence : HashMode::kPosition;
  const bool withFirst = line.findOption("-chk") != 0;
  const bool singles = line.findOption("-sgl") != 0;
  platform::OutputFile out;
  if (!createOutputFileOrSay(app.console, app.pgn, out, output)) return 1;
  app.timers.restartProcessTimer();
  app.console.writeText("\n");

  // One pass to make a small record per game: the games themselves are read again to be written.
  GameCounts counts;
  std::vector<GameRecord> records = recordGames(app.loopParts(), mode, app.settings.threads, counts);
  app.console.print(colour::kNormal, "> %llu games scanned           \n", static_cast<unsigned long long>(counts.read));

  app.console.print(colour::kNormal, "> %zu games taken into account\n", records.size());
  sortByHashes(records);
  app.console.writeText("> games sorted        \n");
  markRuns(records);
  restoreFileOrder(records);

  // The second pass reads only the games to be written, found by their numbers.
  const DoublesWritten writer = writeMarkedGames(app.loopParts(), app.settings.threads, records, out, singles, withFirst);
  app.console.print(colour::kNormal, "> process time : %ds                  \n", app.timers.elapsedSeconds());
  printGameCounts(app.console, counts);
  if (!finishOutput(app.console, out)) return 1;
  if (singles) {
    app.console.print(colour::kSuccess, "\n- %d single games have been stored in %s file\n", writer.games,
                      output.c_str());
  } else if (withFirst) {
    app.console.print(colour::kSuccess,
                      "\n- %d doubles AND %d selected games from doubles have been stored in %s file\n",
                      writer.laterCopies, writer.firstCopies, output.c_str());
  } else {
    app.console.print(colour::kSuccess, "\n- %d doubles have been found and stored in %s file\n",
                      writer.laterCopies, output.c_str());
  }
  return 1;
}

int handleSub(App& app, CommandLine& line) {
  if (line.findOption("-gam=") == 0) {
    app.console.fail("- missing parameter\n");
    return 1;
  }
  // The games to remove: found the way the PGN file is opened (".pgn" added when needed), and
  // before any output is touched.
  std::string games(line.optionValue("-gam="));
  {
    platform::LineReader probe;
    if (!probe.open(games) && games.find(".pgn") == std::string::npos && probe.open(games + ".pgn")) {
      games += ".pgn";
    }
    if (!probe.isOpen()) {
      app.console.fail("\n> unable to open the file \"%s\"\n", games.c_str());
      return 1;
    }
  }
  const std::string output = outputOption(line, kDefaultOutput);
  if (namesSameFile(output, kRemovedGames)) {
    app.console.fail("\n> \"%s\" receives the removed games: it can't be the output file\n", output.c_str());
    return 1;
  }
  if (refusesOutputs(app.console, app.pgn, {output, kRemovedGames}, {games})) return 1;
  platform::OutputFile kept;
  platform::OutputFile removed;
  if (!createOutputFileOrSay(app.console, app.pgn, kept, output, {games}) ||
      !createOutputFileOrSay(app.console, app.pgn, removed, kRemovedGames, {games})) {
    return 1;
  }
  app.console.writeText("\n");

  // The records of the games to remove, read with the one PGN reader; the open file comes back.
  const std::string remembered = app.pgn.name();
  SubtractionIndex index;
  const bool readable = app.pgn.open(games);
  if (readable) {
    GameLoop loop(app.loopParts(), GameDepth::kReplay);
    loop.showProgress("> scanning game ", 64);
    GameRecorder recorder(app.game, loop, HashMode::kSequence);
    loop.run(recorder);
    for (const GameRecord& record : recorder.records) index.add(record);
  } else {
    app.console.fail("\n> unable to open the file \"%s\"\n", games.c_str());
  }
  if (!app.pgn.open(remembered)) {
    app.console.fail("\n> unable to open the file \"%s\"\n", remembered.c_str());
    return 1;
  }
  if (!readable) return 1;

  struct Subtracting : GameVisitor {
    Subtracting(App& app, const GameLoop& loop, const SubtractionIndex& index, platform::OutputFile& kept,
                platform::OutputFile& removed)
        : app(app), loop(loop), index(index), kept(kept), removed(removed) {}
    void onGame() override {
      const GameRecord game = recordGame(app.game, HashMode::kSequence, loop.gameNumber());
      const bool remove = index.contains(game);
      writePgn(app.game, app.pgn, remove ? removed : kept, app.settings.printCmt);
      if (remove) ++removedCount;
    }
    App& app;
    const GameLoop& loop;
    const SubtractionIndex& index;
    platform::OutputFile& kept;
    platform::OutputFile& removed;
    int removedCount = 0;
  };
  GameLoop loop(app.loopParts(), GameDepth::kReplay);
  Subtracting visitor(app, loop, index, kept, removed);
  const GameCounts counts = loop.run(visitor);
  if (!finishOutputs(app.console, {&kept, &removed})) return 1;
  app.console.writeText("> operation complete\n", colour::kSuccess);
  printGameCounts(app.console, counts);
  app.console.print(colour::kNormal, "> %d games have been removed and stored in the sub.pgn file\n",
                    visitor.removedCount);
  app.console.print(colour::kNormal, "> the resuling file is %s\n", output.c_str());
  return 1;
}

}  // namespace kestrova
