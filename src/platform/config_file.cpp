#include "platform/config_file.hpp"

#include "platform/text_file.hpp"

namespace kestrova::platform {

bool ConfigFile::read(const std::string& path) {
  lines_.clear();
  TextFile file(path);
  if (!file.isOpen()) return false;
  ConfigLine line;
  while (file.readLine(line.text, kLineLimit)) {
    line.ended = file.lineHadEnd();
    // "#" starts a comment line; ";" cannot, since detection lines are read there.
    const std::size_t first = line.text.find_first_not_of(" \t");
    if (first != std::string::npos && line.text[first] == '#') continue;
    lines_.push_back(line);
  }
  return true;
}

}  // namespace kestrova::platform
