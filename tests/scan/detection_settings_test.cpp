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
  EXPECT_FALSE(e.showBoard);
  EXPECT_FALSE(e.epdOutput);
  EXPECT_FALSE(e.pgnOutput);
  EXPECT_EQ(e.value, d.val);
  EXPECT_EQ(e.minValue, d.mnv);
  EXPECT_EQ(e.maxValue, d.mxv);
  EXPECT_EQ(e.p1 | e.p2 | e.p3, 0);
  EXPECT_EQ(e.whiteCount | e.blackCount | e.otherCount, 0);
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
  // The program's own thresholds of these four report every game (a normal piece set, every
  // pawn move) or complain at every half-move (no counted half-move); the shipped file sets them.
  DetectionEntry& exceeding = settings[9];
  DetectionEntry& opening = settings[17];
  DetectionEntry& noPlan = settings[31];
  DetectionEntry& notWon = settings[21];
  EXPECT_EQ(notWon.value, 200);
  notWon.value = 0;
  EXPECT_EQ(exceeding.value, 1);
  EXPECT_EQ(opening.p1, 6);
  EXPECT_EQ(noPlan.value, 50);
  exceeding.value = 0;
  opening.p1 = 0;
  noPlan.value = 0;
  for (const Defaults& d : kTable) {
    expectDefaults(settings[d.number], d);
    EXPECT_EQ(settings[d.number].name, d.name) << "the shipped lines label each detection with its name";
  }
}

TEST(DetectionSettings, AMissingFileLeavesTheDefaults) {
  test::ScratchDir dir;
  DetectionSettings settings;
  settings[1].value = 7;
  EXPECT_FALSE(loadDetectionSettings(settings, "kestrova.ini"));
  EXPECT_EQ(settings[1].value, 300);
}

TEST(DetectionSettings, ReloadingStartsFromTheDefaults) {
  test::ScratchDir dir;
  dir.write("kestrova.ini", "ValDrop: val=250,\n");
  DetectionSettings settings;
  settings[2].value = 1;
  ASSERT_TRUE(loadDetectionSettings(settings, "kestrova.ini"));
  EXPECT_EQ(settings[1].value, 250);
  EXPECT_EQ(settings[2].value, 300);
}

DetectionEntry parsed(const std::string& line, const char* name = "Diamond") {
  DetectionEntry entry;
  parseDetectionLine(entry, line, name);
  return entry;
}

TEST(DetectionLine, PairsEndedByACommaOrTheLineEnd) {
  EXPECT_FALSE(parsed("Diamond: act=0,").active);
  EXPECT_FALSE(parsed("Diamond: act=0\n").active);
  // The last pair without "," and without a line end is lost.
  EXPECT_TRUE(parsed("Diamond: act=0").active);
  const DetectionEntry e = parsed("Diamond: act=1, val=250, mxo=2, name=My label, epd=1, pgn=7, shb=1, mnv=-40, mxv=+60, "
                                  "mno=3, col=0, p1=6, p2=1, p3=15,\n");
  EXPECT_TRUE(e.active);
  EXPECT_EQ(e.value, 250);
  EXPECT_EQ(e.maxOccurrences, 2);
  EXPECT_EQ(e.name, "My label");
  EXPECT_TRUE(e.epdOutput);
  EXPECT_TRUE(e.pgnOutput);
  EXPECT_TRUE(e.showBoard);
  EXPECT_EQ(e.minValue, -40);
  EXPECT_EQ(e.maxValue, 60);
  EXPECT_EQ(e.minOccurrences, 3);
  EXPECT_EQ(e.colourSelection, 0);
  EXPECT_EQ(e.p1, 6);
  EXPECT_EQ(e.p2, 1);
  EXPECT_EQ(e.p3, 15);
}

TEST(DetectionLine, KeysAreExactAndValuesLeadingIntegers) {
  EXPECT_EQ(parsed("Diamond: VAL=5, value=6, val =7,").value, 0);
  EXPECT_EQ(parsed("Diamond: val=12abc,").value, 12);
  EXPECT_EQ(parsed("Diamond: val=abc,").value, 0);
  EXPECT_EQ(parsed("Diamond: val= 250,").value, 250);
  // A "," right after the "=" is an empty value.
  EXPECT_EQ(parsed("Diamond: val=,mxo=4,").maxOccurrences, 4);
  EXPECT_EQ(parsed("Diamond:\tval=3,\tmxo=4,").maxOccurrences, 4);
}

TEST(DetectionLine, TheNameMustOccurAndAColonFollow) {
  EXPECT_EQ(parsed("Pawn2x2: val=5,").value, 0);
  EXPECT_EQ(parsed("diamond: val=5,").value, 0) << "the name is case-sensitive";
  EXPECT_EQ(parsed("Diamond val=5,").value, 0);
  // The name may stand anywhere, even after a semicolon.
  EXPECT_EQ(parsed("; my Diamond line: val=5,").value, 5);
  // The colon is looked for in the first 512 characters only.
  EXPECT_EQ(parsed("Diamond" + std::string(510, ' ') + ": val=5,").value, 0);
  EXPECT_EQ(parsed("Diamond" + std::string(504, ' ') + ": val=5,").value, 5);
}

TEST(DetectionLine, ALineWithTwoNamesConfiguresBoth) {
  test::ScratchDir dir;
  dir.write("kestrova.ini", "Diamond and Pawn2x2: act=0,\n");
  DetectionSettings settings;
  ASSERT_TRUE(loadDetectionSettings(settings, "kestrova.ini"));
  EXPECT_FALSE(settings[detection::kDiamond].active);
  EXPECT_FALSE(settings[detection::kPawn2x2].active);
  EXPECT_TRUE(settings[detection::kPawn1x3].active);
}

TEST(DetectionLine, ALongLabelIsCutTo127Characters) {
  const std::string label(300, 'x');
  EXPECT_EQ(parsed("Diamond: name=" + label + ",").name, std::string(127, 'x'));
}

TEST(DetectionLine, ALastLineWithoutLineEndLosesItsLastPair) {
  test::ScratchDir dir;
  dir.write("kestrova.ini", "ValDrop: val=250, mxo=3\nValJump: val=100, mxo=4");
  DetectionSettings settings;
  ASSERT_TRUE(loadDetectionSettings(settings, "kestrova.ini"));
  EXPECT_EQ(settings[1].value, 250);
  EXPECT_EQ(settings[1].maxOccurrences, 3);
  EXPECT_EQ(settings[2].value, 100);
  EXPECT_EQ(settings[2].maxOccurrences, 1);
}

TEST(DetectionLine, WindowsLineEndsReadLikeLinuxOnes) {
  test::ScratchDir dir;
  dir.write("kestrova.ini", "ValDrop: name=Drop, mxo=3\r\n");
  DetectionSettings settings;
  ASSERT_TRUE(loadDetectionSettings(settings, "kestrova.ini"));
  EXPECT_EQ(settings[1].name, "Drop");
  EXPECT_EQ(settings[1].maxOccurrences, 3);
}

TEST(NextKeyValue, ReadsPairsUntilOneIsUnfinished) {
  const std::string_view line = " a=1,  bb=,c=3";
  std::size_t at = 0;
  std::string_view key, value;
  ASSERT_TRUE(nextKeyValue(line, at, key, value));
  EXPECT_EQ(key, "a");
  EXPECT_EQ(value, "1");
  ASSERT_TRUE(nextKeyValue(line, at, key, value));
  EXPECT_EQ(key, "bb");
  EXPECT_EQ(value, "");
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
