// The book browser (showbk), the comment eraser (dcmbk), openbk and the bdoor self-test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/book_browser.hpp"
#include "book/book_key_generation.hpp"
#include "book/book_writer.hpp"
#include "book_support.hpp"
#include "chess/fen.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int count(const std::string& text, const std::string& part) {
  int found = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

BookEntry statistics(int pc, int oppElo, int myElo) {
  BookEntry e = test::entry(1, 1, 52, 36, 2);
  e.pc = static_cast<std::uint8_t>(pc);
  e.oppElo = static_cast<std::uint16_t>(oppElo);
  e.myElo = static_cast<std::uint16_t>(myElo);
  return e;
}

TEST(BookMoveLine, ShowsPerformanceAndEloGain) {
  // 75 % is +193 in the FIDE table: 2500 + 193 = 2693.
  const auto line = [](int n, int pc, int opp, int my) { return formatBookMoveLine(n, statistics(pc, opp, my)); };
  EXPECT_EQ(line(1, 75, 2500, 2600),
            "1.e2e4\tn=2\t pc=75\t  myElo=2600\tperf=2693\teloGain=+93\tcmt=0\n");
  EXPECT_EQ(line(2, 75, 2500, 2700),
            "2.e2e4\tn=2\t pc=75\t  myElo=2700\tperf=2693\teloGain=-7\tcmt=0\n");
  EXPECT_EQ(line(3, 75, 0, 2700),
            "3.e2e4\tn=2\t pc=75\t  myElo=2700\tperf=0   \teloGain=0\tcmt=0\n");
  EXPECT_EQ(line(4, 50, 2500, 0),
            "4.e2e4\tn=2\t pc=50\t  myElo=0   \tperf=2500\teloGain=0\tcmt=0\n");
}

// A book whose start position has twelve moves (a2a3 ... h2h4 and two knight moves), the
// position after 1.e4 one move (e7e5).
void twelveMoveBook(App& app) {
  BookTable& book = app.book;
  generateBookTables(book);
  setPositionFromFen(app.chess, app.game, kStartPosition);
  const BookKeys start = book.computeBookKeys(app.chess.board, kWhite);
  setPositionFromFen(app.chess, app.game, "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -");
  const BookKeys afterE4 = book.computeBookKeys(app.chess.board, kBlack);
  std::vector<BookEntry> entries;
  const int moves[12][2] = {{52, 36}, {51, 35}, {50, 34}, {62, 45}, {57, 42}, {53, 37},
                            {54, 46}, {49, 41}, {52, 44}, {48, 40}, {55, 47}, {54, 38}};
  for (int i = 0; i < 12; ++i) entries.push_back(test::entry(start.key, start.lock, moves[i][0], moves[i][1], 100 - i));
  entries.push_back(test::entry(afterE4.key, afterE4.lock, 12, 28, 50));
  std::sort(entries.begin(), entries.end(), [](const BookEntry& a, const BookEntry& b) { return a.key < b.key; });
  test::adopt(book, entries);
}

TEST(ShowBook, ListsEveryMoveAndPlaysTheChosenOne) {
  auto app = test::makeApp("1\nx\n");
  twelveMoveBook(*app);
  const std::string output = test::run(*app, "showbk");
  EXPECT_TRUE(has(output, "\n1.e2e4\tn=100\t"));
  EXPECT_TRUE(has(output, "12.g2g4\tn=89\t")) << "all twelve moves are listed";
  EXPECT_TRUE(has(output, "\n1...n\t: to chose a move and see next statistics\nb\t: to go back\n"
                          "x\t: to quit the book mode\n\nyour choice ? : "));
  EXPECT_TRUE(has(output, "1.e7e5\tn=50\t")) << "after 1.e4 the book answers e5";
  EXPECT_EQ(app->chess.board.mailbox[36], kPawn) << "the board ends at the last position shown";
  EXPECT_EQ(app->game.currentPly, 1);
}

TEST(ShowBook, GoesBackAndStaysAtTheStart) {
  auto app = test::makeApp("1\nb\nb\n13\nz\n");
  twelveMoveBook(*app);
  const std::string output = test::run(*app, "showbk");
  EXPECT_EQ(count(output, "\n> start position\n"), 1);
  EXPECT_EQ(app->game.currentPly, 1) << "13 reads as 1: the first move again";
  EXPECT_EQ(count(output, "your choice ? : "), 6) << "an unknown answer redraws, the end of input leaves";
}

TEST(EraseComments, ClearsEveryCommentAndSavesTheBook) {
  test::ScratchDir dir;
  auto app = test::makeApp("y\nn\n");
  BookEntry commented = test::entry(0x123456789ABCu, 0x5555555555u, 52, 36, 3);
  commented.cmt = 6;
  test::adopt(app->book, {commented});
  app->book.fileName = "book.obk";
  const std::string output = test::run(*app, "dcmbk");
  EXPECT_EQ(output, "\n- do you really want to erase all comments included in the current book ? (y,n) : \n"
                    "- erasing comments\n- saving book\n- operation complete\n");
  EXPECT_EQ(app->book.entries()[1].cmt, 0);
  ASSERT_TRUE(dir.exists("book.obk"));
  test::TextReporter reporter;
  BookTable back;
  ASSERT_TRUE(back.loadBook("book.obk", reporter));
  EXPECT_EQ(back.entries()[1].cmt, 0);
  EXPECT_EQ(back.entries()[1].n, 3u);

  app->book.entries()[1].cmt = 4;
  test::run(*app, "dcmbk");
  EXPECT_EQ(app->book.entries()[1].cmt, 4) << "n keeps the comments";
}

TEST(BookCommands, ShowbkAndDcmbkNeedABook) {
  auto app = test::makeApp("x\n"), other = test::makeApp("y\n");
  EXPECT_EQ(test::run(*app, "showbk"), "\n> No book in memory. Please load a book before (use 'openbk' command)\n");
  EXPECT_TRUE(has(test::run(*other, "dcmbk"), "- no book loaded\n"));
}

TEST(OpenBook, LoadsOrSaysItCannot) {
  test::ScratchDir dir;
  auto app = test::makeApp();
  test::adopt(app->book, {test::entry(0x123456789ABCu, 0x5555555555u, 52, 36, 3)});
  app->book.fileName = "mine.obk";
  ASSERT_TRUE(saveBook(*app));
  app->book.closeBook();
  EXPECT_TRUE(has(test::run(*app, "openbk mine.obk"), "- 1 book's moves have been successfully loaded\n- Book loaded\n"));
  EXPECT_TRUE(app->book.isLoaded());
  EXPECT_TRUE(has(test::run(*app, "openbk other.obk"), "> Can't load the specified book !\n"));
  EXPECT_FALSE(app->book.isLoaded());
  app->settings.bkHashSz = 64;
  EXPECT_TRUE(has(test::run(*app, "openbk mine.obk"),
                  "- incompatible hash size : book's file [32 bits] <=> program [64 bits]\n"));
}

TEST(BackDoor, EncodesAndDecodesTheTestPattern) {
  auto app = test::makeApp();
  // Base 224 digits of 12273903644374837845, least significant first, worked out by hand.
  const std::string expected = "12273903644374837845\n\xB5\x82\xE5\xAB\x8A\xA3\xC9\xF1!\n12273903644374837845\n";
  EXPECT_EQ(test::run(*app, "bdoor"), expected);
  EXPECT_EQ(test::run(*app, "bdoorway"), expected) << "any word that begins with bdoor";
}

}  // namespace
}  // namespace kestrova
