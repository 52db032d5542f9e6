#include "tournament/tournament_commands.hpp"

#include "shell/command_table.hpp"

namespace kestrova {

int handleFtrn(App& app, CommandLine& line) { return handleUnavailable(app, line); }

}  // namespace kestrova
