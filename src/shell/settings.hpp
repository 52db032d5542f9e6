#pragma once
// The values of "kestrova.ini" and of the commands that change them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "rating/rating_settings.hpp"

namespace kestrova {

namespace platform {
class ConfigFile;
}

struct Settings {
  static constexpr const char* kConfigFile = "kestrova.ini";
  static constexpr const char* kVersion = "0.92";

  bool runElo = true;
  RatingSettings rating;
  bool verbose = false;
  int printCmt = 0;
  int prfFileFmt = 0;
  int gameBufferSize = 30000;
  int saveBufferSize = 30000;
  int lineBufferSize = 5000;
  std::uint16_t bkNumBase = 224;
  std::uint8_t bkHashSz = 64;  // what vellum reads
  int lang = 0;
  int threads = platform::usableCores();  // of the commands that work on several games at once
  std::string engineFile;                  // the engine's command line
  std::vector<std::string> engineOptions;  // "Name=Value", sent after "uci"
};

// The settings pass over the configuration file: key=value lines, tried in key order. Returns a
// message for every value that is not a number in its key's range (the key keeps its value).
std::vector<std::string> readSettings(Settings& settings, const platform::ConfigFile& config);

// Where "kestrova.ini" is looked for, in order: the working directory, the user's configuration
// directory ($XDG_CONFIG_HOME/kestrova, by default ~/.config/kestrova), the installed share/kestrova.
// The environment's values are given (null when unset); `installed` is empty when unknown.
std::vector<std::string> configFilePlaces(const char* xdgConfigHome, const char* home, const std::string& installed);

// The first of those places that holds a regular file; empty when none does.
std::string findConfigFile();

// One settings line (no line end): the message about its value, "" when there is none.
std::string applySettingsLine(Settings& settings, const std::string& line);

}  // namespace kestrova
