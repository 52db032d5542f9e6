#include "commands/merge_command.hpp"

#include <string>

#include "commands/merge_directory.hpp"
#include "pgn/output_files.hpp"
#include "shell/app.hpp"
#include "shell/help.hpp"

namespace kestrova {

int handleMerge(App& app, CommandLine& line) {
  if (line.findOption("-dir=") == 0) {
    showCommandHelp(app, "merge");
    return 1;
  }
  const std::string directory(line.optionValue("-dir="));
  const std::string output = outputOption(line, "merge.pgn");
  app.console.writeText("\nprocessing...\n");
  // A failed merge has said why; pointing at its file would present a failure as a result.
  if (mergeDirectory(app.console, app.pgn, directory, output)) app.console.print(colour::kSuccess, "see %s file\n", output.c_str());
  return 1;
}

}  // namespace kestrova
