// The shell end to end: start-up, prompt loop, history and recall, batch mode, exit.
#include <gtest/gtest.h>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const std::string kFarewell = "- A bientot ;o)...\n\n";
const std::string kUnknown =
    "- unknown command or missing parameter\n- Please, type 'help' or ' /?'just after the command name for more informations";

const std::string kFive = std::string(61, '0') + "101";
const std::string kSix = std::string(61, '0') + "110";

TEST(ShellEndToEnd, StartsWithBannerAndEndsAtEndOfInput) {
  Session session;
  session.withDefaultData();
  const RunResult run = session.run({}, "scna\nBIN 5\n");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output.find("+---------------------+\n| kestrova 0.92       |\n+---------------------+\n"), 0u);
  EXPECT_NE(run.output.find("\n\n[SYSTEM]\n"), std::string::npos);
  EXPECT_NE(run.output.find("\n[INFO]\n- type 'help' for informations on Kestrova's commands\n"), std::string::npos);
  EXPECT_NE(run.output.find("\n\nkestrova> "), std::string::npos);
  EXPECT_EQ(count(run.output, kUnknown), 1);
  EXPECT_NE(run.output.find(kFive), std::string::npos) << "a capitalised command word is taken";
  EXPECT_EQ(run.output.substr(run.output.size() - kFarewell.size()), kFarewell);
  EXPECT_EQ(run.output.find('\x1b'), std::string::npos) << "no colour escapes in a pipe";
}

TEST(ShellEndToEnd, MissingConfigurationAndOverlongLine) {
  Session session;
  const RunResult run = session.run({}, "bin 5" + std::string(250, ' ') + "exit and more\nbin 6\n");
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(run.output.find("> can not open \"kestrova.ini\"\n"), std::string::npos);
  EXPECT_NE(run.output.find(kSix), std::string::npos) << "the run went on after the long line";
  EXPECT_EQ(count(run.output, kFarewell), 1);
  EXPECT_EQ(count(run.output, kUnknown), 0);
}

TEST(ShellEndToEnd, HistoryIsKeptOnceAndRecallRunsAnEntry) {
  Session session;
  const RunResult first = session.run({}, "bin 5\n bin 7\nbin 5\nr\nrecall\nx\n");
  EXPECT_EQ(first.file("r"), " bin 7\nbin 5\n");
  EXPECT_EQ(count(first.output, std::string(61, '0') + "111"), 0) << "a line with a leading blank does nothing";
  const RunResult second = session.run({}, "r\n0\na\n2\n");
  const std::string menu = "\n1 :  bin 7\n2 : bin 5\nx : to exit this mode\n\n\n- please enter a number of the list : ";
  EXPECT_EQ(count(second.output, menu), 3);  // shown, shown again after 0 and after a
  EXPECT_NE(second.output.find("\n\nkestrova> bin 5\n" + kFive), std::string::npos);
  EXPECT_EQ(second.file("r"), " bin 7\nbin 5\n");
  // An unused entry runs an empty line; end of input leaves the menu.
  session.withFile("r", "bin 1\nbin 2\n");
  const RunResult unused = session.run({}, "recall\n3\nrecall\n");
  EXPECT_EQ(unused.exitStatus, 0);
  EXPECT_EQ(count(unused.output, kUnknown), 0);
  EXPECT_EQ(count(unused.output, kFarewell), 1);
}

TEST(ShellEndToEnd, BatchGroupsArgumentsUnderCaseSensitiveCommandWords) {
  Session session;
  session.withDefaultData();
  const RunResult run = session.run({"bin", "5", "exit", "bin", "6"});
  EXPECT_EQ(run.exitStatus, 0);
  ASSERT_NE(run.output.find(kSix), std::string::npos) << "exit does not end a batch";
  EXPECT_LT(run.output.find(kFive), run.output.find(kSix));
  EXPECT_EQ(count(run.output, kFarewell), 1);
  EXPECT_EQ(run.output.find("kestrova> "), std::string::npos);
  EXPECT_FALSE(run.hasFile("r")) << "batch mode keeps no history";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"Bin", "5"}, {"file.pgn", "bin", "5"}, {"recall"}}) {
    const RunResult other = session.run(args);
    EXPECT_EQ(other.exitStatus, 0);
    EXPECT_EQ(other.output.find(kFive), std::string::npos);
    EXPECT_EQ(count(other.output, kFarewell), 1);
  }
}

TEST(ShellEndToEnd, HelpFollowsTheLanguageOfTheConfiguration) {
  Session session;
  session.withSourceFile("data/help.man").withFile("kestrova.ini", "lang=5\n");
  const RunResult russian = session.run({"help"});
  EXPECT_EQ(russian.output.find("- command"), std::string::npos);
  EXPECT_EQ(russian.output.find("SCAN AND RATINGS"), std::string::npos);
  session.withFile("kestrova.ini", "lang=0\n");
  EXPECT_NE(session.run({"help"}).output.find("SCAN AND RATINGS"), std::string::npos);
}

}  // namespace
}  // namespace kestrova::e2e
