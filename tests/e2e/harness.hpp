#pragma once
// Runs the built program in a fresh temporary working directory with given files, arguments and
// standard input, and returns its console output and the files it left behind.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kestrova::e2e {

struct RunResult {
  std::string output;  // standard output and standard error, interleaved as written
  int exitStatus = -1; // -1 when the program did not exit normally (signal, time limit)
  bool timedOut = false;
  std::filesystem::path directory;

  // The content of a file in the working directory after the run ("" when missing).
  std::string file(const std::string& name) const;
  bool hasFile(const std::string& name) const;
  // Names of the files in the working directory after the run, sorted.
  std::vector<std::string> files() const;
};

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Files placed in the working directory before the run.
  Session& withFile(const std::string& name, const std::string& content);
  // A file of the source tree (for instance "data/help.man") copied in under its base name or
  // the given name.
  Session& withSourceFile(const std::string& relativePath, const std::string& name = "");
  // The default configuration and help file of data/.
  Session& withDefaultData();

  // Runs the program with the arguments and the standard input; several runs share the
  // directory, so a second run sees the files of the first.
  RunResult run(const std::vector<std::string>& arguments, const std::string& input = "",
          int timeLimitSeconds = 60);

  const std::filesystem::path& directory() const { return directory_; }

 private:
  std::filesystem::path directory_;
};

}  // namespace kestrova::e2e
