#include "engine/engine_commands.hpp"

#include "shell/command_table.hpp"

namespace kestrova {

int handleAskng(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleVfilt(App& app, CommandLine& line) { return handleUnavailable(app, line); }

}  // namespace kestrova
