#include "scan/detection_settings.hpp"

#include <gtest/gtest.h>

#include "support/test_app.hpp"

namespace kestrova {
namespace {

struct Defaults {
  int number;
  const char* name;
  int val, mnv, mxv;
};

// The table of detections with the thresholds the program sets.
const Defaults kTable[] = {
    {1, "ValDrop", 300, -1000, 1000}, {2, "ValJump", 300, -1000, 1000}, {3, "Diamond", 0, 0, 0},
    {4, "Pawn1x3", 0, 0, 0},          {5, "Pawn1x4", 0, 0, 0},          {6, "Pawn2x2", 0, 0, 0},
    {7, "PawnStorm", 0, 0, 0},        {8, "CrazyKing", 0, 0, 0},        {9, "ExceedingPc", 0, 0, 0},
    {10, "AbnormTerm", 0, 0, 0},      {11, "DepthDrop", 4, 4, 18},      {12, "Confusion", 0, 50, 500},
    {13, "MatEvalBug", 0, 0, 0},      {14, "LowDepth", 5, 0, 0},        {15, "VeryShortGame", 20, 0, 0},
    {16, "VeryLongGame", 150, 0, 0},  {17, "SuspOpening", 0, -100, 100}, {18, "Sacrifice", 0, 0, 0},
    {19, "WinAfterDraw", 0, 0, 0},    {20, "SpecialEndGame", 0, 0, 0},  {21, "WinGmNotWon", 0, 0, 0},
    {22, "TactComb", 0, 0, 0},        {23, "MvWeakCastle", 24, 0, 0},   {24, "BadTimeManag", 0, 0, 0},
    {25, "Draw50RuleBrk", 0, 0, 0},   {26, "Draw3xRuleBrk", 0, 0, 0},   {27, "NotFairPlay", 0, 0, 0},
    {28, "BestPerf", 0, 0, 0},        {29, "TooFewMoves", 0, 0, 0},     {30, "OppCastles", 0, 0, 0},
    {31, "NoPlan", 0, 0, 0},
};

void expectDefaults(const DetectionEntry& e, const Defaults& d) {
  SCOPED_TRACE(d.name);
  EXPECT_TRUE(e.active);
  EXPECT_EQ(e.colourSelection, 2);
  EXPECT_EQ(e.minOccurrences, 1);
  EXPECT_EQ(e.maxOccurrences, 1);
  EXPECT_FALSE(e.showBoard || e.epdOutput || e.pgnOutput);
  EXPECT_EQ(e.value, d.val);
  EXPECT_EQ(e.minValue, d.mnv);
  EXPECT_EQ(e.maxValue, d.mxv);
  EXPECT_EQ(e.p1 | e.p2 | e.p3 | e.whiteCount | e.blackCount | e.otherCount, 0);
}

TEST(DetectionSettings, TheProgramsDefaultsForTheThirtyOneDetections) {
  for (const Defaults& d : kTable) {
    EXPECT_EQ(detectionName(d.number), d.name);
    expectDefaults(defaultDetectionEntry(d.number), d);
    EXPECT_EQ(defaultDetectionEntry(d.number).name, "");
  }
}

TEST(DetectionSettings, TheShippedConfigurationShowsTheDefaultsBesidesFourUsefulThresholds) {
  test::ScratchDir dir;
  dir.write("kestrova.ini", test::sourceFile("data/kestrova.ini"));
  DetectionSettings settings;
  ASSERT_TRUE(loadDetectionSettings(settings, "kestrova.ini"));
  // The program's thresholds of these four report every game or complain at every half-move.
  EXPECT_EQ(settings[21].value, 200);
  EXPECT_EQ(settings[9].value, 1);
  EXPECT_EQ(settings[17].p1, 6);
  EXPECT_EQ(settings[31].value, 50);
  settings[21].value = settings[9].value = settings[17].p1 = settings[31].value = 0;
  for (const Defaults& d : kTable) {
    expectDefaults(settings[d.number], d);
    EXPECT_EQ(settings[d.number].name, d.name) << "the shipped lines label each detection with its name";
  }
}

TEST(DetectionSettings, LoadingStartsFromTheDefaultsAndAMissingFileLeavesThem) {
  test::ScratchDir dir;
  DetectionSettings settings;
  settings[1].value = 7;
  EXPECT_FALSE(loadDetectionSettings(settings, "kestrova.ini"));
  EXPECT_EQ(settings[1].value, 300);
  dir.write("kestrova.ini", "ValDrop: val=250,\n");
  settings[2].value = 1;
  ASSERT_TRUE(loadDetectionSettings(settings, "kestrova.ini"));
  EXPECT_EQ(settings[1].value, 250);
  EXPECT_EQ(settings[2].value, 300);
}

DetectionEntry parsed(const std::string& line) {
  DetectionEntry entry;
  parseDetectionLine(entry, line, "Diamond");
  return entry;
}

TEST(DetectionLine, EveryKeyIsRead) {
  const DetectionEntry e = parsed("Diamond: act=1, val=250, mxo=2, name=My label, epd=1, pgn=7, shb=1, mnv=-40, mxv=+60, "
                                  "mno=3, col=0, p1=6, p2=1, p3=15,\n");
  EXPECT_TRUE(e.active && e.epdOutput && e.pgnOutput && e.showBoard);
  EXPECT_EQ(e.name, "My label");
  const int values[] = {e.value, e.maxOccurrences, e.minValue, e.maxValue, e.minOccurrences, e.colourSelection,
                        e.p1, e.p2, e.p3};
  EXPECT_EQ(std::vector<int>(std::begin(values), std::end(values)), (std::vector<int>{250, 2, -40, 60, 3, 0, 6, 1, 15}));
  EXPECT_EQ(parsed("Diamond: name=" + std::string(300, 'x') + ",").name, std::string(127, 'x'));
}

TEST(DetectionLine, PairsKeysValuesAndTheName) {
  struct Case {
    std::string line;
    int value;
    int maxOccurrences;
    bool active;
  };
  const Case cases[] = {
      {"Diamond: act=0,", 0, 1, false},
      {"Diamond: act=0\n", 0, 1, false},
      {"Diamond: act=0", 0, 1, true},  // the last pair without "," or line end is lost
      {"Diamond: VAL=5, value=6, val =7,", 0, 1, true},
      {"Diamond: val=12abc,", 12, 1, true},
      {"Diamond: val=abc,", 0, 1, true},
      {"Diamond: val= 250,", 250, 1, true},
      {"Diamond: val=,mxo=4,", 0, 4, true},
      {"Diamond:\tval=3,\tmxo=4,", 3, 4, true},
      {"Pawn2x2: val=5,", 0, 1, true},
      {"diamond: val=5,", 0, 1, true},  // case-sensitive
      {"Diamond val=5,", 0, 1, true},
      {"; my Diamond line: val=5,", 5, 1, true},
      // The colon is looked for in the first 512 characters only.
      {"Diamond" + std::string(510, ' ') + ": val=5,", 0, 1, true},
      {"Diamond" + std::string(504, ' ') + ": val=5,", 5, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 40));
    const DetectionEntry e = parsed(c.line);
    EXPECT_EQ(e.value, c.value);
    EXPECT_EQ(e.maxOccurrences, c.maxOccurrences);
    EXPECT_EQ(e.active, c.active);
  }
}

TEST(DetectionLine, FileLinesTwoNamesAMissingLastLineEndAndWindowsLineEnds) {
  test::ScratchDir dir;
  dir.write("kestrova.ini",
            "Diamond and Pawn2x2: act=0,\nValDrop: val=250, name=Drop, mxo=3\r\nValJump: val=100, mxo=4");
  DetectionSettings settings;
  ASSERT_TRUE(loadDetectionSettings(settings, "kestrova.ini"));
  EXPECT_FALSE(settings[detection::kDiamond].active);
  EXPECT_FALSE(settings[detection::kPawn2x2].active);
  EXPECT_TRUE(settings[detection::kPawn1x3].active);
  EXPECT_EQ(settings[1].value, 250);
  EXPECT_EQ(settings[1].name, "Drop");
  EXPECT_EQ(settings[1].maxOccurrences, 3);
  EXPECT_EQ(settings[2].value, 100);
  EXPECT_EQ(settings[2].maxOccurrences, 1);
}

TEST(NextKeyValue, ReadsPairsUntilOneIsUnfinished) {
  const std::string_view line = " a=1,  bb=,c=3";
  std::size_t at = 0;
  std::string_view key, value;
  ASSERT_TRUE(nextKeyValue(line, at, key, value));
  EXPECT_EQ(std::string(key) + "=" + std::string(value), "a=1");
  ASSERT_TRUE(nextKeyValue(line, at, key, value));
  EXPECT_EQ(std::string(key) + "=" + std::string(value), "bb=");
  EXPECT_FALSE(nextKeyValue(line, at, key, value));
}

TEST(StartDetections, ReportsAMissingConfigurationAndUnbindsTheStreams) {
  test::ScratchDir dir;
  auto app = test::makeApp();
  app->detections.keepGame = true;
  startDetections(*app);
  EXPECT_EQ(app->console.takeCaptured(), "> can not open \"kestrova.ini\"\n");
  EXPECT_FALSE(app->detections.keepGame);
  EXPECT_EQ(app->detections.log, nullptr);
  dir.write("kestrova.ini", "NoPlan: val=9,\n");
  startDetections(*app);
  EXPECT_EQ(app->console.takeCaptured(), "");
  EXPECT_EQ(app->detections[detection::kNoPlan].value, 9);
}

}  // namespace
}  // namespace kestrova
