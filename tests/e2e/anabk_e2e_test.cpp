// The book analysis through the program: a book made with newbk, walked with anabk for the tree
// task with "-ddup", and evaluated by the scripted engine and by Debian's Stockfish.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "e2e/harness.hpp"
#include "support/engines.hpp"

namespace kestrova::e2e {
namespace {

bool has(const RunResult& run, const std::string& text) { return run.output.find(text) != std::string::npos; }

int count(const std::string& text, const std::string& part) {
  int found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

std::string game(const std::string& result, const std::string& moves) {
  return "[Event \"e2e\"]\n[White \"W\"]\n[Black \"B\"]\n[Result \"" + result + "\"]\n\n" + moves + " " + result +
         "\n\n";
}

// One game each; 1.d4 Nf6 2.c4 and 1.c4 Nf6 2.d4 reach the same position.
const std::string kGames =
    game("1-0", "1. d4 Nf6 2. c4") + game("0-1", "1. c4 Nf6 2. d4") + game("1/2-1/2", "1. e4 e5");
const std::string kMakeBook = "newbk 1 3 -pgn=games.pgn !\ny\n";

// Worked out by hand: placement, side, and the fixed fields of the list.
const std::string kIndian = "rnbqkb1r/pppppppp/5n2/8/2PP4/8/PP2PPPP/RNBQKBNR b - - 0 0\n";
const std::string kOpenGame = "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w - - 0 0\n";

std::string configurationWithEngine(const std::string& engine) {
  std::ifstream in(std::string(KESTROVA_SOURCE_DIR) + "/data/kestrova.ini", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return "engineFile=" + engine + "\n" + text.str();
}

using test::fakeEnginePath;

using test::findStockfish;

// The digit that chooses the move in showbk's first list.
std::string choiceOf(const RunResult& shown, const std::string& move) {
  std::smatch found;
  if (!std::regex_search(shown.output, found, std::regex("\n([1-9])\\." + move + "\t"))) return "x";
  return found[1].str();
}

TEST(AnabkEndToEnd, TreeTaskListsTheLineEndsOnceWithDdup) {
  Session session;
  session.withDefaultData().withFile("games.pgn", kGames);
  const RunResult plain = session.run({}, kMakeBook + "anabk -occ<2 -rnk=end\ny\nexit\n");
  EXPECT_TRUE(has(plain, "- please consult the 'tree.epd' file to see the resulting epd\n")) << plain.output;
  const std::string tree = plain.file("tree.epd");
  EXPECT_EQ(count(tree, kIndian), 2) << tree;
  EXPECT_EQ(count(tree, kOpenGame), 1) << tree;
  EXPECT_EQ(count(tree, "\n"), 3);

  const RunResult dedup = session.run({}, "anabk -occ<2 -rnk=end -ddup -out=ends.epd\ny\nexit\n");
  const std::string ends = dedup.file("ends.epd");
  EXPECT_EQ(count(ends, kIndian), 1) << dedup.output;
  EXPECT_EQ(count(ends, kOpenGame), 1);
  EXPECT_EQ(count(ends, "\n"), 2);
  EXPECT_FALSE(dedup.hasFile("tmp.epd"));
  EXPECT_TRUE(has(dedup, "- please consult the 'ends.epd' file to see the resulting epd\n"));
}

TEST(AnabkEndToEnd, EvalTaskSavesTheClassesIntoTheBookFile) {
  const std::string engine = fakeEnginePath();
  if (access(engine.c_str(), X_OK) != 0) GTEST_SKIP() << "no " << engine;
  setenv("KESTROVA_FAKE_ENGINE", "movetime", 1);
  Session session;
  session.withDefaultData().withFile("games.pgn", kGames).withFile("kestrova.ini", configurationWithEngine(engine));
  const RunResult run = session.run({}, kMakeBook + "anabk -occ<2 -rnk=end -tsk=eval -ms=60\ny\ny\nexit\n");
  EXPECT_TRUE(has(run, "- engine ready\n- press 'ESC' to stop the analyze\n")) << run.output;
  // After 1.d4 Nf6 2.c4 (reached twice) Black is to move, after 1.e4 e5 White.
  EXPECT_EQ(count(run.output, "[b/1,+60] "), 2) << run.output;
  EXPECT_EQ(count(run.output, "[w/1,+60] "), 1) << run.output;
  EXPECT_TRUE(has(run, "- saving the book\n- operation complete\n"));
  // -60 for the movers of 2.c4, 2.d4 and 1...e5: class 2, read back from the saved file.
  const RunResult shown = session.run({}, "showbk\nx\nexit\n");
  EXPECT_EQ(count(shown.output, "cmt=0"), 3) << shown.output;  // the root's moves were not evaluated
  const RunResult e4 = session.run({}, "showbk\n" + choiceOf(shown, "e2e4") + "\nx\nexit\n");
  EXPECT_TRUE(has(e4, "1.e7e5\tn=1\t")) << e4.output;
  EXPECT_TRUE(std::regex_search(e4.output, std::regex("1\\.e7e5\tn=1\t[^\n]*cmt=2\n"))) << e4.output;
}

TEST(AnabkEndToEnd, EvalTaskWithStockfish) {
  const std::string stockfish = findStockfish();
  if (stockfish.empty()) GTEST_SKIP() << "no stockfish";
  Session session;
  session.withDefaultData().withFile("games.pgn", kGames).withFile("kestrova.ini", configurationWithEngine(stockfish));
  const RunResult run =
      session.run({}, kMakeBook + "anabk -occ<2 -rnk=end -tsk=eval -ms=1000 -dbg\ny\ny\nexit\n", 60);
  EXPECT_FALSE(run.timedOut);
  EXPECT_TRUE(has(run, "- engine ready\n")) << run.output;
  // Three positions, each with a depth and a score (Stockfish clears its hash table before each
  // search, so a very short time can end before its first report).
  const std::string debug = run.file("anabk-debug.pgn");
  const std::regex evaluation("\\{\\[([wb])/([0-9]+),([+-])([0-9]+)\\]\\}");
  int evaluated = 0;
  for (auto it = std::sregex_iterator(debug.begin(), debug.end(), evaluation); it != std::sregex_iterator(); ++it) {
    EXPECT_GT(std::stoi((*it)[2].str()), 0) << debug;
    ++evaluated;
  }
  EXPECT_EQ(evaluated, 3) << debug;
  EXPECT_TRUE(has(run, "- operation complete\n"));
  const RunResult shown = session.run({}, "showbk\nx\nexit\n");
  const RunResult e4 = session.run({}, "showbk\n" + choiceOf(shown, "e2e4") + "\nx\nexit\n");
  EXPECT_TRUE(std::regex_search(e4.output, std::regex("1\\.e7e5\tn=1\t[^\n]*cmt=[1-7]\n"))) << e4.output;
}

// The program on a pseudo-terminal, as a user at the keyboard runs it.
class Terminal {
 public:
  explicit Terminal(const std::filesystem::path& directory) {
    pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      if (chdir(directory.c_str()) != 0) _exit(127);
      setenv("NO_COLOR", "1", 1);
      execl(KESTROVA_BINARY, KESTROVA_BINARY, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Terminal() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
  }
  bool started() const { return pid_ > 0; }
  void type(const std::string& text) { EXPECT_EQ(write(master_, text.data(), text.size()), static_cast<ssize_t>(text.size())); }
  // Reads until the text has appeared after what earlier waits consumed; false after the time.
  bool waitFor(const std::string& text, int seconds = 30) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
      const std::size_t at = output_.find(text, consumed_);
      if (at != std::string::npos) {
        consumed_ = at + text.size();
        return true;
      }
      if (std::chrono::steady_clock::now() > deadline) return false;
      pollfd fd{master_, POLLIN, 0};
      if (poll(&fd, 1, 100) > 0) {
        char buffer[4096];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) return false;
        output_.append(buffer, static_cast<std::size_t>(n));
      }
    }
  }
  // Waits for the program to end; its exit status, -1 if it did not end normally.
  int finish() {
    // Reads what is left until the terminal closes (read then fails) or the time is up.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      pollfd fd{master_, POLLIN, 0};
      if (poll(&fd, 1, 100) <= 0) continue;
      char buffer[4096];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      output_.append(buffer, static_cast<std::size_t>(n));
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& output() const { return output_; }

 private:
  int master_ = -1;
  pid_t pid_ = -1;
  std::string output_;
  std::size_t consumed_ = 0;
};

TEST(AnabkEndToEnd, EscapeOrCtrlCAtTheKeyboardStopsTheWalkAndTheQuestionsFollow) {
  const std::string engine = fakeEnginePath();
  if (access(engine.c_str(), X_OK) != 0) GTEST_SKIP() << "no " << engine;
  setenv("KESTROVA_FAKE_ENGINE", "movetime", 1);
  for (const char* key : {"\x1b", "\x03"}) {
    Session session;
    session.withDefaultData().withFile("games.pgn", kGames).withFile("kestrova.ini", configurationWithEngine(engine));
    session.run({}, kMakeBook + "exit\n");
    Terminal terminal(session.directory());
    ASSERT_TRUE(terminal.started());
    ASSERT_TRUE(terminal.waitFor("kestrova> "));
    terminal.type("anabk -occ<2 -rnk=end -tsk=eval -ms=1500\n");
    ASSERT_TRUE(terminal.waitFor("- do you want to start the process ? (y,n) : ")) << terminal.output();
    terminal.type("y\n");
    ASSERT_TRUE(terminal.waitFor("[E] ")) << terminal.output();
    terminal.type(key);
    ASSERT_TRUE(terminal.waitFor(" nodes scanned")) << terminal.output();
    ASSERT_TRUE(terminal.waitFor("- do you want to save the evaluations in the current book ? (y,n) : "));
    terminal.type("n\n");
    ASSERT_TRUE(terminal.waitFor("kestrova> ")) << terminal.output();
    terminal.type("exit\n");
    EXPECT_EQ(terminal.finish(), 0) << terminal.output();
    // The walk ended after the position being evaluated; two more would have followed.
    EXPECT_EQ(count(terminal.output(), "[E] "), 1) << terminal.output();
    EXPECT_TRUE(terminal.output().find("- A bientot") != std::string::npos) << terminal.output();
  }
}

}  // namespace
}  // namespace kestrova::e2e
