#pragma once
// The one report writer of the scan: every detection reports through it to the console, the log,
// the EPD file and (by marking the game) the PGN file.

namespace kestrova {

struct RuleContext;

// The before/after sign of a report: a negative sign refers to the position before the ply.
constexpr int kBefore = -1;
constexpr int kAfter = 1;

// Counts the report for its side (White 1, Black 0, any other code: the detection's other count),
// then writes it.
void reportDetection(const RuleContext& context, int number, int side, int beforeAfter, int ply,
                     const char* text = nullptr, const char* extraLine = nullptr);

// Writes one report line of a detection: "57: [w] ValDrop (-412) before 31.Rxe5", padded, with the
// players and the result, to the console and the log; the position to the EPD file when the entry
// asks for it; marks the game for the PGN file when the entry asks for it. The ply is 0 or less
// for a report without a move; the text and the extra line may be absent (null).
void writeReportLine(const RuleContext& context, int number, int side, int beforeAfter, int ply,
                     const char* text = nullptr, const char* extraLine = nullptr);

}  // namespace kestrova
