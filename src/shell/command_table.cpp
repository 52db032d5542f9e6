#include "shell/command_table.hpp"

#include <array>

#include "book/book_commands.hpp"
#include "chess/board_command.hpp"
#include "commands/epd_commands.hpp"
#include "commands/merge_command.hpp"
#include "commands/restructure_commands.hpp"
#include "commands/selection_commands.hpp"
#include "engine/engine_commands.hpp"
#include "pgn/pgn_commands.hpp"
#include "rating/rating_commands.hpp"
#include "scan/scan_commands.hpp"
#include "shell/app.hpp"
#include "shell/shell_commands.hpp"
#include "tournament/tournament_commands.hpp"

namespace kestrova {

int handleUnavailable(App& app, CommandLine& line) {
  app.console.print(colour::kError, "\n> the command '%s' is not available in this build\n", line.word(0).c_str());
  return 1;
}

namespace {

constexpr std::array<CommandEntry, 40> kCommands{{
    {"verbose", handleVerbose},
    {"cmem", handleCmem},
    {"open", handleOpen},
    {"fepd", handleFepd},
    {"ftrn", handleFtrn},
    {"cut", handleCut},
    {"dbl", handleDbl},
    {"merge", handleMerge},
    {"delete", handleDelete},
    {"select", handleSelect},
    {"show", handleShow},
    {"instxt", handleInstxt},
    {"reptxt", handleReptxt},
    {"setcap", handleSetcap},
    {"setcmt", handleSetcmt},
    {"debug", handleDebug},
    {"play", handlePlay},
    {"scan", handleScan},
    {"syn", handleSyn},
    {"givelo", handleGivelo},
    {"elo", handleElo},
    {"board", handleBoard},
    {"epdsv", handleEpdsv},
    {"lang", handleLang},
    {"newbk", handleNewbk},
    {"help", handleHelp},
    {"showbk", handleShowbk},
    {"tag", handleTag},
    {"bdoor", handleBdoor},
    {"exit", handleExit},
    {"dcmbk", handleDcmbk},
    {"anabk", handleAnabk},
    {"split", handleSplit},
    {"openbk", handleOpenbk},
    {"ddepd", handleDdepd},
    {"sub", handleSub},
    {"bin", handleBin},
    {"askng", handleAskng},
    {"vfilt", handleVfilt},
    {"fenstat", handleFenstat},
}};

}  // namespace

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
    if (taken) return entry.handler(app, line);
  }
  if (line.matchWord(0, "bye") || line.matchWord(0, "salut")) return handleExit(app, line);
  return 0;
}

}  // namespace kestrova
