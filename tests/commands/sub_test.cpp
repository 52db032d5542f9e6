// sub: the games of the open file found in a second file move to "sub.pgn".
#include "commands/subtraction.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/test_app.hpp"

namespace kestrova {
namespace {

// The plain comparison: non-zero hashes and one record with the same four fields.
bool matchesAnyRecord(const GameRecord& game, const std::vector<GameRecord>& records) {
  for (const GameRecord& record : records) {
    if (game.hashA != 0 && game.hashB != 0 && game.hashA == record.hashA && game.hashB == record.hashB &&
        game.halfMoves == record.halfMoves && game.finalKey == record.finalKey) {
      return true;
    }
  }
  return false;
}

TEST(SubtractionIndex, FindsExactlyTheGamesTheFullComparisonFinds) {
  std::mt19937_64 random(20240611);
  // Few values per field, so that games share some fields with records but not all of them.
  auto field = [&](int values) { return static_cast<std::uint64_t>(random() % values); };
  auto randomRecord = [&] { return GameRecord{field(4), field(3), field(3), 0, static_cast<int>(field(3))}; };
  for (int round = 0; round < 20; ++round) {
    std::vector<GameRecord> records(static_cast<std::size_t>(field(60)));
    std::generate(records.begin(), records.end(), randomRecord);
    SubtractionIndex index;
    for (const GameRecord& record : records) index.add(record);
    int matched = 0;
    for (int i = 0; i < 500; ++i) {
      const GameRecord game = randomRecord();
      const bool expected = matchesAnyRecord(game, records);
      ASSERT_EQ(index.contains(game), expected) << "round " << round << " game " << i;
      matched += expected;
    }
    if (records.size() > 20) EXPECT_GT(matched, 0);
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
  return "[Event \"" + event + "\"]\n[Result \"" + result + "\"]\n\n" + moves + (moves.empty() ? "" : " ") + result +
         "\n\n";
}

class SubCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("games.pgn", game("a", "1-0", "1. e4 e5 2. Nf3") + game("b", "1-0", "1. d4 d5") +
                                game("c", "0-1", "1. c4 e5") + game("empty", "1-0", "") +
                                game("d", "1-0", "1. e4 e5 2. Nf3 Nc6"));
    // b as it is; c with another result; a longer a (exactly d); d by another move order.
    dir_.write("seen.pgn", game("b'", "1-0", "1. d4 d5") + game("c'", "1-0", "1. c4 e5") +
                               game("a'", "1-0", "1. e4 e5 2. Nf3 Nc6") + game("d'", "1-0", "1. Nf3 Nc6 2. e4 e5"));
    for (int tag : {kTagEvent, kTagResult}) app_->game.tags.setOutputEnabled(tag, true);
    ASSERT_TRUE(app_->pgn.open("games.pgn"));
  }
  std::vector<std::string> events(const std::string& file) { return tagValues(dir_.read(file), "Event"); }

  test::ScratchDir dir_;
  std::unique_ptr<App> app_ = test::makeApp();
};

TEST_F(SubCommand, MovesTheGamesOfTheSecondFileToSubPgn) {
  const std::string printed = test::run(*app_, "sub -gam=seen -out=kept.pgn");
  EXPECT_NE(printed.find("> operation complete\n> 2 games have been removed and stored in the sub.pgn file\n"
                         "> the resuling file is kept.pgn\n"),
            std::string::npos)
      << printed;
  EXPECT_EQ(events("sub.pgn"), (std::vector<std::string>{"b", "d"}));
  EXPECT_EQ(events("kept.pgn"), (std::vector<std::string>{"a", "c", "empty"}));
  EXPECT_NE(dir_.read("sub.pgn").find("[Event \"b\"]\n[Result \"1-0\"]\n\n1.d4 d5 1-0\n\n"), std::string::npos);
  // The file that was open is open again, read to its end.
  EXPECT_EQ(app_->pgn.name(), "games.pgn");
  EXPECT_EQ(app_->pgn.readNextGame(app_->console), PgnFile::kEnd);
  // With the open file itself every game with moves goes.
  test::run(*app_, "sub -gam=games.pgn");
  EXPECT_EQ(events("sub.pgn"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(events("pgn-out.pgn"), (std::vector<std::string>{"empty"}));
}

TEST_F(SubCommand, WritesAGameWithAnUnreadableMoveWhole) {
  dir_.write("broken.pgn", game("x", "1-0", "1. e4 e5 2. Qxx7 Nc6"));
  ASSERT_TRUE(app_->pgn.open("broken.pgn"));
  const std::string printed = test::run(*app_, "sub -gam=seen.pgn");
  EXPECT_NE(printed.find("> can't read the string Qxx7."), std::string::npos);
  EXPECT_EQ(dir_.read("pgn-out.pgn"), "[Event \"x\"]\n[Result \"1-0\"]\n\n1.e4 e5 2.Qxx7 Nc6 1-0\n\n");
}

TEST_F(SubCommand, RefusesMissingOrConflictingFiles) {
  dir_.write("pgn-out.pgn", "earlier");
  EXPECT_EQ(test::run(*app_, "sub -out=x.pgn"), "- missing parameter\n");
  EXPECT_EQ(test::run(*app_, "sub -gam=nothing"), "\n> unable to open the file \"nothing\"\n");
  EXPECT_EQ(test::run(*app_, "sub -gam=seen.pgn -out=seen.pgn"),
            "\n> \"seen.pgn\" is read by this command: it can't be its output file\n");
  EXPECT_EQ(test::run(*app_, "sub -gam=seen.pgn -out=./sub.pgn"),
            "\n> \"./sub.pgn\" receives the removed games: it can't be the output file\n");
  EXPECT_EQ(dir_.read("pgn-out.pgn"), "earlier");
  EXPECT_FALSE(dir_.exists("sub.pgn"));
  EXPECT_EQ(app_->pgn.name(), "games.pgn");
}

}  // namespace
}  // namespace kestrova
