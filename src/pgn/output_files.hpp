#pragma once
// The one way every command creates its output files.
#include <initializer_list>
#include <string>
#include <string_view>

namespace kestrova {

struct App;
namespace platform {
class OutputFile;
}

// Deletes the file and creates it anew for writing. A path that names a file the command
// reads (the open PGN file, or one of `inputs`) is refused with a message and left untouched.
// Returns false when the file is refused or cannot be created (the caller says which file).
bool createOutputFile(App& app, platform::OutputFile& out, const std::string& path,
                      std::initializer_list<std::string_view> inputs = {});

// True, after naming the game, when the last read game did not fit the game buffer: its moves
// were never read, so writing it would put out its tags without them. Every command that copies
// games leaves such a game out this way.
bool leftOutOfOutput(App& app, int readResult);

// True (after the refusal message) when the path names the open PGN file or one of `inputs`.
bool refusesAsOutput(App& app, const std::string& path, std::initializer_list<std::string_view> inputs = {});

}  // namespace kestrova
