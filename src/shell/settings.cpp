#include "shell/settings.hpp"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string_view>

#include "platform/config_file.hpp"
#include "platform/numbers.hpp"

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

// The integer a key would take from the line, or -1 when the key does not apply.
long integerValue(std::string_view line, std::string_view key) {
  if (!keyApplies(line, key)) return -1;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return 1;
  std::size_t from = equals + 1;
  if (from < line.size() && line[from] == ' ') ++from;
  const long value = leadingInteger(line.substr(from));
  // A value beyond the range of the settings' integers stops at its top instead of wrapping round
  // to a negative one.
  return value < 0 ? -1 : std::min<long>(value, std::numeric_limits<int>::max());
}

}  // namespace

void applySettingsLine(Settings& s, const std::string& text) {
  const std::string_view line(text);
  long v;
  if ((v = integerValue(line, "runElo")) >= 0) { s.runElo = v != 0; return; }
  if ((v = integerValue(line, "minNbGm")) >= 0) { s.rating.minNbGm = static_cast<int>(v); return; }
  if ((v = integerValue(line, "startElo")) >= 0) { s.rating.startElo = static_cast<int>(v); return; }
  if ((v = integerValue(line, "maxIterations")) >= 0) { s.rating.maxIterations = static_cast<int>(v); return; }
  if ((v = integerValue(line, "verbose")) >= 0) { s.verbose = v != 0; return; }
  if ((v = integerValue(line, "use300ptRule")) >= 0) { s.rating.use300ptRule = v != 0; return; }
  if ((v = integerValue(line, "validGmDelta")) >= 0) { s.rating.validGmDelta = static_cast<int>(v); return; }
  if ((v = integerValue(line, "printCmt")) >= 0) { s.printCmt = static_cast<int>(v); return; }
  if ((v = integerValue(line, "prfFileFmt")) >= 0) { s.prfFileFmt = static_cast<int>(v); return; }
  if ((v = integerValue(line, "gBufSz")) >= 0) {
    // The line buffer is a quarter of the game buffer; it is held in 16 bits, so it stops there
    // instead of wrapping round to a tiny buffer.
    const long size = std::min<long>(v, 2000000000L);
    s.gameBufferSize = static_cast<int>(size);
    s.saveBufferSize = static_cast<int>(size);
    s.lineBufferSize = static_cast<int>(std::min<long>(size / 4, 65535));
    return;
  }
  if ((v = integerValue(line, "bkNumBase")) >= 0) { s.bkNumBase = static_cast<std::uint16_t>(v); return; }
  if ((v = integerValue(line, "bkHashSz")) >= 0) { s.bkHashSz = static_cast<std::uint8_t>(v); return; }
  if ((v = integerValue(line, "lang")) >= 0) { s.lang = static_cast<int>(v); return; }
  if (keyApplies(line, "engineFile")) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    std::size_t from = equals + 1;
    while (from < line.size() && line[from] == ' ') ++from;
    std::size_t to = from;
    while (to < line.size() && line[to] != '\t' && line[to] != '\n' && line[to] != ' ') ++to;
    s.engineFile.assign(line.substr(from, to - from));
  }
}

void readSettings(Settings& settings, const platform::ConfigFile& config) {
  for (const platform::ConfigLine& line : config.lines()) applySettingsLine(settings, line.text);
}

}  // namespace kestrova
