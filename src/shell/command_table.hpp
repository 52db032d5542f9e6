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
};

// What a command whose subsystem is not built yet answers.
int handleUnavailable(App& app, CommandLine& line);

// The 40 command words.
std::span<const CommandEntry> commandTable();

// True when the text is exactly (case-sensitively) one of the 40 command words.
bool isCommandWord(std::string_view text);

// Offers the current command line to the handlers in table order (word 0 compared without
// regard to case and lower-cased in place). Returns the handler's result, or 0 when no handler
// takes the line.
int dispatchCommand(App& app);

}  // namespace kestrova
