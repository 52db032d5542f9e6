// Kestrova: a console tool for collections of engine-match games in PGN.
#include <string>
#include <string_view>
#include <vector>

#include "platform/interrupt.hpp"
#include "shell/app.hpp"
#include "shell/command_loop.hpp"
#include "shell/lifecycle.hpp"
#include "shell/settings.hpp"

namespace {

constexpr const char* kUsage =
    "Usage: kestrova [COMMAND [ARGUMENT]...]...\n"
    "       kestrova --help | --version\n"
    "\n"
    "A console tool for collections of chess games in PGN, made for engine matches: it scans\n"
    "games for anomalies, rates the players, finds tournaments, builds and browses opening\n"
    "books, drives a UCI engine and edits PGN files.\n"
    "\n"
    "Without arguments it reads commands at the prompt \"kestrova> \"; type 'help' for the list\n"
    "and a command followed by ' /?' for its syntax. With arguments it runs them as commands,\n"
    "one after another, and ends, for example:\n"
    "    kestrova open games.pgn scan exit\n"
    "\n"
    "It reads \"kestrova.ini\" from the working directory, else from $XDG_CONFIG_HOME/kestrova\n"
    "(~/.config/kestrova), else the one installed with the program; \"help.man\" from the\n"
    "working directory or else the installed one. See kestrova(1).\n"
    "\n"
    "  --help      show this text and exit\n"
    "  --version   show the version and exit\n";

// Options of the program itself, recognised only as its first argument: they begin with "--",
// which no command word does, so batch mode is not affected. Returns -1 when the arguments are
// commands, else the exit status.
int handleProgramOption(kestrova::App& app, std::string_view argument) {
  if (!argument.starts_with("--")) return -1;
  if (argument == "--help") {
    app.console.writeText(kUsage);
    return 0;
  }
  if (argument == "--version") {
    app.console.print(kestrova::colour::kNormal, "kestrova %s\n", kestrova::Settings::kVersion);
    return 0;
  }
  app.console.print(kestrova::colour::kError,
                    "kestrova: unknown option '%.*s'\nTry 'kestrova --help' for more information.\n",
                    static_cast<int>(argument.size()), argument.data());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  kestrova::App app;
  if (argc > 1) {
    const int status = handleProgramOption(app, argv[1]);
    if (status >= 0) {
      app.console.flush();
      return status;
    }
  }
  kestrova::platform::catchInterrupts();
  kestrova::startUp(app);
  if (argc > 1) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return kestrova::runBatch(app, arguments);
  }
  return kestrova::runInteractive(app);
}
