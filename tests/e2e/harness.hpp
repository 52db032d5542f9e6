#pragma once
// Runs the built program in a fresh temporary working directory with given files, arguments and
// standard input, and returns its console output and the files it left behind.
#include <filesystem>
#include <string>
#include <vector>

namespace kestrova::e2e {

// A file of the source tree ("data/kestrova.ini", "tests/data/samples/d_match.pgn").
std::string sourceText(const std::string& relativePath);
// The words of a command line ("open games.pgn scan") as batch arguments.
std::vector<std::string> words(const std::string& line);

struct RunResult {
  std::string output;  // standard output and standard error, interleaved as written
  int exitStatus = -1; // -1 when the program did not exit normally (signal, time limit)
  bool timedOut = false;
  std::filesystem::path directory;

  std::string file(const std::string& name) const;  // "" when missing
  std::vector<std::string> files() const;  // sorted names
};

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Session& withFile(const std::string& name, const std::string& content);  // folders are made as needed
  // A file of the source tree, under its base name or the given name.
  Session& withSourceFile(const std::string& relativePath, const std::string& name = "");
  // The default configuration with `extraLines` after it (a later line wins), and the help file.
  Session& withDefaultData(const std::string& extraLines = "");
  // Runs share the directory: a second run sees the files of the first.
  RunResult run(const std::vector<std::string>& arguments, const std::string& input = "", int timeLimitSeconds = 60,
                const std::string& program = KESTROVA_BINARY);
  // Runs with the output through a small pipe and sends Ctrl-C (SIGINT) once `shown` has been
  // printed. The run cannot finish meanwhile when more than the pipe holds follows `shown`: it
  // waits for the reader, which reads on only after the signal.
  RunResult runInterrupted(const std::vector<std::string>& arguments, const std::string& shown);
  const std::filesystem::path& directory() const { return directory_; }

 private:
  std::filesystem::path directory_;
};

}  // namespace kestrova::e2e
