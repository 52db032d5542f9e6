#include "commands/selection_commands.hpp"

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "commands/criteria.hpp"
#include "commands/tag_editing.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/output_files.hpp"
#include "pgn/pgn_writer.hpp"
#include "platform/numbers.hpp"
#include "platform/output_file.hpp"
#include "shell/app.hpp"
#include "shell/command_table.hpp"
#include "shell/help.hpp"

namespace kestrova {

namespace {

constexpr const char* kDefaultOutput = "pgn-out.pgn";
constexpr const char* kProgressLabel = "> scanning game ";

void finishOutput(App& app, platform::OutputFile& out, const std::string& path) {
  if (kestrova::finishOutput(app.console, out)) app.console.print(colour::kSuccess, "see %s file\n", path.c_str());
}

// Reads every game of the open file and writes those that `keep` accepts, after `change` has
// edited the loaded game. `keep` sees the tags only: the movetext is tokenised just for the games
// that are written. Both get a worker's parts (its game and console) and are called on several
// threads at once: they read what they capture. A progress line follows every `progressEvery`
// games (0: none).
template <typename Keep, typename Change>
void rewriteGames(App& app, platform::OutputFile& out, unsigned progressEvery, const Keep& keep, const Change& change) {
  struct Rewriting : GameVisitor {
    Rewriting(GameLoop& loop, const GameLoopParts& games, platform::OutputFile& out, const Keep& keep,
              const Change& change)
        : loop(loop), games(games), out(out), keep(keep), change(change) {}
    void onGame() override {
      if (!keep(games) || !loop.loadMoves()) return;
      change(games);
      writePgn(games.game, games.pgn, out, games.printCmt);
    }
    GameLoop& loop;
    GameLoopParts games;
    platform::OutputFile& out;
    const Keep& keep;
    const Change& change;
  };
  struct Workers : GameWorkers {
    Workers(const Keep& keep, const Change& change) : keep(keep), change(change) {}
    GameVisitor& addWorker(GameLoop& loop, const GameLoopParts& games,
                           std::span<platform::OutputFile* const> outputs) override {
      visitors.push_back(std::make_unique<Rewriting>(loop, games, *outputs[0], keep, change));
      return *visitors.back();
    }
    const Keep& keep;
    const Change& change;
    std::vector<std::unique_ptr<Rewriting>> visitors;
  } workers(keep, change);
  platform::OutputFile* const outputs[] = {&out};
  printGameCounts(app.console, runGameWorkers(app.loopParts(), GameDepth::kTags, app.settings.threads, workers, outputs,
                                              kProgressLabel, progressEvery));
}

constexpr auto kKeepAll = [](const GameLoopParts&) { return true; };
constexpr auto kNoChange = [](const GameLoopParts&) {};

// select and delete: the games the criteria select, or all the others.
int runSelection(App& app, CommandLine& line, const char* command, bool writeSelected) {
  const std::string output = outputOption(line, kDefaultOutput);
  app.console.writeText("\n> processing...\n");
  Selection selection;
  switch (parseSelection(line, selection)) {
    case Selection::kValid: break;
    case Selection::kUnknownTag:
      app.console.fail("> unknown tag\n");
      return 1;
    default:
      app.console.fail("> invalid selection criteria: one criterion, or two joined by \"and\" or \"or\"\n");
      return 1;
  }
  platform::OutputFile out;
  if (!createOutputFileOrSay(app.console, app.pgn, out, output)) return 1;
  rewriteGames(
      app, out, 512,
      [&](const GameLoopParts& games) { return isSelected(selection, games.game.tags, games.console) == writeSelected; },
      kNoChange);
  // delete writes the pending text after the games.
  if (!writeSelected) {
    out.write(app.pgn.saveBuffer());
    app.pgn.saveBuffer().clear();
  }
  finishOutput(app, out, output);
  return 1;
}

// The word that names the tag and the text of instxt, reptxt and setcap: the last one, options
// aside, that holds an operator.
bool findEditWord(const CommandLine& line, CriterionWord& found) {
  bool seen = false;
  for (std::size_t i = 1; line.hasWord(i); ++i) {
    if (line.word(i).starts_with("-out=") || line.word(i).starts_with("-at=")) continue;
    const CriterionWord word = splitCriterionWord(line.word(i));
    if (word.op == criterion::kNoOperator) continue;
    found = word;
    seen = true;
  }
  return seen;
}

// A tag name of the edit word, or -1 after the message.
int editedTag(App& app, const CriterionWord& word) {
  const int tag = TagTable::lookupName(word.name);
  if (tag < 0) app.console.fail("> unknown tag\n");
  return tag;
}

}  // namespace

int handleSelect(App& app, CommandLine& line) { return runSelection(app, line, "select", true); }

int handleDelete(App& app, CommandLine& line) { return runSelection(app, line, "delete", false); }

int handleInstxt(App& app, CommandLine& line) {
  CriterionWord word;
  if (!findEditWord(line, word)) {
    showCommandHelp(app, "instxt");
    return 1;
  }
  const int tag = editedTag(app, word);
  if (tag < 0) return 1;
  const long position = line.findOption("-at=") ? leadingInteger(line.optionValue("-at=")) : 1;
  const std::string text(word.value);
  const std::string output = outputOption(line, kDefaultOutput);
  app.console.writeText("> processing...\n");
  platform::OutputFile out;
  if (!createOutputFileOrSay(app.console, app.pgn, out, output)) return 1;
  rewriteGames(app, out, 0, kKeepAll, [&](const GameLoopParts& games) {
    if (!insertTagText(games.game.tags, tag, position, text)) {
      games.console.writeText("> string out of range\n", colour::kError);
    }
  });
  finishOutput(app, out, output);
  return 1;
}

int handleReptxt(App& app, CommandLine& line) {
  CriterionWord word;
  if (!findEditWord(line, word)) {
    showCommandHelp(app, "reptxt");
    return 1;
  }
  const int tag = editedTag(app, word);
  if (tag < 0) return 1;
  const std::string text(word.value);
  const std::string output = outputOption(line, kDefaultOutput);
  app.console.writeText("> processing...\n");
  platform::OutputFile out;
  if (!createOutputFileOrSay(app.console, app.pgn, out, output)) return 1;
  rewriteGames(app, out, 0, kKeepAll, [&](const GameLoopParts& games) { games.game.tags.setValue(tag, text); });
  finishOutput(app, out, output);
  return 1;
}

int handleSetcap(App& app, CommandLine& line) {
  CriterionWord word;
  int direction = 0;
  if (findEditWord(line, word)) {
    if (word.value == "up") direction = 1;
    if (word.value == "down") direction = -1;
  }
  if (direction == 0) {
    showCommandHelp(app, "setcap");
    return 1;
  }
  const int tag = editedTag(app, word);
  if (tag < 0) return 1;
  const bool initialsOnly = line.findOption("-f") != 0;
  const std::string output = outputOption(line, kDefaultOutput);
  platform::OutputFile out;
  if (!createOutputFileOrSay(app.console, app.pgn, out, output)) return 1;
  rewriteGames(app, out, 0, kKeepAll, [&](const GameLoopParts& games) {
    if (initialsOnly) setWordInitials(games.game.tags, tag, direction);
    else setTagCase(games.game.tags, tag, direction);
  });
  finishOutput(app, out, output);
  return 1;
}

int handleSetcmt(App& app, CommandLine& line) {
  int mode = -1;
  if (line.findOption("full")) mode = 1;
  else if (line.findOption("partial")) mode = 2;
  else if (line.findOption("none")) mode = 0;
  if (mode < 0) {
    showCommandHelp(app, "setcmt");
    return 1;
  }
  // The mode is a setting: it holds for every later output, also when no file is open now.
  app.settings.printCmt = mode;
  if (!pgnFileOpen(app)) return 1;
  const std::string output = outputOption(line, kDefaultOutput);
  app.console.writeText("\n> processing...\n");
  platform::OutputFile out;
  if (!createOutputFileOrSay(app.console, app.pgn, out, output)) return 1;
  app.timers.restartProcessTimer();
  rewriteGames(app, out, 32, kKeepAll, kNoChange);
  app.console.print(colour::kNormal, "> process time : %ds\n", app.timers.elapsedSeconds());
  finishOutput(app, out, output);
  return 1;
}

int handleTag(App& app, CommandLine& line) {
  app.console.writeText("\n", colour::kDefault);
  // Event (entry 0) is kept like the others but has never been listed.
  for (int i = 1; i < TagTable::kEntries; ++i) {
    std::string_view name = TagTable::prefix(i).substr(1);
    name = name.substr(0, name.find(' '));
    app.console.print(colour::kNormal, "%.*s\n", static_cast<int>(name.size()), name.data());
  }
  return 1;
}

}  // namespace kestrova
