// The engine as a child process: start-up, analyses by the scripted engine and Stockfish, failures.
#include "engine/engine_client.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <regex>

#include "engine/engine_lifecycle.hpp"
#include "engine/info_parser.hpp"
#include "platform/clock.hpp"
#include "platform/console.hpp"
#include "support/engines.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

const std::string kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am -";

// Starts the engine (the scripted one in the mode it reads from its environment).
bool start(EngineClient& engine, const char* mode, const std::string& path = test::fakeEnginePath()) {
  setenv("KESTROVA_FAKE_ENGINE", mode, 1);
  engine.createEngineClient(path);
  return engine.startEngine(EngineClient::kNormal);
}

// No process, not even a zombie, is left with this id.
bool processGone(pid_t pid) { return kill(pid, 0) == -1 && errno == ESRCH; }

struct Analysis {
  bool ok = false;
  int depth = -1, value = -777;  // the value is left as it was when no engine runs
  std::string pv, printed;
};

Analysis analyse(EngineClient& engine, const std::string& fen = kStart, int ms = 300, bool show = false) {
  Console console = Console::capturing();
  platform::Timers timers;
  Analysis a;
  a.ok = analysePosition(engine, console, timers, fen, ms, a.pv, a.depth, a.value, show, show, 16);
  a.printed = console.takeCaptured();
  return a;
}

TEST(EngineStartUp, LoadsTheEngineAtIdlePriorityOrSaysThereIsNone) {
  Console console = Console::capturing();
  EngineClient engine;
  platform::Timers timers;
  startConfiguredEngine(engine, "/dev/null", {}, timers, console);  // no program
  EXPECT_TRUE(console.takeCaptured() == "- no chess engine loaded\n" && engine.processId() == -1);
  setenv("KESTROVA_FAKE_ENGINE", "normal", 1);
  startConfiguredEngine(engine, test::fakeEnginePath(), {}, timers, console);
  EXPECT_EQ(console.takeCaptured(), "- a chess engine (" + test::fakeEnginePath() + ") has been successfully loaded !\n"
                                    "> you may have to use 'exit' in order to correctly unload the engine\n");
  const pid_t pid = engine.processId();
  EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(pid)), 19);
  // Of two info lines the last counts.
  const Analysis a = analyse(engine);
  EXPECT_TRUE(a.ok && a.depth == 13 && a.value == -20 && a.pv == "d7d5" && a.printed == "\n" &&
              getpriority(PRIO_PROCESS, static_cast<id_t>(pid)) == 19) << "idle again";
  stopEngine(engine);
  EXPECT_TRUE(!engine.running() && processGone(pid)) << "killed at the exit";
}

TEST(EngineAnalysis, AnEngineThatIsNotReadyOrEndsIsKilledOrCollectedAndNotRestarted) {
  EngineClient engine;
  platform::Timers timers;
  for (const std::string mode : {"neverready", "dies:0"}) {
    ASSERT_TRUE(start(engine, mode.c_str()));
    const pid_t pid = engine.processId();
    EXPECT_TRUE(waitReady(engine, timers, mode == "dies:0" ? 10000 : 200) == (mode == "dies:0") && engine.running())
        << "the check alone only gives up";
    const Analysis a = analyse(engine);
    EXPECT_TRUE(!a.ok && a.printed == "\n- engine not ready\n" && !engine.running() && processGone(pid)) << mode;
    // The engine that is never ready is stopped before it searches (the value is left as it was);
    // the exiting engine never ended its line.
    EXPECT_EQ(std::tuple(a.depth, a.value), mode == "dies:0" ? std::tuple(0, 12345) : std::tuple(0, -777));
    const Analysis none = analyse(engine);  // no restart; the value is left as it was
    EXPECT_TRUE(!none.ok && none.pv == "not running" && none.depth == 0 && none.value == -777 && none.printed.empty());
  }
}

TEST(EngineAnalysis, StockfishFindsTheMateAndALevelStart) {
  const std::string stockfish = test::findStockfish();
  if (stockfish.empty()) GTEST_SKIP() << "stockfish not installed";
  EngineClient engine;
  ASSERT_TRUE(start(engine, "", stockfish));
  engine.sendToEngine("uci\n");
  platform::Timers timers;
  ASSERT_TRUE(waitReady(engine, timers, 20000)) << "the network loads slowly on a busy machine";
  // Back-rank mate in one, Ra8#: "score mate 1"; after it Black is mated: "mate 0", without a depth.
  Analysis a = analyse(engine, "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 500);
  EXPECT_TRUE(a.ok && a.depth > 0 && formatValue(a.value) == "M1" && a.pv.starts_with("a1a8")) << a.pv;
  a = analyse(engine, "R5k1/5ppp/8/8/8/8/8/6K1 b - - 1 1", 300);
  EXPECT_TRUE(a.ok && formatValue(a.value) == "-M0") << a.value;
  // The start position in the program's own text, about level; the variations shown one a line.
  a = analyse(engine, kStart, 500, true);
  EXPECT_TRUE(a.ok && a.depth > 0 && a.value > -100 && a.value < 100) << a.value;
  EXPECT_TRUE(std::regex_match(a.pv, std::regex("[a-h][1-8][a-h][1-8]( [a-h][1-8][a-h][1-8][qrbn]?)*")) &&
              a.printed.find("\nd=") != std::string::npos) << a.pv;
}

TEST(EngineClientProcess, LeavesNoZombieTakesNoSignalAndSharesNoFile) {
  test::ScratchDir dir;
  std::FILE* held = std::fopen((dir.path() / "held.txt").c_str(), "w");  // inheritable
  EngineClient engine;
  ASSERT_TRUE(start(engine, "normal"));
  const pid_t pid = engine.processId();
  const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
  std::error_code gone;  // the engine may close a descriptor of its own meanwhile
  for (const auto& entry : std::filesystem::directory_iterator(fds, gone))
    EXPECT_NE(std::filesystem::read_symlink(entry.path(), gone).filename(), "held.txt");
  EXPECT_EQ(std::filesystem::read_symlink(fds + "/2"), dir.path() / "engine.log") << "a chatty engine blocks on no pipe";
  std::fclose(held);
  EXPECT_TRUE(engine.terminateEngine() && !engine.running() && processGone(pid) &&
              waitpid(pid, nullptr, WNOHANG) == -1 && errno == ECHILD);
  ASSERT_TRUE(start(engine, "vanish"));
  const pid_t vanished = engine.processId();
  // Its pipes close a moment after it ends; from then on a write fails with EPIPE, never with SIGPIPE.
  int written = 1;
  for (int tries = 0; written > 0 && tries < 500; ++tries, platform::sleepMs(10))
    written = engine.sendToEngine("uci\n");
  EXPECT_EQ(written, 0);
  engine.waitForEngine(5000);
  EXPECT_TRUE(!engine.running() && processGone(vanished));
}

}  // namespace
}  // namespace kestrova
