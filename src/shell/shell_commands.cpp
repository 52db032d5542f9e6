#include "shell/shell_commands.hpp"

#include <string>

#include "platform/numbers.hpp"
#include "shell/app.hpp"
#include "shell/help.hpp"
#include "shell/lifecycle.hpp"

namespace kestrova {

int handleVerbose(App& app, CommandLine& line) {
  if (line.matchWord(1, "on")) {
    app.settings.verbose = true;
  } else if (line.matchWord(1, "off")) {
    app.settings.verbose = false;
  } else {
    showCommandHelp(app, "verbose");
    return 1;
  }
  app.console.print(colour::kNormal, "\n> verbose %s\n", line.word(1).c_str());
  return 1;
}

int setLanguage(App& app, long language) {
  static constexpr const char* kNotices[] = {
      "- writing in English\n", "- writing in French\n", "- writing in German\n",
      "- writing in Spanish\n", "- writing in Italian\n"};
  if (language >= 0 && language <= 4) {
    app.settings.lang = static_cast<int>(language);
    app.console.writeText(kNotices[language], colour::kNormal);
    return 1;
  }
  app.settings.lang = kFrench;
  app.console.fail("- error, French is default language now\n");
  return 0;
}

int handleLang(App& app, CommandLine& line) {
  app.console.writeText("\n0 => English\n1 => French\n2 => German\n3 => Spanish\n4 => Italian\n5 => Russian\n\n? : ");
  app.console.flush();
  std::string answer;
  // The answer is the first word typed; end of input leaves the language as it is.
  do {
    if (!app.input.readLine(answer)) {
      app.console.writeText("\n");
      return 1;
    }
    answer.erase(0, answer.find_first_not_of(" \t"));
  } while (answer.empty());
  setLanguage(app, leadingInteger(answer));
  return 1;
}

int handleHelp(App& app, CommandLine&) {
  showHelpEntry(app, "help", app.settings.lang, true);
  return 1;
}

int handleExit(App& app, CommandLine&) {
  if (!app.batchMode) shutDown(app);
  return 1;
}

int handleBin(App& app, CommandLine& line) {
  if (line.wantsHelp() || !line.hasWord(1) || line.word(1)[0] < '0' || line.word(1)[0] > '9') return 1;
  const std::uint64_t value = leadingUnsigned64(line.word(1));
  char digits[65];
  for (int bit = 63; bit >= 0; --bit) digits[63 - bit] = ((value >> bit) & 1) ? '1' : '0';
  digits[64] = '\0';
  app.console.writeText(digits);
  return 1;
}

}  // namespace kestrova
