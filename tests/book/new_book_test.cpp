// Book generation: the stop rule, the standard first moves, the merge of doubles and newbk.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "book/book_key_generation.hpp"
#include "book/book_table.hpp"
#include "book/new_book.hpp"
#include "book_support.hpp"
#include "chess/fen.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct StopCase {
  const char* name;
  const char* fen;
  int ply;
  bool moveIsActive;
  bool previousIsActive;
  bool stops;
};

TEST(StopRule, EndsALineAtTheFirstQuietDevelopedPosition) {
  // Developed minor pieces, kings on h1 and h8 (off every square the rule looks at).
  const char* developed = "3rr2k/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RR2K w - -";
  const std::vector<StopCase> cases = {
      {"quiet and developed", developed, 12, false, false, true},
      {"past the game", developed, 41, false, false, true},
      {"past maxPly", developed, 31, false, false, true},
      {"before minPly", developed, 4, false, false, false},
      {"the move is active", developed, 12, true, false, false},
      {"the previous move was active", developed, 12, false, true, false},
      {"two minor home squares taken", "1n1rr2k/pppq1ppp/3pbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RR1NK w - -", 12, false, false,
       false},
      {"one castled king on g1", "3rr2k/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RR1K1 w - -", 12, false, false,
       true},
      {"kings on g1 and g8", "3rr1k1/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RR1K1 w - -", 12, false, false, false},
      {"a king at home on e1", "3rr2k/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RK2R w - -", 12, false, false, false},
      {"a king at home on e8", "3rk2r/pppq1ppp/2npbn2/4p3/4P3/2NPBN2/PPPQ1PPP/3RR2K w - -", 12, false, false, false},
  };
  for (const StopCase& c : cases) {
    Board board;
    parseFen(board, c.fen);
    LinePosition at;
    at.ply = c.ply;
    at.plyCount = 40;
    at.minPly = 5;
    at.maxPly = 30;
    at.moveIsActive = c.moveIsActive;
    at.previousIsActive = c.previousIsActive;
    at.board = &board;
    EXPECT_EQ(stopsLine(at), c.stops) << c.name;
  }
}

TEST(StopRule, ActiveMovesAreKingMovesChecksCapturesAndPromotions) {
  Move quiet;
  quiet.piece = kKnight;
  EXPECT_FALSE(isActiveMove(quiet));
  for (std::uint16_t flag : {moveflag::kCheck, moveflag::kMate, moveflag::kCapture, moveflag::kPromoteQueen,
                             moveflag::kPromoteKnight, moveflag::kShortCastle}) {
    Move move = quiet;
    move.flags = flag;
    EXPECT_TRUE(isActiveMove(move)) << flag;
  }
  Move king;
  king.piece = kKing;
  EXPECT_TRUE(isActiveMove(king));
}

TEST(StandardFirstMove, AcceptsPawnStepsAndKnightsToTheThirdRank) {
  struct Case {
    int from, to, colour;
    bool standard;
  };
  const std::vector<Case> cases = {
      {52, 36, kWhite, true},  {52, 44, kWhite, true},  {48, 32, kWhite, true},  {55, 47, kWhite, true},
      {57, 40, kWhite, true},  {57, 42, kWhite, true},  {62, 45, kWhite, true},  {62, 47, kWhite, true},
      {57, 51, kWhite, false}, {52, 28, kWhite, false}, {51, 44, kWhite, false}, {12, 28, kWhite, false},
      {12, 28, kBlack, true},  {12, 20, kBlack, true},  {1, 16, kBlack, true},   {1, 18, kBlack, true},
      {6, 21, kBlack, true},   {6, 23, kBlack, true},   {6, 12, kBlack, false},  {52, 36, kBlack, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isStandardFirstMove(c.from, c.to, c.colour), c.standard) << c.from << "-" << c.to;
  }
}

// Entries of one (position, move) with the given points and Elos, merged.
BookEntry mergeOf(const std::vector<int>& points, const std::vector<int>& myElos = {}) {
  BookTable book;
  std::vector<BookEntry> entries;
  for (std::size_t i = 0; i < points.size(); ++i) {
    BookEntry e = test::entry(77, 88, 52, 36, 0);
    e.cmt = static_cast<std::uint8_t>(points[i]);
    if (i < myElos.size()) e.myElo = static_cast<std::uint16_t>(myElos[i]);
    entries.push_back(e);
  }
  test::adopt(book, entries);
  EXPECT_EQ(mergeDoubles(book), static_cast<int>(points.size()) - 1);
  return book.entries()[1];
}

