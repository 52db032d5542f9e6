#pragma once
// The synthesis file of syn: the tournaments' cross-tables and the scan log joined in one file.
#include <string_view>

namespace kestrova {

class Console;
namespace platform {
class OutputFile;
}

// Copies "trnfound.txt", then "Games log :" and "log.txt", into the synthesis stream and ends it
// with the program's name and version. False (after a message) when one of the two files cannot
// be read.
bool writeSynthesis(Console& console, platform::OutputFile& synthesis, std::string_view version);

}  // namespace kestrova
