#include "scan/detection_settings.hpp"

#include <gtest/gtest.h>

#include "platform/config_file.hpp"
#include "support/test_app.hpp"

namespace kestrova::test {
namespace {

// Every field but the name: act, col, mno, mxo, shb, val, mnv, mxv, epd, pgn, p1, p2, p3.
std::vector<int> fields(const DetectionEntry& e) {
  return {e.active, e.colourSelection, e.minOccurrences, e.maxOccurrences, e.showBoard, e.value, e.minValue,
          e.maxValue, e.epdOutput, e.pgnOutput, e.p1, e.p2, e.p3};
}

// The detection lines of a configuration, loaded over settings that are not the defaults.
DetectionSettings loaded(const std::string& ini) {
  ScratchDir dir;
  dir.write("kestrova.ini", ini);
  platform::ConfigFile config;
  config.read("kestrova.ini");
  DetectionSettings settings;
  settings[1].value = 7;
  loadDetectionSettings(settings, config);
  return settings;
}

TEST(DetectionSettings, TheDefaultsAreTheValuesOfTheShippedFileButForFourUsefulThresholds) {
  const DetectionSettings defaults = loaded(""), shipped = loaded(sourceFile("data/kestrova.ini"));
  for (int k = 1; k <= detection::kCount; ++k) {
    EXPECT_EQ(shipped[k].name, detectionName(k)) << "the shipped lines label each detection with its name";
    // The program's ExceedingPc, WinGmNotWon and NoPlan report every game, its SuspOpening complains at every ply.
    std::vector<int> expected = fields(shipped[k]);
    if (k == detection::kExceedingPc || k == detection::kWinGmNotWon || k == detection::kNoPlan) expected[5] = 0;
    if (k == detection::kSuspOpening) expected[10] = 0;
    EXPECT_EQ(fields(defaults[k]), expected) << detectionName(k);
  }
}

TEST(DetectionSettings, ALineCountsWhereItsNameStandsBeforeAColonAndEachPairEndsWithACommaOrTheLineEnd) {
  DetectionEntry e;
  parseDetectionLine(e, "Diamond: act=0, val=250, mxo=2, name=" + std::string(130, 'x') + ", epd=1, pgn=7, shb=1, mnv=-40, "
                        "mxv=+60, mno=3, col=0, p1=6, p2=1, p3=15,\n", "Diamond");
  EXPECT_EQ(fields(e), (std::vector<int>{0, 0, 3, 2, 1, 250, -40, 60, 1, 1, 6, 1, 15}));
  EXPECT_EQ(e.name, std::string(127, 'x')) << "a label holds 127 characters";
  const std::pair<std::string, std::vector<int>> cases[] = {  // val, mxo, act after the line
      {"Diamond: act=0,", {0, 1, 0}},        {"Diamond: act=0", {0, 1, 1}},  // a last pair without "," or line end is lost
      {"Diamond: val=12abc,", {12, 1, 1}},   {"Diamond: val= 250,", {250, 1, 1}},  {"Diamond: val=,mxo=4,", {0, 4, 1}},
      {"Diamond:\tval=3,\tmxo=4,", {3, 4, 1}}, {"diamond: val=5,", {0, 1, 1}},     {"Diamond val=5,", {0, 1, 1}},
      {"; my Diamond line: val=5,", {5, 1, 1}}, {"Diamond: VAL=5, value=6, val =7,", {0, 1, 1}},
      // The colon is looked for in the first 512 characters only.
      {"Diamond" + std::string(510, ' ') + ": val=5,", {0, 1, 1}}, {"Diamond" + std::string(504, ' ') + ": val=5,", {5, 1, 1}},
  };
  for (const auto& [line, expected] : cases) {
    DetectionEntry entry;
    parseDetectionLine(entry, line, "Diamond");
    EXPECT_EQ((std::vector<int>{entry.value, entry.maxOccurrences, entry.active}), expected) << line.substr(0, 40);
  }
  // In a file, a line may name two detections, end with CR LF, or end the file without a line end.
  const DetectionSettings s = loaded("Diamond and Pawn2x2: act=0,\nValDrop: val=250, mxo=3\r\nValJump: val=100, mxo=4");
  EXPECT_TRUE(!s[3].active && !s[6].active && s[4].active);
  EXPECT_EQ(std::make_tuple(s[1].value, s[1].maxOccurrences, s[2].value, s[2].maxOccurrences), std::make_tuple(250, 3, 100, 1));
}

}  // namespace
}  // namespace kestrova::test
