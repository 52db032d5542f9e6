#include "commands/epd_commands.hpp"

#include "shell/command_table.hpp"

namespace kestrova {

int handleEpdsv(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleFenstat(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleFepd(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleDdepd(App& app, CommandLine& line) { return handleUnavailable(app, line); }

}  // namespace kestrova
