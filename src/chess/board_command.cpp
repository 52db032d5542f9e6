#include "chess/board_command.hpp"

#include "chess/diagram.hpp"
#include "shell/app.hpp"

namespace kestrova {

int handleBoard(App& app, CommandLine& line) {
  if (line.wantsHelp()) {
    showCommandHelp(app, "board");
    return 1;
  }
  printDiagram(app);
  return 1;
}

}  // namespace kestrova
