#pragma once
// The scan's detection table: one entry per detection with its thresholds and its label, read from
// the configuration.
#include <array>
#include <string>
#include <string_view>

namespace kestrova {

namespace platform {
class ConfigFile;
}

// Detection numbers: the slot of each detection in the table (slot 0 holds none).
namespace detection {
enum : int {
  kValDrop = 1, kValJump = 2, kDiamond = 3, kPawn1x3 = 4, kPawn1x4 = 5, kPawn2x2 = 6,
  kPawnStorm = 7, kCrazyKing = 8, kExceedingPc = 9, kAbnormTerm = 10, kDepthDrop = 11,
  kConfusion = 12, kMatEvalBug = 13, kLowDepth = 14, kVeryShortGame = 15, kVeryLongGame = 16,
  kSuspOpening = 17, kSacrifice = 18, kWinAfterDraw = 19, kSpecialEndGame = 20,
  kWinGmNotWon = 21, kTactComb = 22, kMvWeakCastle = 23, kBadTimeManag = 24,
  kDraw50RuleBrk = 25, kDraw3xRuleBrk = 26, kNotFairPlay = 27, kBestPerf = 28,
  kTooFewMoves = 29, kOppCastles = 30, kNoPlan = 31,
};
constexpr int kCount = 31;
constexpr int kSlots = 32;
}  // namespace detection

// The configuration word of each detection, by number ("" for slot 0).
std::string_view detectionName(int number);

// The report side codes: White 1, Black 0, and -1 for a report that belongs to neither side.
constexpr int kNoSide = -1;

struct DetectionEntry {
  static constexpr std::size_t kNameLength = 127;

  std::string name;          // label of every report line, at most 127 characters
  bool active = true;        // act
  int colourSelection = 2;   // col: 0 Black, 1 White, 2 both (SuspOpening)
  int minOccurrences = 1;    // mno
  int maxOccurrences = 1;    // mxo
  bool showBoard = false;    // shb
  int value = 0;             // val
  int minValue = 0;          // mnv
  int maxValue = 0;          // mxv
  bool epdOutput = false;    // epd
  bool pgnOutput = false;    // pgn
  int p1 = 0, p2 = 0, p3 = 0;
};

struct DetectionSettings {
  std::array<DetectionEntry, detection::kSlots> entries{};

  DetectionEntry& operator[](int number) { return entries[number]; }
  const DetectionEntry& operator[](int number) const { return entries[number]; }
};

// The entry of a detection with the program's defaults.
DetectionEntry defaultDetectionEntry(int number);

// Resets every slot to its defaults, then applies every detection line of the configuration.
void loadDetectionSettings(DetectionSettings& settings, const platform::ConfigFile& config);

// Applies one configuration line to the entry when the detection's name occurs in it.
// Returns true when the line named the detection and had a colon.
bool parseDetectionLine(DetectionEntry& entry, std::string_view line, std::string_view name);

// One key=value pair of a detection line from `at`: skips blanks and tabs, the key runs to the
// next "=", the value to the next "," or line end. False when the line ends first (the pair is
// then lost). On success `at` is past the value's terminator.
bool nextKeyValue(std::string_view line, std::size_t& at, std::string_view& key, std::string_view& value);

}  // namespace kestrova
