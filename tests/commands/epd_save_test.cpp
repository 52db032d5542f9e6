// epdsv: the position before the last replayed half-move appended to "epdsave.epd".
#include <gtest/gtest.h>

#include <string>

#include "support/test_app.hpp"

namespace kestrova {
namespace {

TEST(EpdSave, AppendsOneCompleteLinePerSaveAtOnce) {
  test::ScratchDir dir;
  dir.write("g.pgn", "[Event \"E\"]\n[Result \"*\"]\n\n1. Nf3 e6 2. d4 *\n\n");
  dir.write("epdsave.epd", "kept\n");
  auto app = test::makeApp();
  ASSERT_TRUE(app->pgn.open("g.pgn"));
  test::run(*app, "play 1 3");
  EXPECT_EQ(test::run(*app, "epdsv"), "");
  // The position before 2. d4, as chess.js gives it (the clocks are always written "0 0").
  const std::string line = "rnbqkbnr/pppp1ppp/4p3/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - 0 0;game Current position\n";
  EXPECT_EQ(dir.read("epdsave.epd"), "kept\n" + line);
  test::run(*app, "epdsv /?");
  EXPECT_EQ(dir.read("epdsave.epd"), "kept\n" + line + line) << "no help check: /? saves too";
}

TEST(EpdSave, ReportsAFileItCannotOpen) {
  test::ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "epdsave.epd");
  auto app = test::makeApp();
  EXPECT_EQ(test::run(*app, "epdsv"), "- file not found\n");
}

}  // namespace
}  // namespace kestrova