TEST(MergeDoubles, CountsGamesAndRoundsThePercentage) {
  struct Case {
    std::vector<int> points;
    std::uint32_t n;
    int pc;
  };
  const std::vector<Case> cases = {
      {{2, 1, 0}, 3, 50},     // won, drawn, lost: 3 x 50 / 3
      {{2, 1}, 2, 75},        // won and drawn
      {{1}, 1, 50},           // a single draw
      {{2, 2, 1}, 3, 83},     // 250 / 3 = 83 remainder 1
      {{2, 1, 1}, 3, 67},     // 200 / 3 = 66 remainder 2, above half of 3
      {{1, 0, 0, 0}, 4, 12},  // 50 / 4 = 12 remainder 2: an exact half rounds down
  };
  for (const Case& c : cases) {
    const BookEntry merged = mergeOf(c.points);
    EXPECT_EQ(merged.n, c.n);
    EXPECT_EQ(merged.pc, c.pc) << c.points.size() << " games";
  }
}

TEST(MergeDoubles, AveragesOnlyKnownElos) {
  EXPECT_EQ(mergeOf({1, 1, 1}, {2600, 0, 2701}).myElo, 2650);
  EXPECT_EQ(mergeOf({1, 1}, {0, 0}).myElo, 0);
}

TEST(MergeDoubles, KeepsDifferentMovesAndLocksApart) {
  BookTable book;
  test::adopt(book, {test::entry(5, 1, 52, 36, 0), test::entry(5, 1, 52, 36, 0), test::entry(5, 1, 51, 35, 0),
                     test::entry(5, 2, 51, 35, 0), test::entry(6, 2, 51, 35, 0)});
  EXPECT_EQ(mergeDoubles(book), 1);
  EXPECT_EQ(book.entries()[1].n, 2u);
  EXPECT_EQ(book.entries()[2].key, 0u);
  EXPECT_EQ(book.entries()[3].n, 1u);
  EXPECT_EQ(book.entries()[4].n, 1u);
  EXPECT_EQ(book.entries()[5].n, 1u);
}

TEST(MergeDoubles, StopsCountingAtTheTwentyBitLimit) {
  BookTable book;
  constexpr int kGames = 1048576;
  std::unique_ptr<BookEntry[]> table(new BookEntry[kGames + 2]);
  for (int i = 1; i <= kGames; ++i) {
    table[i] = test::entry(5, 1, 52, 36, 0);
    table[i].cmt = i == kGames ? 0 : 2;  // the game beyond the limit was lost
  }
  book.adoptEntries(std::move(table), kGames);
  EXPECT_EQ(mergeDoubles(book), kGames - 1) << "the surplus double is still deleted";
  EXPECT_EQ(book.entries()[1].n, 1048575u);
  EXPECT_EQ(book.entries()[1].pc, 100) << "the percentage of the first 1,048,575 games";
}

TEST(BookTables, AreTheSameOnEveryMachine) {
  BookTable book;
  generateBookTables(book);
  // x = x * 1103515245 + 12345 from 1: 1103527590, 2524885223, 662824084.
  EXPECT_EQ(book.sideKey, 1103527590u);
  EXPECT_EQ(book.keyTable[0], 2524885223u);
  EXPECT_EQ(book.lockTable[0], 662824084u);
  generateBookTables(book);
  EXPECT_NE(book.sideKey, 1103527590u) << "the generator runs on from book to book";

  // 64-bit books draw random64 values from the run-time generator as the program's Zobrist keys
  // leave it (seeded with 1, 8,965 draws); values from an independent script.
  BookTable wide;
  wide.setHashSize(64);
  generateBookTables(wide);
  EXPECT_EQ(wide.sideKey, 13890243259580816184u);
  EXPECT_EQ(wide.keyTable[0], 15257716227784660849u);
  EXPECT_EQ(wide.lockTable[0], 1627395238782920693u);
}

std::string game(const std::string& result, const std::string& moves, const std::string& extraTags = "") {
  return "[Event \"t\"]\n[White \"A\"]\n[Black \"B\"]\n[Result \"" + result + "\"]\n" + extraTags + "\n" + moves +
         " " + result + "\n\n";
}

