// Every command that writes a PGN file sorts the games it reads into the games it keeps and the
// games it leaves out; none may vanish and none may be written twice. Run on the five sample files
// put together with exact copies of some of their games and a game whose moves cannot be replayed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

std::string tagValue(const std::string& game, const std::string& name) {
  const std::string prefix = "\n[" + name + " \"";
  const std::size_t at = ("\n" + game).find(prefix);
  if (at == std::string::npos) return "";
  const std::size_t start = at + prefix.size() - 1;
  return game.substr(start, game.find('"', start) - start);
}

// The games of a file, counted by identity (the tags that name a game in these files); copies
// count as often as they occur.
using GameCounts = std::map<std::string, int>;

GameCounts gamesOf(const std::string& pgn) {
  GameCounts games;
  for (std::size_t at = pgn.find("[Event "); at != std::string::npos;) {
    const std::size_t next = pgn.find("\n[Event ", at + 1);
    const std::string game = pgn.substr(at, next == std::string::npos ? std::string::npos : next + 1 - at);
    std::string id;
    for (const char* tag : {"Event", "Round", "White", "Black", "Result", "FEN"}) id += tagValue(game, tag) + "|";
    ++games[id];
    at = next == std::string::npos ? next : next + 1;
  }
  return games;
}

GameCounts together(GameCounts kept, const GameCounts& leftOut) {
  for (const auto& [id, n] : leftOut) kept[id] += n;
  return kept;
}

int total(const GameCounts& games) {
  int n = 0;
  for (const auto& entry : games) n += entry.second;
  return n;
}

