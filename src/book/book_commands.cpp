#include "book/book_commands.hpp"

#include "shell/command_table.hpp"

namespace kestrova {

int handleNewbk(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleOpenbk(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleShowbk(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleDcmbk(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleAnabk(App& app, CommandLine& line) { return handleUnavailable(app, line); }
int handleBdoor(App& app, CommandLine& line) { return handleUnavailable(app, line); }

}  // namespace kestrova
