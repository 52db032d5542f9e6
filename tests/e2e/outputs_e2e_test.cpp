// The output files of every writing command: a full disk, two outputs of one name, an output that
// is an input. In each case the command fails (exit status 1) and no file of the directory changes.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "e2e/harness.hpp"
#include "support/engines.hpp"
#include "support/text.hpp"

namespace kestrova::e2e {
namespace {

using test::has;

const std::string kTwo = "[Event \"E\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 1-0\n\n"
                         "[Event \"E\"]\n[White \"B\"]\n[Black \"A\"]\n[Result \"0-1\"]\n\n1. d4 d5 0-1\n\n";
const std::string kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3\n";

using Snapshot = std::map<std::string, std::string>;

// Every file under the directory with its text, but the engine's own log of its run.
Snapshot snapshot(const Session& session) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(session.directory())) {
    if (!entry.is_regular_file() || entry.path().filename() == "engine.log") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().lexically_relative(session.directory())] = {std::istreambuf_iterator<char>(in), {}};
  }
  return files;
}

// The names of the files made, changed or removed since `before`.
std::string changes(const Snapshot& before, const Session& session) {
  Snapshot after = snapshot(session);
  std::string names;
  for (const auto& [name, text] : before) {
    if (!after.contains(name) || after[name] != text) names += name + " ";
    after.erase(name);
  }
  for (const auto& [name, text] : after) names += name + " ";
  return names;
}

// A session holding the inputs of every command and a book made from two.pgn.
void prepare(Session& session) {
  session.withDefaultData("minNbGm=1\nengineFile=" + test::fakeEnginePath() + "\n")
      .withSourceFile("data/sample.pgn", "rr.pgn").withFile("two.pgn", kTwo).withFile("in/a.pgn", kTwo)
      .withFile("e4.epd", kAfterE4).withFile("dup.epd", kAfterE4 + kAfterE4);
  ASSERT_EQ(session.run(words("newbk 1 4 -pgn=two.pgn"), "y\n").exitStatus, 0);
}

std::string drain(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  close(fd);
  return text;
}

struct Limited { std::string out, err; int status = -1; };

