// The configuration file of any content, read once, and two of its passes: settings and tags.
#include <cstdint>

#include "fuzz_support.hpp"
#include "pgn/tag_table.hpp"
#include "platform/config_file.hpp"
#include "shell/help.hpp"
#include "shell/settings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova;
  using namespace kestrova::fuzz;
  static ScratchFile file("kestrova.ini");
  file.write(data, size);
  App& app = sharedApp();

  platform::ConfigFile config;
  if (!config.read(file.path())) fail("the configuration file could not be read");
  for (const platform::ConfigLine& line : config.lines()) {
    if (line.text.size() > platform::ConfigFile::kLineLimit) fail("a line longer than the limit");
  }
  Settings settings;
  readSettings(settings, config);
  if (settings.gameBufferSize < 0 || settings.saveBufferSize < 0 || settings.lineBufferSize < 0 ||
      settings.lineBufferSize > 65535) {
    fail("buffer sizes out of range");
  }
  if (settings.rating.minNbGm < 0 || settings.rating.startElo < 0 || settings.rating.maxIterations < 0 ||
      settings.rating.validGmDelta < 0 ||
      settings.printCmt < 0 || settings.prfFileFmt < 0 || settings.lang < 0) {
    fail("a negative value was taken");
  }
  helpSectionMarker(settings.lang);

  TagTable tags;
  readOutputEnabledTags(tags, config);
  app.console.takeCaptured();
  return 0;
}
