#include "commands/merge_directory.hpp"

#include <vector>

#include "pgn/output_files.hpp"
#include "pgn/pgn_file.hpp"
#include "platform/console.hpp"
#include "platform/files.hpp"
#include "platform/line_reader.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

bool mergeDirectory(Console& console, PgnFile& pgn, const std::string& directory, const std::string& outputName) {
  platform::OutputFile out;
  if (!createOutputFile(console, pgn, out, outputName)) {
    console.writeText("> cannot create the destination file\n", colour::kError);
    return false;
  }
  if (pgn.isOpen()) {
    console.writeText("> closing PGN-file in memory\n");
    pgn.close();
  }
  std::vector<std::string> names;
  if (!platform::listFiles(directory, ".pgn", names) || names.empty()) {
    console.writeText("> No PGN files found\n");
    return false;
  }
  platform::LineReader reader;
  std::string line;
  for (const std::string& name : names) {
    const std::string path = platform::joinPath(directory, name);
    if (platform::sameFile(path, outputName)) continue;
    console.print(colour::kNormal, "> merging %s file...\n", path.c_str());
    if (!reader.open(path)) {
      console.writeText("> cannot open the next file", colour::kError);
      return false;
    }
    // Copied line by line so that CR LF files arrive with LF line ends.
    while (reader.read(line, 1 << 16)) out.write(line);
    if (reader.failed()) {
      console.writeText("> cannot open the next file", colour::kError);
      return false;
    }
    out.put('\n');
  }
  console.writeText("> PGN files scan completed\n");
  return true;
}

}  // namespace kestrova
