// The program as a Linux user installs and starts it: --help and --version, and an installed tree
// (cmake --install into a temporary prefix) whose help and configuration are found from any
// working directory.
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
  EXPECT_TRUE(fs::exists(root / "share/man/man1/kestrova.1"));
  EXPECT_TRUE(fs::exists(root / "share/bash-completion/completions/kestrova"));

  const std::string installed = root / "bin" / "kestrova";
  EXPECT_EQ(work.run({"--version"}, "", 60, installed).output, "kestrova 0.92\n");
  const std::string output = work.run(words("help select /? exit"), "", 60, installed).output;
  EXPECT_TRUE(has(output, "Kestrova works on one PGN file at a time, the PGN file in memory (see\n")) << output;
  EXPECT_TRUE(has(output, "syntax : select <criterion> [and|or <criterion>] [-out=file]\n"));
  // The configuration: the working directory's, else the user's, else the installed one.
  const std::string installedIni = (fs::canonical(root) / "share/kestrova/kestrova.ini").string();
  EXPECT_EQ(count(output, "- configuration read from \"" + installedIni + "\"\n"), 1) << output;
  work.withFile(".config/kestrova/kestrova.ini", "gBufSz=2k\n# engineFile=/usr/games/stockfish\n");
  const std::string user = work.run({"exit"}, "", 60, installed).output;
  EXPECT_TRUE(has(user, "- configuration read from \"" + (work.directory() / ".config/kestrova/kestrova.ini").string()));
  EXPECT_TRUE(has(user, "> gBufSz=2k in kestrova.ini") && has(user, "- no chess engine loaded\n")) << user;
  work.withFile("kestrova.ini", "gBufSz=1k\n");
  const std::string own = work.run({"exit"}, "", 60, installed).output;
  EXPECT_TRUE(has(own, "- configuration read from \"kestrova.ini\"\n") && has(own, "> gBufSz=1k in")) << own;
  // A help file of the working directory comes first.
  work.withFile("help.man", "[ENG]\nhelp\n-LONG\nthe local help\n-END\n");
  const std::string local = work.run({"help"}, "", 60, installed).output;
  EXPECT_TRUE(has(local, "the local help\n")) << local;
  EXPECT_FALSE(has(local, "Kestrova works on one PGN file"));
}

}  // namespace
}  // namespace kestrova::e2e
