// Every command that reads files, run over files made to break readers (scripts/make-hostile-files);
// each run must end normally with the farewell, and the sanitizer build catches overruns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/harness.hpp"

namespace kestrova::e2e {
namespace {

constexpr const char* kFarewell = "- A bientot ;o)...";
constexpr int kTimeLimitSeconds = 60;

// Buffers large enough for the nested files, with the comment texts kept.
const std::string kLargeBuffers = "gBufSz=4000000\nprintCmt=1\nbkHashSz=64\n";

const std::vector<std::string> kPgnFiles = {"nul-bytes.pgn", "long-lines.pgn", "nested-comments.pgn",
                                           "nested-variations.pgn", "many-tags.pgn", "long-game.pgn",
                                           "binary-garbage.pgn", "garbage-with-tags.pgn", "odd-games.pgn",
                                           "line-ends.pgn", "empty.pgn"};

// Writes the named hostile files into the session's folder "hostile".
void generate(Session& session, const std::vector<std::string>& names) {
  std::string command = "'" KESTROVA_SOURCE_DIR "/scripts/make-hostile-files' '" +
                        (session.directory() / "hostile").string() + "'";
  for (const std::string& name : names) command += " '" + name + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::string tail(const std::string& output) { return output.substr(output.size() > 3000 ? output.size() - 3000 : 0); }

// The run ended by itself, with status 0, and said goodbye.
void expectNormalEnd(const RunResult& run, const std::string& what) {
  EXPECT_FALSE(run.timedOut) << what << " did not end within " << kTimeLimitSeconds << " s";
  EXPECT_EQ(run.exitStatus, 0) << what << "\n" << tail(run.output);
  EXPECT_NE(run.output.find(kFarewell), std::string::npos) << what << " ended without the farewell\n"
                                                             << tail(run.output);
}

std::vector<std::string> withFile(std::vector<std::string> arguments, const std::string& file) {
  for (std::string& argument : arguments) {
    if (argument == "FILE") argument = file;
    const std::size_t at = argument.find("=FILE");
    if (at != std::string::npos) argument.replace(at + 1, 4, file);
  }
  return arguments;
}

// Runs the command lines (batch arguments with FILE for the hostile file) over every PGN file,
// under the named configuration.
void runOverEveryPgnFile(Session& session, const std::string& label, const std::string& configuration,
                         const std::vector<std::string>& arguments, const std::string& input) {
  session.withFile("kestrova.ini", configuration);
  for (const std::string& name : kPgnFiles) {
    const std::string file = "hostile/" + name;
    const RunResult run = session.run(withFile(arguments, file), input, kTimeLimitSeconds);
    expectNormalEnd(run, name + " with " + label);
  }
}

std::string sourceText(const std::string& relativePath) {
  std::ifstream in(std::filesystem::path(KESTROVA_SOURCE_DIR) / relativePath, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class HostileFiles : public ::testing::Test {
 protected:
  void SetUp() override { session.withDefaultData(); }
  Session session;
  // Lines appended to it win over its own (the settings pass applies every line in turn).
  const std::string defaultConfiguration = sourceText("data/kestrova.ini") + "\n";
};

// The commands of the PGN store: open, show, play, debug (stopped with "x") and cmem.
const std::vector<std::string> kPgnStoreCommands = {
    "open", "FILE", "show", "1", "play", "1", "5", "debug", "1", "cmem", "16", "show", "2",
    "play", "2", "1000", "debug", "2", "after", "last", "play", "3", "40", "show", "999"};

TEST_F(HostileFiles, PgnStoreCommandsEndNormally) {
  generate(session, kPgnFiles);
  runOverEveryPgnFile(session, "the default configuration", defaultConfiguration, kPgnStoreCommands, "x\n\n\n");
  runOverEveryPgnFile(session, "large buffers", defaultConfiguration + kLargeBuffers, kPgnStoreCommands, "x\n\n\n");
}

// The commands of the other subsystems that read the open file (or a file given to them).
const std::vector<std::string> kOtherCommands = {
    "open",  "FILE", "scan", "syn", "elo", "givelo", "cut", "-ply=20", "dbl", "dbl", "-abs", "-sgl",
    "sub",   "-gam=FILE", "ftrn", "select", "white", "A", "tag", "fenstat", "epdsv",
    "newbk", "2",    "12",   "-pgn=FILE", "-out=hostile.obk", "!"};

TEST_F(HostileFiles, OtherReadingCommandsEndNormally) {
  generate(session, kPgnFiles);
  std::vector<std::string> withSplit = kOtherCommands;
  withSplit.insert(withSplit.begin() + 6, "split");
  runOverEveryPgnFile(session, "the default configuration", defaultConfiguration, withSplit, "y\ny\n");
  // Not split: on 100,000 nested variations it writes gigabytes, until it is bounded.
  runOverEveryPgnFile(session, "large buffers", defaultConfiguration + kLargeBuffers, kOtherCommands, "y\ny\n");
}

TEST_F(HostileFiles, MergeOfTheirDirectoryEndsNormally) {
  generate(session, kPgnFiles);
  const RunResult run = session.run({"open", "hostile/odd-games.pgn", "merge", "-dir=hostile", "-out=merged.pgn",
                                     "open", "merged.pgn", "show", "3"},
                                    "", kTimeLimitSeconds);
  expectNormalEnd(run, "merge");
  EXPECT_NE(run.output.find("> PGN files scan completed\n"), std::string::npos) << tail(run.output);
}

TEST_F(HostileFiles, BooksAreLoadedOrRefusedWithTheirMessages) {
  std::vector<std::string> books;
  for (const char* name : {"sound", "truncated", "truncated-tables", "truncated-records", "truncated-records-32",
                           "overclaim", "overclaim-32", "hugeclaim", "overflowclaim", "negativeclaim", "empty",
                           "garbage", "garbage-sections", "long-line"}) {
    books.push_back(std::string("book-") + name + ".obk");
  }
  generate(session, books);
  for (const std::string& name : books) {
    const bool narrow = name.find("-32.") != std::string::npos;
    session.withFile("kestrova.ini", defaultConfiguration + (narrow ? "bkHashSz=32\n" : "bkHashSz=64\n"));
    // Loaded at start-up as "book.obk" and by openbk; browsed, its comments erased and saved.
    std::filesystem::copy_file(session.directory() / "hostile" / name, session.directory() / "book.obk",
                               std::filesystem::copy_options::overwrite_existing);
    const RunResult run = session.run({"openbk", "hostile/" + name, "showbk", "dcmbk", "openbk", "book.obk", "showbk"},
                                      "1\n\nx\ny\nx\n", kTimeLimitSeconds);
    expectNormalEnd(run, name);
  }
}

TEST_F(HostileFiles, ConfigurationAndHelpFilesAreReadWithTheirMessages) {
  generate(session, {"hostile.ini", "hostile.man", "odd-games.pgn"});
  std::filesystem::copy_file(session.directory() / "hostile" / "hostile.ini", session.directory() / "kestrova.ini",
                             std::filesystem::copy_options::overwrite_existing);
  std::filesystem::copy_file(session.directory() / "hostile" / "hostile.man", session.directory() / "help.man",
                             std::filesystem::copy_options::overwrite_existing);
  const RunResult run = session.run({"help", "open", "/?", "elo", "/?", "lang", "open", "hostile/odd-games.pgn",
                                     "show", "9", "play", "3", "2", "verbose", "on", "bin", "99999999999999999999999"},
                                    "5\n", kTimeLimitSeconds);
  expectNormalEnd(run, "hostile configuration and help file");
}

}  // namespace
}  // namespace kestrova::e2e
