#include "engine/engine_client.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "chess/attacks.hpp"
#include "chess/fen.hpp"
#include "engine/info_parser.hpp"
#include "platform/clock.hpp"
#include "platform/console.hpp"

namespace kestrova {

namespace {

constexpr int kWriteWaitMs = 1000;
constexpr int kPollSliceMs = 50;  // how often a waiting loop looks at the process again
constexpr int kReadyWaitMs = 3000;
constexpr std::string_view kReadyOk = "readyok";

std::int64_t steadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void closeFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

void setNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

// In the child between fork and exec: only async-signal-safe calls.
void placeAt(int fd, int target) {
  if (fd == target) {
    fcntl(fd, F_SETFD, 0);  // keep it open across exec
  } else {
    dup2(fd, target);
  }
}

// Closes every descriptor from 3 on except `keep`, so that the engine holds none of the
// program's files open.
void closeOtherFiles(int keep, int highest) {
  const bool below = keep <= 3 || close_range(3, static_cast<unsigned>(keep) - 1, 0) == 0;
  if (!below || close_range(static_cast<unsigned>(keep) + 1, ~0U, 0) != 0) {
    for (int fd = 3; fd <= highest; ++fd)
      if (fd != keep) close(fd);
  }
}

void setDefaultSignal(int signal) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
}

// Asks for the nice value; if it is a raise the process may not have, takes the lowest the
// RLIMIT_NICE allows instead, or keeps the priority as it is.
void applyNice(pid_t pid, int nice) {
  if (setpriority(PRIO_PROCESS, static_cast<id_t>(pid), nice) == 0) return;
  errno = 0;
  const int current = getpriority(PRIO_PROCESS, static_cast<id_t>(pid));
  if (errno != 0) return;
  struct rlimit limit {};
  if (getrlimit(RLIMIT_NICE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return;
  const int lowest = 20 - static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 40));
  if (lowest > nice && lowest < current) setpriority(PRIO_PROCESS, static_cast<id_t>(pid), lowest);
}

}  // namespace

EngineClient::~EngineClient() {
  if (pid_ >= 0) terminateEngine();
  closePipes();
}

void EngineClient::createEngineClient(std::string_view commandLine, std::vector<std::string> options) {
  commandLine_.assign(commandLine);
  options_ = std::move(options);
  arguments_.clear();
  std::string word;
  bool quoted = false, inWord = false;
  for (char c : commandLine) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) arguments_.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) arguments_.push_back(std::move(word));
}

