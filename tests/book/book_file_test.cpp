// The book file: its sections, records and numbers, written and read back.
#include <gtest/gtest.h>

#include "book/book_writer.hpp"
#include "book/console_book_reporter.hpp"
#include "book_support.hpp"
#include "support/text.hpp"

namespace kestrova {
namespace {

// Loads the text as a 32-bit book file; the messages.
std::string load(const test::ScratchDir& dir, BookTable& book, const std::string& file) {
  dir.write("x.obk", file);
  Console console = Console::capturing();
  ConsoleBookReporter reporter(console);
  book.loadBook("x.obk", reporter);
  return console.takeCaptured();
}

std::string replaced(std::string text, const std::string& part, const std::string& by) {
  return text.replace(text.find(part), part.size(), by);
}

TEST(BookFile, HoldsTheMoveFieldsAtTheirBitsInCrLfLinesAndIsReadBackOrRefused) {
  test::ScratchDir dir;
  auto app = test::makeApp();
  app->book.fileName = "saved.obk";
  BookEntry e = test::entry(0x12345678, 0x9ABCDEF0, 52, 36, 1048575, 5);
  e.pc = 100, e.oppElo = 2500, e.myElo = 2651;
  test::adopt(app->book, {test::entry(0, 0, 0, 0, 0), e, test::entry(0, 0, 0, 0, 0)});
  ASSERT_TRUE(saveBook(app->book, app->console, app->pgn));
  EXPECT_EQ(std::tie(app->book.moves, app->book.entries()[1].key), std::tuple(1, e.key)) << "the deleted left out";
  // 32 bits: lock x 2^32 + key in one number. The move data from the lowest bit: from 6, to 6,
  // cmt 3, n 20, pc 7, oppElo / 2 11, myElo / 2 11. Digits of base 224 from byte 32, lowest first.
  const std::uint64_t data = 52 | 36 << 6 | 5 << 12 | std::uint64_t{1048575} << 15 | std::uint64_t{100} << 35 |
                             std::uint64_t{1250} << 42 | std::uint64_t{1325} << 53;
  const BookNumeration base224(224);
  const std::string file = dir.read("saved.obk"), records = "\r\n\r\n[moves]\r\n", end = "\r\n\r\n[parameters]";
  EXPECT_TRUE(file.ends_with(records + base224.encode(0x9ABCDEF012345678u) + "\r\n" + base224.encode(data) + end +
                             "\r\nmoves=1\r\nsorted=0\r\nclean=0\r\nnumBase=224\r\nhashSz=32\r\n\r\n"));
  EXPECT_TRUE(file.starts_with("\r\n[zTab]\r\n \r\n \r\n") && base224.encode(224) == " !");
  EXPECT_EQ(test::count(file, "\n"), test::count(file, "\r\n"));
  const std::size_t movesAt = file.find(records) + 2, recordsAt = movesAt + 11, endAt = file.find(end);
  std::string lineFeeds = file, base200 = replaced(file, "numBase=224", "numBase=200");
  std::erase(lineFeeds, '\r');
  std::replace(base200.begin(), base200.begin() + movesAt, ' ', '8');  // the tables' zeros in base 200
  const std::string loaded = "- 1 book's moves have been successfully loaded\n";
  // As written, with line feeds alone, with fewer and with more records than stated, and refused.
  const std::pair<std::string, std::string> cases[] = {
      {file, loaded}, {lineFeeds, loaded}, {replaced(file, "moves=1", "moves=5"), loaded},
      {file.substr(0, endAt) + "\r\n" + file.substr(recordsAt, endAt - recordsAt) + file.substr(endAt), loaded},
      {file.substr(movesAt, endAt - movesAt) + file.substr(0, movesAt) + file.substr(endAt), "can't access the moves"},
      {file.substr(0, endAt), "> Kestrova can't find the parameters list"},
      {file.substr(movesAt), "> Kestrova can't find Zobrist tables"},
      {replaced(file, "moves=1", "moves=0"), "> no move in book"},
      {replaced(file, "[moves]\r\n", "[moves]\r\n" + std::string(256, '!') + "\r\n"), "(line longer than 255 bytes)"},
      {replaced(file, "[moves]\r\n", "[moves]\r\n" + std::string(65, '!') + "\r\n"), "(unreadable number in the"},
      {base200, "- incompatible numeration base : book's file [200] <=> program [224]\n"},
  };
  e.myElo = 2650;  // an odd Elo comes back one lower
  for (const auto& [text, message] : cases) {
    BookTable back;
    EXPECT_TRUE(test::has(load(dir, back, text), message) && back.isLoaded() == (message == loaded)) << message;
    if (!back.isLoaded()) continue;
    const BookEntry& b = back.entries()[1];
    EXPECT_EQ(std::tie(back.moves, b.key, b.lock, b.from, b.to, b.cmt, b.n, b.pc, b.oppElo, b.myElo),
              std::tie(app->book.moves, e.key, e.lock, e.from, e.to, e.cmt, e.n, e.pc, e.oppElo, e.myElo));
  }
  EXPECT_EQ(packMoveData(test::entry(0, 0, 0, 0, 1048576)), 0u) << "a count past 20 bits spills nowhere";
}

}  // namespace
}  // namespace kestrova
