// Every command that writes a PGN file sorts the games it reads into the games it keeps and the games it
// leaves out; none may vanish and none may be written twice; select keeps what pgn-extract picks. Run on the
// five samples put together with exact copies of some of their games and a game that cannot be replayed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <set>

#include "e2e/harness.hpp"
#include "support/engines.hpp"
#include "support/text.hpp"

namespace kestrova::e2e {
namespace {

std::vector<std::string> splitGames(const std::string& pgn) {
  std::vector<std::string> games;
  for (std::size_t at = pgn.find("[Event "); at != std::string::npos;) {
    const std::size_t next = pgn.find("\n[Event ", at + 1);
    games.push_back(pgn.substr(at, next == std::string::npos ? next : next + 1 - at));
    at = next == std::string::npos ? next : next + 1;
  }
  return games;
}

// The games of a file by the tags that name a game in these files; copies count as often as they occur.
using Games = std::multiset<std::string>;

Games gamesOf(const std::string& pgn) {
  const std::regex naming("\\[(Event|Round|White|Black|Result|FEN) \"[^\"]*\"\\]");
  Games games;
  for (const std::string& game : splitGames(pgn)) {
    std::string id;
    for (auto it = std::sregex_iterator(game.begin(), game.end(), naming); it != std::sregex_iterator(); ++it) {
      id += it->str();
    }
    games.insert(id);
  }
  return games;
}

Games operator+(Games kept, const Games& leftOut) {
  kept.insert(leftOut.begin(), leftOut.end());
  return kept;
}

std::size_t distinct(const Games& games) { return std::set(games.begin(), games.end()).size(); }

constexpr std::size_t kSampleGames = 30 + 10 + 30 + 10 + 12;
constexpr std::size_t kCopies = 6;
const std::string kBroken =
    "[Event \"Broken\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Ke3 Nc6 1-0\n\n";
// The last game cannot be replayed: every command that replays it leaves it out and names it.
const std::string kBrokenLeftOut = "game " + std::to_string(kSampleGames + kCopies + 1) + ": illegal move 2.Ke3 (ply 3)";

class NoDataLost : public ::testing::Test {
 protected:
  NoDataLost() {
    // The samples, copies of six of their games (two from the match file), the broken game.
    std::string all, copies;
    for (const std::string name : {"a_roundrobin", "b_gauntlet", "c_swiss", "d_match", "e_setup"}) {
      const std::string text = sourceText("tests/data/samples/" + name + ".pgn");
      const std::vector<std::string> games = splitGames(text);
      copies += games.at(3) + "\n" + (name == "d_match" ? games.at(7) + "\n" : "");
      all += text + "\n";
    }
    session.withDefaultData().withFile("games.pgn", all + copies + kBroken);
    input = gamesOf(all + copies + kBroken);
    EXPECT_EQ(input.size(), kSampleGames + kCopies + 1);
    EXPECT_EQ(distinct(input), kSampleGames + 1) << "the sample games are all different";
    replayable = input;
    replayable.erase(*gamesOf(kBroken).begin());
  }
  RunResult run(const std::string& commands) { return session.run(words("open games.pgn " + commands + " exit")); }
  Session session;
  Games input, replayable;
};

TEST_F(NoDataLost, SelectAndDeleteShareOutEveryGame) {
  // Numbers, texts, dates, missing tags, values of the wrong kind, both joins.
  for (const std::string criterion : {"WhiteElo>2700", "Result=1-0", "Round<3 or Result=1/2-1/2", "Date>2026.01.01",
                                      "White=stockfish and BlackElo>2500", "Event=gauntlet", "Round>2 and Round<5",
                                      "WhiteElo=abc", "Annotator=x", "PlyCount>100 or Termination=adjudication"}) {
    const RunResult result = run("select " + criterion + " -out=kept.pgn delete " + criterion + " -out=left.pgn");
    const Games kept = gamesOf(result.file("kept.pgn")), left = gamesOf(result.file("left.pgn"));
    EXPECT_EQ(kept + left, replayable) << criterion << " kept " << kept.size() << ", left out " << left.size();
    EXPECT_TRUE(test::has(result.output, kBrokenLeftOut)) << criterion;
  }
}

// pgn-extract picks the same games with the criteria it can express, and reads the games written back.
TEST_F(NoDataLost, SelectPicksTheGamesPgnExtractPicks) {
  if (!std::filesystem::exists("/usr/games/pgn-extract")) GTEST_SKIP() << "pgn-extract is not installed";
  const std::string extract = "cd '" + session.directory().string() + "' && /usr/games/pgn-extract -s -o ";
  for (const auto& [ours, theirs] : {std::pair{"WhiteElo>2700", "WhiteElo > \"2700\""},
                                     {"BlackElo>2500", "BlackElo > \"2500\""},
                                     {"WhiteElo>2700 and BlackElo>2700", "WhiteElo > \"2700\"\nBlackElo > \"2700\""}}) {
    const RunResult result = run("select " + std::string(ours) + " -out=kept.pgn");
    session.withFile("criteria.txt", std::string(theirs) + "\n");
    ASSERT_EQ(std::system((extract + "found.pgn -t criteria.txt games.pgn").c_str()), 0);
    ASSERT_EQ(std::system((extract + "back.pgn kept.pgn").c_str()), 0);
    const Games kept = gamesOf(result.file("kept.pgn"));
    EXPECT_FALSE(kept.empty()) << ours;
    EXPECT_EQ(kept, gamesOf(result.file("found.pgn"))) << ours;
    EXPECT_EQ(kept, gamesOf(result.file("back.pgn"))) << ours;
  }
}

TEST_F(NoDataLost, DblSinglesAndDoublesAddUpToTheFile) {
  for (const std::string exact : {"-abs ", ""}) {
    const RunResult result = run("dbl " + exact + "-out=doubles.pgn dbl -sgl " + exact + "-out=singles.pgn");
    const Games doubles = gamesOf(result.file("doubles.pgn")), singles = gamesOf(result.file("singles.pgn"));
    EXPECT_EQ(doubles.size(), kCopies) << exact << "\n" << result.output;
    EXPECT_EQ(singles + doubles, replayable) << exact << singles.size() << " singles, " << doubles.size() << " doubles";
    EXPECT_EQ(distinct(singles), singles.size()) << "one copy of each";
    EXPECT_TRUE(test::has(result.output, kBrokenLeftOut)) << exact;
  }
}

TEST_F(NoDataLost, SubKeptAndRemovedAddUpToTheFile) {
  session.withSourceFile("tests/data/samples/d_match.pgn", "seen.pgn");
  const RunResult result = run("sub -gam=seen.pgn -out=kept.pgn");
  EXPECT_TRUE(test::has(result.output, kBrokenLeftOut)) << result.output;
  const Games kept = gamesOf(result.file("kept.pgn")), removed = gamesOf(result.file("sub.pgn"));
  EXPECT_EQ(removed.size(), 10 + 2u) << "the match and the two copies of its games";
  EXPECT_EQ(kept + removed, replayable) << "kept " << kept.size() << ", removed " << removed.size();
}

TEST_F(NoDataLost, VfiltAcceptedAndRejectedAddUpToTheFileTheNamedUnreadableGameRejected) {
  session.withDefaultData("engineFile=" + test::fakeEnginePath() + "\n");
  setenv("KESTROVA_FAKE_ENGINE", "men", 1);  // the value is the number of men on the board
  // The final positions, a position most games reach and one that many games never reach.
  for (const std::string ply : {"-ply=last", "-ply=40", "-ply=150"}) {
    const RunResult result = run("vfilt -time=20 -hash=1 " + ply + " -minval=0 -maxval=16 -out=accepted.pgn");
    const Games accepted = gamesOf(result.file("accepted.pgn")), rejected = gamesOf(result.file("vfilt.pgn"));
    EXPECT_FALSE(accepted.empty() || rejected.empty()) << ply << "\n" << result.output;
    EXPECT_EQ(accepted + rejected, input) << ply << accepted.size() << " accepted, " << rejected.size();
    EXPECT_EQ(rejected.count(*gamesOf(kBroken).begin()), 1u) << ply;
    EXPECT_TRUE(test::has(result.output, kBrokenLeftOut)) << ply;
  }
  unsetenv("KESTROVA_FAKE_ENGINE");
}

// Games in the forms engine-match files hold (long algebraic, castling with zeros, comments, variations
// and NAGs glued to moves, tabs, blank and "%" lines in a movetext, a promotion without "=", tags
// this program does not know), with the samples.
const std::string kForms =
    "[Event \"Forms\"]\n[Site \"?\"]\n[Date \"2026.12.07\"]\n[Round \"1\"]\n[White \"A\"]\n[Black \"B\"]\n"
    "[Result \"1-0\"]\n[GameId \"17\"]\n[WhiteClock \"0:01:00\"]\n\n{Before the game} 1. e2-e4 {+0.35/12 0.056s} "
    "e7e5 2.Ng1-f3(2.d4 exd4 3.c3)Nc6$1\n3. Bc4\tBc5 4. 0-0 Nf6\n\n% an escaped line\n"
    "5. d3 d6 6. Bg5 h6 7. Bxf6 Qxf6! 8. Nc3 O-O?! 1-0\n\n[Event \"Promotion\"]\n[Site \"?\"]\n[Date \"2026.12.07\"]\n"
    "[Round \"2\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n"
    "1. e4 d5 2. exd5 c6 3. dxc6 Qd7 4. cxb7 Kd8 5. bxa8Q Qxd2+ 6. Nxd2 Kc7 1-0\n\n";

// Written back by the commands that rewrite games, every game reads to pgn-extract as the game read
// (its tags, moves, comments and result: pgn-extract's own writing of both files is the same), and
// pgn-extract reads every file the commands that write games write without a word of complaint.
TEST(WrittenBack, PgnExtractReadsTheGamesAsTheyWereRead) {
  if (!std::filesystem::exists("/usr/games/pgn-extract")) GTEST_SKIP() << "pgn-extract is not installed";
  std::string corpus = kForms;
  for (const char* name : {"a_roundrobin", "b_gauntlet", "c_swiss", "d_match", "e_setup"}) {
    corpus += sourceText("tests/data/samples/" + std::string(name) + ".pgn") + "\n";
  }
  Session session;
  session.withDefaultData("minNbGm=1\n").withFile("games.pgn", corpus).withFile("none.pgn", "").withFile(
      "e4.epd", "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3\n");
  const RunResult run = session.run(words(
      "open games.pgn delete White=nobody -out=all.pgn sub -gam=none.pgn -out=kept.pgn setcmt full -out=full.pgn "
      "cut -ply=6 -out=cut.pgn split -out=lines.pgn givelo -out=rated.pgn dbl -sgl -out=singles.pgn fepd e4.epd"));
  const std::string inDirectory = "cd '" + session.directory().string() + "' && /usr/games/pgn-extract -s ";
  // What pgn-extract says.
  auto extract = [&](const std::string& options) {
    EXPECT_EQ(std::system((inDirectory + options + " > extract.txt 2>&1").c_str()), 0) << options;
    return run.file("extract.txt");
  };
  for (const char* file : {"all.pgn", "kept.pgn", "full.pgn", "cut.pgn", "lines.pgn", "rated.pgn", "singles.pgn",
                           "epd-1.pgn"}) {
    EXPECT_FALSE(run.file(file).empty()) << file;
    EXPECT_EQ(extract(std::string("-r ") + file), "") << file;
  }
  extract("-w1000 -oread.pgn games.pgn");
  for (const char* file : {"all.pgn", "kept.pgn", "full.pgn"}) {
    extract("-w1000 -owritten.pgn " + std::string(file));
    EXPECT_EQ(run.file("written.pgn"), run.file("read.pgn")) << file;
  }
}

}  // namespace
}  // namespace kestrova::e2e
