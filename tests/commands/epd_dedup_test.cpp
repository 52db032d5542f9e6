// ddepd: an EPD file copied without the lines whose position repeats an earlier line.
#include "commands/epd_dedup.hpp"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_app.hpp"

namespace kestrova {
namespace {

constexpr const char* kCastlingBoth = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - c0 \"first\";\n";
constexpr const char* kCastlingNone = "r3k2r/8/8/8/8/8/8/R3K2R w - - c0 \"second\";\n";
constexpr const char* kBlackToMove = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - c0 \"third\";\n";
constexpr const char* kOtherPlacement = "r3k2r/8/8/8/8/8/8/R3K1R1 w Qkq - c0 \"fourth\";\n";

TEST(EpdDedup, KeepsTheFirstOfTwoLinesThatDifferOnlyInCastling) {
  test::ScratchDir dir;
  dir.write("inputepd.epd", std::string(kCastlingBoth) + kCastlingNone + kBlackToMove + kOtherPlacement);
  auto app = test::makeApp();
  const std::string printed = test::run(*app, "ddepd go");
  EXPECT_EQ(printed,
            "\n- processing the inputepd.epd file\n- 1 duplicated positions deleted\n- 3 remaining positions\n"
            "- operation complete\n- please see the outputepd.epd file\n");
  EXPECT_EQ(dir.read("outputepd.epd"), std::string(kCastlingBoth) + kBlackToMove + kOtherPlacement);
}

TEST(EpdDedup, CopiesLongLinesWholeAndComparesEveryRepetition) {
  // A line beyond 255 characters is copied as it stands; its position is read from its start.
  const std::string longLine = "4k3/8/8/8/8/8/8/4K3 w - - c0 \"" + std::string(400, 'x') + "\";\n";
  const std::string again = "4k3/8/8/8/8/8/8/4K3 w - - c0 \"again\";\n";
  const std::string other = "4k3/8/8/8/8/8/8/3K4 w - -\n";
  test::ScratchDir dir;
  dir.write("a.epd", longLine + again + other + "4k3/8/8/8/8/8/8/3K4 w - -\r\n" + again + "4k3/8/8/8/8/8/8/3K4 b");
  auto app = test::makeApp();
  const std::string printed = test::run(*app, "ddepd -in=a.epd");
  EXPECT_NE(printed.find("- processing the a.epd file\n- 3 duplicated positions deleted\n- 3 remaining positions\n"),
            std::string::npos)
      << printed;
  EXPECT_EQ(dir.read("outputepd.epd"), longLine + other + "4k3/8/8/8/8/8/8/3K4 b");
}

// The placement and side fields of a line, the side as 'w' or 'b' (none counts as Black).
std::string placementAndSide(const std::string& line) {
  std::istringstream fields(line);
  std::string placement, side;
  fields >> placement >> side;
  return placement + (side == "w" ? " w" : " b");
}

TEST(EpdDedup, GivesWhatComparingEveryLineWithEveryLaterLineGives) {
  const std::vector<std::string> placements = {"4k3/8/8/8/8/8/8/4K3", "4k3/8/8/8/8/8/8/3K4", "r3k2r/8/8/8/8/8/8/R3K2R",
                                               "4k3/8/8/8/8/8/8/4KQ2"};
  const std::vector<std::string> tails = {" w KQkq -", " w - -", " b - e3", " b KQkq -", "", " w - - c0 \"x\";"};
  std::mt19937 random(1015);
  test::ScratchDir dir;
  auto app = test::makeApp();
  for (int round = 0; round < 10; ++round) {
    std::vector<std::string> lines(random() % 40);
    for (auto& line : lines) line = placements[random() % placements.size()] + tails[random() % tails.size()];
    // The plain method: mark every later line with the same position as each unmarked line.
    std::vector<bool> repeated(lines.size(), false);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (repeated[i]) continue;
      for (std::size_t j = i + 1; j < lines.size(); ++j) {
        if (placementAndSide(lines[i]) == placementAndSide(lines[j])) repeated[j] = true;
      }
    }
    std::string input, expected;
    int removed = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      input += lines[i] + "\n";
      if (repeated[i]) ++removed;
      else expected += lines[i] + "\n";
    }
    dir.write("inputepd.epd", input);
    const std::string printed = test::run(*app, "ddepd go");
    EXPECT_EQ(dir.read("outputepd.epd"), expected) << "round " << round;
    EXPECT_NE(printed.find("- " + std::to_string(removed) + " duplicated positions deleted\n- " +
                           std::to_string(lines.size() - removed) + " remaining positions\n"),
              std::string::npos)
        << printed;
  }
}

TEST(EpdDedup, WithoutArgumentsShowsItsHelp) {
  test::ScratchDir dir;
  auto app = test::makeApp();
  EXPECT_EQ(test::run(*app, "ddepd"), test::run(*app, "ddepd /?"));
  EXPECT_FALSE(dir.exists("outputepd.epd"));
}

TEST(EpdDedup, ReportsFilesItCannotOpenOrMustNotWrite) {
  test::ScratchDir dir;
  auto app = test::makeApp();
  EXPECT_EQ(test::run(*app, "ddepd -in=missing.epd"),
            "\n- processing the missing.epd file\n- can't open the epd source file\n"
            "- can't start or terminate the process !\n");
  dir.write("a.epd", kCastlingBoth);
  EXPECT_EQ(test::run(*app, "ddepd -in=a.epd -out=no/such/dir.epd"),
            "\n- processing the a.epd file\n- can't open the epd destination file\n"
            "- can't start or terminate the process !\n");
  EXPECT_EQ(test::run(*app, "ddepd -in=a.epd -out=./a.epd"),
            "\n- processing the a.epd file\n\n> \"./a.epd\" is read by this command: it can't be its output file\n"
            "- can't open the epd destination file\n- can't start or terminate the process !\n");
  EXPECT_EQ(dir.read("a.epd"), kCastlingBoth);
}

TEST(EpdDedup, TheSharedProcedureLeavesTheClosingNoticeToItsCaller) {
  test::ScratchDir dir;
  dir.write("tmp.epd", std::string(kCastlingBoth) + kCastlingBoth);
  auto app = test::makeApp();
  EXPECT_TRUE(removeRepeatedPositions(*app, "tmp.epd", "anabk.epd"));
  EXPECT_EQ(app->console.takeCaptured(),
            "\n- processing the tmp.epd file\n- 1 duplicated positions deleted\n- 1 remaining positions\n");
  EXPECT_EQ(dir.read("anabk.epd"), kCastlingBoth);
}

}  // namespace
}  // namespace kestrova
