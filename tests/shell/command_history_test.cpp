#include "shell/command_history.hpp"

#include <gtest/gtest.h>

#include "support/test_app.hpp"

namespace kestrova {
namespace {

TEST(CommandHistory, MostRecentFirstNoDuplicatesNineEntriesAndAnEmptyLineOnce) {
  test::ScratchDir dir;
  CommandHistory history;
  history.remember("open a.pgn");
  history.remember("scan");
  history.remember("open a.pgn");
  EXPECT_EQ(dir.read("r"), "scan\nopen a.pgn\n");
  EXPECT_FALSE(history.isUsed(3));
  history.remember("");
  for (int i = 1; i <= 9; ++i) history.remember("c" + std::to_string(i));
  history.remember("");
  EXPECT_TRUE(history.isUsed(1));
  EXPECT_EQ(history.entry(1), "");
  EXPECT_EQ(history.entry(2), "c9");
  EXPECT_EQ(dir.read("r"), "\nc9\nc8\nc7\nc6\nc5\nc4\nc3\nc2\n");
}

TEST(CommandHistory, LoadsTheFileOfAnEarlierRun) {
  test::ScratchDir dir;
  dir.write("r", "scan\r\nopen x.pgn\n\n");
  CommandHistory history;
  history.load();
  EXPECT_EQ(history.entry(1), "scan");
  EXPECT_EQ(history.entry(2), "open x.pgn");
  EXPECT_TRUE(history.isUsed(3));
  EXPECT_EQ(history.entry(3), "");
  EXPECT_FALSE(history.isUsed(4));
  history.remember("scan");
  EXPECT_EQ(dir.read("r"), "scan\r\nopen x.pgn\n\n");  // not rewritten for a known line
}

}  // namespace
}  // namespace kestrova
