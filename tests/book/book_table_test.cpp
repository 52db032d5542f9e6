// Loading, saving and looking up the book table.
#include <gtest/gtest.h>

#include "book/book_table.hpp"
#include "book/book_writer.hpp"
#include "book_support.hpp"
#include "chess/fen.hpp"
#include "support/test_app.hpp"

namespace kestrova {
namespace {

using test::adopt;
using test::entry;
using test::TextReporter;

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Keys of real positions are large; a key line of one character would end the moves section.
constexpr std::uint64_t kKey = 0x0123456789ABCDEFu;
constexpr std::uint64_t kLock = 0x0FEDCBA987654321u;

// A 64-bit book with one record (e2e4 in 3 games) in a hand-written file.
std::string oneRecordBook(const std::string& moves = "moves=1") {
  const BookNumeration numbers(224);
  const std::string record = numbers.encode(kKey) + "\r\n" + numbers.encode(kLock) + "\r\n" +
                             numbers.encode(packMoveData(entry(kKey, kLock, 52, 36, 3))) + "\r\n";
  return test::zeroTablesSection() + "\r\n[moves]\r\n" + record + test::parametersSection(moves);
}

// Loads the text as x.obk into a book of the given hash size.
bool load(BookTable& book, const std::string& file, TextReporter& reporter, int hashSz = 64) {
  test::ScratchDir dir;
  dir.write("x.obk", file);
  book.setHashSize(hashSz);
  return book.loadBook("x.obk", reporter);
}

TEST(BookLoad, RefusesFilesItCannotUse) {
  const BookNumeration numbers(224);
  const std::size_t records = oneRecordBook().find("[moves]\r\n") + 9;
  std::string longLine = oneRecordBook(), manyDigits = oneRecordBook(), longTableLine = oneRecordBook();
  longLine.insert(records, std::string(256, '!') + "\r\n");
  manyDigits.insert(records, std::string(65, '!') + "\r\n");
  longTableLine.replace(longTableLine.find("[zTab]\r\n") + 8, 1, std::string(300, ' '));
  const std::string noMove = "> no move in book" + std::string(32, ' ') + "\n";
  const std::string corrupted = "corrupted (line longer than 255 bytes)";
  const struct {
    const char* name;
    std::string file, message;
  } cases[] = {
      {"moves before tables", "\r\n[moves]\r\n" + numbers.encode(kKey) + "\r\n" + numbers.encode(kLock) + "\r\n !\r\n" +
                                  test::zeroTablesSection() + test::parametersSection("moves=1"),
       "> Kestrova can't access the moves list in book.obk file\n"},
      {"no parameters", test::zeroTablesSection() + "\r\n[moves]\r\n", "> Kestrova can't find the parameters list"},
      {"moves=0", oneRecordBook("moves=0"), noMove},
      {"no moves=", oneRecordBook("count=1"), noMove},
      {"no tables", "\r\n[moves]\r\n" + test::parametersSection("moves=1"), "> Kestrova can't find Zobrist tables"},
      {"empty table line", "\r\n[zTab]\r\n \r\n\r\n" + test::parametersSection("moves=1"),
       "> Kestrova's Zobrist tables corrupted in book.obk file !\n"},
      {"table line over 255 bytes", longTableLine, corrupted},
      {"record line over 255 bytes", longLine, corrupted},
      {"number over 64 digits", manyDigits, "corrupted (unreadable number in the moves list)"},
      {"32-bit file", test::zeroTablesSection() + test::parametersSection("moves=1", 224, 32),
       "- incompatible hash size : book's file [32 bits] <=> program [64 bits]\n"},
      {"base 200 file", test::zeroTablesSection('8') + test::parametersSection("moves=1", 200, 64),
       "- incompatible numeration base : book's file [200] <=> program [224]\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BookTable book;
    TextReporter reporter;
    EXPECT_FALSE(load(book, c.file, reporter));
    EXPECT_FALSE(book.isLoaded());
    EXPECT_TRUE(has(reporter.text(), c.message)) << reporter.text();
  }
  test::ScratchDir dir;
  BookTable book;
  TextReporter reporter;
  EXPECT_FALSE(book.loadBook("none.obk", reporter));
  EXPECT_EQ(reporter.text(), "- book's hash size : 32 bits\n- book file numeration base : 224\n"
                             "> no none.obk file found (use newbk command to generate it)\n");
}

TEST(BookLoad, ReadsARecordWithEitherLineEnd) {
  for (const bool crlf : {true, false}) {
    std::string file = oneRecordBook();
    for (std::size_t at; !crlf && (at = file.find("\r\n")) != std::string::npos;) file.erase(at, 1);
    BookTable book;
    TextReporter reporter;
    ASSERT_TRUE(load(book, file, reporter)) << reporter.text();
    EXPECT_TRUE(has(reporter.text(), "- 1 book's moves have been successfully loaded\n"));
    ASSERT_EQ(book.moves, 1);
    EXPECT_EQ(book.entries()[1].key, kKey);
    EXPECT_EQ(book.entries()[1].lock, kLock);
    EXPECT_EQ(book.entries()[1].n, 3u);
    EXPECT_EQ(book.entries()[2].key, 0u) << "end marker";
    EXPECT_TRUE(book.sorted && book.clean);
  }
}

TEST(BookLoad, TakesFewerRecordsThanStatedAndIgnoresMore) {
  BookTable book;
  TextReporter reporter;
  ASSERT_TRUE(load(book, oneRecordBook("moves=5"), reporter));
  EXPECT_EQ(book.moves, 1);
  std::string two = oneRecordBook();
  const std::size_t records = two.find("[moves]\r\n") + 9;
  const std::size_t end = two.find("\r\n\r\n[parameters]");
  two.insert(end + 2, two.substr(records, end + 2 - records));
  ASSERT_TRUE(load(book, two, reporter));
  EXPECT_EQ(book.moves, 1) << "moves=1 reads one record of two";
}

TEST(BookSave, WritesCrLfSectionsThatLoadBack) {
  auto app = test::makeApp();
  test::ScratchDir dir;
  BookTable& book = app->book;
  book.setHashSize(64);
  book.sideKey = 7;
  book.keyTable[0] = 224;
  adopt(book, {entry(kKey, kLock, 52, 36, 2), entry(0, 0, 0, 0, 0), entry(kKey + 1, kLock, 12, 28, 1)});
  book.fileName = "saved.obk";
  book.sorted = true;
  ASSERT_TRUE(saveBook(*app));
  EXPECT_EQ(book.moves, 2) << "the entry with key 0 is left out";
  EXPECT_EQ(book.entries()[2].key, kKey + 1) << "and closed up in memory";

  const std::string file = dir.read("saved.obk");
  EXPECT_EQ(file.substr(0, 14), "\r\n[zTab]\r\n'\r\n ") << "side key 7 is the byte 0x27";
  EXPECT_TRUE(has(file, "'\r\n !\r\n \r\n")) << "key value 224 written as \" !\", its lock 0 as \" \"";
  const BookNumeration numbers(224);
  EXPECT_TRUE(has(file, "\r\n\r\n[moves]\r\n" + numbers.encode(kKey) + "\r\n" + numbers.encode(kLock) + "\r\n"));
  const std::string parameters =
      "\r\n\r\n[parameters]\r\nmoves=2\r\nsorted=1\r\nclean=0\r\nnumBase=224\r\nhashSz=64\r\n\r\n";
  EXPECT_EQ(file.substr(file.size() - parameters.size()), parameters);
  for (std::size_t at = 0; (at = file.find('\n', at + 1)) != std::string::npos;) {
    ASSERT_EQ(file[at - 1], '\r') << "every line ends with CR LF";
  }

  TextReporter reporter;
  BookTable back;
  back.setHashSize(64);
  ASSERT_TRUE(back.loadBook("saved.obk", reporter)) << reporter.text();
  EXPECT_EQ(back.sideKey, 7u);
  EXPECT_EQ(back.keyTable[0], 224u);
  ASSERT_EQ(back.moves, 2);
  EXPECT_EQ(back.entries()[2].from, 12);
  EXPECT_EQ(back.entries()[2].to, 28);
}

TEST(BookSave, A32BitRecordIsLockTimes2To32PlusKey) {
  auto app = test::makeApp();
  test::ScratchDir dir;
  adopt(app->book, {entry(0x12345678, 0x9ABCDEF0, 52, 36, 1)});
  app->book.fileName = "b32.obk";
  ASSERT_TRUE(saveBook(*app));
  const std::string file = dir.read("b32.obk");
  const std::size_t first = file.find("[moves]\r\n") + 9;
  const std::size_t lineEnd = file.find("\r\n", first);
  std::uint64_t value = 0;
  ASSERT_TRUE(BookNumeration(224).decode(file.substr(first, lineEnd - first), value));
  EXPECT_EQ(value, 0x9ABCDEF012345678u);
  EXPECT_EQ(file.substr(file.find("\r\n", lineEnd + 2), 7), "\r\n\r\n[pa") << "two lines per record";
  TextReporter reporter;
  BookTable back;
  ASSERT_TRUE(back.loadBook("b32.obk", reporter));
  EXPECT_EQ(back.entries()[1].key, 0x12345678u);
  EXPECT_EQ(back.entries()[1].lock, 0x9ABCDEF0u);
}

TEST(BookLookup, KeepsOnlyTheMovesOfItsOwnLock) {
  BookTable book;
  adopt(book, {entry(10, 1, 52, 36, 5), entry(20, 1, 51, 35, 1), entry(20, 2, 62, 45, 9), entry(20, 1, 50, 34, 4),
               entry(30, 1, 12, 28, 1)});
  ASSERT_EQ(book.lookupPosition(20, 1), 2);
  EXPECT_EQ(book.moveList().moves[0].from, 50) << "most played first";
  EXPECT_EQ(book.moveList().moves[1].from, 51);
  EXPECT_EQ(book.moveList().moves[2].key, 0u) << "end marker";
  ASSERT_EQ(book.lookupPosition(20, 2), 1);
  EXPECT_EQ(book.moveList().moves[0].from, 62);
  EXPECT_EQ(book.bookMoveRank(20, 1, 51, 35), 2u);
  EXPECT_EQ(book.bookMoveRank(20, 2, 51, 35), 0u);
  EXPECT_EQ(book.findBookEntry(20, 1, 50, 34), 4u);
  EXPECT_EQ(book.findBookEntry(20, 2, 50, 34), 0u);
  EXPECT_EQ(book.findBookEntry(10, 1, 52, 36), 1u);
  // Positions outside the book.
  EXPECT_EQ(book.lookupPosition(25, 1), 0);
  EXPECT_EQ(book.lookupPosition(0, 0), 0) << "key 0 marks empty slots";
  EXPECT_EQ(book.bookMoveRank(25, 1, 52, 36), 0u);
  EXPECT_EQ(book.bookMoveRank(10, 1, 64, 36), 0u) << "squares above 63";
  EXPECT_EQ(book.findBookEntry(25, 1, 52, 36), 0u);
  EXPECT_EQ(BookTable().lookupPosition(10, 1), 0) << "no book loaded";
}

TEST(BookLookup, SortsMostPlayedFirstAndEqualCountsInThePartitionOrder) {
  BookTable book;
  // Gathered 2, 1, 3, 4; the partition exchanges first and last of each range: 4, 2, 1, 3.
  adopt(book, {entry(10, 1, 1, 0, 7), entry(10, 1, 2, 0, 7), entry(10, 1, 3, 0, 7), entry(10, 1, 4, 0, 7)});
  ASSERT_EQ(book.lookupPosition(10, 1), 4);
  const auto& list = book.moveList().moves;
  EXPECT_EQ(std::vector<int>({list[0].from, list[1].from, list[2].from, list[3].from}), std::vector<int>({4, 2, 1, 3}));

  const std::uint32_t counts[] = {3, 9, 1, 9, 4, 2, 7, 7, 5};
  std::vector<BookEntry> entries;
  for (int i = 0; i < 9; ++i) entries.push_back(entry(10, 1, i, 0, counts[i]));
  adopt(book, entries);
  ASSERT_EQ(book.lookupPosition(10, 1), 9);
  for (int i = 1; i < 9; ++i) EXPECT_GE(list[i - 1].n, list[i].n) << i;
}

TEST(BookLookup, AboveNinetyNineMovesKeepsTheMostPlayed) {
  BookTable book;
  std::vector<BookEntry> entries;
  for (int i = 0; i < 150; ++i) entries.push_back(entry(10, 1, i % 64, i / 64, static_cast<std::uint32_t>(i + 1)));
  adopt(book, entries);
  ASSERT_EQ(book.lookupPosition(10, 1), 99);
  const auto& list = book.moveList();
  EXPECT_EQ(list.moves[0].n, 150u);
  EXPECT_EQ(list.moves[98].n, 52u) << "games 52..150 are the 99 most played";
  EXPECT_EQ(list.moves[99].key, 0u) << "the end marker still fits";
}

TEST(BookKeys, FollowTheTablesAndTheSideToMove) {
  auto app = test::makeApp();
  BookTable book;
  book.setHashSize(64);
  for (int i = 0; i < BookTable::kTableSize; ++i) {
    book.keyTable[i] = std::uint64_t{1} << (i % 64) | (static_cast<std::uint64_t>(i) << 40);
    book.lockTable[i] = ~book.keyTable[i];
  }
  book.sideKey = 0xF0F0F0F0F0F0F0F0u;
  setPositionFromFen(app->chess, app->game, "8/8/8/8/8/8/8/K6k w - -");
  // White king (kind 1, colour 1) on a1 (56), Black king (colour 0) on h1 (63).
  const int a1 = BookTable::tableIndex(1, 1, 56), h1 = BookTable::tableIndex(1, 0, 63);
  const std::uint64_t key = book.keyTable[a1] ^ book.keyTable[h1];
  const std::uint64_t lock = book.lockTable[a1] ^ book.lockTable[h1];
  EXPECT_EQ(book.computeBookKeys(app->chess.board, kBlack), (BookKeys{key, lock}));
  EXPECT_EQ(book.computeBookKeys(app->chess.board, kWhite), (BookKeys{key ^ book.sideKey, lock ^ book.sideKey}));
  book.setHashSize(32);
  const BookKeys narrow = book.computeBookKeys(app->chess.board, kWhite);
  EXPECT_EQ(narrow.key, (key ^ book.sideKey) & 0xFFFFFFFFu);
  EXPECT_EQ(narrow.lock, (lock ^ book.sideKey) & 0xFFFFFFFFu);
}

}  // namespace
}  // namespace kestrova
