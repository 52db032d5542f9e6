#pragma once
// The one way every command creates and finishes its output files: no output may be one of the
// command's inputs or another of its outputs, and an output replaces its target only when it was
// written whole (a failure is reported and marks the command failed).
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class CommandLine;
class Console;
class PgnFile;
namespace platform {
class OutputFile;
}

// The command history the shell reads at start-up and replaces after every command line: no
// command's output may take its place.
constexpr const char* kHistoryFile = "r";

// True (after the refusal message) when the path names the open PGN file, one of `inputs` or the
// command history.
bool refusesAsOutput(Console& console, const PgnFile& open, const std::string& path,
                     std::initializer_list<std::string_view> inputs = {});

// True (after the refusal message) when two of the outputs name one file, or one of them names the
// open PGN file or one of `inputs`. Called before any output is begun, so that a refusal changes
// no file.
bool refusesOutputs(Console& console, const PgnFile& open, std::initializer_list<std::string_view> outputs,
                    std::initializer_list<std::string_view> inputs = {});

// Begins the output file that will replace the target (see platform::OutputFile), holding the
// target's present text first when `keepText`. A file that cannot be begun is reported:
// "> can't create the file "PATH": REASON". False then.
bool beginOutputOrSay(Console& console, platform::OutputFile& out, const std::string& path, bool keepText = false);

// beginOutputOrSay, after refusing (with a message) a path that names a file the command reads:
// the open PGN file, one of `inputs` or the command history.
bool createOutputFileOrSay(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                           std::initializer_list<std::string_view> inputs = {});

// Completes the output file; when it cannot be written whole (or was never begun), says which
// file and why, marks the command failed and returns false: the target is as it was.
bool finishOutput(Console& console, platform::OutputFile& out);

// finishOutput for the files a command writes together: the targets are replaced only when every
// one of them was written whole, so that a failure leaves all of them as they were.
bool finishOutputs(Console& console, const std::vector<platform::OutputFile*>& outs);

// Completes an output that the command reads back before it writes its real result
// (platform::OutputFile::closeTemporary); a failure is reported as finishOutput's.
bool finishScratchOutput(Console& console, platform::OutputFile& out);

// Two names of one file, whether it exists yet or not ("x.pgn" and "./x.pgn").
bool namesSameFile(const std::string& a, const std::string& b);

// The file the command's "-out=" option names, else `fallback`.
std::string outputOption(const CommandLine& line, std::string_view fallback);

}  // namespace kestrova
