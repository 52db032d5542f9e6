#include "shell/command_table.hpp"

#include <array>

#include "chess/board_command.hpp"
#include "commands/merge_command.hpp"
#include "pgn/pgn_commands.hpp"
#include "shell/app.hpp"
#include "shell/shell_commands.hpp"

namespace kestrova {

namespace {

// Commands whose subsystem is not in this build yet claim their word and say so.
int handleUnavailable(App& app, CommandLine& line) {
  app.console.print(colour::kError, "\n> the command '%s' is not available in this build\n", line.word(0).c_str());
  return 1;
}

constexpr std::array<CommandEntry, 40> kCommands{{
    {"verbose", handleVerbose},
    {"cmem", handleCmem},
    {"open", handleOpen},
    {"fepd", handleUnavailable},
    {"ftrn", handleUnavailable},
    {"cut", handleUnavailable},
    {"dbl", handleUnavailable},
    {"merge", handleMerge},
    {"delete", handleUnavailable},
    {"select", handleUnavailable},
    {"show", handleShow},
    {"instxt", handleUnavailable},
    {"reptxt", handleUnavailable},
    {"setcap", handleUnavailable},
    {"setcmt", handleUnavailable},
    {"debug", handleDebug},
    {"play", handlePlay},
    {"scan", handleUnavailable},
    {"syn", handleUnavailable},
    {"givelo", handleUnavailable},
    {"elo", handleUnavailable},
    {"board", handleBoard},
    {"epdsv", handleUnavailable},
    {"lang", handleLang},
    {"newbk", handleUnavailable},
    {"help", handleHelp},
    {"showbk", handleUnavailable},
    {"tag", handleUnavailable},
    {"bdoor", handleUnavailable},
    {"exit", handleExit},
    {"dcmbk", handleUnavailable},
    {"anabk", handleUnavailable},
    {"split", handleUnavailable},
    {"openbk", handleUnavailable},
    {"ddepd", handleUnavailable},
    {"sub", handleUnavailable},
    {"bin", handleBin},
    {"askng", handleUnavailable},
    {"vfilt", handleUnavailable},
    {"fenstat", handleUnavailable},
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
