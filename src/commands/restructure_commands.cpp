#include "commands/restructure_commands.hpp"

#include "shell/command_table.hpp"

namespace kestrova {

int handleSplit(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleCut(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleDbl(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleSub(App& app, CommandLine& line) { return handleUnavailable(app, line); }

}  // namespace kestrova
