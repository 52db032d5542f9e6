// The prompt at a terminal: the program runs on a pseudo-terminal and is typed at, keys and all.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <string>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

// The program on the slave side of a pseudo-terminal; the test types and reads on the master side.
struct Terminal {
  explicit Terminal(const Session& session) : pid(forkpty(&master, nullptr, nullptr, nullptr)) {
    if (pid == 0) {
      setenv("NO_COLOR", "1", 1);  // plain text to look for, and no ~/.editrc of the user's
      setenv("HOME", session.directory().c_str(), 1);
      if (chdir(session.directory().c_str()) == 0) execl(KESTROVA_BINARY, KESTROVA_BINARY, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Terminal() {
    if (pid > 0 && kill(pid, SIGKILL) == 0) waitpid(pid, nullptr, 0);
    close(master);
  }
  void type(const std::string& keys) { ASSERT_EQ(write(master, keys.data(), keys.size()), ssize_t(keys.size())); }
  // Reads until `text` is shown after `from` and returns where it ends; npos when the program
  // closed the terminal or showed nothing for a minute (a bound for a busy machine, not a timing).
  std::size_t waitFor(const std::string& text, std::size_t from) {
    for (char buffer[4096]; from != std::string::npos;) {
      if (const std::size_t at = shown.find(text, from); at != std::string::npos) return at + text.size();
      pollfd ready{master, POLLIN, 0};
      const ssize_t got = poll(&ready, 1, 60000) == 1 ? read(master, buffer, sizeof buffer) : -1;
      if (got <= 0) break;
      shown.append(buffer, static_cast<std::size_t>(got));
    }
    return std::string::npos;
  }

  int master = -1;
  pid_t pid;
  std::string shown;
};

// 1234 = 1024 + 128 + 64 + 16 + 2 and 5 = 4 + 1, as the 64 binary digits of bin.
const std::string k1234 = std::string(53, '0') + "10011010010";
const std::string k5 = std::string(61, '0') + "101";

TEST(TerminalEndToEnd, UpArrowRecallsTheLastLineAndCtrlCDropsTheLineTyped) {
  Session session;
  session.withDefaultData();
  Terminal terminal(session);
  std::size_t at = terminal.waitFor("kestrova> ", 0);
  terminal.type("bin 1234\r");
  at = terminal.waitFor("kestrova> ", terminal.waitFor(k1234, at));
  terminal.type("\x1b[A\r");  // the up arrow brings the line back, Enter runs it again
  at = terminal.waitFor("kestrova> ", terminal.waitFor(k1234, at));
  ASSERT_NE(at, std::string::npos) << terminal.shown;
  // Ctrl-C, the terminal's interrupt key, drops the line typed so far for a fresh prompt; the
  // next command runs to its end.
  terminal.type("bin 77");
  at = terminal.waitFor("bin 77", at);
  terminal.type("\x03");
  at = terminal.waitFor("kestrova> ", at);
  terminal.type("bin 5\r");
  at = terminal.waitFor("kestrova> ", terminal.waitFor(k5, at));
  ASSERT_NE(at, std::string::npos) << terminal.shown;
  terminal.type("\x04");  // Ctrl-D on an empty line leaves as exit does
  EXPECT_NE(terminal.waitFor("- A bientot ;o)...", at), std::string::npos) << terminal.shown;
  int status = -1;
  ASSERT_EQ(waitpid(terminal.pid, &status, 0), terminal.pid);
  terminal.pid = -1;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  // The line run twice is stored once, the dropped line not at all.
  std::ifstream history(session.directory() / "r");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(history), {}), "bin 5\nbin 1234\n");
}

}  // namespace
}  // namespace kestrova::e2e
