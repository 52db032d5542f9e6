// Game hashes, the grouping of doubles and the dbl command.
#include "commands/doubles.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "pgn/game.hpp"
#include "pgn/pgn_commands.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

TEST(HashGame, SequenceModeMixesEveryKeyWithItsPlyNumber) {
  auto game = std::make_unique<Game>();
  game->plies[1].keys = {0x10, 0x20};
  game->plies[2].keys = {0x3, 0x5};
  game->resultScore = 100;
  // A: (0 ^ 0x10) + 1 = 0x11, shifted right: 0x8; (0x8 ^ 0x3) + 2 = 0xD, shifted left: 0x1A,
  // complemented. B: 0x21 -> 0x10; 0x17 -> 0x2E -> complemented, then XOR 0xAA for White's win.
  const GameHashes two = hashGame(*game, 2, HashMode::kSequence);
  EXPECT_EQ(two.a, 0xFFFFFFFFFFFFFFE5u);
  EXPECT_EQ(two.b, 0xFFFFFFFFFFFFFFD1u ^ 0xAAu);
  game->resultScore = 50;
  const GameHashes one = hashGame(*game, 1, HashMode::kSequence);
  EXPECT_EQ(one.a, 0x8u);
  EXPECT_EQ(one.b, 0x10u ^ 0xFFu);
}

TEST(HashGame, PositionModeTakesTheFinalPositionAndTheOneAtTwoThirds) {
  auto game = std::make_unique<Game>();
  for (int i = 1; i <= 4; ++i) game->plies[i].keys = {2u * i - 1, 2u * i};
  game->resultScore = 50;
  // n = 4: m = 8 / 3 = 2.
  GameHashes hashes = hashGame(*game, 4, HashMode::kPosition);
  EXPECT_EQ(hashes.a, 7u ^ 3u);
  EXPECT_EQ(hashes.b, 8u ^ 4u ^ 0xFFu);
  // The position at two thirds equal to the final one: the next ply's keys are taken instead.
  game->plies[2].keys = {7, 8};
  game->resultScore = 0;
  hashes = hashGame(*game, 4, HashMode::kPosition);
  EXPECT_EQ(hashes.a, 7u ^ 5u);
  EXPECT_EQ(hashes.b, 8u ^ 6u ^ 0x55u);
  // One half-move: its keys alone.
  hashes = hashGame(*game, 1, HashMode::kPosition);
  EXPECT_EQ(hashes.a, 1u);
  EXPECT_EQ(hashes.b, 2u ^ 0x55u);
}

GameRecord makeRecord(std::uint32_t number, std::uint64_t a, std::uint64_t b, int halfMoves, std::uint64_t finalKey) {
  return GameRecord{a, b, finalKey, number, halfMoves};
}

TEST(FindDoubles, MarksTheEarliestCopyFirstAndTheOthersAsLaterCopies) {
  std::vector<GameRecord> records = {
      makeRecord(1, 5, 1, 10, 100), makeRecord(2, 3, 1, 10, 7),  makeRecord(3, 5, 1, 10, 100),
      makeRecord(4, 5, 1, 12, 100),  // same hashes, another length: another game
      makeRecord(5, 5, 1, 10, 100), makeRecord(6, 0, 9, 0, 0),   // zero hash A: a game without moves
      makeRecord(7, 0, 9, 0, 0),     makeRecord(8, 3, 1, 10, 7), makeRecord(9, 5, 1, 10, 101),
  };
  sortByHashes(records);
  markRuns(records);
  restoreFileOrder(records);
  const std::uint8_t expected[] = {1, 1, 2, 0, 2, 0, 0, 2, 0};
  for (std::size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(records[i].number, i + 1);
    EXPECT_EQ(records[i].mark, expected[i]) << "game " << i + 1;
  }
}

// Replays the games of a file and returns their records.
std::vector<GameRecord> recordsOf(App& app, const std::string& file, HashMode mode) {
  std::vector<GameRecord> records;
  EXPECT_TRUE(app.pgn.open(file));
  std::uint32_t number = 0;
  while (app.pgn.readNextGame(app.console) != PgnFile::kEnd) {
    startGame(app, true);
    records.push_back(recordReplayedGame(app, mode, ++number));
  }
  return records;
}

