#include "scan/synthesis.hpp"

#include <string>

#include "platform/console.hpp"
#include "platform/line_reader.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

namespace {

constexpr std::size_t kLineLimit = 8000;

// Copies a text file into the stream line by line; false when it cannot be opened.
bool copyFile(const char* path, platform::OutputFile& out) {
  platform::LineReader reader;
  if (!reader.open(path)) return false;
  std::string line;
  while (reader.read(line, kLineLimit)) out.write(line);
  return true;
}

}  // namespace

bool writeSynthesis(Console& console, platform::OutputFile& synthesis, std::string_view version) {
  if (!copyFile("trnfound.txt", synthesis)) {
    console.fail("\n> Kestrova can't read the file trnfound\n");
    return false;
  }
  synthesis.write("Games log :\n\n");
  if (!copyFile("log.txt", synthesis)) {
    console.fail("\n> Kestrova can't read the log file\n");
    return false;
  }
  synthesis.print("\n- Kestrova %s-\n", (std::string(version) + " ").c_str());
  console.writeText("> operation completed\n");
  return true;
}

}  // namespace kestrova
