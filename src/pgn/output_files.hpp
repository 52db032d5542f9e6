#pragma once
// The one way every command creates and finishes its output files: no output may be one of the
// command's inputs or another of its outputs, and an output replaces its target only when it was
// written whole (a failure is reported and marks the command failed).
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

// True (after the refusal message) when two of the outputs name one file, or one of them names the
// open PGN file or one of `inputs`. Called before any output is begun, so that a refusal changes
// no file.
bool refusesOutputs(Console& console, const PgnFile& open, std::initializer_list<std::string_view> outputs,
                    std::initializer_list<std::string_view> inputs = {});

// Begins the output file that will replace the target (see platform::OutputFile). A path that
// names a file the command reads (the open PGN file, or one of `inputs`) is refused with a message.
// Returns false when the file is refused or cannot be begun (the caller says which file).
bool createOutputFile(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                      std::initializer_list<std::string_view> inputs = {});

// createOutputFile, and when the file cannot be begun (not refused), says so:
// "> can't create the file "PATH": REASON".
bool createOutputFileOrSay(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                           std::initializer_list<std::string_view> inputs = {});

// Completes the output (platform::OutputFile::commit). When anything of its writing failed, says
// which file and why, marks the command failed and returns false: the target is as it was.
bool finishOutput(Console& console, platform::OutputFile& out);

// Two names of one file, whether it exists yet or not ("x.pgn" and "./x.pgn").
bool namesSameFile(const std::string& a, const std::string& b);

// The file the command's "-out=" option names, else `fallback`.
std::string outputOption(const CommandLine& line, std::string_view fallback);

}  // namespace kestrova
