#include "shell/settings.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "support/test_app.hpp"

namespace kestrova {
namespace {

Settings applied(std::initializer_list<const char*> lines) {
  Settings s;
  for (const char* line : lines) applySettingsLine(s, line);
  return s;
}

TEST(SettingsLine, IntegerValues) {
  constexpr int kTop = std::numeric_limits<int>::max();
  const struct {
    const char* line;
    int Settings::*field;
    int expected;
  } cases[] = {
      {"startElo= 2400", &Settings::startElo, 2400},  {"startElo=2400", &Settings::startElo, 2400},
      {"startElo=  2400", &Settings::startElo, 0},     // only one blank is skipped
      {"startElo=+2400", &Settings::startElo, 2400},   {"minNbGm=abc", &Settings::minNbGm, 0},
      {"startElo=-5", &Settings::startElo, 2275},      // a negative value is ignored
      {"lang=-1", &Settings::lang, 0},                 {"printCmt", &Settings::printCmt, 1},  // no "=": one
      // Beyond the integer range the value stops at the top instead of turning negative.
      {"maxIterations=2147483648", &Settings::maxIterations, kTop},
      {"startElo=99999999999999999999", &Settings::startElo, kTop},
      {"validGmDelta=4294967297", &Settings::validGmDelta, kTop}, {"minNbGm=2147483647", &Settings::minNbGm, kTop},
      {"gBufSz=100000", &Settings::gameBufferSize, 100000}, {"gBufSz=100000", &Settings::saveBufferSize, 100000},
      {"gBufSz=100000", &Settings::lineBufferSize, 25000},
      {"gBufSz=400000", &Settings::lineBufferSize, 65535},  // a quarter beyond 16 bits stops at the largest
  };
  for (const auto& c : cases) EXPECT_EQ(applied({c.line}).*c.field, c.expected) << c.line;
  EXPECT_EQ(Settings{}.gameBufferSize, 30000);
  EXPECT_EQ(Settings{}.lineBufferSize, 5000);
  EXPECT_EQ(applied({"bkHashSz=64"}).bkHashSz, 64);  // the small keys keep their width
  EXPECT_EQ(applied({"bkNumBase=100"}).bkNumBase, 100);
  EXPECT_EQ(applied({"lang=5"}).lang, 5);
  EXPECT_TRUE(applied({"verbose"}).verbose);
  EXPECT_FALSE(applied({"runElo=0"}).runElo);
}

TEST(SettingsLine, EngineFileStopsAtTheFirstBlankAndKeysInsideValuesDoNotApply) {
  EXPECT_EQ(applied({"engineFile=  /opt/my engine"}).engineFile, "/opt/my");
  EXPECT_EQ(applied({"engineFile=/usr/games/stockfish\t# x"}).engineFile, "/usr/games/stockfish");
  EXPECT_EQ(applied({"engineFile"}).engineFile, "");
  const Settings s = applied({"engineFile=/opt/slang/engine", "ValDrop: act=1, name=verbose drop,"});
  EXPECT_EQ(s.engineFile, "/opt/slang/engine");
  EXPECT_EQ(s.lang, 0);
  EXPECT_FALSE(s.verbose);
}

TEST(SettingsFile, ReadsLinesWithCarriageReturnsAndReportsAMissingFile) {
  test::ScratchDir dir;
  auto app = test::makeApp();
  readSettings(app->settings, app->console);
  EXPECT_EQ(app->console.takeCaptured(), "> can not open \"kestrova.ini\"\n");
  EXPECT_EQ(app->settings.startElo, 2275);
  dir.write("kestrova.ini", "; comment\r\nstartElo=2500\r\n[OutputEnabledTags]\r\n[Event\r\nminNbGm=3");
  readSettings(app->settings, app->console);
  EXPECT_EQ(app->console.takeCaptured(), "");
  EXPECT_EQ(app->settings.startElo, 2500);
  EXPECT_EQ(app->settings.minNbGm, 3);
}

}  // namespace
}  // namespace kestrova
