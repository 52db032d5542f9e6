// Each command word through the whole program, on the bundled samples and small files whose
// results are worked out by hand; the checks of detail are the unit tests' business.
#include <gtest/gtest.h>

#include <cstdlib>

#include "e2e/harness.hpp"
#include "support/engines.hpp"
#include "support/text.hpp"

namespace kestrova::e2e {
namespace {

using test::count;
using test::has;

// A game; with an Elo for White, Black has 2500.
std::string game(const std::string& white, const std::string& black, const std::string& result,
                 const std::string& moves, const std::string& whiteElo = "") {
  const std::string elos = whiteElo.empty() ? "" : "[WhiteElo \"" + whiteElo + "\"]\n[BlackElo \"2500\"]\n";
  return "[Event \"e2e\"]\n[White \"" + white + "\"]\n[Black \"" + black + "\"]\n[Result \"" + result + "\"]\n" + elos +
         "\n" + moves + " " + result + "\n\n";
}

// A scores 3/4 against B; the first game ends with 30 men on the board, the others with 32.
const std::string kTwo = game("A", "B", "1-0", "1. e4 d5 2. exd5 Qxd5") + game("A", "B", "1-0", "1. d4 d5 2. c4 e6") +
                         game("B", "A", "1/2-1/2", "1. e4 e5 2. Nf3 Nc6") + game("B", "A", "1/2-1/2", "1. c4 c5");
// 1.e4 twice for a 2600, 1.d4 twice for a 2700, each a win and a draw against a 2500; 1.c4 once.
const std::string kBookGames =
    game("W", "B", "1-0", "1. e4 e5", "2600") + game("W", "B", "1/2-1/2", "1. e4 c5", "2600") +
    game("W", "B", "1-0", "1. d4 d5", "2700") + game("W", "B", "1/2-1/2", "1. d4 Nf6", "2700") +
    game("W", "B", "1-0", "1. c4 e5");
const std::string kVariation = "[Event \"E\"]\n[Result \"1-0\"]\n\n1. e4 e5 (1... c5 2. Nf3) 2. Nf3 Nc6 1-0\n\n";
const std::string kAfterE4 = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3\n";
const std::string kFive = std::string(61, '0') + "101";

// A command line (batch words, or the standard input when `line` is empty), a piece of what it
// prints, a piece that the file must hold `times` times (the output when no file is named), and the
// exit status.
struct Row { std::string line, shows, file = "", part = ""; int times = 0; std::string input = ""; int status = 0; };

// The 40 command words in the order of the command table; the book rows build on one another.
const Row kRows[] = {
    {"verbose on", "> verbose on\n"},
    // 800 half-move slots of 1000 bytes.
    {"cmem 1000", "(1000 bytes for each move)\n> the total size for all game's comments is now : 800.0 Kb\n"},
    {"open pgn-out.pgn", "> you can't use the output file as an input file\n", "", "", 0, "", 1},
    {"open two.pgn fepd e4.epd", "> 1 diagrams loaded\n", "epd-1.pgn", "[Annotator \"EPD 1 found after 1.e4\"]", 2},
    {"open rr.pgn ftrn -fmt=html", "> see trnfound.html\n", "trnfound.html", "Round Robin tournament", 1},
    {"open var.pgn cut -ply=3", "> 1 games cut", "pgn-out.pgn", "\n\n1.e4 e5 (1... c5 2. Nf3) 2.Nf3 1-0\n", 1},
    {"open twice.pgn dbl -abs", "- 4 doubles have been found and stored in pgn-out.pgn", "pgn-out.pgn", "[Event ", 4},
    {"merge -dir=in -out=all.pgn", "> merging in/b.PGN file...\n", "all.pgn", "[Event ", 4 + 1},
    // Ten rounds of three games; three players above 2700, White five times each.
    {"open rr.pgn delete Round<4", "see pgn-out.pgn file\n", "pgn-out.pgn", "[Event ", 30 - 9},
    {"open rr.pgn select WhiteElo>2700", "see pgn-out.pgn file\n", "pgn-out.pgn", "[Event ", 15},
    {"open rr.pgn show 2", "[White \"Ethereal 12.00\"]\n"},
    {"open rr.pgn instxt White=X -at=0", "see pgn-out.pgn file\n", "pgn-out.pgn", "[White \"XStockfish 15.1\"]", 5},
    {"open rr.pgn reptxt Site=\"Engine room\"", "see pgn-out.pgn file\n", "pgn-out.pgn", "[Site \"Engine room\"]", 30},
    {"open rr.pgn setcap White=up", "see pgn-out.pgn file\n", "pgn-out.pgn", "[White \"STOCKFISH 15.1 ELO2200\"]\n", 5},
    {"open rr.pgn setcmt none", "see pgn-out.pgn file\n", "pgn-out.pgn", "\n\n1.Nf3 e6 2.d4 c5 3.e4 d5 ", 1},
    {"open rr.pgn debug 1", "- played move : Nf3 [1]\n", "", "- played move : e6 [2]\n", 0, "x\n"},
    {"open two.pgn play 1 4", "> game 1 after the 4th halfmove\n"},
    {"open rr.pgn scan", "\n0 games with critical error\n", "rating.txt", "elo=", 6},
    {"open rr.pgn syn", "see synthesis.txt file\n", "synthesis.txt", "Round Robin tournament", 1},
    // With two players each is rated start +- half the difference of 75 %: 2275 +- 193 / 2.
    {"open two.pgn givelo -out=rated.pgn", "see rated.pgn file\n", "rated.pgn",
     "[White \"A\"]\n[Black \"B\"]\n[Result \"1-0\"]\n[WhiteElo \"2371\"]\n[BlackElo \"2179\"]\n", 2},
    {"open two.pgn elo", "> rating list saved in rating.txt\n", "rating.txt",
     "\n1.A :\t\t\telo=2371, x=2275, sc=3/4, err=458, pts=3, gm=4, pc=75.0%, dr=50.0%\n2.B :\t\t\telo=2179, x=2275, "
     "sc=1/4, err=458, pts=1, gm=4, pc=25.0%, dr=50.0%\n", 1},
    // Without colour Black's pieces are in lower case.
    {"board", "| r| n| b| q| k| b| n| r|\n", "", "| R| N| B| Q| K| B| N| R|\n", 1},
    // The position before the last half-move played, 2.exd5.
    {"open two.pgn play 1 3 epdsv", "", "epdsave.epd", "rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6 ", 1},
    {"lang", "- writing in French", "", "", 0, "1\n"},
    {"newbk 1 1 -pgn=book.pgn !", "- book fully created\n", "book.obk", "\r\nmoves=3\r\n", 1, "y\n"},
    {"help", "SCAN AND RATINGS"},
    // 75 % against 2500 is a performance of 2500 + 193.
    {"showbk", "1.e2e4\tn=2\t pc=75\t  myElo=2600\tperf=2693\teloGain=+93\tcmt=0\n", "", "", 0, "x\n"},
    {"tag", "\nSite\nDate\nRound\nWhite\nBlack\nResult\nECO\n"},
    {"bdoor", "\n12273903644374837845\n"},  // 0xAA55AA55AA55AA55
    {"", "\n\nkestrova> - A bientot ;o)...\n\n", "", kFive, 0, "exit\nbin 5\n"},  // at the prompt: bin never runs
    {"dcmbk", "- erasing comments\n- saving book\n- operation complete\n", "", "", 0, "y\n"},
    // 1.c4 alone is played in fewer than two games.
    {"anabk -occ<2 -ply=2", "resulting epd", "tree.epd", "rnbqkbnr/pppppppp/8/8/2P5/8/PP1PPPPP/RNBQKBNR b ", 1, "y\n"},
    {"open var.pgn split -out=lines.pgn", "see lines.pgn file\n", "lines.pgn", "[Event ", 2},
    // As a polyglot book: the three first moves of the start position (its key 463b96181691fc9c).
    {"openbk book.obk -bin=book.bin", "- 3 book's moves have been successfully loaded\n- Book loaded\n", "book.bin",
     "\x46\x3b\x96\x18\x16\x91\xfc\x9c", 3},
    {"ddepd -in=dup.epd -out=one.epd", "- 1 duplicated positions deleted\n- 2 remaining", "one.epd", "\n", 2},
    {"open all.pgn sub -gam=var.pgn -out=rest.pgn", "> 1 games have been removed and stored in the sub.pgn file\n",
     "rest.pgn", "[Event ", 4},
    {"bin 5", kFive},
    {"askng -time=100 -hash=1", "\tv=32\t"},  // the men of the start position
    {"open two.pgn vfilt -time=20 -hash=1 -ply=last -minval=32 -maxval=32 -out=acc.pgn",
     "> 3 accepted games saved in the 'acc.pgn' file\n", "acc.pgn", "[Event ", 3},
    // Six set-up positions, each in two games.
    {"open setup.pgn fenstat", "> 6 positions recorded and sorted by score\n", "epd-out.epd", "; c0 \"N=2 ", 6},
};

TEST(CommandsEndToEnd, EveryCommandWordWorks) {
  ASSERT_EQ(std::size(kRows), 40u);
  Session session;
  session.withDefaultData("minNbGm=1\nengineFile=" + test::fakeEnginePath() + "\n")
      .withSourceFile("data/sample.pgn", "rr.pgn").withSourceFile("tests/data/samples/e_setup.pgn", "setup.pgn")
      .withFile("two.pgn", kTwo).withFile("twice.pgn", kTwo + kTwo).withFile("var.pgn", kVariation)
      .withFile("book.pgn", kBookGames).withFile("e4.epd", kAfterE4).withFile("in/a.pgn", kTwo)
      .withFile("dup.epd", kAfterE4 + "8/8/8/8/8/8/8/K6k w - -\n" + kAfterE4).withFile("in/b.PGN", kVariation);
  setenv("KESTROVA_FAKE_ENGINE", "men", 1);  // the value is the number of men on the board
  for (const Row& row : kRows) {
    const RunResult run = session.run(words(row.line), row.input);
    EXPECT_EQ(run.exitStatus, row.status) << row.line;
    EXPECT_TRUE(has(run.output, row.shows)) << row.line << "\n" << run.output;
    if (!row.part.empty()) {
      EXPECT_EQ(count(row.file.empty() ? run.output : run.file(row.file), row.part), row.times) << row.line;
    }
  }
  unsetenv("KESTROVA_FAKE_ENGINE");
}

// Python's parser, made strict: every element closed in order, the head of an HTML5 document, and
// every link of the index to an anchor of the page.
const char* const kStrictHtml = R"(import sys
from html.parser import HTMLParser
class Strict(HTMLParser):
    open, ids, links, head = [], set(), [], set()
    def handle_decl(self, decl): self.head.add(decl.lower())
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        self.ids.add(a.get("id")); self.links.append(a.get("href", "#")[1:])
        self.head.add((tag, a.get("lang"), a.get("charset")))
        if tag not in ("br", "meta"): self.open.append(tag)
    def handle_endtag(self, tag):
        if not self.open or self.open.pop() != tag: sys.exit("misnested </" + tag + ">")
p = Strict()
p.feed(open(sys.argv[1], encoding="utf-8").read())
p.close()
assert not p.open and {"doctype html", ("html", "en", None), ("meta", None, "utf-8")} <= p.head, p.open
assert set(filter(None, p.links)) <= p.ids, set(p.links) - p.ids
)";

TEST(CommandsEndToEnd, TheTournamentPageIsAWellFormedDocument) {
  if (std::system("python3 -c '' 2>/dev/null") != 0) GTEST_SKIP() << "python3 is missing";
  Session session;
  // A round robin, a gauntlet and a match (event "M&M") whose names are markup.
  const std::string gauntlet = game("G", "A", "1-0", "1. e4") + game("G", "B", "0-1", "1. e4") + game("C", "G", "1-0", "1. e4");
  const std::string match = game("R&D", "<M\xC3\xBCller>", "1-0", "1. e4").replace(8, 3, "M&M");
  session.withDefaultData().withFile("strict.py", kStrictHtml)
      .withFile("all.pgn", sourceText("data/sample.pgn") + gauntlet + match);
  const RunResult run = session.run(words("open all.pgn ftrn -fmt=html -pairs"));
  ASSERT_EQ(run.exitStatus, 0);
  const std::string check = "python3 " + (session.directory() / "strict.py").string() + " " +
                            (session.directory() / "trnfound.html").string();
  EXPECT_EQ(std::system(check.c_str()), 0) << run.file("trnfound.html");
}

TEST(CommandsEndToEnd, EveryGameWalkingCommandNamesAndCountsTheGameItCannotRead) {
  // The second game, the only one Black wins, is larger than a game buffer of 4096 bytes, in short lines.
  std::string comments;
  for (int line = 0; line < 20; ++line) comments += "{" + std::string(300, 'x') + "}\n";
  Session session;
  session.withDefaultData("gBufSz=4096\nengineFile=" + test::fakeEnginePath() + "\n").withFile("seen.pgn", kTwo)
      .withFile("games.pgn", game("A", "B", "1-0", "1. e4 e5") + game("B", "A", "0-1", "1. d4 " + comments + "d5") +
                                 game("A", "B", "1-0", "1. c4 c5"))
      .withFile("e4.epd", kAfterE4);
  // show, play and debug look at one game; newbk reads the file it is given.
  const std::string commands[] = {"show 2", "play 2 3", "debug 2", "scan", "syn", "elo", "givelo", "ftrn",
                                  "select White=A", "delete White=A", "instxt White=X", "reptxt Site=X",
                                  "setcap White=up", "setcmt none", "cut -ply=2", "dbl", "split", "sub -gam=seen.pgn",
                                  "fepd e4.epd", "fenstat", "vfilt -time=20", "newbk 1 4 -pgn=games.pgn"};
  std::string withoutFile;
  for (std::size_t i = 0; i + 1 < std::size(commands); ++i) withoutFile += commands[i] + " ";
  EXPECT_EQ(count(session.run(words(withoutFile)).output, "\n> no PGN-file in memory. Please load a pgn file\n"), 21);
  setenv("KESTROVA_FAKE_ENGINE", "men", 1);
  for (std::size_t i = 0; i < std::size(commands); ++i) {
    const RunResult run = session.run(words("open games.pgn " + commands[i]), "y\n");
    EXPECT_TRUE(has(run.output, "\ngame 2: larger than the game or line buffer (gBufSz)\n")) << commands[i];
    EXPECT_EQ(has(run.output, "\n> 3 games read, 2 used, 1 left out\n"), i >= 3) << commands[i] << run.output;
    // Left out whole: never written, with or without its moves.
    for (const std::string& name : run.files()) {
      EXPECT_TRUE(name == "games.pgn" || !has(run.file(name), "[Result \"0-1\"]")) << commands[i] << ": " << name;
    }
  }
  unsetenv("KESTROVA_FAKE_ENGINE");
}

TEST(CommandsEndToEnd, EveryHelpFormShowsTheHelpAndTouchesNoFile) {
  Session session;
  session.withDefaultData().withFile("games.pgn", kTwo).withFile("pgn-out.pgn", "kept\n");
  const std::vector<std::string> files = session.run({"exit"}).files();
  for (const std::string line : {"dbl --help", "select -h", "scan /?", "sub /help", "split /HELP", "cut -h",
                                 "givelo --help", "newbk /?", "merge -h", "vfilt /Help", "fenstat -h", "delete /?"}) {
    const RunResult run = session.run(words("open games.pgn " + line), "y\n");
    EXPECT_TRUE(has(run.output, "\nsyntax : " + words(line)[0])) << line << run.output;
    EXPECT_EQ(run.files(), files) << line;
    EXPECT_EQ(run.file("pgn-out.pgn"), "kept\n") << line;
  }
}

// A game set up with Black to move counts its moves from its FEN and its half-moves from its start,
// in what the user gives and what he sees (positions as chess.js gives them).
TEST(CommandsEndToEnd, SetUpGamesCountTheirOwnMoves) {
  const std::string fen = "[Result \"*\"]\n[FEN \"8/8/7k/8/8/8/6K1/8 b - - 0 41\"]\n\n41... Kg6 42. Kf2 ";
  Session session;
  session.withDefaultData().withFile("s.pgn", "[Event \"S\"]\n" + fen + "Kf5 43. Ke3 *\n\n[Event \"T\"]\n" + fen + "Kg8 *\n");
  const RunResult run = session.run(words("open s.pgn play 1 3 epdsv cut -ply=2"));
  EXPECT_TRUE(has(run.output, "> game 1 after the 3rd halfmove\n"));
  EXPECT_EQ(run.file("epdsave.epd"), "8/8/6k1/8/8/8/5K2/8 b - - 2 42;game Current position\n");
  EXPECT_TRUE(has(run.output, "game 2: illegal move 42...Kg8 (ply 3)"));
  EXPECT_TRUE(has(run.file("pgn-out.pgn"), "\n41...Kg6 42.Kf2 *\n")) << run.file("pgn-out.pgn");
}

// What a script can trust: the exit status of a batch, and what is neither a PGN file nor a number.
TEST(CommandsEndToEnd, BatchStatusesAndWhatIsRefusedAtTheDoor) {
  Session session;
  session.withDefaultData().withFile("two.pgn", kTwo).withFile("open.pgn", kTwo + game("A", "B", "*", "1. e4 e5"))
      .withFile("none.pgn", game("A", "B", "*", "1. e4")).withFile("dir/a.pgn", kTwo);
  ASSERT_EQ(system(("mkfifo '" + (session.directory() / "fifo.pgn").string() + "'").c_str()), 0);
  const struct { const char* line; int status; const char* shows; } rows[] = {
      {"open two.pgn scan", 0, "see log.txt file"},
      {"open nosuch.pgn scan", 1, "unable to open the file \"nosuch.pgn\""},
      {"opne two.pgn", 2, "unknown command 'opne'"},
      {"open dir", 1, "\"dir\" is not a regular file"},
      {"open fifo.pgn", 1, "\"fifo.pgn\" is not a regular file"},  // not waited on
      // The unfinished game is left out; the four others are rated and tabled.
      {"open open.pgn syn", 0, "> 1 unfinished games left out\n"},
      {"open none.pgn elo", 1, "> no finished game to rate"}, {"open none.pgn scan", 0, "see log.txt file"},
  };
  for (const auto& row : rows) {
    const RunResult run = session.run(words(row.line), "", 20);
    EXPECT_EQ(run.exitStatus, row.status) << row.line << run.output;
    EXPECT_TRUE(has(run.output, row.shows)) << row.line << run.output;
  }
  EXPECT_FALSE(has(session.run(words("opne two.pgn scan")).output, "processing")) << "nothing runs after a wrong word";
  // A buffer size that is no number of bytes is named and the default used: every game is read.
  session.withDefaultData("gBufSz=30k\n");
  const RunResult run = session.run(words("open two.pgn dbl"));
  EXPECT_TRUE(has(run.output, "gBufSz=30k in kestrova.ini: not a number of bytes") && has(run.output, "> 4 games read"))
      << run.output;
}

// Ctrl-C stops the command, not the program's care: the scan's files are whole for the games done,
// and the next command line runs in full.
TEST(CommandsEndToEnd, CtrlCStopsTheScanWithWholeFiles) {
  std::string games;
  // More games than the threads read ahead of what they have written.
  for (int i = 0; i < 300; ++i) games += sourceText("data/sample.pgn");
  for (int threads : {1, 7}) {
    Session session;
    session.withDefaultData("threads=" + std::to_string(threads) + "\n").withFile("big.pgn", games);
    session.withFile("log.txt", "earlier\n");
    const RunResult run = session.runInterrupted(words("open big.pgn scan"), "> scanning now for detections");
    EXPECT_EQ(run.exitStatus, 130) << run.output.substr(run.output.size() - 500);
    const std::size_t at = run.output.find("> interrupted by Ctrl-C after ");
    ASSERT_NE(at, std::string::npos);
    const int done = std::atoi(run.output.c_str() + at + 30);
    EXPECT_TRUE(done > 0 && done < 9000) << done;
    // The log reports every game done and none after it.
    const std::string log = run.file("log.txt");
    EXPECT_TRUE(has(log, "\n" + std::to_string(done) + ": ") || done < 30) << log.substr(log.size() - 300);
    EXPECT_FALSE(has(log, "\n" + std::to_string(done + 1) + ": "));
    for (const std::string& name : run.files()) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace kestrova::e2e
