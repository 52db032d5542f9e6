// The prompt at a terminal: the program runs on a pseudo-terminal and is typed at, keys and all.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <string>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

// The program started on the slave side of a pseudo-terminal; the test holds the master side.
class Terminal {
 public:
  explicit Terminal(const Session& session) {
    pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      // No colours and no ~/.editrc of the user's: plain text to look for.
      setenv("NO_COLOR", "1", 1);
      setenv("HOME", session.directory().c_str(), 1);
      if (chdir(session.directory().c_str()) != 0) _exit(126);
      execl(KESTROVA_BINARY, KESTROVA_BINARY, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Terminal() {
    if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
  }
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  bool started() const { return pid_ > 0; }
  void type(const std::string& keys) { ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size())); }

  // Reads what the program shows until `text` appears after `from`; returns the end of it, or npos
  // when the program ended or a minute passed first (a generous bound for a busy machine).
  std::size_t waitFor(const std::string& text, std::size_t from) {
    if (from == std::string::npos) return from;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
      const std::size_t at = shown_.find(text, from);
      if (at != std::string::npos) return at + text.size();
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd ready{master_, POLLIN, 0};
      if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) return std::string::npos;
      char buffer[4096];
      const ssize_t got = read(master_, buffer, sizeof buffer);
      if (got <= 0) return std::string::npos;  // EIO: the program closed the terminal
      shown_.append(buffer, static_cast<std::size_t>(got));
    }
  }
  // Waits for the program to end (its terminal closes first); -1 unless it exited.
  int exitStatus() {
    waitFor("\x01never shown", shown_.size());
    int status = 0;
    if (waitpid(pid_, &status, 0) != pid_ || !WIFEXITED(status)) return -1;
    pid_ = -1;
    return WEXITSTATUS(status);
  }
  const std::string& shown() const { return shown_; }

 private:
  int master_ = -1;
  pid_t pid_ = -1;
  std::string shown_;
};

// 1234 = 1024 + 128 + 64 + 16 + 2 and 5 = 4 + 1, as the 64 binary digits bin prints.
const std::string k1234 = std::string(53, '0') + "10011010010";
const std::string k5 = std::string(61, '0') + "101";

TEST(TerminalEndToEnd, UpArrowRecallsTheLastLineAndCtrlCDropsTheLineTyped) {
  Session session;
  session.withDefaultData();
  Terminal terminal(session);
  ASSERT_TRUE(terminal.started());
  std::size_t at = terminal.waitFor("kestrova> ", 0);
  ASSERT_NE(at, std::string::npos) << terminal.shown();
  terminal.type("bin 1234\r");
  at = terminal.waitFor("kestrova> ", terminal.waitFor(k1234, at));
  ASSERT_NE(at, std::string::npos) << terminal.shown();
  terminal.type("\x1b[A\r");  // the up arrow brings the line back, Enter runs it again
  at = terminal.waitFor("kestrova> ", terminal.waitFor(k1234, at));
  ASSERT_NE(at, std::string::npos) << terminal.shown();
  // Ctrl-C (the terminal's interrupt key) at the prompt drops the line typed so far and gives a fresh
  // prompt, and the next command runs to its end.
  terminal.type("bin 77");
  at = terminal.waitFor("bin 77", at);
  terminal.type("\x03");
  at = terminal.waitFor("kestrova> ", at);
  ASSERT_NE(at, std::string::npos) << terminal.shown();
  terminal.type("bin 5\r");
  at = terminal.waitFor("kestrova> ", terminal.waitFor(k5, at));
  ASSERT_NE(at, std::string::npos) << terminal.shown();
  terminal.type("\x04");  // Ctrl-D on an empty line leaves as exit does
  EXPECT_EQ(terminal.exitStatus(), 0) << terminal.shown();
  EXPECT_NE(terminal.shown().find("- A bientot ;o)...", at), std::string::npos) << terminal.shown();
  // The line run twice is stored once, the line dropped not at all.
  std::ifstream history(session.directory() / "r");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(history), {}), "bin 5\nbin 1234\n");
}

}  // namespace
}  // namespace kestrova::e2e