std::string sourceText(const std::string& relativePath) {
  std::ifstream in(std::filesystem::path(KESTROVA_SOURCE_DIR) / relativePath, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The games of one sample file, each with its text.
std::vector<std::string> splitGames(const std::string& pgn) {
  std::vector<std::string> games;
  for (std::size_t at = pgn.find("[Event "); at != std::string::npos;) {
    const std::size_t next = pgn.find("\n[Event ", at + 1);
    games.push_back(pgn.substr(at, next == std::string::npos ? std::string::npos : next + 1 - at));
    at = next == std::string::npos ? next : next + 1;
  }
  return games;
}

constexpr int kSampleGames = 30 + 10 + 30 + 10 + 12;
constexpr int kCopies = 6;

// The samples, then copies of six of their games (two of them from the match file), then a game
// with an impossible move.
std::string corpus() {
  std::string all;
  std::vector<std::string> copies;
  for (const char* name : {"a_roundrobin", "b_gauntlet", "c_swiss", "d_match", "e_setup"}) {
    const std::string text = sourceText(std::string("tests/data/samples/") + name + ".pgn");
    const std::vector<std::string> games = splitGames(text);
    copies.push_back(games.at(3));
    if (std::string(name) == "d_match" || std::string(name) == "e_setup") copies.push_back(games.at(7));
    all += text + "\n";
  }
  for (std::size_t i = 0; i < kCopies; ++i) all += copies.at(i) + "\n";
  all += "[Event \"Broken\"]\n[Site \"?\"]\n[Date \"2026.01.01\"]\n[Round \"1\"]\n[White \"A\"]\n[Black \"B\"]\n"
         "[Result \"1-0\"]\n\n1. e4 e5 2. Ke3 Nc6 3. Qh5 1-0\n\n";
  return all;
}

class NoDataLost : public ::testing::Test {
 protected:
  NoDataLost() {
    const std::string games = corpus();
    session.withDefaultData().withFile("games.pgn", games);
    input = gamesOf(games);
  }
  RunResult run(const std::vector<std::string>& commands) {
    std::vector<std::string> arguments{"open", "games.pgn"};
    arguments.insert(arguments.end(), commands.begin(), commands.end());
    arguments.push_back("exit");
    return session.run(arguments);
  }
  // The last game cannot be replayed (2. Ke3): every command leaves it out and names it.
  GameCounts withoutTheBrokenGame() const {
    GameCounts games = input;
    games.erase("Broken|1|A|B|1-0||");
    return games;
  }
  static std::string brokenGameLeftOut() {
    return "> " + std::to_string(kSampleGames + kCopies + 1) + ": game left out: can't read the move \"Ke3\" (half-move 3)\n";
  }
  Session session;
  GameCounts input;
};

TEST_F(NoDataLost, TheCorpusHoldsTheSamplesTheCopiesAndTheBrokenGame) {
  EXPECT_EQ(total(input), kSampleGames + kCopies + 1);
  int repeated = 0;
  for (const auto& entry : input) repeated += entry.second - 1;
  EXPECT_EQ(repeated, kCopies) << "the sample games are all different";
}

TEST_F(NoDataLost, SelectAndDeleteShareOutEveryGame) {
  // Numbers, texts, dates, missing tags, values of the wrong kind, both joins.
  const std::vector<std::string> criteria[] = {
      {"WhiteElo>2700"},
      {"Result=1-0"},
      {"Round<3", "or", "Result=1/2-1/2"},
      {"White=stockfish", "and", "BlackElo>2500"},
      {"Date>2026.01.01"},
      {"Event=gauntlet"},
      {"WhiteElo=abc"},
      {"Annotator=x"},
      {"Round>2", "and", "Round<5"},
      {"PlyCount>100", "or", "Termination=adjudication"},
  };
  for (const std::vector<std::string>& criterion : criteria) {
    std::vector<std::string> select{"select"}, remove{"delete"};
    select.insert(select.end(), criterion.begin(), criterion.end());
    remove.insert(remove.end(), criterion.begin(), criterion.end());
    select.push_back("-out=kept.pgn");
    remove.push_back("-out=left.pgn");
    std::vector<std::string> commands = select;
    commands.insert(commands.end(), remove.begin(), remove.end());
    const RunResult result = run(commands);
    const GameCounts kept = gamesOf(result.file("kept.pgn"));
    const GameCounts left = gamesOf(result.file("left.pgn"));
    EXPECT_EQ(together(kept, left), input) << criterion.front() << " kept " << total(kept) << ", left out "
                                           << total(left) << "\n" << result.output;
  }
}

TEST_F(NoDataLost, DblSinglesAndDoublesAddUpToTheFile) {
  for (const char* exact : {"-abs", ""}) {
    std::vector<std::string> commands{"dbl", "-out=doubles.pgn", "dbl", "-sgl", "-out=singles.pgn"};
    if (*exact != '\0') {
      commands.insert(commands.begin() + 1, exact);
      commands.insert(commands.begin() + 4, exact);
    }
    const RunResult result = run(commands);
    const GameCounts doubles = gamesOf(result.file("doubles.pgn"));
    const GameCounts singles = gamesOf(result.file("singles.pgn"));
    EXPECT_EQ(total(doubles), kCopies) << exact << "\n" << result.output;
    EXPECT_EQ(together(singles, doubles), withoutTheBrokenGame()) << exact << " singles " << total(singles) << ", doubles "
                                                 << total(doubles) << "\n" << result.output;
    for (const auto& [id, n] : singles) EXPECT_EQ(n, 1) << "one copy of " << id;
  }
}

TEST_F(NoDataLost, SubKeptAndRemovedAddUpToTheFile) {
  session.withSourceFile("tests/data/samples/d_match.pgn", "seen.pgn");
  const RunResult result = run({"sub", "-gam=seen.pgn", "-out=kept.pgn"});
  EXPECT_NE(result.output.find(brokenGameLeftOut()), std::string::npos);
  const GameCounts kept = gamesOf(result.file("kept.pgn"));
  const GameCounts removed = gamesOf(result.file("sub.pgn"));
  EXPECT_EQ(total(removed), 10 + 2) << "the match and the two copies of its games\n" << result.output;
  EXPECT_EQ(together(kept, removed), withoutTheBrokenGame()) << "kept " << total(kept) << ", removed " << total(removed);
}

// A game vfilt cannot replay up to the chosen half-move is written to neither file; it must be
// named, and be the only game missing.
TEST_F(NoDataLost, VfiltAcceptedAndRejectedAddUpToTheFileButForTheNamedUnreadableGame) {
  // The scripted engine's value is the number of men on the board it is given.
  const std::filesystem::path engine = std::filesystem::path(KESTROVA_BINARY).parent_path() / "tests" / "fake_engine";
  if (!std::filesystem::exists(engine)) GTEST_SKIP() << "the scripted engine is not built";
  session.withFile("kestrova.ini", "engineFile=" + engine.string() + "\n" + sourceText("data/kestrova.ini"));
  setenv("KESTROVA_FAKE_ENGINE", "men", 1);
  // The final positions, a position most games reach and one that many games never reach.
  for (const char* ply : {"-ply=last", "-ply=40", "-ply=150"}) {
    const RunResult result =
        run({"vfilt", "-time=20", "-hash=1", ply, "-minval=0", "-maxval=16", "-out=accepted.pgn"});
    const GameCounts accepted = gamesOf(result.file("accepted.pgn"));
    const GameCounts rejected = gamesOf(result.file("vfilt.pgn"));
    EXPECT_GT(total(accepted), 0) << ply << "\n" << result.output;
    EXPECT_GT(total(rejected), 0) << ply;
    EXPECT_EQ(together(accepted, rejected), withoutTheBrokenGame())
        << ply << " accepted " << total(accepted) << ", rejected " << total(rejected) << "\n" << result.output;
    EXPECT_NE(result.output.find(brokenGameLeftOut()), std::string::npos) << ply;
  }
  unsetenv("KESTROVA_FAKE_ENGINE");
}

// A game larger than the game buffer cannot be read whole: a command may leave it out, naming it
// (select does), but must not write its tags with no moves. dbl -sgl and sub still do, so this test
// stays disabled until they leave such a game out as select does.
TEST(NoDataLostTooLarge, AGameTooLargeForTheBufferIsNeverWrittenWithoutItsMoves) {
  const std::vector<std::string> games = splitGames(sourceText("tests/data/samples/d_match.pgn"));
  std::string large = games.at(0);
  for (std::size_t at = large.find("s}"); at != std::string::npos; at = large.find("s}", at + 500)) {
    large.insert(at + 1, " " + std::string(480, 'x'));
  }
  ASSERT_GT(large.size(), 40000u) << "larger than the shipped gBufSz of 30000";
  Session session;
  session.withDefaultData().withFile("games.pgn", games.at(1) + "\n" + large + "\n" + games.at(2) + "\n")
      .withFile("seen.pgn", games.at(1));
  const RunResult result = session.run({"open", "games.pgn", "select", "Result=1-0", "-out=kept.pgn", "dbl", "-sgl",
                                        "-out=singles.pgn", "sub", "-gam=seen.pgn", "-out=rest.pgn", "exit"});
  for (const char* name : {"kept.pgn", "singles.pgn", "rest.pgn", "sub.pgn"}) {
    for (const std::string& game : splitGames(result.file(name))) {
      const std::size_t movetext = game.find("\n\n");
      ASSERT_NE(movetext, std::string::npos) << name;
      EXPECT_NE(game.find("1.", movetext), std::string::npos) << name << ": a game without its moves:\n" << game;
    }
  }
}

}  // namespace
}  // namespace kestrova::e2e