// Runs newbk on the file's games (answering y) and leaves the new book loaded.
std::unique_ptr<App> buildFrom(const test::ScratchDir& dir, const std::string& games, const std::string& plies,
                               std::string& output, int hashSz = 64) {
  dir.write("games.pgn", games);
  auto app = test::makeApp("y\n");
  app->pgn.create(app->console, 30000, 5000, 30000);
  app->console.takeCaptured();
  app->settings.bkHashSz = static_cast<std::uint8_t>(hashSz);
  output = test::run(*app, "newbk " + plies + " -pgn=games.pgn !");
  return app;
}

// The book moves of the start position (after the given half-moves in SAN) as "from-to n pc".
std::vector<std::string> startMoves(App& app, int side = kWhite, const char* fen = nullptr) {
  setPositionFromFen(app.chess, app.game, fen ? fen : kStartPosition);
  const BookKeys keys = app.book.computeBookKeys(app.chess.board, side);
  const int count = app.book.lookupPosition(keys.key, keys.lock);
  std::vector<std::string> moves;
  for (int i = 0; i < count; ++i) {
    const BookEntry& e = app.book.moveList().moves[i];
    moves.push_back(std::to_string(e.from) + "-" + std::to_string(e.to) + " n=" + std::to_string(e.n) +
                    " pc=" + std::to_string(e.pc) + " my=" + std::to_string(e.myElo) +
                    " opp=" + std::to_string(e.oppElo) + " cmt=" + std::to_string(e.cmt));
  }
  return moves;
}

TEST(NewBook, ThreeResultsOfOneFirstMoveGiveFiftyPercent) {
  test::ScratchDir dir;
  std::string output;
  auto app = buildFrom(dir,
                       game("1-0", "1. e4 e5", "[WhiteElo \"2600\"]\n[BlackElo \"2500\"]\n") +
                           game("1/2-1/2", "1. e4 c5", "[WhiteElo \"2700\"]\n[BlackElo \"2501\"]\n") +
                           game("0-1", "1. e4 e6", "[WhiteElo \"5000\"]\n[BlackElo \"650\"]\n"),
                       "1 1", output);
  EXPECT_TRUE(has(output, "\n> WARNING ! this will create/overwrite a book named book.obk !\n"
                          "> type 'y' to create the book from '/pgn_book': "));
  EXPECT_TRUE(has(output, "> the maximum length is 1 half moves per line\n> Kestrova is generating a new book\n"));
  EXPECT_TRUE(has(output, "\n> scanning games.pgn file...\n\n"));
  EXPECT_TRUE(has(output, "- book has been sorted\n- 2 double moves deleted\n"));
  EXPECT_TRUE(has(output, "- book fully created\n- book closed\n"));
  ASSERT_TRUE(app->book.isLoaded()) << "the ! option reloads the new book";
  EXPECT_EQ(app->book.moves, 1) << "1 1 keeps the first half-move only";
  // 2650 and 2500 are the averages of the valid Elos (5000 and 650 are not).
  EXPECT_EQ(startMoves(*app), (std::vector<std::string>{"52-36 n=3 pc=50 my=2650 opp=2500 cmt=0"}));
  EXPECT_TRUE(app->book.sorted);
  EXPECT_TRUE(app->book.clean);
}

TEST(NewBook, BuildsLinesOfBothSidesUpToTheMaximum) {
  test::ScratchDir dir;
  std::string output;
  auto app = buildFrom(dir, game("1-0", "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6") + game("*", "1. d4 d5 2. c4"), "0 3",
                       output);
  EXPECT_EQ(app->book.moves, 6) << "e4 e5 Nf3 and d4 d5 c4: three half-moves each";
  std::vector<std::string> moves = startMoves(*app);
  std::sort(moves.begin(), moves.end());
  EXPECT_EQ(moves, (std::vector<std::string>{"51-35 n=1 pc=0 my=0 opp=0 cmt=0", "52-36 n=1 pc=100 my=0 opp=0 cmt=0"}))
      << "\"*\" counts as won by Black";
}

TEST(NewBook, ClampsThePlyLimits) {
  test::ScratchDir dir;
  std::string output;
  buildFrom(dir, game("1-0", "1. e4 e5"), "0 500", output);
  EXPECT_TRUE(has(output, "> the maximum length is 300 half moves per line\n"));
}

