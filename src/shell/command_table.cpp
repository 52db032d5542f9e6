#include "shell/command_table.hpp"

#include <array>

#include "book/book_commands.hpp"
#include "commands/epd_commands.hpp"
#include "commands/merge_command.hpp"
#include "commands/pgn_commands.hpp"
#include "commands/restructure_commands.hpp"
#include "commands/selection_commands.hpp"
#include "engine/engine_commands.hpp"
#include "rating/rating_commands.hpp"
#include "scan/scan_commands.hpp"
#include "shell/app.hpp"
#include "shell/help.hpp"
#include "shell/shell_commands.hpp"
#include "tournament/tournament_commands.hpp"

namespace kestrova {

namespace {

constexpr bool kPgn = true;     // reads the open PGN file
constexpr bool kNoHelp = false;  // takes "/?" as an argument like any other

constexpr std::array<CommandEntry, 40> kCommands{{
    {"verbose", handleVerbose, 1},
    {"cmem", handleCmem, 1},
    {"open", handleOpen, 1},
    {"fepd", handleFepd, 1, kPgn},
    {"ftrn", handleFtrn, 0, kPgn},
    {"cut", handleCut, 1, kPgn},
    {"dbl", handleDbl, 0, kPgn},
    {"merge", handleMerge, 1},
    {"delete", handleDelete, 1, kPgn},
    {"select", handleSelect, 1, kPgn},
    {"show", handleShow, 1, kPgn},
    {"instxt", handleInstxt, 0, kPgn},
    {"reptxt", handleReptxt, 0, kPgn},
    {"setcap", handleSetcap, 0, kPgn},
    {"setcmt", handleSetcmt},
    {"debug", handleDebug, 1, kPgn},
    {"play", handlePlay, 2, kPgn},
    {"scan", handleScan, 0, kPgn},
    {"syn", handleSyn, 0, kPgn},
    {"givelo", handleGivelo, 0, kPgn},
    {"elo", handleElo, 0, kPgn},
    {"board", handleBoard},
    {"epdsv", handleEpdsv, 0, false, kNoHelp},
    {"lang", handleLang},
    {"newbk", handleNewbk, 2},
    {"help", handleHelp, 0, false, kNoHelp},
    {"showbk", handleShowbk},
    {"tag", handleTag},
    {"bdoor", handleBdoor, 0, false, kNoHelp},
    {"exit", handleExit, 0, false, kNoHelp},
    {"dcmbk", handleDcmbk},
    {"anabk", handleAnabk, 1},
    {"split", handleSplit, 0, kPgn},
    {"openbk", handleOpenbk, 1},
    {"ddepd", handleDdepd, 1},
    {"sub", handleSub, 1, kPgn},
    {"bin", handleBin, 0, false, kNoHelp},
    {"askng", handleAskng},
    {"vfilt", handleVfilt, 0, kPgn},
    {"fenstat", handleFenstat, 0, kPgn},
}};

// Runs the entry's handler once the line has what the command needs.
int runEntry(App& app, const CommandEntry& entry, CommandLine& line) {
  bool missing = false;
  for (int i = 1; i <= entry.requiredWords; ++i) missing = missing || !line.hasWord(static_cast<std::size_t>(i));
  if (entry.answersHelp && (line.wantsHelp() || missing)) {
    showCommandHelp(app, entry.word);
    return 1;
  }
  if (entry.needsPgnFile && !pgnFileOpen(app)) return 1;
  return entry.handler(app, line);
}

}  // namespace

bool pgnFileOpen(App& app) {
  if (app.pgn.isOpen()) return true;
  app.console.fail("\n> no PGN-file in memory. Please load a pgn file\n");
  return false;
}

std::span<const CommandEntry> commandTable() { return kCommands; }

bool isCommandWord(std::string_view text) {
  for (const CommandEntry& entry : kCommands) {
    if (entry.word == text) return true;
  }
  return false;
}

int dispatchCommand(App& app) {
  CommandLine& line = app.commandLine;
  for (const CommandEntry& entry : kCommands) {
    // bdoor answers to any word that begins with it (word 0 is lower-case by now).
    const bool taken = entry.word == "bdoor" ? line.word(0).starts_with("bdoor") : line.matchWord(0, entry.word);
    if (taken) return runEntry(app, entry, line);
  }
  if (line.matchWord(0, "bye") || line.matchWord(0, "salut")) return handleExit(app, line);
  return 0;
}

}  // namespace kestrova
