#include "commands/restructure_commands.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "commands/doubles.hpp"
#include "commands/split_game.hpp"
#include "commands/subtraction.hpp"
#include "pgn/output_files.hpp"
#include "pgn/pgn_commands.hpp"
#include "pgn/pgn_writer.hpp"
#include "platform/files.hpp"
#include "platform/line_reader.hpp"
#include "platform/output_file.hpp"
#include "shell/app.hpp"
#include "shell/numbers.hpp"

namespace kestrova {

namespace {

constexpr const char* kDefaultOutput = "pgn-out.pgn";
constexpr const char* kRemovedGames = "sub.pgn";

std::string outputName(const CommandLine& line) {
  return line.findOption("-out=") ? std::string(line.optionValue("-out=")) : kDefaultOutput;
}

// These commands read every game of the open file; without one there is nothing to do, and
// their output file (maybe holding earlier results) is left alone.
bool haveOpenFile(App& app) {
  if (app.pgn.isOpen()) return true;
  app.console.writeText("\n> no PGN-file in memory. Please load a pgn file\n", colour::kError);
  return false;
}

// Creates an output file; says so when it cannot be created (a refusal has been reported).
bool createOutput(App& app, platform::OutputFile& out, const std::string& path,
                  std::initializer_list<std::string_view> inputs = {}) {
  if (refusesAsOutput(app, path, inputs)) return false;
  if (createOutputFile(app, out, path, inputs)) return true;
  app.console.print(colour::kError, "> can't create the file \"%s\"\n", path.c_str());
  return false;
}

void showProgress(App& app, const char* label, unsigned long long games) {
  app.console.print(colour::kNormal, "%s%llu\r", label, games);
}

// Two names of one file, whether it exists yet or not.
bool namesSameFile(const std::string& a, const std::string& b) {
  if (platform::sameFile(a, b)) return true;
  std::error_code error;
  const auto first = std::filesystem::weakly_canonical(std::filesystem::absolute(a, error), error);
  if (error) return false;
  const auto second = std::filesystem::weakly_canonical(std::filesystem::absolute(b, error), error);
  return !error && first == second;
}

}  // namespace

int handleSplit(App& app, CommandLine& line) {
  if (line.wantsHelp()) {
    showCommandHelp(app, "split");
    return 1;
  }
  if (!haveOpenFile(app)) return 1;
  const std::string output = outputName(line);
  platform::OutputFile out;
  if (!createOutput(app, out, output)) return 1;
  app.console.writeText("\n> processing...\n");
  app.pgn.rewind();
  MovetextSplitter splitter;
  std::string movetext;  // the walk reads a copy: each line of play is written through the buffer
  unsigned long long games = 0;
  const MovetextSplitter::Sink writeLine = [&](std::string_view text) {
    std::string& buffer = app.pgn.gameBuffer();
    buffer.assign(text);
    buffer += '\n';
    app.pgn.writeGame(out);  // the header lines as read, then this line of play
  };
  int read;
  while ((read = app.pgn.readNextGame(app.console)) != PgnFile::kEnd) {
    if (++games % 512 == 0) showProgress(app, "> splitting game ", games);
    if (leftOutOfOutput(app, read)) continue;
    movetext.assign(app.pgn.gameBuffer());
    const bool whole = splitter.split(movetext, writeLine);
    out.write("\n\n");
    if (!whole) app.console.writeText("> Error !\n", colour::kError);
  }
  app.console.print(colour::kSuccess, "see %s file\n", output.c_str());
  return 1;
}

int handleCut(App& app, CommandLine& line) {
  if (line.wantsHelp() || !line.hasWord(1)) {
    showCommandHelp(app, "cut");
    return 1;
  }
  // Checked before the output is touched: a refused command leaves an earlier result in place.
  const long plies = line.findOption("-ply=") ? leadingInteger(line.optionValue("-ply=")) : 0;
  if (plies < 1 || plies > Game::kSlots - 1) {
    app.console.writeText("> number out of range\n", colour::kError);
    return 1;
  }
  if (!haveOpenFile(app)) return 1;
  const std::string output = outputName(line);
  platform::OutputFile out;
  if (!createOutput(app, out, output)) return 1;
  const bool reverse = line.findOption("-rev") != 0;
  app.timers.restartProcessTimer();
  app.console.writeText("\n");
  app.pgn.rewind();
  Game& game = app.game;
  unsigned long long games = 0;
  int read;
  while ((read = app.pgn.readNextGame(app.console)) != PgnFile::kEnd) {
    if (++games % 64 == 0) showProgress(app, "> cutting game ", games);
    if (leftOutOfOutput(app, read)) continue;
    startGame(app, true);
    // Counted in half-moves played: the empty first ply of a game starting with Black is not one.
    const int none = game.firstPly() - 1;
    const int count = static_cast<int>(plies);
    game.plyCount = reverse ? std::max(none, game.plyCount - count) : std::min(game.plyCount, none + count);
    writePgn(game, app.pgn, out, app.settings.printCmt);
  }
  app.console.print(colour::kNormal, "> %llu games cut \n> process time : %ds              \n", games,
                    app.timers.elapsedSeconds());
  app.console.print(colour::kSuccess, "see %s file\n", output.c_str());
  return 1;
}

int handleDbl(App& app, CommandLine& line) {
  if (line.wantsHelp()) {
    showCommandHelp(app, "dbl");
    return 1;
  }
  if (!haveOpenFile(app)) return 1;
  const std::string output = outputName(line);
  const HashMode mode = line.findOption("-abs") ? HashMode::kSequence : HashMode::kPosition;
  const bool withFirst = line.findOption("-chk") != 0;
  const bool singles = line.findOption("-sgl") != 0;
  platform::OutputFile out;
  if (!createOutputFile(app, out, output)) {
    app.console.writeText("- can't create the output pgn file\n", colour::kError);
    return 1;
  }
  app.timers.restartProcessTimer();
  app.console.writeText("\n");

  // One pass to make a small record per game: the games themselves are read again to be written.
  std::vector<GameRecord> records;
  app.pgn.rewind();
  unsigned long long games = 0;
  while (app.pgn.readNextGame(app.console) != PgnFile::kEnd) {
    startGame(app, true);
    if (++games % 512 == 0) showProgress(app, "> scanning game ", games);
    records.push_back(recordReplayedGame(app, mode, static_cast<std::uint32_t>(games)));
  }
  app.console.print(colour::kNormal, "> %llu games scanned           \n", games);

  app.console.print(colour::kNormal, "> %zu games taken into account\n", records.size());
  sortByHashes(records);
  app.console.writeText("> games sorted        \n");
  markRuns(records);
  restoreFileOrder(records);

  const char* progress = singles ? "> saving games without doubles [%c]\r" : "> saving double games [%c]\r";
  int written = 0;
  int laterCopies = 0;
  int firstCopies = 0;
  std::size_t index = 0;
  app.pgn.rewind();
  int read;
  while (index < records.size() && (read = app.pgn.readNextGame(app.console)) != PgnFile::kEnd) {
    const GameRecord& record = records[index];
    app.console.print(colour::kNormal, progress, index % 2 == 0 ? '|' : '-');
    ++index;
    const bool keep = singles ? record.mark != doublemark::kLaterDouble
                              : record.mark == doublemark::kLaterDouble ||
                                    (withFirst && record.mark == doublemark::kFirstDouble);
    if (!keep || leftOutOfOutput(app, read)) continue;
    startGame(app, true);
    if (!singles) {
      char id[48];
      std::snprintf(id, sizeof id, "Double id = %llu", static_cast<unsigned long long>(record.hashA));
      app.game.tags.setValue(kTagAnnotator, id);
    }
    writePgn(app.game, app.pgn, out, app.settings.printCmt);
    ++written;
    if (record.mark == doublemark::kLaterDouble) ++laterCopies;
    if (record.mark == doublemark::kFirstDouble) ++firstCopies;
  }
  out.close();
  app.console.print(colour::kNormal, "> process time : %ds                  \n", app.timers.elapsedSeconds());
  if (singles) {
    app.console.print(colour::kSuccess, "\n- %d single games have been stored in %s file\n", written, output.c_str());
  } else if (withFirst) {
    app.console.print(colour::kSuccess,
                      "\n- %d doubles AND %d selected games from doubles have been stored in %s file\n",
                      laterCopies, firstCopies, output.c_str());
  } else {
    app.console.print(colour::kSuccess, "\n- %d doubles have been found and stored in %s file\n", laterCopies,
                      output.c_str());
  }
  return 1;
}

int handleSub(App& app, CommandLine& line) {
  if (line.wantsHelp() || !line.hasWord(1)) {
    showCommandHelp(app, "sub");
    return 1;
  }
  if (line.findOption("-gam=") == 0) {
    app.console.writeText("- missing parameter\n", colour::kError);
    return 1;
  }
  if (!haveOpenFile(app)) return 1;
  // The games to remove: found the way the PGN file is opened (".pgn" added when needed), and
  // before any output is touched.
  std::string games(line.optionValue("-gam="));
  {
    platform::LineReader probe;
    if (!probe.open(games) && games.find(".pgn") == std::string::npos && probe.open(games + ".pgn")) {
      games += ".pgn";
    }
    if (!probe.isOpen()) {
      app.console.print(colour::kError, "\n> unable to open the file \"%s\"\n", games.c_str());
      return 1;
    }
  }
  const std::string output = outputName(line);
  if (namesSameFile(output, kRemovedGames)) {
    app.console.print(colour::kError, "\n> \"%s\" receives the removed games: it can't be the output file\n",
                      output.c_str());
    return 1;
  }
  if (refusesAsOutput(app, output, {games}) || refusesAsOutput(app, kRemovedGames, {games})) return 1;
  platform::OutputFile kept;
  platform::OutputFile removed;
  if (!createOutput(app, kept, output, {games}) || !createOutput(app, removed, kRemovedGames, {games})) return 1;
  app.console.writeText("\n");

  // The records of the games to remove, read with the one PGN reader; the open file comes back.
  const std::string remembered = app.pgn.name();
  SubtractionIndex index;
  const bool readable = app.pgn.open(games);
  unsigned long long count = 0;
  while (readable && app.pgn.readNextGame(app.console) != PgnFile::kEnd) {
    startGame(app, true);
    if (++count % 64 == 0) showProgress(app, "> scanning game ", count);
    index.add(recordReplayedGame(app, HashMode::kSequence, static_cast<std::uint32_t>(count)));
  }
  if (!readable) app.console.print(colour::kError, "\n> unable to open the file \"%s\"\n", games.c_str());
  if (!app.pgn.open(remembered)) {
    app.console.print(colour::kError, "\n> unable to open the file \"%s\"\n", remembered.c_str());
    return 1;
  }
  if (!readable) return 1;

  int removedCount = 0;
  std::uint32_t number = 0;
  int read;
  while ((read = app.pgn.readNextGame(app.console)) != PgnFile::kEnd) {
    ++number;
    if (leftOutOfOutput(app, read)) continue;
    startGame(app, true);
    const GameRecord game = recordReplayedGame(app, HashMode::kSequence, number);
    if (index.contains(game)) {
      writePgn(app.game, app.pgn, removed, app.settings.printCmt);
      ++removedCount;
    } else {
      writePgn(app.game, app.pgn, kept, app.settings.printCmt);
    }
  }
  app.console.writeText("> operation complete\n", colour::kSuccess);
  app.console.print(colour::kNormal, "> %d games have been removed and stored in the sub.pgn file\n", removedCount);
  app.console.print(colour::kNormal, "> the resuling file is %s\n", output.c_str());
  return 1;
}

}  // namespace kestrova
