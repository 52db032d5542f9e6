#include "engine/engine_client.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>

#include "engine/engine_lifecycle.hpp"
#include "platform/clock.hpp"
#include "platform/console.hpp"
#include "shell/settings.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

const std::string kFakeEngine = KESTROVA_FAKE_ENGINE;
const char* const kStartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am -";

// Starts the fake engine in the given mode (it reads the mode from its environment).
bool startFake(EngineClient& engine, const char* mode) {
  setenv("KESTROVA_FAKE_ENGINE", mode, 1);
  engine.createEngineClient(kFakeEngine);
  return engine.startEngine(EngineClient::kNormal);
}

// True when no process, not even a zombie, is left with this id.
bool processGone(pid_t pid) { return kill(pid, 0) == -1 && errno == ESRCH; }

struct Analysis {
  bool ok = false;
  std::string pv;
  int depth = -1;
  int value = -777;
  std::string printed;
  std::int64_t ms = 0;
};

Analysis analyse(EngineClient& engine, int movetimeMs, bool show = false, bool scroll = false) {
  Console console = Console::capturing();
  platform::Timers timers;
  Analysis result;
  const std::int64_t start = timers.nowMs();
  result.ok = analysePosition(engine, console, timers, kStartFen, movetimeMs, result.pv,
                              result.depth, result.value, show, scroll, 16);
  result.ms = timers.nowMs() - start;
  result.printed = console.takeCaptured();
  return result;
}

TEST(EngineStartUp, PathsThatCannotRunLoadNoEngine) {
  test::ScratchDir dir;
  dir.write("not-executable", "#!/bin/sh\n");
  for (const std::string& path :
       {std::string(), std::string("/nonexistent/engine"), dir.path().string(),
        (dir.path() / "not-executable").string()}) {
    SCOPED_TRACE(path);
    Console console = Console::capturing();
    Settings settings;
    settings.engineFile = path;
    EngineClient engine;
    startConfiguredEngine(engine, settings, console);
    EXPECT_EQ(console.takeCaptured(), "- no chess engine loaded\n");
    EXPECT_FALSE(engine.running());
    EXPECT_EQ(engine.processId(), -1);

    Analysis result = analyse(engine, 100);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.pv, "not running");
    EXPECT_EQ(result.depth, 0);
    EXPECT_EQ(result.value, -777) << "left as it was";
    EXPECT_EQ(result.printed, "");
  }
}

TEST(EngineStartUp, LoadsTheEngineAtIdlePriorityAndTheExitKillsIt) {
  setenv("KESTROVA_FAKE_ENGINE", "normal", 1);
  Console console = Console::capturing();
  Settings settings;
  settings.engineFile = kFakeEngine;
  EngineClient engine;
  startConfiguredEngine(engine, settings, console);
  EXPECT_EQ(console.takeCaptured(),
            "- a chess engine (" + kFakeEngine + ") has been successfully loaded !\n"
            "> you may have to use 'exit' in order to correctly unload the engine\n");
  ASSERT_TRUE(engine.running());
  const pid_t pid = engine.processId();
  errno = 0;
  EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(pid)), 19);

  // The answers to "uci" are still in the pipe and do not disturb the first analysis.
  Analysis result = analyse(engine, 150);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.depth, 12);
  EXPECT_EQ(result.value, -35);
  EXPECT_EQ(result.pv, "e7e5 g1f3");
  EXPECT_EQ(result.printed, "\n");
  EXPECT_EQ(getpriority(PRIO_PROCESS, static_cast<id_t>(pid)), 19);  // idle again

  stopEngine(engine);
  EXPECT_FALSE(engine.running());
  EXPECT_TRUE(processGone(pid));
}

TEST(EngineAnalysis, ReadsDepthValueAndVariationAsTheEngineSendsThem) {
  struct Case {
    const char* mode;
    int depth;
    int value;
    std::string pv;
  };
  std::string longPv;
  for (int i = 0; i < 300; ++i) longPv += "e2e4 ";
  const Case cases[] = {
      {"noscore", 4, 12345, "no pv"},
      {"split", 9, 27, "d2d4 d7d5"},
      {"longpv", 20, 15, longPv.substr(0, 1023)},
      {"chatty", 12, -35, "e7e5 g1f3"},  // 2 MB on standard error block nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    EngineClient engine;
    ASSERT_TRUE(startFake(engine, c.mode));
    const std::clock_t before = std::clock();
    Analysis result = analyse(engine, 200);
    EXPECT_LT(1000.0 * static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC, 150.0) << "waiting burns no core";
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.depth, c.depth);
    EXPECT_EQ(result.value, c.value);
    EXPECT_EQ(result.pv, c.pv);
    EXPECT_EQ(result.printed, "\n");
    EXPECT_GE(result.ms, 200);
    EXPECT_TRUE(engine.running());
  }
}

