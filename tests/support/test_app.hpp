#pragma once
// A fresh application for unit tests: captured console, scripted input, scratch directory.
#include <filesystem>
#include <memory>
#include <string>

#include "shell/app.hpp"

namespace kestrova::test {

// Creates an empty temporary directory, makes it the working directory, and restores the
// previous one (removing the directory) when it goes out of scope.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// An application whose console writes into a text and whose input is the given text.
std::unique_ptr<App> makeApp(std::string input = "");

// Runs one command line on the application and returns what it printed.
std::string run(App& app, const std::string& line);

// The content of a file of the source tree's data/ folder or of tests/data.
std::string sourceFile(const std::string& relativePath);

}  // namespace kestrova::test
