#pragma once
// The command words in their order of trial, each bound to its handler.
#include <span>
#include <string_view>

namespace kestrova {

struct App;
class CommandLine;

// Called when word 0 is the handler's word; returns non-zero (it handled the line).
using CommandHandler = int (*)(App&, CommandLine&);

struct CommandEntry {
  std::string_view word;
  CommandHandler handler;
  // Words after the command word without which it shows its help instead of running.
  int requiredWords = 0;
  // Reads the open PGN file: without one, the command says so and does nothing.
  bool needsPgnFile = false;
  // Shows its help for "/?", "/help", "--help" or "-h" after the word.
  bool answersHelp = true;
};

// True when a PGN file is open; otherwise says so ("no PGN-file in memory").
bool pgnFileOpen(App& app);

// The 40 command words.
std::span<const CommandEntry> commandTable();

// True when the text is exactly (case-sensitively) one of the 40 command words.
bool isCommandWord(std::string_view text);

// Offers the current command line to the handlers in table order (word 0 compared without
// regard to case and lower-cased in place). Before the handler runs, the table's entry answers a
// request for help, a missing argument and a missing PGN file. Returns the handler's result (1
// after such an answer), or 0 when no entry takes the line.
int dispatchCommand(App& app);

}  // namespace kestrova
