// The help lookup on a help file of any content.
//
// Input: one byte choosing the language (any value, also outside 0..5), one byte choosing the
// name looked up and the description type, then the file.
#include <cstdint>
#include <string_view>

#include "fuzz_support.hpp"
#include "platform/command_line.hpp"
#include "shell/help.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova;
  using namespace kestrova::fuzz;
  if (size < 2) return 0;
  static constexpr std::string_view kNames[] = {"help", "open", "elo", "givelo", "scan", "", "a-name-longer-than-twenty",
                                                "-LONG", "-END", "[ENG]"};
  const int language = static_cast<int>(static_cast<std::int8_t>(data[0]));
  const std::string_view name = kNames[(data[1] >> 1) % std::size(kNames)];
  const bool longDescription = !(data[1] & 1);
  static ScratchFile file("help.man");
  file.write(data + 2, size - 2);

  App& app = sharedApp();
  app.helpFile = file.path();
  app.settings.lang = language;
  if (showHelpEntry(app, name, language, longDescription) != 1) fail("an existing help file reported as unreadable");
  showCommandHelp(app, name);
  app.console.takeCaptured();
  return 0;
}
