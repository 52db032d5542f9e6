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
  std::vector<std::string> names;
  if (!platform::listFiles(directory, ".pgn", names) || names.empty()) {
    console.fail("> No PGN files found\n");
    return false;
  }
  // Every file of the directory is an input: the output may be none of them.
  for (const std::string& name : names) {
    if (refusesAsOutput(console, pgn, outputName, {platform::joinPath(directory, name)})) return false;
  }
  platform::OutputFile out;
  if (!createOutputFileOrSay(console, pgn, out, outputName)) return false;
  if (pgn.isOpen()) {
    console.writeText("> closing PGN-file in memory\n");
    pgn.close();
  }
  platform::LineReader reader;
  std::string line;
  for (const std::string& name : names) {
    const std::string path = platform::joinPath(directory, name);
    console.print(colour::kNormal, "> merging %s file...\n", path.c_str());
    if (!reader.open(path)) {
      console.fail("> cannot open the next file\n");
      return false;
    }
    // Copied line by line so that CR LF files arrive with LF line ends.
    while (reader.read(line, 1 << 16)) out.write(line);
    if (reader.failed()) {
      console.fail("> cannot read the file \"%s\"\n", path.c_str());
      return false;
    }
    out.put('\n');
  }
  if (!finishOutput(console, out)) return false;
  console.writeText("> PGN files scan completed\n");
  return true;
}

}  // namespace kestrova
