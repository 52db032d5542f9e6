#pragma once
// The one report writer of the scan: every detection reports through it to the console, the log,
// the EPD file and (by marking the game) the PGN file; and the report of an illegal position met
// in a replay.
#include <string>

namespace kestrova {

struct App;
struct DetectionSettings;
namespace platform {
class OutputFile;
}

// The before/after sign of a report: a negative sign refers to the position before the ply.
constexpr int kBefore = -1;
constexpr int kAfter = 1;

// Pads a line shorter than 56 characters with blanks to 57; longer lines stay as they are.
void padLine(std::string& line);

// "12." before an odd ply (White's move), "12..." before an even one: the move number of a ply.
void appendMoveNumber(std::string& line, int ply);

// Tests the position after a half-move; when it is not plausible, reports it on the console and
// in the scan log (when one is bound) and returns false.
bool reportIllegalPosition(App& app, int ply, int menBefore, int menAfter);

// Before every game: clears keepGame and every entry's counters, binds the three streams.
void beginGameDetections(DetectionSettings& detections, platform::OutputFile* log, platform::OutputFile* pgn,
                         platform::OutputFile* epd);

// Counts the report for its side (White 1, Black 0, any other code: otherCount), then writes it.
void reportDetection(App& app, int number, int side, int beforeAfter, int ply, const char* text = nullptr,
                     const char* extraLine = nullptr);

// Writes one report line of a detection: "57: [w] ValDrop (-412) before 31.Rxe5", padded, with the
// players and the result, to the console and the log; the position to the EPD file when the entry
// asks for it; marks the game for the PGN file when the entry asks for it. The ply is 0 or less
// for a report without a move; the text and the extra line may be absent (null).
void writeReportLine(App& app, int number, int side, int beforeAfter, int ply, const char* text = nullptr,
                     const char* extraLine = nullptr);

}  // namespace kestrova
