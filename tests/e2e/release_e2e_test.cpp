// The program as a Linux user installs and starts it: --help and --version, and an installed tree
// (cmake --install into a temporary prefix) whose help works from any working directory.
#include <gtest/gtest.h>

#include <cstdlib>

#include "e2e/harness.hpp"
#include "support/text.hpp"

namespace kestrova::e2e {
namespace {

namespace fs = std::filesystem;
using test::count;
using test::has;

TEST(ReleaseEndToEnd, OptionsOfTheFirstArgument) {
  Session session;
  session.withDefaultData();
  const RunResult version = session.run({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.output, "kestrova 0.92\n");
  EXPECT_EQ(version.files(), (std::vector<std::string>{"help.man", "kestrova.ini"})) << "nothing started";
  const RunResult help = session.run({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_EQ(help.output.find("Usage: kestrova [COMMAND [ARGUMENT]...]...\n"), 0u) << help.output;
  EXPECT_TRUE(has(help.output, "  --version   show the version and exit\n"));
  EXPECT_FALSE(has(help.output, "[SYSTEM]")) << "the program does not start";
  const RunResult wrong = session.run({"--frobnicate"});
  EXPECT_EQ(wrong.exitStatus, 2);
  EXPECT_EQ(wrong.output, "kestrova: unknown option '--frobnicate'\nTry 'kestrova --help' for more information.\n");
  // Later options are arguments of the batch's commands.
  const RunResult batch = session.run({"bin", "5", "--version"});
  EXPECT_EQ(batch.exitStatus, 0);
  EXPECT_TRUE(has(batch.output, std::string(61, '0') + "101")) << batch.output;
  EXPECT_FALSE(has(batch.output, "kestrova 0.92\n"));
}

TEST(ReleaseEndToEnd, TheInstalledTreeWorksFromAnyDirectory) {
  Session prefix, work;  // the install prefix; a working directory without help file or configuration
  const fs::path root = prefix.directory();
  // Its errors reach the test's log through standard error.
  const std::string install = "cmake --install '" + fs::path(KESTROVA_BINARY).parent_path().string() + "' --prefix '" +
                              root.string() + "' > /dev/null";
  ASSERT_EQ(std::system(install.c_str()), 0);
  EXPECT_TRUE(fs::exists(root / "include" / "vellum.h"));
  bool library = false;
  for (const auto& entry : fs::recursive_directory_iterator(root)) library |= entry.path().filename() == "libvellum.so";
  EXPECT_TRUE(library);
  for (const char* name : {"help.man", "kestrova.ini", "sample.pgn"}) {
    EXPECT_TRUE(fs::exists(root / "share/kestrova" / name)) << name;
  }

  const std::string installed = root / "bin" / "kestrova";
  EXPECT_EQ(work.run({"--version"}, "", 60, installed).output, "kestrova 0.92\n");
  const std::string output = work.run(words("help select /? exit"), "", 60, installed).output;
  EXPECT_TRUE(has(output, "Kestrova works on one PGN file at a time, the PGN file in memory (see\n")) << output;
  EXPECT_TRUE(has(output, "syntax : select <criterion> [and|or <criterion>] [-out=file]\n"));
  EXPECT_EQ(count(output, "> can not open \"kestrova.ini\"\n"), 1) << "read once, and only from the working directory";
  // A help file of the working directory comes first.
  work.withFile("help.man", "[ENG]\nhelp\n-LONG\nthe local help\n-END\n");
  const std::string local = work.run({"help"}, "", 60, installed).output;
  EXPECT_TRUE(has(local, "the local help\n")) << local;
  EXPECT_FALSE(has(local, "Kestrova works on one PGN file"));
}

}  // namespace
}  // namespace kestrova::e2e
