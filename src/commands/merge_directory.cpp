#include "commands/merge_directory.hpp"

#include <cctype>
#include <filesystem>
#include <vector>

#include "pgn/output_files.hpp"
#include "pgn/pgn_file.hpp"
#include "platform/console.hpp"
#include "platform/files.hpp"
#include "platform/line_reader.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

namespace {

// A PGN file in the merged directory would be one of this merge's inputs, or the next one's.
bool liesAmongInputs(const std::string& directory, const std::string& outputName) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path output = fs::absolute(outputName, error);
  if (error || output.filename().empty()) return false;
  std::string extension = output.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".pgn" && fs::equivalent(output.parent_path(), directory.empty() ? "." : directory, error);
}

}  // namespace

bool mergeDirectory(Console& console, PgnFile& pgn, const std::string& directory, const std::string& outputName) {
  std::vector<std::string> names;
  if (!platform::listFiles(directory, ".pgn", names) || names.empty()) {
    console.fail("> No PGN files found\n");
    return false;
  }
  if (liesAmongInputs(directory, outputName)) {
    console.fail("\n> \"%s\" is in the merged directory: it can't be the output file\n", outputName.c_str());
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
