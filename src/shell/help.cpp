#include "shell/help.hpp"

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/files.hpp"
#include "platform/text_file.hpp"
#include "shell/app.hpp"

namespace kestrova {

std::string_view helpSectionMarker(int language) {
  static constexpr std::string_view kMarkers[] = {"[ENG]", "[FRA]", "[DEU]", "[ESP]", "[ITA]", "[RUS]"};
  if (language < 0 || language > 5) return kMarkers[1];
  return kMarkers[language];
}

std::string helpFileToRead(const App& app) {
  if (platform::isRegularFile(app.helpFile)) return app.helpFile;
  // Without a help file of its own, the working directory uses the one installed with the program.
  const std::string installed = platform::installedDataFile("help.man");
  if (platform::isRegularFile(installed)) return installed;
  return app.helpFile;
}

void showCommandHelp(App& app, std::string_view name) {
  if (name.size() > 20) return;
  showHelpEntry(app, name, app.settings.lang, true);
}

int showHelpEntry(App& app, std::string_view name, int language, bool longDescription) {
  platform::TextFile file(helpFileToRead(app));
  if (!file.isOpen()) {
    app.console.writeText("- unable to open the help file\n", colour::kError);
    return 0;
  }
  constexpr std::size_t kLineLimit = 1023;
  std::string line;
  // Each search goes forward from where the previous one stopped, regardless of section ends.
  auto seek = [&](std::string_view wanted) {
    while (file.readLine(line, kLineLimit)) {
      if (line == wanted) return true;
    }
    return false;
  };
  if (!seek(helpSectionMarker(language))) {
    app.console.writeText("- command description not found in this language\n", colour::kError);
    return 1;
  }
  if (!seek(name)) {
    app.console.writeText("- command name not found in the help file\n", colour::kError);
    return 1;
  }
  if (!seek(longDescription ? "-LONG" : "-SHORT")) {
    app.console.writeText("- command description type not found in the help file\n", colour::kError);
    return 1;
  }
  std::string text;
  while (file.readLine(line, kLineLimit) && line != "-END") {
    text += line;
    text += '\n';
  }
  app.console.writeText(text, colour::kNormal);
  return 1;
}

}  // namespace kestrova