// The program with every file it writes held to one byte, as on a full disk: SIGXFSZ is ignored, so
// a write past the limit fails with EFBIG ("File too large"). Its streams are pipes, which the limit
// does not hold; `line` empty runs it at the prompt.
Limited runOnFullDisk(const Session& session, const std::string& line, const std::string& input) {
  int in[2], out[2], err[2];
  if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe failed");
  // Small enough to wait in the pipe for the program.
  if (write(in[1], input.data(), input.size()) != static_cast<ssize_t>(input.size())) throw std::runtime_error("write");
  close(in[1]);
  std::vector<std::string> args = words(line);
  args.insert(args.begin(), KESTROVA_BINARY);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const rlimit oneByte{1, 1};
    std::signal(SIGXFSZ, SIG_IGN);
    if (setrlimit(RLIMIT_FSIZE, &oneByte) != 0 || dup2(in[0], 0) < 0 || dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0 ||
        chdir(session.directory().c_str()) != 0) {
      _exit(126);
    }
    alarm(60);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  Limited run;
  run.out = drain(out[0]);  // the few error lines wait in their pipe meanwhile
  run.err = drain(err[0]);
  int status = 0;
  if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

// A writing command, the first output it fails to write (whose earlier text it must keep, like any
// other file's), and the answers it reads.
struct Writer { std::string line, file, input = ""; int status = 1; };

const Writer kWriters[] = {
    {"open rr.pgn scan", "log.txt"},         {"open rr.pgn syn", "trnfound.txt"},
    {"open rr.pgn elo", "rating.txt"},       {"open rr.pgn givelo -out=rated.pgn", "rating.txt"},
    {"open rr.pgn ftrn", "trnfound.txt"},    {"open rr.pgn ftrn -fmt=html", "trnfound.html"},
    {"open rr.pgn select Round<4", "pgn-out.pgn"}, {"open rr.pgn delete Round<4", "pgn-out.pgn"},
    {"open rr.pgn dbl -sgl", "pgn-out.pgn"}, {"open rr.pgn split -out=lines.pgn", "lines.pgn"},
    {"open rr.pgn cut -ply=3", "pgn-out.pgn"}, {"open rr.pgn setcmt none", "pgn-out.pgn"},
    {"open rr.pgn instxt White=X", "pgn-out.pgn"}, {"open rr.pgn reptxt Site=X", "pgn-out.pgn"},
    {"open rr.pgn setcap White=up", "pgn-out.pgn"}, {"open rr.pgn fenstat", "epd-out.epd"},
    {"merge -dir=in -out=all.pgn", "all.pgn"}, {"open rr.pgn sub -gam=two.pgn -out=rest.pgn", "rest.pgn"},
    {"open two.pgn fepd e4.epd", "epd-1.pgn"}, {"open two.pgn play 1 3 epdsv", "epdsave.epd"},
    {"ddepd -in=dup.epd -out=one.epd", "one.epd"}, {"open two.pgn vfilt -time=20 -out=acc.pgn", "acc.pgn"},
    {"newbk 1 4 -pgn=rr.pgn -out=new.obk -bin=new.bin", "new.obk", "y\n"}, {"openbk book.obk dcmbk", "book.obk", "y\n"},
    {"openbk book.obk -bin=book.bin", "book.bin"},
    {"openbk book.obk anabk -occ<2 -ply=2", "tree.epd", "y\n"},
    {"", "r", "tag\nexit\n", 0},  // the history, at the prompt, where the exit status is always 0
};

TEST(OutputsEndToEnd, OnAFullDiskEveryWriterSaysWhichFileAndWhyAndKeepsTheEarlierOne) {
  Session session;
  prepare(session);
  setenv("KESTROVA_FAKE_ENGINE", "men", 1);
  for (const Writer& writer : kWriters) {
    if (!std::filesystem::exists(session.directory() / writer.file)) session.withFile(writer.file, "earlier\n");
    const auto before = snapshot(session);
    const Limited run = runOnFullDisk(session, writer.line, writer.input);
    EXPECT_EQ(run.status, writer.status) << writer.line;
    EXPECT_TRUE(has(run.err, "\"" + writer.file + "\": File too large")) << writer.line << "\n" << run.err;
    EXPECT_FALSE(has(run.out, "see " + writer.file)) << writer.line;
    EXPECT_EQ(changes(before, session), "") << writer.line;  // no temporary left either
  }
  unsetenv("KESTROVA_FAKE_ENGINE");
}

// The commands whose games are worked on by several threads: what they print and write is what
// one thread prints and writes, byte for byte (newbk reads its games again, after a 'y'). With
// what they show on the 25 copies of the samples' 92 different games: 24 x 92 later copies.
struct Parallel { const char* line; const char* onCopies; };
const Parallel kParallel[] = {
    {"scan", "games read"}, {"syn", "games read"}, {"dbl", "- 2208 doubles have been found"},
    {"dbl -sgl -abs", "- 92 single games"}, {"dbl -chk -out=d.pgn", "- 2208 doubles AND 92 selected games"},
    {"newbk 1 20 -pgn=in.pgn -bin=x.bin", "- book fully created"},
    {"select WhiteElo>2700", "games read"}, {"delete Round<4", "games read"},
    {"instxt White=XXXXXXXX -at=0", "games read"},  // too long for some names: said per game
    {"reptxt Site=Y", "games read"}, {"setcap White=up", "games read"}, {"setcmt none", "games read"},
    {"cut -ply=20", "games read"}, {"fenstat", "games read"}};

// The samples, `copies` times over, with text between games, a game whose movetext cannot be read,
// an illegal one and one larger than the buffers among them: batches end in every kind of place.
std::string corpus(int copies) {
  std::string text;
  for (int i = 0; i < copies; ++i) {
    for (const char* name : {"a_roundrobin", "b_gauntlet", "c_swiss", "d_match", "e_setup"}) {
      text += sourceText(std::string("tests/data/samples/") + name + ".pgn");
      if (copies == 1) continue;
      text += "text between games\n\n[Event \"E\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n1. e4 e5 2. Qxx9 1-0\n\n";
      text += "[Event \"E\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"0-1\"]\n\n1. e4 e5 2. Kf3 Nc6 0-1\n\n";
      text += "[Event \"E\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n\n1. e4 {" + std::string(40000, 'x') + "} 1-0\n\n";
    }
  }
  return text;
}

// The console output without the times it measured.
std::string withoutTimes(std::string text) {
  for (const std::string_view before : {" read in ", "process time : "}) {
    for (std::size_t at = 0; (at = text.find(before, at)) != std::string::npos;) {
      at += before.size();
      const std::size_t end = text.find('s', at);
      text.replace(at, end - at, "T");
    }
  }
  return text;
}

TEST(OutputsEndToEnd, OneTwoAndSevenThreadsWriteTheSameBytes) {
  const std::string files[] = {corpus(1), corpus(25)};  // shorter than one batch; 2,000 games and more
  for (const auto& [line, onCopies] : kParallel) {
    for (const std::string& games : files) {
      std::string firstOutput;
      Snapshot first;
      for (int threads : {1, 2, 7}) {
        Session session;
        session.withDefaultData("threads=" + std::to_string(threads) + "\n").withFile("in.pgn", games);
        const RunResult run = session.run(words(std::string("open in.pgn ") + line), "y\n");
        EXPECT_EQ(run.exitStatus, 0) << line;
        const std::string output = withoutTimes(run.output);
        Snapshot written = snapshot(session);
        written.erase("kestrova.ini");
        if (threads == 1) {
          firstOutput = output;
          first = written;
          EXPECT_TRUE(has(output, "games read") && (&games == &files[0] || has(output, onCopies))) << output;
          continue;
        }
        EXPECT_EQ(output, firstOutput) << line << " on " << threads << " threads";
        EXPECT_EQ(written.size(), first.size()) << line;
        for (const auto& [name, text] : first) EXPECT_TRUE(written[name] == text) << line << ": " << name << ", " << threads;
      }
    }
  }
  // A full disk fails the command and keeps the earlier files, as with one thread.
  Session session;
  session.withDefaultData("threads=7\n").withFile("in.pgn", files[1]).withFile("log.txt", "earlier\n");
  const auto before = snapshot(session);
  const Limited run = runOnFullDisk(session, "open in.pgn scan", "");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(has(run.err, "\"log.txt\": File too large")) << run.err;
  EXPECT_EQ(changes(before, session), "");
}

// Two outputs of one command under one name.
const char* const kTwins[] = {
    "open rr.pgn scan -l=x.txt -e=x.txt",     "open rr.pgn scan -e=./x.epd -p=x.epd", "open rr.pgn scan -p=rating.txt",
    "open rr.pgn syn -out=log.txt",           "open rr.pgn syn -out=trnfound.txt",   "open rr.pgn givelo -out=rating.txt",
    "open rr.pgn sub -gam=two.pgn -out=sub.pgn", "open two.pgn vfilt -out=vfilt.pgn",
    "openbk book.obk anabk -ddup -out=tmp.epd", "openbk book.obk anabk -vfy -out=evaluated.pgn",
    "openbk book.obk anabk -dbg -out=in/../anabk-debug.pgn", "newbk 1 2 -pgn=rr.pgn -bin=./book.obk"};

TEST(OutputsEndToEnd, TwoOutputsOfOneNameAreRefusedBeforeAnyFileChanges) {
  Session session;
  prepare(session);
  for (const std::string line : kTwins) {
    const auto before = snapshot(session);
    const RunResult run = session.run(words(line), "y\ny\n");
    EXPECT_EQ(run.exitStatus, 1) << line << run.output;
    EXPECT_EQ(changes(before, session), "") << line;
  }
}

// Outputs that name a file the command reads: the open file (a copy of two.pgn under the name of
// the fixed output when there is no -out=), or the input after the last "=".
const char* const kInputsAsOutputs[] = {
    "open two.pgn select White=A -out=two.pgn", "open two.pgn delete White=A -out=./two.pgn",
    "open two.pgn instxt White=X -out=two.pgn", "open two.pgn reptxt Site=X -out=two.pgn",
    "open two.pgn setcap White=up -out=two.pgn", "open two.pgn setcmt none -out=two.pgn",
    "open two.pgn cut -ply=2 -out=two.pgn",    "open two.pgn dbl -sgl -out=two.pgn",
    "open two.pgn split -out=two.pgn",         "open two.pgn givelo -out=two.pgn",
    "open rating.txt givelo",                  "open two.pgn elo -out=two.pgn",
    "open two.pgn syn -out=two.pgn",           "open two.pgn scan -l=two.pgn",
    "open two.pgn scan -e=two.pgn",            "open two.pgn scan -p=two.pgn",
    "open trnfound.txt ftrn",                  "open epd-1.pgn fepd e4.epd",
    "open epd-out.epd fenstat",                "open epdsave.epd epdsv",
    "open two.pgn sub -gam=rr.pgn -out=two.pgn", "open two.pgn vfilt -out=two.pgn",
    "open two.pgn merge -dir=in -out=two.pgn", "open two.pgn newbk 1 2 -pgn=rr.pgn -out=two.pgn",
    "open two.pgn openbk book.obk anabk -out=two.pgn",
    // Other inputs: the games to remove, a merged file, the positions, the games of the book, the
    // book, the history and the configuration.
    "open two.pgn sub -gam=rr.pgn -out=rr.pgn", "merge -dir=in -out=in/b.pgn",
    "ddepd -in=dup.epd -out=dup.epd",          "newbk 1 2 -pgn=rr.pgn -out=rr.pgn",
    "openbk book.obk anabk -out=book.obk",     "open two.pgn select White=A -out=r",
    "newbk 1 2 -pgn=rr.pgn -bin=rr.pgn",       "openbk book.obk -bin=book.obk",
    "open two.pgn scan -l=kestrova.ini"};

TEST(OutputsEndToEnd, AnOutputThatIsAnInputIsRefusedBeforeAnyFileChanges) {
  Session session;
  prepare(session);
  session.withFile("r", "board\n");
  for (const char* copy : {"rating.txt", "trnfound.txt", "epd-1.pgn", "epd-out.epd", "epdsave.epd"}) {
    session.withFile(copy, kTwo);
  }
  setenv("KESTROVA_FAKE_ENGINE", "men", 1);
  for (const std::string line : kInputsAsOutputs) {
    const auto before = snapshot(session);
    const RunResult run = session.run(words(line), "y\ny\n");
    EXPECT_EQ(run.exitStatus, 1) << line << run.output;
    EXPECT_EQ(changes(before, session), "") << line;
  }
  unsetenv("KESTROVA_FAKE_ENGINE");
}

}  // namespace
}  // namespace kestrova::e2e
