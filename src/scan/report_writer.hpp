#pragma once
// The one report writer of the scan: every detection reports through it to the console, the log,
// the EPD file and (by marking the game) the PGN file.
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
