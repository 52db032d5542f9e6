// The board diagram, the board command and the chess core's start-up steps.
#include "chess/diagram.hpp"
#include "chess_support.hpp"
#include "shell/lifecycle.hpp"

namespace kestrova::test {
namespace {

std::string expectedStartDiagram(const std::string& back) {
  const std::string frame = "\n          +--+--+--+--+--+--+--+--+";
  auto row = [](const std::string& letters) {
    std::string cells;
    for (char c : letters) cells += c == '.' ? std::string("  |") : std::string(" ") + c + "|";
    return cells;
  };
  std::string text;
  for (const std::string& letters : {back, std::string("PPPPPPPP"), std::string("........"), std::string("........"),
                                     std::string("........"), std::string("........"), std::string("PPPPPPPP"), back}) {
    text += frame + "\n          |" + row(letters);
  }
  return text + frame + "\n\n";
}

TEST(Diagram, StartPositionInEnglishAndFrench) {
  auto app = makeApp();
  setPositionFromFen(app->chess, app->game, kStartPosition);
  for (const auto& [language, back] : {std::pair{kEnglish, "RNBQKBNR"}, std::pair{kFrench, "TCFDRFCT"}}) {
    const std::string text(formatDiagram(app->strings, app->chess.board, language));
    EXPECT_EQ(text, expectedStartDiagram(back));
    const std::vector<ColourRun>& runs = app->strings.runs();
    ASSERT_EQ(runs.size(), 33u);
    for (std::size_t i = 0; i < 32; ++i) {
      EXPECT_EQ(runs[i].first, runs[i].last);
      EXPECT_NE(text[runs[i].first], ' ');
      EXPECT_EQ(runs[i].attribute, i < 16 ? 12u : 15u) << i;  // Black at the top
    }
    EXPECT_EQ(text[runs[0].first], back[0]);
    EXPECT_EQ(runs[32].attribute, 0u);
  }
}

TEST(BoardCommand, PrintsTheCurrentPositionOrItsHelp) {
  ScratchDir dir;
  auto app = makeApp();
  ASSERT_TRUE(playSan(*app, kStartPosition.data(), {"e4"}));
  const std::string shown = run(*app, "board");
  EXPECT_NE(shown.find("|  |  |  |  | P|  |  |  |"), std::string::npos);
  EXPECT_EQ(shown, std::string(formatDiagram(app->strings, app->chess.board, kEnglish)));
  EXPECT_EQ(run(*app, "board /?"), "- unable to open the help file");
}

TEST(StartUp, BuildsTheTablesBeforeTheStringManagerAndSetsTheStartPosition) {
  ScratchDir dir;
  auto app = makeApp();
  startUp(*app);
  const std::string out = app->console.captured();
  EXPECT_NE(out.find("[SYSTEM]\n- bitboards initialized\n- string manager initialized\n"), std::string::npos);
  EXPECT_TRUE(app->chess.keyCheck);
  EXPECT_EQ(placementOf(app->chess.board), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR");
  EXPECT_EQ(app->chess.currentFen, kStartPosition);
}

}  // namespace
}  // namespace kestrova::test
