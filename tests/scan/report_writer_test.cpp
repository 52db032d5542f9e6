#include "scan/report_writer.hpp"

#include <gtest/gtest.h>

#include "chess/fen.hpp"
#include "scan/scan_support.hpp"

namespace kestrova {
namespace {

// A report line shorter than 56 characters is filled with blanks to 57.
std::string padded(const std::string& line) { return line.size() < 56 ? line + std::string(57 - line.size(), ' ') : line; }

TEST(PadLine, ShorterThan56IsPaddedTo57) {
  for (std::size_t length : {0u, 1u, 55u, 56u, 57u, 80u}) {
    std::string line(length, 'x');
    padLine(line);
    EXPECT_EQ(line, std::string(length, 'x') + std::string(length < 56 ? 57 - length : 0, ' ')) << length;
  }
}

TEST(AppendMoveNumber, OddPliesAreWhitesEvenPliesBlacks) {
  const std::pair<int, const char*> cases[] = {{1, "1."}, {2, "1..."}, {61, "31."}, {62, "31..."}, {0, "0..."}, {-1, "0..."}};
  for (const auto& [ply, expected] : cases) {
    std::string line;
    appendMoveNumber(line, ply);
    EXPECT_EQ(line, expected) << ply;
  }
}

// A scan in progress: game 57 loaded and replayed to its end, the three streams bound.
class ReportWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string games;
    for (int i = 0; i < 57; ++i) games += test::pgnGame("1. e4 e5 2. Nf3 Nc6", "0-1", "", "Alpha", "Beta");
    dir.write("games.pgn", games);
    ASSERT_TRUE(app->pgn.open("games.pgn"));
    for (int i = 0; i < 57; ++i) app->pgn.readNextGame(app->console);
    startGame(*app, true);
    ASSERT_EQ(replayGame(*app, 0), 1);
    loadDetectionSettings(app->detections, "none.ini");
    for (int k = 1; k <= detection::kCount; ++k) app->detections[k].name = std::string(detectionName(k));
    log.create("log.txt");
    epd.create("epd.epd");
    pgn.create("pgn.pgn");
    beginGameDetections(app->detections, &log, &pgn, &epd);
    app->console.takeCaptured();
  }

  std::string closeAndRead(platform::OutputFile& file, const char* name) {
    file.close();
    return dir.read(name);
  }

  test::ScratchDir dir;
  std::unique_ptr<App> app = test::makeApp();
  platform::OutputFile log, epd, pgn;
  const std::string players = "[Alpha-Beta, 0-1]\n";
};

TEST_F(ReportWriter, TheLineOfTheWorkedExampleGoesToConsoleAndLog) {
  reportDetection(*app, detection::kValDrop, 1, kBefore, 3, "-412");
  const std::string expected = padded("57: [w] ValDrop (-412) before 2.Nf3") + players;
  EXPECT_EQ(app->console.takeCaptured(), expected);
  EXPECT_EQ(closeAndRead(log, "log.txt"), expected);
  EXPECT_EQ(app->detections[detection::kValDrop].whiteCount, 1);
  EXPECT_FALSE(app->detections.keepGame);
  EXPECT_EQ(closeAndRead(epd, "epd.epd"), "");
}

TEST_F(ReportWriter, PlyZeroTheSideOfNoOneAndThe56CharacterBound) {
  reportDetection(*app, detection::kTooFewMoves, kNoSide, kAfter, 0, "crash?");
  reportDetection(*app, detection::kNoPlan, 0, kBefore, 0);
  // "57: [w] " + name + " after 2.Nf3": a name of 36 characters makes 56.
  app->detections[detection::kOppCastles].name = std::string(36, 'n');
  reportDetection(*app, detection::kOppCastles, 1, kAfter, 3);
  app->detections[detection::kOppCastles].name = std::string(35, 'n');
  reportDetection(*app, detection::kOppCastles, 1, kAfter, 3);
  EXPECT_EQ(app->console.takeCaptured(), padded("57: [b] TooFewMoves (crash?)  0...") + players +
                                             padded("57: [b] NoPlan  0...") + players + "57: [w] " +
                                             std::string(36, 'n') + " after 2.Nf3" + players + "57: [w] " +
                                             std::string(35, 'n') + " after 2.Nf3  " + players);
  EXPECT_EQ(app->detections[detection::kTooFewMoves].otherCount, 1);
  EXPECT_EQ(app->detections[detection::kNoPlan].blackCount, 1);
}

TEST_F(ReportWriter, TheExtraLineFollowsWhenShorterThan256) {
  reportDetection(*app, detection::kDraw50RuleBrk, 0, kAfter, 4, nullptr, "57: 50 moves rule violation !\n");
  const std::string longLine = std::string(256, 'x') + "\n";
  reportDetection(*app, detection::kDraw50RuleBrk, 0, kAfter, 4, nullptr, longLine.c_str());
  const std::string full = padded("57: [b] Draw50RuleBrk after 2...Nc6") + players;
  EXPECT_EQ(app->console.takeCaptured(), full + "57: 50 moves rule violation !\n" + full);
}

