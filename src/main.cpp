// Kestrova: a console tool for collections of engine-match games in PGN.
#include <string>
#include <vector>

#include "shell/app.hpp"
#include "shell/command_loop.hpp"
#include "shell/lifecycle.hpp"

int main(int argc, char** argv) {
  kestrova::App app;
  kestrova::startUp(app);
  if (argc > 1) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    kestrova::runBatch(app, arguments);
  } else {
    kestrova::runInteractive(app);
  }
  return 0;
}