TEST(EngineAnalysis, ShowsEveryVariationReadOverTheSameLine) {
  EngineClient engine;
  ASSERT_TRUE(startFake(engine, "display"));
  Analysis result = analyse(engine, 150, true, false);
  const std::string overwrite = "\r" + std::string(78, ' ') + "\r";
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.printed,
            overwrite + "d=1\tv=20\te2e4" + overwrite + "d=2\tv=-5\td2d4 d7d5" + overwrite +
                "d=3\tv=31\te2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5 ...\n");
  EXPECT_EQ(result.pv, "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5 a4b3 d7d6");
}

TEST(EngineFailures, AnEngineThatIsNeverReadyIsKilledASplitReadyokIsFound) {
  EngineClient engine;
  ASSERT_TRUE(startFake(engine, "neverready"));
  const pid_t pid = engine.processId();
  platform::Timers timers;
  const std::int64_t start = timers.nowMs();
  EXPECT_FALSE(waitReady(engine, timers, 200));  // the check alone only gives up
  EXPECT_LT(timers.nowMs() - start, 1000);
  EXPECT_TRUE(engine.running());

  Analysis result = analyse(engine, 100);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.printed, "\n- engine not ready\n");
  EXPECT_EQ(result.depth, 12);  // what was read before "stop" is still handed back
  EXPECT_EQ(result.pv, "e7e5 g1f3");
  EXPECT_GE(result.ms, 3100);
  EXPECT_LT(result.ms, 4500);
  EXPECT_FALSE(engine.running());
  EXPECT_TRUE(processGone(pid));

  Analysis again = analyse(engine, 100);  // no restart
  EXPECT_FALSE(again.ok);
  EXPECT_EQ(again.pv, "not running");

  // 2,041 bytes of noise put "rea" at the end of the first 2,044-byte text and "dyok" in the next.
  ASSERT_TRUE(startFake(engine, "flood"));
  EXPECT_TRUE(waitReady(engine, timers, 1000));
}

TEST(EngineFailures, AnEngineExitingInTheMiddleOfAnAnalysisIsCollected) {
  EngineClient engine;
  ASSERT_TRUE(startFake(engine, "exits"));
  const pid_t pid = engine.processId();
  Analysis result = analyse(engine, 2000);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.printed, "\n- engine not ready\n");
  EXPECT_EQ(result.depth, 0);  // its one line never ended
  EXPECT_EQ(result.value, 12345);
  EXPECT_EQ(result.pv, "no pv");
  EXPECT_LT(result.ms, 1000);  // the end of the engine is noticed, not waited out
  EXPECT_FALSE(engine.running());
  EXPECT_TRUE(processGone(pid));
}

TEST(EngineClientProcess, TerminateOrDeathLeavesNoZombieAndNoSignal) {
  EngineClient engine;
  ASSERT_TRUE(startFake(engine, "normal"));
  const pid_t pid = engine.processId();
  EXPECT_TRUE(engine.startEngine(EngineClient::kNormal));  // already running: same process
  EXPECT_EQ(engine.processId(), pid);
  EXPECT_TRUE(engine.terminateEngine());
  EXPECT_FALSE(engine.running());
  EXPECT_TRUE(processGone(pid));
  EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);

  ASSERT_TRUE(startFake(engine, "vanish"));
  const pid_t vanished = engine.processId();
  platform::sleepMs(100);
  EXPECT_EQ(engine.sendToEngine("uci\n"), 0) << "EPIPE instead of SIGPIPE";
  engine.waitForEngine(1000);
  EXPECT_FALSE(engine.running());
  EXPECT_TRUE(processGone(vanished));
}

TEST(EngineClientProcess, TheEngineInheritsNoneOfTheProgramsFiles) {
  test::ScratchDir dir;
  std::FILE* held = std::fopen((dir.path() / "held.txt").c_str(), "w");  // inheritable
  ASSERT_NE(held, nullptr);
  EngineClient engine;
  ASSERT_TRUE(startFake(engine, "normal"));
  const std::string fds = "/proc/" + std::to_string(engine.processId()) + "/fd";
  std::set<std::string> targets;
  std::error_code gone;  // the engine may close a descriptor of its own meanwhile
  for (const auto& entry : std::filesystem::directory_iterator(fds, gone))
    targets.insert(std::filesystem::read_symlink(entry.path(), gone).filename().string());
  EXPECT_EQ(targets.count("held.txt"), 0u);
  EXPECT_EQ(std::filesystem::read_symlink(fds + "/2"), "/dev/null");
  std::fclose(held);
}

}  // namespace
}  // namespace kestrova
