#pragma once
// The UCI engine as a child process: its pipes, its priority, and the one analysis exchange.
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/interrupt.hpp"

namespace kestrova {

struct AttackTables;
class Console;
namespace platform {
struct Timers;
}

class EngineClient {
 public:
  static constexpr std::size_t kChunkSize = 4;  // bytes taken from the engine per read
  // Priority levels; any other value means normal.
  static constexpr int kIdle = 0;
  static constexpr int kNormal = 2;
  static constexpr int kHigh = 4;
  static constexpr int kRealTime = 5;

  EngineClient() = default;
  // Kills an engine still running, so that no child outlives the program.
  ~EngineClient();
  EngineClient(const EngineClient&) = delete;
  EngineClient& operator=(const EngineClient&) = delete;

  static constexpr const char* kLogFile = "engine.log";

  // Keeps the engine's command line: its path and arguments, separated by blanks (a word in
  // double quotes may hold blanks), as engine testers give it to cutechess or fastchess. Its
  // standard input and output are pipes to this client; its standard error goes to "engine.log"
  // in the working directory, where its complaints are kept and never block it.
  // The options ("Name=Value") are kept for whoever introduces the engine, at each start.
  void createEngineClient(std::string_view commandLine, std::vector<std::string> options = {});

  // Starts the engine in the program's working directory, unless it already runs; false when
  // there is no command or its program cannot be executed. Returns whether it runs.
  bool startEngine(int priority);

  // Sends "setoption name Hash" unless the engine has that size already (since it started).
  void setHash(std::uint16_t megabytes);

  // Idle is nice 19, normal nice 0, high and real-time the lowest nice value allowed; a
  // priority that cannot be had is silently kept as it was.
  void setEnginePriority(int level);

  // Writes the text to the engine's standard input, waiting at most a second for room in the
  // pipe; returns the bytes written (0 when the engine is gone).
  int sendToEngine(std::string_view text);

  // Reads at most 4 bytes of waiting output and terminates them with a zero byte; 0 when
  // nothing waits. Never blocks. Notices the end of an engine that exited by itself.
  int readEngineChunk(char (&buffer)[kChunkSize + 1]);

  // Sleeps until the engine has output waiting or has ended, at most `ms` milliseconds, so
  // that polling loops do not spin while the engine thinks.
  void waitForOutput(int ms);

  // Waits at most `ms` milliseconds for the engine process to end (and collects it if it does).
  void waitForEngine(int ms);

  // Kills the engine (SIGKILL), collects the process and closes the pipes; the client is no
  // longer running. False if the process could not be killed.
  bool terminateEngine();

  bool running() const { return running_; }
  const std::string& commandLine() const { return commandLine_; }
  const std::vector<std::string>& options() const { return options_; }
  // The engine's process id while one exists (started and not yet collected), else -1.
  pid_t processId() const { return pid_; }

 private:
  bool collectIfEnded();
  void forgetProcess();
  void closePipes();

  std::string commandLine_;
  std::vector<std::string> arguments_;  // the program first
  std::vector<std::string> options_;
  bool logStarted_ = false;             // the log is emptied at the first start only
  std::uint16_t hashMb_ = 0;            // the engine's hash size as set by this client; 0 unknown
  pid_t pid_ = -1;
  int toEngine_ = -1;
  int fromEngine_ = -1;
  bool running_ = false;
  bool outputEnded_ = false;  // the engine closed its standard output
};

// Sends "isready" and waits up to `timeoutMs` for "readyok"; false when the time is up, the
// engine is not running or it stops running.
bool waitReady(EngineClient& engine, platform::Timers& timers, int timeoutMs);

// Waits up to `timeoutMs` for the "uciok" that ends the engine's answer to "uci".
bool waitUciOk(EngineClient& engine, platform::Timers& timers, int timeoutMs);

// Has the engine think about the position for `movetimeMs` milliseconds (counted from its
// readyok) and reads what it reports up to its bestmove. `depthOut`, `valueOut` and `pvOut` are
// those of the last info line with a score: the value in centipawns or a mate value (see
// kMateValue), 12345 if none (left as it was when no engine runs); the variation, "no pv", or
// "not running". `stopAsked` is polled while the engine thinks: once it says yes the
// search is cut short, and the engine is brought back to rest (its bestmove, then readyok) as
// after a full search, so that it stays usable. True when the engine ended its search and
// answered readyok; an engine that does not, within 3 seconds each, counts as hanging and is
// killed.
bool analysePosition(EngineClient& engine, Console& console, platform::Timers& timers,
                     std::string_view fen, int movetimeMs, std::string& pvOut, int& depthOut,
                     int& valueOut, bool show, bool scroll, std::uint16_t hashMb,
                     const std::function<bool()>& stopAsked = platform::interruptRequested);

// Why a position must not be sent to an engine, which may crash on it: "no king", "more than one
// king of a side", "side not to move in check" or "no side to move"; null when it may be sent.
const char* unfitForEngine(const AttackTables& tables, std::string_view fen);

}  // namespace kestrova