TEST_F(ReportWriter, EpdLinesCarryThePositionBeforeOrAfterTheLastPly) {
  app->detections[detection::kValJump].epdOutput = true;
  reportDetection(*app, detection::kValJump, 0, kBefore, 4, "+350");
  reportDetection(*app, detection::kValJump, 0, kAfter, 4);
  const std::string before = app->chess.previousFen, after = app->chess.currentFen;
  EXPECT_EQ(before.substr(0, before.find(' ')), "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R");
  EXPECT_EQ(after.substr(0, after.find(' ')), "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R");
  EXPECT_EQ(closeAndRead(epd, "epd.epd"), before + " game 57: [b] ValJump (+350) before 2...Nc6 " + players + after +
                                              " game 57: [b] ValJump after 2...Nc6 " + players);
}

TEST_F(ReportWriter, PgnOutputMarksTheGameAndShowBoardPrintsTheDiagramFirst) {
  app->detections[detection::kCrazyKing].pgnOutput = true;
  app->detections[detection::kCrazyKing].showBoard = true;
  writeReportLine(*app, detection::kCrazyKing, 1, kAfter, 1);
  EXPECT_TRUE(app->detections.keepGame);
  EXPECT_EQ(app->detections[detection::kCrazyKing].whiteCount, 0) << "writeReportLine counts nothing";
  const std::string out = app->console.takeCaptured();
  const std::size_t report = out.find("57: [w] CrazyKing after 1.e4");
  ASSERT_NE(report, std::string::npos);
  EXPECT_LT(out.find("|"), report);
  beginGameDetections(app->detections, &log, &pgn, &epd);
  EXPECT_FALSE(app->detections.keepGame);
}

TEST(BeginGameDetections, ClearsTheCountersOfEverySlotAndBindsTheStreams) {
  DetectionSettings d;
  for (DetectionEntry& e : d.entries) e.whiteCount = e.blackCount = e.otherCount = 3;
  d.keepGame = true;
  platform::OutputFile a, b, c;
  beginGameDetections(d, &a, &b, &c);
  for (const DetectionEntry& e : d.entries) EXPECT_EQ(e.whiteCount + e.blackCount + e.otherCount, 0);
  EXPECT_FALSE(d.keepGame);
  EXPECT_TRUE(d.log == &a && d.pgn == &b && d.epd == &c);
}

// 1.f3 e5 2.a3 Qh4+ 3.a4 leaves White's king in check; 1.e4 f6 2.Qh5+ a6 leaves Black's.
const char* const kWhiteIllegal = "1. f3 e5 2. a3 Qh4+ 3. a4";
const char* const kBlackIllegal = "1. e4 f6 2. Qh5+ a6";

TEST(IllegalPosition, TheWarningDependsOnWhetherTheMoverLost) {
  const std::string a = "    Warning !, A should have lost due to illegal move\n";
  const std::string b = "    Warning !, B should have lost due to illegal move\n";
  const struct {
    const char* moves;
    const char* result;
    std::string warning;
  } cases[] = {
      {kWhiteIllegal, "0-1", ""}, {kWhiteIllegal, "1-0", a}, {kWhiteIllegal, "1/2-1/2", a},
      {kBlackIllegal, "1-0", ""}, {kBlackIllegal, "0-1", b}, {kBlackIllegal, "*", b},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.moves) + " " + c.result);
    const auto run = test::runRules(*test::makeApp(), test::pgnGame(c.moves, c.result), {detection::kNoPlan},
                                    [](DetectionEntry& e) { e.active = false; });
    ASSERT_EQ(run.replayResults, std::vector<int>{0});
    const std::string line = c.moves == kWhiteIllegal ? "1:>illegal position found after 3.a4 !"
                                                      : "1:>illegal position found after 2...a6 !";
    const std::string report = padded(line) + "[A-B, " + c.result + "]\n" + c.warning;
    const std::size_t at = run.console.find(report);
    ASSERT_NE(at, std::string::npos) << run.console;
    EXPECT_EQ(run.console.substr(at), report) << "the report ends the game's output";
  }
}

TEST(IllegalPosition, GoesToTheLogWhenOneIsBound) {
  test::ScratchDir dir;
  auto app = test::makeApp();
  dir.write("games.pgn", test::pgnGame(kWhiteIllegal, "0-1"));
  ASSERT_TRUE(app->pgn.open("games.pgn"));
  app->pgn.readNextGame(app->console);
  startGame(*app, true);
  platform::OutputFile log;
  log.create("log.txt");
  beginGameDetections(app->detections, &log, nullptr, nullptr);
  EXPECT_EQ(replayGame(*app, 0), 0);
  app->detections.log = nullptr;
  log.close();
  EXPECT_EQ(dir.read("log.txt"), padded("1:>illegal position found after 3.a4 !") + "[A-B, 0-1]\n");
}

}  // namespace
}  // namespace kestrova