TEST(NewBook, AFenGameAddsOnlyStandardFirstMoves) {
  test::ScratchDir dir;
  std::string output;
  const std::string fen = "[SetUp \"1\"]\n[FEN \"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1\"]\n";
  const std::string endgame = "[SetUp \"1\"]\n[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1\"]\n";
  auto app = buildFrom(dir,
                       game("1-0", "1. e4 e5 2. Nf3", fen) +        // three moves
                           game("1-0", "1. Ke2 Kd7 2. e4", endgame) +  // first move not standard: nothing
                           game("1-0", "1. e3 Ke7 2. e4", endgame),     // second not standard: the first alone
                       "1 3", output);
  EXPECT_EQ(app->book.moves, 4);
  EXPECT_EQ(startMoves(*app, kWhite, "4k3/8/8/8/8/8/4P3/4K3 w - -"),
            (std::vector<std::string>{"52-44 n=1 pc=100 my=0 opp=0 cmt=0"}));
}

TEST(NewBook, ReportsAnUnreadableMoveAndKeepsTheMovesBeforeIt) {
  test::ScratchDir dir;
  std::string output;
  auto app = buildFrom(dir, game("1-0", "1. Qh5 e5") + game("1-0", "1. e4 Ke5"), "1 10", output);
  EXPECT_TRUE(has(output, "> can't read the string Qh5. Check this move or the previous ones. Game skipped\n"));
  EXPECT_TRUE(has(output, "> can't read the string Ke5.")) << output;
  EXPECT_EQ(app->book.moves, 1) << "only 1.e4 of the second game";
}

TEST(NewBook, AnswerOtherThanYesBuildsNothing) {
  test::ScratchDir dir;
  dir.write("games.pgn", game("1-0", "1. e4 e5"));
  auto app = test::makeApp("Y\n");
  const std::string output = test::run(*app, "newbk 1 10 -pgn=games.pgn");
  EXPECT_FALSE(dir.exists("book.obk"));
  EXPECT_FALSE(has(output, "generating"));
}

TEST(NewBook, WithoutGamesTheReloadFailsAndTheFileIsDeleted) {
  test::ScratchDir dir;
  std::string output;
  buildFrom(dir, game("1-0", "1. Ke2"), "1 10", output);
  EXPECT_TRUE(has(output, "> no move in book"));
  EXPECT_TRUE(has(output, "> Kestrova can't reload the book file in order to sort and clean it. File deleted\n"));
  EXPECT_FALSE(dir.exists("book.obk"));
}

TEST(NewBook, NeverOverwritesItsInput) {
  test::ScratchDir dir;
  const std::string games = game("1-0", "1. e4 e5");
  dir.write("games.pgn", games);
  auto app = test::makeApp("y\n");
  const std::string output = test::run(*app, "newbk 1 10 -pgn=games.pgn -out=games.pgn");
  EXPECT_TRUE(has(output, "> Kestrova can't create a new book file\n"));
  EXPECT_EQ(dir.read("games.pgn"), games);
}

TEST(NewBook, ReadsEveryPgnFileOfTheBookDirectory) {
  test::ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "pgn_book");
  dir.write("pgn_book/b.pgn", game("1-0", "1. e4 e5"));
  dir.write("pgn_book/a.PGN", game("0-1", "1. d4 d5"));
  dir.write("pgn_book/pgn-out.pgn", game("0-1", "1. c4 c5"));
  auto app = test::makeApp("y\n");
  app->pgn.create(app->console, 30000, 5000, 30000);
  const std::string output = test::run(*app, "newbk 1 1 !");
  EXPECT_TRUE(has(output, "\n> scanning pgn_book/a.PGN file...\n\n"));
  EXPECT_TRUE(has(output, "\n> scanning pgn_book/b.pgn file...\n\n"));
  EXPECT_TRUE(has(output, "\n> Kestrova can't use pgn-out.pgn file as input file\n"));
  EXPECT_TRUE(has(output, "> PGN files scan completed\n"));
  EXPECT_EQ(app->book.moves, 2);
}

TEST(NewBook, WithoutItsNumbersShowsTheSyntax) {
  test::ScratchDir dir;
  auto app = test::makeApp("y\n");
  std::filesystem::copy_file(std::filesystem::path(KESTROVA_SOURCE_DIR) / "data/help.man", dir.path() / "help.man");
  EXPECT_TRUE(has(test::run(*app, "newbk 1"), "syntax : newbk <minply> <maxply>"));
  EXPECT_FALSE(dir.exists("book.obk"));
}

}  // namespace
}  // namespace kestrova