const std::string kLongGame = "[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 1-0\n\n";
const std::string kBrokenGame = "[Result \"1-0\"]\n\n1. e4 e5 2. Qxx7 Nc6 3. Bb5 a6 1-0\n\n";
const std::string kShortGame = "[Result \"1-0\"]\n\n1. e4 e5 1-0\n\n";

TEST(GameRecords, HashOnlyTheHalfMovesMadeBeforeAnUnreadableMove) {
  test::ScratchDir dir;
  dir.write("games.pgn", kLongGame + kBrokenGame + kShortGame);
  dir.write("broken.pgn", kBrokenGame);
  dir.write("none.pgn", kLongGame + "[Result \"1-0\"]\n\n1. Qxx7 e5 1-0\n\n[Result \"1-0\"]\n\n1-0\n\n");
  for (HashMode mode : {HashMode::kSequence, HashMode::kPosition}) {
    auto app = test::makeApp();
    const auto records = recordsOf(*app, "games.pgn", mode);
    EXPECT_NE(app->console.takeCaptured().find("> can't read the string Qxx7."), std::string::npos);
    ASSERT_EQ(records.size(), 3u);
    const GameRecord &broken = records[1], &twoMoves = records[2];
    // The broken game's keys are those of 1. e4 e5, whatever the game before it left.
    EXPECT_EQ(broken.hashA, twoMoves.hashA);
    EXPECT_EQ(broken.hashB, twoMoves.hashB);
    EXPECT_EQ(broken.finalKey, twoMoves.finalKey);
    EXPECT_EQ(broken.halfMoves, 6);
    EXPECT_FALSE(sameGame(broken, twoMoves)) << "a game of six half-moves is not one of two";
    auto fresh = test::makeApp();
    const auto alone = recordsOf(*fresh, "broken.pgn", mode);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(alone[0].hashA, broken.hashA);
    EXPECT_EQ(alone[0].hashB, broken.hashB);
    EXPECT_EQ(alone[0].finalKey, broken.finalKey);
    // No half-move made at all: hashes 0, which match nothing.
    const auto none = recordsOf(*fresh, "none.pgn", mode);
    ASSERT_EQ(none.size(), 3u);
    for (int i : {1, 2}) {
      EXPECT_EQ(none[i].hashA, 0u);
      EXPECT_EQ(none[i].hashB, 0u);
      EXPECT_FALSE(sameGame(none[i], none[i]));
    }
  }
}

// The values of one tag in the games of a PGN text, in file order.
std::vector<std::string> tagValues(const std::string& text, const std::string& tag) {
  std::vector<std::string> values;
  const std::string prefix = "[" + tag + " \"";
  for (std::size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) {
    const std::size_t start = at + prefix.size();
    values.push_back(text.substr(start, text.find('"', start) - start));
  }
  return values;
}

std::string game(const std::string& event, const std::string& result, const std::string& moves) {
  return "[Event \"" + event + "\"]\n[Result \"" + result + "\"]\n\n" + moves + " " + result + "\n\n";
}

const std::string kMoves = "1. e4 e5 2. Nf3 Nc6";

class DblCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("games.pgn", game("g1", "1-0", kMoves) + game("h", "1-0", "1. d4 d5") + game("g2", "1-0", kMoves) +
                                game("g-lost", "0-1", kMoves) + game("g3", "1-0", kMoves) +
                                "[Event \"e1\"]\n[Result \"1-0\"]\n\n1-0\n\n[Event \"e2\"]\n[Result \"1-0\"]\n\n1-0\n\n");
    for (int tag : {kTagEvent, kTagResult, kTagAnnotator}) app_->game.tags.setOutputEnabled(tag, true);
    ASSERT_TRUE(app_->pgn.open("games.pgn"));
  }
  // The values of a tag in the games written.
  std::vector<std::string> written(const char* tag, const std::string& file = "pgn-out.pgn") {
    return tagValues(dir_.read(file), tag);
  }

  test::ScratchDir dir_;
  std::unique_ptr<App> app_ = test::makeApp();
};

