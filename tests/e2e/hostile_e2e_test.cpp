// Every command that reads files, run over files made to break readers (scripts/make-hostile-files): PGN
// files, books, a configuration and a help file. Each run must end normally; the sanitizer build catches overruns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "e2e/harness.hpp"
#include "support/text.hpp"

namespace kestrova::e2e {
namespace {

namespace fs = std::filesystem;

// Buffers large enough for the nested files, with the comment texts kept.
const std::string kLargeBuffers = "gBufSz=4000000\nprintCmt=1\nbkHashSz=64\n";

class HostileFiles : public ::testing::Test {
 protected:
  // All the hostile files, in the folder "hostile".
  HostileFiles() {
    const std::string command = "'" KESTROVA_SOURCE_DIR "/scripts/make-hostile-files' '" + folder.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  }
  // The run ended by itself, with status 0 or 1 (a command may fail on such a file), and said goodbye.
  void runToTheEnd(const std::string& what, const std::vector<std::string>& arguments, const std::string& input) {
    const RunResult run = session.run(arguments, input);
    const std::string tail = run.output.substr(run.output.size() - std::min<std::size_t>(run.output.size(), 3000));
    EXPECT_TRUE((run.exitStatus == 0 || run.exitStatus == 1) && test::has(run.output, "- A bientot ;o)..."))
        << what << (run.timedOut ? " did not end\n" : "\n") << tail;
  }
  // The command line over every PGN file (FILE in its words), with the extra settings.
  void overEveryPgnFile(const std::string& settings, const std::string& line, const std::string& input) {
    session.withDefaultData(settings);
    for (const std::string& name : names) {
      if (!name.ends_with(".pgn")) continue;
      std::vector<std::string> arguments = words(line);
      for (std::string& word : arguments) {
        if (const std::size_t at = word.find("FILE"); at != std::string::npos) word.replace(at, 4, "hostile/" + name);
      }
      runToTheEnd(name + " with " + line + " and " + settings, arguments, input);
    }
  }
  Session session;
  const fs::path folder = session.directory() / "hostile";
  std::set<std::string> names;
};

TEST_F(HostileFiles, ReadingCommandsEndNormally) {
  // The PGN store; debug is stopped with "x".
  const std::string store =
      "open FILE show 1 play 1 5 debug 1 cmem 16 show 2 play 2 1000 debug 2 after last play 3 40 show 999";
  // The other subsystems that read the open file or a file given to them.
  const std::string others = "open FILE scan syn elo givelo cut -ply=20 dbl dbl -abs -sgl sub -gam=FILE ftrn "
                             "select white A tag fenstat epdsv newbk 2 12 -pgn=FILE -out=hostile.obk !";
  for (const std::string& settings : {std::string(), kLargeBuffers}) overEveryPgnFile(settings, store, "x\n\n\n");
  // split only with the shipped buffers: on 100,000 nested variations it writes gigabytes.
  overEveryPgnFile("", others + " open FILE split", "y\ny\n");
  overEveryPgnFile(kLargeBuffers, others, "y\ny\n");
  runToTheEnd("merge", words("open hostile/odd-games.pgn merge -dir=hostile -out=all.pgn open all.pgn show 3"), "");
  fs::copy_file(folder / "hostile.ini", session.directory() / "kestrova.ini", fs::copy_options::overwrite_existing);
  fs::copy_file(folder / "hostile.man", session.directory() / "help.man", fs::copy_options::overwrite_existing);
  runToTheEnd("hostile.ini and hostile.man", words("help open /? elo /? lang open hostile/odd-games.pgn show 9 "
                                                   "play 3 2 verbose on bin 99999999999999999999999"), "5\n");
}

TEST_F(HostileFiles, BooksAreLoadedOrRefusedWithTheirMessages) {
  for (const std::string& name : names) {
    if (!name.ends_with(".obk")) continue;
    session.withDefaultData(name.ends_with("-32.obk") ? "bkHashSz=32\n" : "bkHashSz=64\n");
    // Loaded at start-up as "book.obk" and by openbk; browsed, its comments erased and saved.
    fs::copy_file(folder / name, session.directory() / "book.obk", fs::copy_options::overwrite_existing);
    runToTheEnd(name, words("openbk hostile/" + name + " showbk dcmbk openbk book.obk showbk"), "1\n\nx\ny\nx\n");
  }
}

}  // namespace
}  // namespace kestrova::e2e
