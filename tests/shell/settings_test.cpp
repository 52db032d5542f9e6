#include "shell/settings.hpp"

#include <gtest/gtest.h>

#include "support/test_app.hpp"

namespace kestrova {
namespace {

Settings applied(std::initializer_list<const char*> lines) {
  Settings s;
  for (const char* line : lines) applySettingsLine(s, line);
  return s;
}

TEST(SettingsLine, ReadsIntegersAfterTheEqualSignSkippingOneBlank) {
  EXPECT_EQ(applied({"startElo= 2400"}).startElo, 2400);
  EXPECT_EQ(applied({"startElo=2400"}).startElo, 2400);
  EXPECT_EQ(applied({"startElo=  2400"}).startElo, 0);  // only one blank is skipped
  EXPECT_EQ(applied({"startElo=+2400"}).startElo, 2400);
  EXPECT_EQ(applied({"minNbGm=abc"}).minNbGm, 0);
}

TEST(SettingsLine, NegativeValueIsIgnored) {
  EXPECT_EQ(applied({"startElo=-5"}).startElo, 2275);
}

TEST(SettingsLine, KeyWithoutEqualSignTakesOne) {
  EXPECT_TRUE(applied({"verbose"}).verbose);
  EXPECT_EQ(applied({"printCmt"}).printCmt, 1);
  EXPECT_FALSE(applied({"runElo=0"}).runElo);
}

TEST(SettingsLine, BufferSizesFollowGBufSz) {
  const Settings s = applied({"gBufSz=100000"});
  EXPECT_EQ(s.gameBufferSize, 100000);
  EXPECT_EQ(s.saveBufferSize, 100000);
  EXPECT_EQ(s.lineBufferSize, 25000);
  const Settings defaults;
  EXPECT_EQ(defaults.gameBufferSize, 30000);
  EXPECT_EQ(defaults.lineBufferSize, 5000);
  // A quarter beyond 16 bits stops at the largest line buffer instead of wrapping round.
  EXPECT_EQ(applied({"gBufSz=400000"}).lineBufferSize, 65535);
}

TEST(SettingsLine, SmallKeysKeepTheirWidth) {
  EXPECT_EQ(applied({"bkHashSz=64"}).bkHashSz, 64);
  EXPECT_EQ(applied({"bkNumBase=100"}).bkNumBase, 100);
  EXPECT_EQ(applied({"lang=5"}).lang, 5);
}

TEST(SettingsLine, EngineFileStopsAtTheFirstBlank) {
  EXPECT_EQ(applied({"engineFile=  /opt/my engine"}).engineFile, "/opt/my");
  EXPECT_EQ(applied({"engineFile=/usr/games/stockfish\t# x"}).engineFile, "/usr/games/stockfish");
  EXPECT_EQ(applied({"engineFile"}).engineFile, "");
}

TEST(SettingsLine, KeyNamedInsideAValueDoesNotApply) {
  const Settings s = applied({"engineFile=/opt/slang/engine", "ValDrop: act=1, name=verbose drop,"});
  EXPECT_EQ(s.engineFile, "/opt/slang/engine");
  EXPECT_EQ(s.lang, 0);
  EXPECT_FALSE(s.verbose);
}

TEST(SettingsFile, MissingFileIsReportedAndDefaultsStay) {
  test::ScratchDir dir;
  auto app = test::makeApp();
  readSettings(app->settings, app->console);
  EXPECT_EQ(app->console.takeCaptured(), "> can not open \"kestrova.ini\"\n");
  EXPECT_EQ(app->settings.startElo, 2275);
}

TEST(SettingsFile, ReadsLinesWithCarriageReturnsAndIgnoresOthers) {
  test::ScratchDir dir;
  dir.write("kestrova.ini", "; comment\r\nstartElo=2500\r\n[OutputEnabledTags]\r\n[Event\r\nminNbGm=3");
  auto app = test::makeApp();
  readSettings(app->settings, app->console);
  EXPECT_EQ(app->console.takeCaptured(), "");
  EXPECT_EQ(app->settings.startElo, 2500);
  EXPECT_EQ(app->settings.minNbGm, 3);
}

}  // namespace
}  // namespace kestrova
