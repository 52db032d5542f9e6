// select, delete, instxt, setcap and tag on the round-robin sample (30 games, six players, Elo
// 2200 to 3400, each pairing once with each colour); pgn-extract is the oracle where installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

constexpr const char* kPgnExtract = "/usr/games/pgn-extract";

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string tagValue(const std::string& game, const std::string& name) {
  const std::string prefix = "[" + name + " \"";
  const std::size_t at = game.find(prefix);
  if (at == std::string::npos) return "";
  const std::size_t start = at + prefix.size();
  return game.substr(start, game.find('"', start) - start);
}

// Round, White and Black name a game of the round robin.
using GameId = std::tuple<std::string, std::string, std::string>;

std::set<GameId> gameIds(const std::string& pgn) {
  std::set<GameId> ids;
  for (std::size_t at = pgn.find("[Event "); at != std::string::npos;) {
    const std::size_t next = pgn.find("[Event ", at + 1);
    const std::string game = pgn.substr(at, next == std::string::npos ? std::string::npos : next - at);
    ids.insert({tagValue(game, "Round"), tagValue(game, "White"), tagValue(game, "Black")});
    at = next;
  }
  return ids;
}

// The games pgn-extract finds in a file of the session with a tag-criteria file.
std::set<GameId> pgnExtractIds(const Session& session, const std::string& input, const std::string& criteria) {
  const std::filesystem::path dir = session.directory();
  Session scratch;
  scratch.withFile("criteria.txt", criteria);
  const std::string command = std::string(kPgnExtract) + " -s -t " + (scratch.directory() / "criteria.txt").string() +
                              " -o " + (scratch.directory() / "found.pgn").string() + " " + (dir / input).string() +
                              " 2>/dev/null";
  if (std::system(command.c_str()) != 0) return {};
  return gameIds(RunResult{"", 0, false, scratch.directory()}.file("found.pgn"));
}

class SelectionEndToEnd : public ::testing::Test {
 protected:
  SelectionEndToEnd() {
    session.withDefaultData().withSourceFile("tests/data/samples/a_roundrobin.pgn", "games.pgn");
  }
  RunResult run(const std::string& commands) { return session.run({}, "open games.pgn\n" + commands); }
  Session session;
};

TEST_F(SelectionEndToEnd, EloCriteriaFindTheGamesCountedByHandAndByPgnExtract) {
  const RunResult result = run("select WhiteElo>2700 -out=white.pgn\n"
                               "select WhiteElo>2700 and BlackElo>2700 -out=both.pgn\n"
                               "select WhiteElo>2700 or BlackElo>2700 -out=either.pgn\n");
  EXPECT_EQ(count(result.output, "see white.pgn file\n"), 1) << result.output;
  // Three players above 2700: 15 games with one of them as White, 6 among themselves, and 24
  // games with at least one of them (all but the 6 among the other three).
  const std::set<GameId> white = gameIds(result.file("white.pgn")), both = gameIds(result.file("both.pgn")),
                         either = gameIds(result.file("either.pgn"));
  EXPECT_EQ(white.size(), 15u);
  EXPECT_EQ(both.size(), 6u);
  EXPECT_EQ(either.size(), 24u);
  EXPECT_EQ(count(result.file("either.pgn"), "[Event "), 24);

  if (!std::filesystem::exists(kPgnExtract)) GTEST_SKIP() << "pgn-extract is not installed";
  const std::set<GameId> whiteOracle = pgnExtractIds(session, "games.pgn", "WhiteElo > \"2700\"\n");
  const std::set<GameId> blackOracle = pgnExtractIds(session, "games.pgn", "BlackElo > \"2700\"\n");
  EXPECT_EQ(white, whiteOracle);
  EXPECT_EQ(both, pgnExtractIds(session, "games.pgn", "WhiteElo > \"2700\"\nBlackElo > \"2700\"\n"));
  std::set<GameId> unionOracle = whiteOracle;
  unionOracle.insert(blackOracle.begin(), blackOracle.end());
  EXPECT_EQ(either, unionOracle);
  // The written games are sound PGN: pgn-extract reads all 24 back, moves checked.
  EXPECT_EQ(pgnExtractIds(session, "either.pgn", "WhiteElo > \"0\"\n").size(), 24u);
}

TEST_F(SelectionEndToEnd, SelectAndDeleteShareTheGamesOutNeverIntoTheOpenFile) {
  const RunResult result = run("select Round<4 -out=early.pgn\ndelete Round<4 -out=late.pgn\n"
                               "delete Round<4 -out=games.pgn\n");
  EXPECT_NE(result.output.find("\"games.pgn\" is read by this command: it can't be its output file"),
            std::string::npos);
  const std::set<GameId> early = gameIds(result.file("early.pgn")), late = gameIds(result.file("late.pgn"));
  EXPECT_EQ(early.size(), 9u) << "rounds 1 to 3, three games each";
  EXPECT_EQ(late.size(), 21u);
  std::set<GameId> all = early;
  all.insert(late.begin(), late.end());
  EXPECT_EQ(all, gameIds(result.file("games.pgn")));
  EXPECT_EQ(count(result.file("games.pgn"), "[Event "), 30) << "the open file is never its own output";
}

TEST_F(SelectionEndToEnd, TagEditingAndTheTagList) {
  const RunResult result = run("instxt Event=XY -at=0 -out=ins.pgn\nsetcap White=up -out=cap.pgn\n"
                               "reptxt Site=\"Engine room\" -out=site.pgn\ntag\n");
  // "Debian Engines Round Robin 2026" has 31 characters: no room for two more.
  EXPECT_EQ(count(result.output, "> string out of range\n"), 30);
  EXPECT_EQ(count(result.file("ins.pgn"), "[Event \"Debian Engines Round Robin 2026\"]\n"), 30);
  EXPECT_EQ(count(result.file("cap.pgn"), "[White \"STOCKFISH 15.1 ELO2200\"]\n"), 5);
  EXPECT_EQ(count(result.file("site.pgn"), "[Site \"Engine room\"]\n"), 30);
  EXPECT_NE(result.output.find("\nSite\nDate\nRound\nWhite\n"), std::string::npos);
  EXPECT_NE(result.output.find("\nSetUp\nFEN\nMode\n"), std::string::npos);
}

}  // namespace
}  // namespace kestrova::e2e
