#pragma once
// The synthesis file of syn: the tournaments' cross-tables and the scan log joined in one file.
namespace kestrova {

struct App;
namespace platform {
class OutputFile;
}

// Copies "trnfound.txt", then "Games log :" and "log.txt", into the synthesis stream and ends it
// with the program's name. False (after a message) when one of the two files cannot be read.
bool writeSynthesis(App& app, platform::OutputFile& synthesis);

}  // namespace kestrova
