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
    lines_.push_back(line);
  }
  return true;
}

}  // namespace kestrova::platform
