#include "rating/rating_commands.hpp"

#include "shell/command_table.hpp"

namespace kestrova {

int handleElo(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleGivelo(App& app, CommandLine& line) { return handleUnavailable(app, line); }

}  // namespace kestrova
