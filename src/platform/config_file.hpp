#pragma once
// The configuration file, read once for every pass over it (settings, output tags, detections).
#include <string>
#include <vector>

namespace kestrova::platform {

struct ConfigLine {
  std::string text;    // without its line end (LF or CR LF), cut at kLineLimit characters
  bool ended = false;  // the line had a line end (the last line of a file may not)
};

class ConfigFile {
 public:
  static constexpr std::size_t kLineLimit = 511;

  // Reads every line of the file but comment lines (first non-blank "#"); false (and no lines)
  // when it cannot be opened.
  bool read(const std::string& path);
  const std::vector<ConfigLine>& lines() const { return lines_; }

 private:
  std::vector<ConfigLine> lines_;
};

}  // namespace kestrova::platform
