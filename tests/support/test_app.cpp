#include "support/test_app.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "shell/command_table.hpp"

namespace kestrova::test {

ScratchDir::ScratchDir() : previous_(std::filesystem::current_path()) {
  std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-unit-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  std::filesystem::current_path(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void ScratchDir::write(const std::string& name, const std::string& content) const {
  std::ofstream out(path_ / name, std::ios::binary);
  out << content;
}

std::string ScratchDir::read(const std::string& name) const {
  std::ifstream in(path_ / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool ScratchDir::exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }

std::unique_ptr<App> makeApp(std::string input) {
  return std::make_unique<App>(Console::capturing(), platform::Input(std::move(input)));
}

std::string run(App& app, const std::string& line) {
  app.console.takeCaptured();
  app.commandLine.raw() = line;
  app.commandLine.split(line);
  dispatchCommand(app);
  return app.console.takeCaptured();
}

std::string sourceFile(const std::string& relativePath) {
  std::ifstream in(std::filesystem::path(KESTROVA_SOURCE_DIR) / relativePath, std::ios::binary);
  if (!in) throw std::runtime_error("missing source file " + relativePath);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace kestrova::test
