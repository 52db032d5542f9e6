#pragma once
// The interactive prompt loop with its history and recall, and batch mode from the arguments.
#include <span>
#include <string>

namespace kestrova {

struct App;

// The exit statuses of a batch: every command succeeded, one failed, a word was no command, Ctrl-C.
namespace exitstatus {
constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUnknownCommand = 2;
constexpr int kInterrupted = 130;
}  // namespace exitstatus

// Prompts, reads and dispatches lines until the exit command or the end of input; Ctrl-C stops
// the running command and comes back to the prompt. Returns 0.
int runInteractive(App& app);

// Runs the commands given as program arguments: each command word gathers the arguments that
// follow it up to the next command word. A first argument that is not a command word is named and
// nothing runs. Returns the exit status: 0 when every command succeeded, 1 when one failed, 2 for
// a word that is not a command, 130 when Ctrl-C stopped a command (nothing runs after it).
int runBatch(App& app, std::span<const std::string> arguments);

}  // namespace kestrova