bool EngineClient::startEngine(int priority) {
  if (running_) return true;
  // Checked before the log is opened: a program that cannot run leaves no log behind.
  if (arguments_.empty() || access(arguments_[0].c_str(), X_OK) != 0) return false;

  // A write to an engine that has died must come back as an error, not end the program.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);

  int input[2] = {-1, -1};
  int output[2] = {-1, -1};
  int execStatus[2] = {-1, -1};  // closed by a successful exec, carries errno otherwise
  const int logFd = open(kLogFile, O_WRONLY | O_CREAT | O_CLOEXEC | (logStarted_ ? O_APPEND : O_TRUNC), 0644);
  const int errors = logFd >= 0 ? logFd : open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (errors < 0 || pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0 ||
      pipe2(execStatus, O_CLOEXEC) != 0) {
    for (int fd : {errors, input[0], input[1], output[0], output[1], execStatus[0], execStatus[1]})
      if (fd >= 0) close(fd);
    return false;
  }

  std::vector<char*> arguments;
  for (std::string& argument : arguments_) arguments.push_back(argument.data());
  arguments.push_back(nullptr);
  const long openMax = sysconf(_SC_OPEN_MAX);
  const int highestFd = openMax > 0 && openMax < 65536 ? static_cast<int>(openMax) - 1 : 65535;
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    placeAt(input[0], STDIN_FILENO);
    placeAt(output[1], STDOUT_FILENO);
    placeAt(errors, STDERR_FILENO);
    closeOtherFiles(execStatus[1], highestFd);
    setDefaultSignal(SIGPIPE);  // an ignored signal would otherwise stay ignored in the engine
    // A group of its own: Ctrl-C typed at the terminal is the program's to handle (it stops a
    // book analysis), not a signal that kills the engine behind its back.
    setpgid(0, 0);
    // Killed with the program however it ends, even by a signal that leaves no time to stop it:
    // a hanging engine would otherwise think on alone, never reading the end of its input.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
    execv(arguments[0], arguments.data());
    const int error = errno;
    ssize_t ignored = write(execStatus[1], &error, sizeof error);
    (void)ignored;
    _exit(127);
  }

  close(input[0]);
  close(output[1]);
  close(errors);
  close(execStatus[1]);
  logStarted_ = logStarted_ || logFd >= 0;
  if (pid < 0) {
    close(input[1]);
    close(output[0]);
    close(execStatus[0]);
    return false;
  }
  int error = 0;
  ssize_t got;
  do {
    got = read(execStatus[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(execStatus[0]);
  if (got > 0) {  // exec failed: collect the child, which has already exited
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    close(input[1]);
    close(output[0]);
    return false;
  }

  pid_ = pid;
  toEngine_ = input[1];
  fromEngine_ = output[0];
  setNonBlocking(toEngine_);
  setNonBlocking(fromEngine_);
  running_ = true;
  outputEnded_ = false;
  hashMb_ = 0;
  setEnginePriority(priority);
  return true;
}

void EngineClient::setHash(std::uint16_t megabytes) {
  // Stockfish reallocates and clears its table at every Hash option, however small: sent each
  // time, it cost the first searches of a run their time.
  if (megabytes == hashMb_) return;
  char command[64];
  std::snprintf(command, sizeof command, "setoption name Hash value %u\n", static_cast<unsigned>(megabytes));
  if (sendToEngine(command) > 0) hashMb_ = megabytes;
}

void EngineClient::setEnginePriority(int level) {
  if (pid_ < 0) return;
  switch (level) {
    case kIdle:
      applyNice(pid_, 19);
      break;
    case kHigh:
    case kRealTime:
      applyNice(pid_, -20);
      break;
    default:
      applyNice(pid_, 0);
      break;
  }
}

int EngineClient::sendToEngine(std::string_view text) {
  if (!running_ || toEngine_ < 0) return 0;
  const std::int64_t deadline = steadyMs() + kWriteWaitMs;
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = write(toEngine_, text.data() + written, text.size() - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      // An engine that does not read its input must not hang the program.
      const std::int64_t left = deadline - steadyMs();
      if (left <= 0) break;
      pollfd room{toEngine_, POLLOUT, 0};
      if (poll(&room, 1, static_cast<int>(left)) <= 0) break;
      continue;
    }
    break;  // EPIPE: the engine has gone
  }
  return static_cast<int>(written);
}

int EngineClient::readEngineChunk(char (&buffer)[kChunkSize + 1]) {
  buffer[0] = '\0';
  if (!running_ || fromEngine_ < 0 || outputEnded_) return 0;
  pollfd waiting{fromEngine_, POLLIN, 0};
  if (poll(&waiting, 1, 0) <= 0) return 0;
  ssize_t n;
  do {
    n = read(fromEngine_, buffer, kChunkSize);
  } while (n < 0 && errno == EINTR);
  if (n > 0) {
    buffer[n] = '\0';
    return static_cast<int>(n);
  }
  if (n == 0) {
    // End of output: the engine is ending, or has closed its output and can never answer.
    outputEnded_ = true;
    waitForEngine(100);
  }
  return 0;
}

void EngineClient::waitForOutput(int ms) {
  if (!running_ || ms <= 0) return;
  if (outputEnded_) {
    waitForEngine(ms);  // nothing more can come; only the end of the process is of interest
    return;
  }
  pollfd waiting{fromEngine_, POLLIN, 0};
  poll(&waiting, 1, ms);
}

void EngineClient::waitForEngine(int ms) {
  const std::int64_t deadline = steadyMs() + ms;
  while (!collectIfEnded()) {
    const std::int64_t left = deadline - steadyMs();
    if (left <= 0) return;
    platform::sleepMs(static_cast<int>(std::min<std::int64_t>(left, 5)));
  }
}

bool EngineClient::collectIfEnded() {
  if (pid_ < 0) return true;
  int status = 0;
  const pid_t done = waitpid(pid_, &status, WNOHANG);
  if (done == pid_ || (done < 0 && errno == ECHILD)) {
    forgetProcess();
    return true;
  }
  return false;
}

bool EngineClient::terminateEngine() {
  bool killed = true;
  if (pid_ >= 0) {
    killed = kill(pid_, SIGKILL) == 0 || errno == ESRCH;
    if (killed) {
      // SIGKILL cannot be caught, so this wait ends as soon as the kernel has ended the process.
      while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
  }
  forgetProcess();
  return killed;
}

void EngineClient::forgetProcess() {
  pid_ = -1;
  running_ = false;
  outputEnded_ = false;
  closePipes();
}

void EngineClient::closePipes() {
  closeFd(toEngine_);
  closeFd(fromEngine_);
}

namespace {

constexpr std::string_view kBestMove = "bestmove";
constexpr std::string_view kUciOk = "uciok";

// Looks for a word across chunk boundaries: keeps only the few characters that could begin it.
class WordWatch {
 public:
  explicit WordWatch(std::string_view word) : word_(word) {}
  bool add(std::string_view chunk) {
    if (seen_) return true;
    tail_.append(chunk);
    seen_ = tail_.find(word_) != std::string::npos;
    if (tail_.size() >= word_.size()) tail_.erase(0, tail_.size() - (word_.size() - 1));
    return seen_;
  }
  bool seen() const { return seen_; }

 private:
  std::string_view word_;
  std::string tail_;
  bool seen_ = false;
};

// Reads the engine's output until the word comes, the engine dies or the time runs out; what
// comes meanwhile goes to the parser too, when there is one.
bool waitForWord(EngineClient& engine, platform::Timers& timers, int timeoutMs, WordWatch& watch,
                 InfoParser* parser = nullptr, Console* console = nullptr) {
  timers.restartEngineTimer();
  char chunk[EngineClient::kChunkSize + 1];
  for (;;) {
    if (!engine.running()) return false;
    const int n = engine.readEngineChunk(chunk);
    if (n > 0) {
      const std::string_view text(chunk, static_cast<std::size_t>(n));
      if (parser != nullptr) parser->addChunk(text, *console);
      if (watch.add(text)) return true;
    }
    if (!engine.running()) return false;
    const std::int64_t left = timeoutMs - timers.engineElapsedMs();
    if (left <= 0) return false;
    if (n <= 0) engine.waitForOutput(static_cast<int>(std::min<std::int64_t>(left, kPollSliceMs)));
  }
}

}  // namespace

bool waitReady(EngineClient& engine, platform::Timers& timers, int timeoutMs) {
  engine.sendToEngine("isready\n");
  WordWatch ready(kReadyOk);
  return waitForWord(engine, timers, timeoutMs, ready);
}

bool waitUciOk(EngineClient& engine, platform::Timers& timers, int timeoutMs) {
  WordWatch ok(kUciOk);
  return waitForWord(engine, timers, timeoutMs, ok);
}

bool analysePosition(EngineClient& engine, Console& console, platform::Timers& timers,
                     std::string_view fen, int movetimeMs, std::string& pvOut, int& depthOut,
                     int& valueOut, bool show, bool scroll, std::uint16_t hashMb,
                     const std::function<bool()>& stopAsked) {
  depthOut = 0;
  if (!engine.running()) {
    pvOut = "not running";
    return false;
  }
  engine.setEnginePriority(EngineClient::kNormal);
  engine.setHash(hashMb);
  std::string position = "position fen ";
  position.append(fen);
  position += '\n';
  engine.sendToEngine(position);
  pvOut += "no pv";
  // The engine may still be applying the options (a new hash table is allocated and cleared) or
  // loading its network: the thinking time starts once it says it is ready.
  if (!waitReady(engine, timers, kReadyWaitMs)) {
    engine.terminateEngine();
    console.writeText("\n- engine not ready\n", colour::kDefault);
    return false;
  }

  timers.restartEngineTimer();
  char command[64];
  std::snprintf(command, sizeof command, "go movetime %d\n", movetimeMs);
  engine.sendToEngine(command);

  // The client keeps the time itself instead of waiting for the engine's bestmove.
  InfoParser parser(show, scroll);
  WordWatch bestMove(kBestMove);
  char chunk[EngineClient::kChunkSize + 1];
  while (engine.running() && !bestMove.seen()) {
    const std::int64_t left = movetimeMs - timers.engineElapsedMs();
    if (left <= 0 || stopAsked()) break;
    const int n = engine.readEngineChunk(chunk);
    if (n > 0) {
      const std::string_view text(chunk, static_cast<std::size_t>(n));
      parser.addChunk(text, console);
      bestMove.add(text);
    } else {
      engine.waitForOutput(static_cast<int>(std::min<std::int64_t>(left, kPollSliceMs)));
    }
  }

  // The search goes on until its bestmove: the info lines sent after "stop" are its last word
  // (often its deepest), and must not be read as the analysis of the next position. An engine that
  // never ends its search hangs, and is as good as dead.
  if (!bestMove.seen()) engine.sendToEngine("stop\n");
  const bool ended = bestMove.seen() || waitForWord(engine, timers, kReadyWaitMs, bestMove, &parser, &console);
  depthOut = parser.depth();
  valueOut = parser.value();
  if (parser.hasPv()) pvOut = parser.pv();
  if (!ended || !waitReady(engine, timers, kReadyWaitMs)) {
    engine.terminateEngine();
    console.writeText("\n- engine not ready\n", colour::kDefault);
    return false;
  }
  engine.setEnginePriority(EngineClient::kIdle);
  console.writeText("\n", colour::kNormal);
  return true;
}

const char* unfitForEngine(const AttackTables& tables, std::string_view fen) {
  Board board;
  parseFen(board, fen);
  if (board.side != kWhite && board.side != kBlack) return "no side to move";
  const Bitboard whiteKings = board.pieces[kWhite][kKing];
  const Bitboard blackKings = board.pieces[kBlack][kKing];
  if (whiteKings == 0 || blackKings == 0) return "no king";
  if ((whiteKings & (whiteKings - 1)) != 0 || (blackKings & (blackKings - 1)) != 0) return "more than one king of a side";
  // The side to move could take the king.
  const Bitboard waitingKing = board.side == kWhite ? blackKings : whiteKings;
  if (isAttacked(tables, board, board.side, highestSquare(waitingKing))) return "side not to move in check";
  return nullptr;
}

}  // namespace kestrova
