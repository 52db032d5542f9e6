#include "scan/detection_settings.hpp"

#include "platform/config_file.hpp"
#include "platform/numbers.hpp"

namespace kestrova {

namespace {

constexpr std::array<std::string_view, detection::kSlots> kNames = {
    "",            "ValDrop",       "ValJump",       "Diamond",     "Pawn1x3",       "Pawn1x4",
    "Pawn2x2",     "PawnStorm",     "CrazyKing",     "ExceedingPc", "AbnormTerm",    "DepthDrop",
    "Confusion",   "MatEvalBug",    "LowDepth",      "VeryShortGame", "VeryLongGame", "SuspOpening",
    "Sacrifice",   "WinAfterDraw",  "SpecialEndGame", "WinGmNotWon", "TactComb",     "MvWeakCastle",
    "BadTimeManag", "Draw50RuleBrk", "Draw3xRuleBrk", "NotFairPlay", "BestPerf",     "TooFewMoves",
    "OppCastles",  "NoPlan",
};

// Where the colon of a detection line is looked for.
constexpr std::size_t kColonSearch = 512;

// Numbers in detection lines may follow the "=" after blanks, as a user types them.
long valueNumber(std::string_view value) {
  std::size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
  return leadingInteger(value.substr(i));
}

void applyPair(DetectionEntry& entry, std::string_view key, std::string_view value) {
  if (key == "name") {
    // A longer label is cut to what a label holds.
    entry.name.assign(value.substr(0, DetectionEntry::kNameLength));
    return;
  }
  const int number = static_cast<int>(valueNumber(value));
  if (key == "act") entry.active = number != 0;
  else if (key == "epd") entry.epdOutput = number != 0;
  else if (key == "pgn") entry.pgnOutput = number != 0;
  else if (key == "shb") entry.showBoard = number != 0;
  else if (key == "val") entry.value = number;
  else if (key == "mxv") entry.maxValue = number;
  else if (key == "mnv") entry.minValue = number;
  else if (key == "mno") entry.minOccurrences = number;
  else if (key == "mxo") entry.maxOccurrences = number;
  else if (key == "col") entry.colourSelection = number;
  else if (key == "p1") entry.p1 = number;
  else if (key == "p2") entry.p2 = number;
  else if (key == "p3") entry.p3 = number;
}

}  // namespace

std::string_view detectionName(int number) {
  return number >= 0 && number < detection::kSlots ? kNames[number] : std::string_view();
}

DetectionEntry defaultDetectionEntry(int number) {
  DetectionEntry entry;
  switch (number) {
    case detection::kValDrop:
    case detection::kValJump:
      entry.value = 300, entry.minValue = -1000, entry.maxValue = 1000;
      break;
    case detection::kDepthDrop:
      entry.value = 4, entry.minValue = 4, entry.maxValue = 18;
      break;
    case detection::kConfusion:
      entry.minValue = 50, entry.maxValue = 500;
      break;
    case detection::kLowDepth:
      entry.value = 5;
      break;
    case detection::kVeryShortGame:
      entry.value = 20;
      break;
    case detection::kVeryLongGame:
      entry.value = 150;
      break;
    case detection::kSuspOpening:
      entry.colourSelection = 2, entry.minValue = -100, entry.maxValue = 100;
      break;
    case detection::kMvWeakCastle:
      entry.value = 24;
      break;
    default:
      break;
  }
  return entry;
}

bool nextKeyValue(std::string_view line, std::size_t& at, std::string_view& key, std::string_view& value) {
  std::size_t i = at;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  const std::size_t equals = line.find('=', i);
  if (equals == std::string_view::npos) return false;
  const std::size_t end = line.find_first_of(",\n", equals + 1);
  // A value that is not ended by "," or a line end is lost with its key.
  if (end == std::string_view::npos) return false;
  key = line.substr(i, equals - i);
  value = line.substr(equals + 1, end - equals - 1);
  at = end + 1;
  return true;
}

bool parseDetectionLine(DetectionEntry& entry, std::string_view line, std::string_view name) {
  if (name.empty() || line.find(name) == std::string_view::npos) return false;
  const std::size_t colon = line.substr(0, kColonSearch).find(':');
  if (colon == std::string_view::npos) return false;
  std::size_t at = colon + 1;
  std::string_view key, value;
  while (nextKeyValue(line, at, key, value)) applyPair(entry, key, value);
  return true;
}

void loadDetectionSettings(DetectionSettings& settings, const platform::ConfigFile& config) {
  for (int number = 0; number < detection::kSlots; ++number) settings.entries[number] = defaultDetectionEntry(number);
  std::string line;
  for (const platform::ConfigLine& entry : config.lines()) {
    // A value may end at the line end as well as at its comma.
    line.assign(entry.text);
    if (entry.ended) line += '\n';
    for (int number = 1; number <= detection::kCount; ++number) {
      parseDetectionLine(settings.entries[number], line, kNames[number]);
    }
  }
}

}  // namespace kestrova