TEST_F(DblCommand, WritesTheLaterCopiesWithTheirGroupsId) {
  const std::string printed = test::run(*app_, "dbl");
  EXPECT_NE(printed.find("\n> 7 games scanned           \n> 7 games taken into account\n> games sorted        \n"
                         "> saving double games [|]\r> saving double games [-]\r> saving double games [|]\r"),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("\n- 2 doubles have been found and stored in pgn-out.pgn file\n"), std::string::npos);
  EXPECT_EQ(written("Event"), (std::vector<std::string>{"g2", "g3"}));
  const auto ids = written("Annotator");
  ASSERT_EQ(ids.size(), 2u);
  EXPECT_EQ(ids[0], ids[1]);
  ASSERT_GT(ids[0].size(), 12u);
  EXPECT_EQ(ids[0].substr(0, 12), "Double id = ");
  EXPECT_TRUE(ids[0][12] != '0' && ids[0].find_first_not_of("0123456789", 12) == std::string::npos) << ids[0];
  EXPECT_NE(dir_.read("pgn-out.pgn").find("]\n\n1.e4 e5 2.Nf3 Nc6 1-0\n\n"), std::string::npos);
}

TEST_F(DblCommand, ChkAlsoWritesTheFirstCopySglWritesOneCopyOfEach) {
  std::string printed = test::run(*app_, "dbl -chk -out=all.pgn");
  EXPECT_NE(printed.find("\n- 2 doubles AND 1 selected games from doubles have been stored in all.pgn file\n"),
            std::string::npos)
      << printed;
  EXPECT_EQ(written("Event", "all.pgn"), (std::vector<std::string>{"g1", "g2", "g3"}));
  const auto ids = written("Annotator", "all.pgn");
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_TRUE(ids[0] == ids[1] && ids[1] == ids[2]);

  printed = test::run(*app_, "dbl -sgl");
  EXPECT_NE(printed.find("> saving games without doubles [|]\r"), std::string::npos);
  EXPECT_NE(printed.find("\n- 5 single games have been stored in pgn-out.pgn file\n"), std::string::npos) << printed;
  EXPECT_EQ(written("Event"), (std::vector<std::string>{"g1", "h", "g-lost", "e1", "e2"}));
  EXPECT_TRUE(written("Annotator").empty());
}

TEST_F(DblCommand, SameMovesByAnotherOrderAreDoublesUnlessAbs) {
  // t1 and t2 meet after four half-moves and end alike; t3 ends alike but meets them later.
  dir_.write("orders.pgn", game("t1", "1/2-1/2", "1. Nf3 Nf6 2. Nc3 Nc6 3. e3 e6") +
                               game("t3", "1/2-1/2", "1. e3 e6 2. Nf3 Nf6 3. Nc3 Nc6") +
                               game("t2", "1/2-1/2", "1. Nc3 Nc6 2. Nf3 Nf6 3. e3 e6"));
  ASSERT_TRUE(app_->pgn.open("orders.pgn"));
  EXPECT_NE(test::run(*app_, "dbl").find("\n- 1 doubles have been found"), std::string::npos);
  EXPECT_EQ(written("Event"), (std::vector<std::string>{"t2"}));
  EXPECT_NE(test::run(*app_, "dbl -abs").find("\n- 0 doubles have been found"), std::string::npos);
  EXPECT_TRUE(written("Event").empty());
}

TEST_F(DblCommand, ReportsAnOutputItCannotCreate) {
  EXPECT_EQ(test::run(*app_, "dbl -out=games.pgn"),
            "\n> \"games.pgn\" is read by this command: it can't be its output file\n"
            "- can't create the output pgn file\n");
  EXPECT_EQ(test::run(*app_, "dbl -out=nowhere/x.pgn"), "- can't create the output pgn file\n");
}

}  // namespace
}  // namespace kestrova
