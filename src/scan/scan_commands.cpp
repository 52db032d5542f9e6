#include "scan/scan_commands.hpp"

#include "shell/command_table.hpp"

namespace kestrova {

int handleScan(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleSyn(App& app, CommandLine& line) { return handleUnavailable(app, line); }

}  // namespace kestrova
