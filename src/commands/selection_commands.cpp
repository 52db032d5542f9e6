#include "commands/selection_commands.hpp"

#include "shell/command_table.hpp"

namespace kestrova {

int handleSelect(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleDelete(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleInstxt(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleReptxt(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleSetcap(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleSetcmt(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleTag(App& app, CommandLine& line) { return handleUnavailable(app, line); }

}  // namespace kestrova
