#pragma once
// The one way every command creates its output files.
#include <initializer_list>
#include <string>
#include <string_view>

namespace kestrova {

class CommandLine;
class Console;
class PgnFile;
namespace platform {
class OutputFile;
}

// True (after the refusal message) when the path names the open PGN file or one of `inputs`.
bool refusesAsOutput(Console& console, const PgnFile& open, const std::string& path,
                     std::initializer_list<std::string_view> inputs = {});

// Deletes the file and creates it anew for writing. A path that names a file the command
// reads (the open PGN file, or one of `inputs`) is refused with a message and left untouched.
// Returns false when the file is refused or cannot be created (the caller says which file).
bool createOutputFile(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                      std::initializer_list<std::string_view> inputs = {});

// createOutputFile, and when the file cannot be created (not refused), says so:
// "> can't create the file "PATH"".
bool createOutputFileOrSay(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                           std::initializer_list<std::string_view> inputs = {});

// Two names of one file, whether it exists yet or not ("x.pgn" and "./x.pgn").
bool namesSameFile(const std::string& a, const std::string& b);

// The file the command's "-out=" option names, else `fallback`.
std::string outputOption(const CommandLine& line, std::string_view fallback);

}  // namespace kestrova
