#include "pgn/output_files.hpp"

#include <cstdio>

#include "platform/files.hpp"
#include "platform/output_file.hpp"
#include "shell/app.hpp"

namespace kestrova {

bool refusesAsOutput(App& app, const std::string& path, std::initializer_list<std::string_view> inputs) {
  bool isInput = app.pgn.isOpen() && platform::sameFile(path, app.pgn.name());
  for (std::string_view input : inputs) {
    if (!isInput && !input.empty()) isInput = platform::sameFile(path, std::string(input));
  }
  if (isInput) {
    app.console.print(colour::kError, "\n> \"%s\" is read by this command: it can't be its output file\n",
                      path.c_str());
  }
  return isInput;
}

bool createOutputFile(App& app, platform::OutputFile& out, const std::string& path,
                      std::initializer_list<std::string_view> inputs) {
  if (refusesAsOutput(app, path, inputs)) return false;
  std::remove(path.c_str());
  return out.create(path);
}

bool leftOutOfOutput(App& app, int readResult) {
  if (readResult != PgnFile::kTooLarge) return false;
  app.console.print(colour::kError, "> %u: game left out of the output: its moves could not be read\n",
                    app.pgn.gameNumber());
  return true;
}

}  // namespace kestrova
