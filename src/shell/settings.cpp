#include "shell/settings.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/config_file.hpp"
#include "platform/files.hpp"

namespace kestrova {

namespace {

// The key's name must stand in the key part of the line: a name inside a value (a path
// containing "lang", a detection label containing "verbose") must not change that setting.
bool keyApplies(std::string_view line, std::string_view key) {
  const std::size_t at = line.find(key);
  if (at == std::string_view::npos) return false;
  const std::size_t equals = line.find('=');
  return equals == std::string_view::npos || at < equals;
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A whole decimal integer with an optional sign; false for anything else ("30k", "", "1e5") and
// for a number beyond a long.
bool wholeInteger(std::string_view text, long& value) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

// A numeric key, the values it takes (from low to high in steps of step) and how the start-up
// message names them.
struct IntegerKey {
  const char* name;
  long low, high, step;
  const char* accepted;
  void (*set)(Settings&, long);
  long (*get)(const Settings&);
};

// In the order the keys are tried: the first whose name stands in the key part takes the line.
const IntegerKey kIntegerKeys[] = {
    {"runElo", 0, 1, 1, "0 or 1", [](Settings& s, long v) { s.runElo = v != 0; },
     [](const Settings& s) -> long { return s.runElo; }},
    // A player needs a game to be rated at all.
    {"minNbGm", 1, 1000000, 1, "a number of games from 1 to 1000000",
     [](Settings& s, long v) { s.rating.minNbGm = static_cast<int>(v); },
     [](const Settings& s) -> long { return s.rating.minNbGm; }},
    {"startElo", 0, 5000, 1, "a rating from 0 to 5000",
     [](Settings& s, long v) { s.rating.startElo = static_cast<int>(v); },
     [](const Settings& s) -> long { return s.rating.startElo; }},
    {"maxIterations", 1, 1000000, 1, "a number of iterations from 1 to 1000000",
     [](Settings& s, long v) { s.rating.maxIterations = static_cast<int>(v); },
     [](const Settings& s) -> long { return s.rating.maxIterations; }},
    {"verbose", 0, 1, 1, "0 or 1", [](Settings& s, long v) { s.verbose = v != 0; },
     [](const Settings& s) -> long { return s.verbose; }},
    {"use300ptRule", 0, 1, 1, "0 or 1", [](Settings& s, long v) { s.rating.use300ptRule = v != 0; },
     [](const Settings& s) -> long { return s.rating.use300ptRule; }},
    // With 0 every win over an equal player would be dropped.
    {"validGmDelta", 1, 5000, 1, "a rating difference from 1 to 5000",
     [](Settings& s, long v) { s.rating.validGmDelta = static_cast<int>(v); },
     [](const Settings& s) -> long { return s.rating.validGmDelta; }},
    {"printCmt", 0, 2, 1, "0, 1 or 2", [](Settings& s, long v) { s.printCmt = static_cast<int>(v); },
     [](const Settings& s) -> long { return s.printCmt; }},
    {"prfFileFmt", 0, 1, 1, "0 or 1", [](Settings& s, long v) { s.prfFileFmt = static_cast<int>(v); },
     [](const Settings& s) -> long { return s.prfFileFmt; }},
    // The game buffer must hold a real game with its tags and comments; ten million bytes hold any
    // game of 800 half-moves. The line buffer, a quarter of it, is held in 16 bits and stops there.
    {"gBufSz", 4096, 10000000, 1, "a number of bytes from 4096 to 10000000",
     [](Settings& s, long v) {
       s.gameBufferSize = static_cast<int>(v);
       s.saveBufferSize = static_cast<int>(v);
       s.lineBufferSize = static_cast<int>(std::min<long>(v / 4, 65535));
     },
     [](const Settings& s) -> long { return s.gameBufferSize; }},
    // Checked here, before the narrow types of the book could make 320 read as 64.
    {"bkNumBase", 2, 224, 1, "a book numeration base from 2 to 224",
     [](Settings& s, long v) { s.bkNumBase = static_cast<std::uint16_t>(v); },
     [](const Settings& s) -> long { return s.bkNumBase; }},
    {"bkHashSz", 32, 64, 32, "a book hash size of 32 or 64 bits",
     [](Settings& s, long v) { s.bkHashSz = static_cast<std::uint8_t>(v); },
     [](const Settings& s) -> long { return s.bkHashSz; }},
    {"threads", 1, 256, 1, "a number of threads from 1 to 256",
     [](Settings& s, long v) { s.threads = static_cast<int>(v); }, [](const Settings& s) -> long { return s.threads; }},
    {"lang", 0, 5, 1, "a language from 0 to 5", [](Settings& s, long v) { s.lang = static_cast<int>(v); },
     [](const Settings& s) -> long { return s.lang; }},
};

// Sets the key from the line, or names the value as written and leaves the key as it was (its
// default, unless an earlier line set it).
std::string applyInteger(Settings& s, const IntegerKey& key, std::string_view line) {
  const std::size_t equals = line.find('=');
  // A key without "=" is switched on.
  long value = 1;
  std::string_view written;
  bool number = true;
  if (equals != std::string_view::npos) {
    written = trimmed(line.substr(equals + 1));
    number = wholeInteger(written, value);
  }
  if (number && value >= key.low && value <= key.high && (value - key.low) % key.step == 0) {
    key.set(s, value);
    return {};
  }
  std::string as = key.name;
  if (equals != std::string_view::npos) as.append("=").append(written);
  char text[700];
  std::snprintf(text, sizeof text, "> %s in kestrova.ini: not %s; %ld is used\n", as.c_str(), key.accepted,
                key.get(s));
  return text;
}

}  // namespace

std::string applySettingsLine(Settings& s, const std::string& text) {
  const std::string_view line(text);
  for (const IntegerKey& key : kIntegerKeys) {
    if (keyApplies(line, key.name)) return applyInteger(s, key, line);
  }
  // The engine's command line with its arguments, and its UCI options, one "Name=Value" a line,
  // as cutechess and fastchess users give them. A TAB ends the value.
  const std::size_t equals = line.find('=');
  const std::string_view value =
      equals == std::string_view::npos ? std::string_view() : trimmed(line.substr(equals + 1, line.find('\t', equals) - equals - 1));
  if (keyApplies(line, "engineFile")) s.engineFile.assign(value);
  if (keyApplies(line, "engineOption") && !value.empty()) s.engineOptions.emplace_back(value);
  return {};
}

std::vector<std::string> configFilePlaces(const char* xdgConfigHome, const char* home, const std::string& installed) {
  std::vector<std::string> places{Settings::kConfigFile};
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
    places.push_back(std::string(xdgConfigHome) + "/kestrova/" + Settings::kConfigFile);
  } else if (home != nullptr && home[0] == '/') {
    places.push_back(std::string(home) + "/.config/kestrova/" + Settings::kConfigFile);
  }
  if (!installed.empty()) places.push_back(installed);
  return places;
}

std::string findConfigFile() {
  for (const std::string& place : configFilePlaces(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"),
                                                   platform::installedDataFile(Settings::kConfigFile))) {
    if (platform::isRegularFile(place)) return place;
  }
  return {};
}

std::vector<std::string> readSettings(Settings& settings, const platform::ConfigFile& config) {
  std::vector<std::string> problems;
  for (const platform::ConfigLine& line : config.lines()) {
    std::string problem = applySettingsLine(settings, line.text);
    if (!problem.empty()) problems.push_back(std::move(problem));
  }
  return problems;
}

}  // namespace kestrova
