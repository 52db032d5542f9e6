#pragma once
// The interactive prompt loop with its history and recall, and batch mode from the arguments.
#include <span>
#include <string>

namespace kestrova {

struct App;

// Prompts, reads and dispatches lines until the exit command or the end of input.
void runInteractive(App& app);

// Runs the commands given as program arguments: each command word gathers the arguments that
// follow it up to the next command word; the first argument that is not a command word ends
// the batch.
void runBatch(App& app, std::span<const std::string> arguments);

}  // namespace kestrova
