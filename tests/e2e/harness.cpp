#include "e2e/harness.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace kestrova::e2e {

namespace {
std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

std::string sourceText(const std::string& relativePath) {
  const std::filesystem::path source = std::filesystem::path(KESTROVA_SOURCE_DIR) / relativePath;
  if (!std::filesystem::exists(source)) throw std::runtime_error("missing source file " + relativePath);
  return slurp(source);
}

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  return {std::istream_iterator<std::string>(in), {}};
}

std::string RunResult::file(const std::string& name) const { return slurp(directory / name); }

std::vector<std::string> RunResult::files() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) names.push_back(entry.path().filename());
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
  for (const char* end : {"", ".in", ".out"}) std::filesystem::remove_all(directory_.string() + end, ignored);
}

Session& Session::withFile(const std::string& name, const std::string& content) {
  std::filesystem::create_directories((directory_ / name).parent_path());
  std::ofstream(directory_ / name, std::ios::binary) << content;
  return *this;
}

Session& Session::withSourceFile(const std::string& relativePath, const std::string& name) {
  return withFile(name.empty() ? std::filesystem::path(relativePath).filename().string() : name,
                  sourceText(relativePath));
}

Session& Session::withDefaultData(const std::string& extraLines) {
  return withFile("kestrova.ini", sourceText("data/kestrova.ini") + "\n" + extraLines).withSourceFile("data/help.man");
}

RunResult Session::run(const std::vector<std::string>& arguments, const std::string& input, int timeLimitSeconds,
                       const std::string& program) {
  // Standard input and output are files beside the working directory: no pipe can fill up.
  const std::string in = directory_.string() + ".in", out = directory_.string() + ".out";
  std::ofstream(in, std::ios::binary) << input;
  std::vector<std::string> args{program};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int from = open(in.c_str(), O_RDONLY), to = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (dup2(from, 0) < 0 || dup2(to, 1) < 0 || dup2(to, 2) < 0 || chdir(directory_.c_str()) != 0) _exit(126);
    // The user's own configuration never reaches a test: a run reads only what its directory holds.
    setenv("XDG_CONFIG_HOME", (directory_ / ".config").c_str(), 1);
    alarm(static_cast<unsigned>(timeLimitSeconds));  // SIGALRM outlives exec and ends a run that hangs
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) throw std::runtime_error("the program could not be run");
  const bool timedOut = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
  return {slurp(out), WIFEXITED(status) ? WEXITSTATUS(status) : -1, timedOut, directory_};
}

RunResult Session::runInterrupted(const std::vector<std::string>& arguments, const std::string& shown) {
  std::vector<std::string> args{KESTROVA_BINARY};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
  fcntl(pipeEnds[0], F_SETPIPE_SZ, 4096);
  const pid_t pid = fork();
  if (pid == 0) {
    const int from = open("/dev/null", O_RDONLY);
    if (dup2(from, 0) < 0 || dup2(pipeEnds[1], 1) < 0 || dup2(pipeEnds[1], 2) < 0 || chdir(directory_.c_str()) != 0) {
      _exit(126);
    }
    close(pipeEnds[0]);
    setenv("XDG_CONFIG_HOME", (directory_ / ".config").c_str(), 1);
    alarm(120);
    execv(KESTROVA_BINARY, argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  std::string output;
  char buffer[512];
  bool sent = false;
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(got));
    if (!sent && output.find(shown) != std::string::npos) sent = kill(pid, SIGINT) == 0;
  }
  close(pipeEnds[0]);
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) throw std::runtime_error("the program could not be run");
  return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1, WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM,
          directory_};
}

}  // namespace kestrova::e2e
