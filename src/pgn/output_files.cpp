#include "pgn/output_files.hpp"

#include <cstdio>

#include "pgn/pgn_file.hpp"
#include "platform/console.hpp"
#include "platform/files.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

bool refusesAsOutput(Console& console, const PgnFile& open, const std::string& path,
                     std::initializer_list<std::string_view> inputs) {
  bool isInput = open.isOpen() && platform::sameFile(path, open.name());
  for (std::string_view input : inputs) {
    if (!isInput && !input.empty()) isInput = platform::sameFile(path, std::string(input));
  }
  if (isInput) {
    console.print(colour::kError, "\n> \"%s\" is read by this command: it can't be its output file\n", path.c_str());
  }
  return isInput;
}

bool createOutputFile(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                      std::initializer_list<std::string_view> inputs) {
  if (refusesAsOutput(console, open, path, inputs)) return false;
  std::remove(path.c_str());
  return out.create(path);
}

}  // namespace kestrova
