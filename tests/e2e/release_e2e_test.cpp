// The program as a Linux user installs and starts it: --help and --version, and an installed tree
// (cmake --install into a temporary prefix) whose help works from any working directory.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

namespace fs = std::filesystem;

bool has(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

TEST(ReleaseEndToEnd, VersionPrintsTheVersionAloneAndExitsZero) {
  Session session;
  session.withDefaultData();
  const RunResult run = session.run({"--version"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output, "kestrova 0.92\n");
  // Nothing started: no history file, no book, no engine.
  EXPECT_EQ(run.files(), (std::vector<std::string>{"help.man", "kestrova.ini"}));
}

TEST(ReleaseEndToEnd, HelpPrintsTheUsageAndExitsZero) {
  Session session;
  const RunResult run = session.run({"--help"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output.find("Usage: kestrova [COMMAND [ARGUMENT]...]...\n"), 0u) << run.output;
  EXPECT_TRUE(has(run.output, "  --version   show the version and exit\n"));
  EXPECT_TRUE(has(run.output, "    kestrova open games.pgn scan exit\n"));
  EXPECT_FALSE(has(run.output, "[SYSTEM]")) << "the program does not start";
  EXPECT_TRUE(run.files().empty());
}

TEST(ReleaseEndToEnd, AnUnknownOptionIsAnErrorAndCommandWordsStillRunInBatch) {
  Session session;
  session.withDefaultData();
  const RunResult wrong = session.run({"--frobnicate"});
  EXPECT_EQ(wrong.exitStatus, 2);
  EXPECT_EQ(wrong.output, "kestrova: unknown option '--frobnicate'\nTry 'kestrova --help' for more information.\n");
  // Options are recognised as the first argument only; later ones are batch arguments.
  const RunResult batch = session.run({"bin", "5", "--version"});
  EXPECT_EQ(batch.exitStatus, 0);
  EXPECT_TRUE(has(batch.output, std::string(61, '0') + "101")) << batch.output;
  EXPECT_FALSE(has(batch.output, "kestrova 0.92\n"));
}

// Runs a shell command; its output (standard output and error) goes to `output`.
int shell(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return -1;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

class InstalledTree : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path build = fs::path(KESTROVA_BINARY).parent_path();
    std::string output;
    const int status = shell("cmake --install " + quoted(build) + " --prefix " + quoted(prefix.directory()), output);
    ASSERT_EQ(status, 0) << output;
  }
  // Runs the installed program in a working directory.
  std::string runInstalled(const fs::path& workingDirectory, const std::string& arguments) {
    std::string output;
    shell("cd " + quoted(workingDirectory) + " && " + quoted(prefix.directory() / "bin" / "kestrova") + " " +
              arguments + " </dev/null",
          output);
    return output;
  }
  Session prefix;  // the install prefix
  Session work;    // a working directory without help file or configuration
};

TEST_F(InstalledTree, HoldsTheProgramTheLibraryTheHeaderAndTheDefaultFiles) {
  const fs::path root = prefix.directory();
  EXPECT_TRUE(fs::exists(root / "bin" / "kestrova"));
  bool library = false;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    library = library || entry.path().filename() == "libvellum.so";
  }
  EXPECT_TRUE(library);
  EXPECT_TRUE(fs::exists(root / "include" / "vellum.h"));
  for (const char* name : {"help.man", "kestrova.ini", "sample.pgn"}) {
    EXPECT_TRUE(fs::exists(root / "share" / "kestrova" / name)) << name;
  }
}

TEST_F(InstalledTree, HelpComesFromTheInstalledFileAndTheConfigurationOnlyFromTheWorkingDirectory) {
  const std::string output = runInstalled(work.directory(), "help select /? exit");
  EXPECT_TRUE(has(output, "Kestrova works on one PGN file at a time, the PGN file in memory (see\n")) << output;
  EXPECT_TRUE(has(output, "syntax : select <criterion> [and|or <criterion>] [-out=file]\n"));
  EXPECT_FALSE(has(output, "unable to open the help file"));
  EXPECT_TRUE(has(output, "> can not open \"kestrova.ini\"\n")) << "the installed configuration is not read";
}

TEST_F(InstalledTree, AHelpFileInTheWorkingDirectoryComesFirst) {
  work.withFile("help.man", "[ENG]\nhelp\n-LONG\nthe local help\n-END\n");
  const std::string output = runInstalled(work.directory(), "help exit");
  EXPECT_TRUE(has(output, "the local help\n")) << output;
  EXPECT_FALSE(has(output, "Kestrova works on one PGN file"));
}

TEST_F(InstalledTree, VersionFromTheInstalledProgram) {
  EXPECT_EQ(runInstalled(work.directory(), "--version"), "kestrova 0.92\n");
}

}  // namespace
}  // namespace kestrova::e2e
