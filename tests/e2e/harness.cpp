#include "e2e/harness.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kestrova::e2e {

namespace {
std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
}  // namespace

std::string RunResult::file(const std::string& name) const { return slurp(directory / name); }

bool RunResult::hasFile(const std::string& name) const { return std::filesystem::exists(directory / name); }

std::vector<std::string> RunResult::files() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

Session::Session() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-e2e-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  directory_ = pattern;
}

Session::~Session() {
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

Session& Session::withFile(const std::string& name, const std::string& content) {
  std::ofstream out(directory_ / name, std::ios::binary);
  out << content;
  return *this;
}

Session& Session::withSourceFile(const std::string& relativePath, const std::string& name) {
  const std::filesystem::path source = std::filesystem::path(KESTROVA_SOURCE_DIR) / relativePath;
  if (!std::filesystem::exists(source)) throw std::runtime_error("missing source file " + relativePath);
  return withFile(name.empty() ? source.filename().string() : name, slurp(source));
}

Session& Session::withDefaultData() {
  withSourceFile("data/kestrova.ini");
  return withSourceFile("data/help.man");
}

RunResult Session::run(const std::vector<std::string>& arguments, const std::string& input, int timeLimitSeconds) {
  int toChild[2];
  int fromChild[2];
  if (pipe(toChild) != 0 || pipe(fromChild) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(toChild[0], STDIN_FILENO);
    dup2(fromChild[1], STDOUT_FILENO);
    dup2(fromChild[1], STDERR_FILENO);
    close(toChild[0]);
    close(toChild[1]);
    close(fromChild[0]);
    close(fromChild[1]);
    if (chdir(directory_.c_str()) != 0) _exit(126);
    std::vector<std::string> args{KESTROVA_BINARY};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(KESTROVA_BINARY, argv.data());
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);
  signal(SIGPIPE, SIG_IGN);
  fcntl(toChild[1], F_SETFL, O_NONBLOCK);

  RunResult result;
  result.directory = directory_;
  std::size_t written = 0;
  bool inputOpen = true;
  if (input.empty()) {
    close(toChild[1]);
    inputOpen = false;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeLimitSeconds);
  char buffer[65536];
  for (;;) {
    pollfd fds[2] = {{fromChild[0], POLLIN, 0}, {inputOpen ? toChild[1] : -1, POLLOUT, 0}};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    if (poll(fds, 2, static_cast<int>(std::min<long long>(left.count(), 1000))) < 0) continue;
    if (inputOpen && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t n = write(toChild[1], input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 || written == input.size()) {
        close(toChild[1]);
        inputOpen = false;
      }
    }
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      const ssize_t n = read(fromChild[0], buffer, sizeof buffer);
      if (n <= 0) break;
      result.output.append(buffer, static_cast<std::size_t>(n));
    }
  }
  if (inputOpen) close(toChild[1]);
  close(fromChild[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!result.timedOut && WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  return result;
}

}  // namespace kestrova::e2e
