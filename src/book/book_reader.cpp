// Loading a book file into the table; the program and the vellum library read books only here.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <string>
#include <string_view>

#include "book/book_reporter.hpp"
#include "book/book_table.hpp"
#include "platform/console.hpp"
#include "platform/line_reader.hpp"

namespace kestrova {

namespace {

enum class LineStatus { kLine, kEnd, kTooLong };

// Reads book-file lines (LF or CR LF) of at most 255 bytes; a longer one makes the file corrupted.
class BookLines {
 public:
  bool open(const std::string& path) { return reader_.open(path); }
  void rewind() { reader_.rewind(); }

  LineStatus next(std::string_view& line) {
    // Room for the longest line, a CR and the LF, so that a CR LF cut in two is never a line end.
    if (!reader_.read(piece_, BookTable::kMaxLine + 3)) return LineStatus::kEnd;
    std::size_t length = piece_.size();
    if (piece_.back() == '\n') --length;
    if (length > BookTable::kMaxLine) return LineStatus::kTooLong;
    line = std::string_view(piece_.data(), length);
    return LineStatus::kLine;
  }

  // Reads lines until one is exactly the text; false at the end of the file or a corrupted line.
  bool seek(std::string_view header, bool& tooLong) {
    std::string_view line;
    for (;;) {
      const LineStatus status = next(line);
      if (status == LineStatus::kTooLong) tooLong = true;
      if (status != LineStatus::kLine) return false;
      if (line == header) return true;
    }
  }

 private:
  platform::LineReader reader_;
  std::string piece_;
};

struct FileParameters {
  long moves = 0;
  bool sorted = false;
  bool clean = false;
  long numBase = 0;
  long hashSz = 0;
};

// The decimal number at the start of the text (an optional minus sign, then digits).
long decimalValue(std::string_view text) {
  long value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  std::from_chars(first, last, value);
  return value;
}

void readParameter(std::string_view line, FileParameters& parameters) {
  static constexpr std::string_view kNames[] = {"moves=", "sorted=", "clean=", "numBase=", "hashSz="};
  for (std::size_t i = 0; i < std::size(kNames); ++i) {
    const std::size_t at = line.find(kNames[i]);
    if (at == std::string_view::npos) continue;
    const long value = decimalValue(line.substr(at + kNames[i].size()));
    switch (i) {
      case 0: parameters.moves = value; break;
      case 1: parameters.sorted = value != 0; break;
      case 2: parameters.clean = value != 0; break;
      case 3: parameters.numBase = value; break;
      default: parameters.hashSz = value; break;
    }
    return;
  }
}

void reportCorrupted(BookReporter& reporter, const std::string& path, const char* reason) {
  reporter.print(colour::kError, "> book file %s corrupted (%s) !\n", path.c_str(), reason);
}

// The most records a file of this size can hold (a record is at least five bytes), so that a
// corrupted count cannot ask for more memory than the records could fill.
long recordRoom(const std::string& path, long stated) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return stated;
  const std::uintmax_t room = size / 5;
  return room < static_cast<std::uintmax_t>(stated) ? static_cast<long>(room) : stated;
}

}  // namespace

bool BookTable::loadBook(const std::string& path, BookReporter& reporter) {
  closeBook();
  resetBook(reporter);
  BookLines file;
  if (!file.open(path)) {
    reporter.write(colour::kError, "> ");
    reporter.print(colour::kDefault, "no %s file found (use newbk command to generate it)\n", path.c_str());
    return false;
  }
  fileName = path.substr(0, kMaxFileName);
  reporter.write(colour::kDefault, "- loading parameters and Zobrist tables...\r");

  FileParameters parameters;
  bool tooLong = false;
  if (!file.seek("[parameters]", tooLong)) {
    if (tooLong) reportCorrupted(reporter, path, "line longer than 255 bytes");
    else reporter.write(colour::kError, "> Kestrova can't find the parameters list in book.obk file\n");
    return false;
  }
  std::string_view line;
  for (;;) {
    const LineStatus status = file.next(line);
    if (status == LineStatus::kTooLong) {
      reportCorrupted(reporter, path, "line longer than 255 bytes");
      return false;
    }
    if (status == LineStatus::kEnd || line.size() < 2) break;
    readParameter(line, parameters);
  }
  if (parameters.moves <= 0) {
    reporter.write(colour::kError, "> no move in book                                \n");
    return false;
  }

  // The tables are read in the file's own base; a file in another base is refused just after.
  const BookNumeration fileNumbers(BookNumeration::isValidBase(parameters.numBase) ? parameters.numBase
                                                                                  : numeration_.base());
  file.rewind();
  tooLong = false;
  if (!file.seek("[zTab]", tooLong)) {
    if (tooLong) reportCorrupted(reporter, path, "line longer than 255 bytes");
    else reporter.write(colour::kError, "> Kestrova can't find Zobrist tables in book.obk file\n");
    return false;
  }
  auto readTableValue = [&](std::uint64_t& value) {
    return file.next(line) == LineStatus::kLine && !line.empty() && fileNumbers.decode(line, value);
  };
  bool tablesRead = readTableValue(sideKey);
  for (int i = 0; tablesRead && i < kTableSize; ++i) {
    tablesRead = readTableValue(keyTable[i]) && readTableValue(lockTable[i]);
  }
  if (!tablesRead) {
    reporter.write(colour::kError, "> Kestrova's Zobrist tables corrupted in book.obk file !\n");
    return false;
  }
  tablesLoaded_ = true;

  if (parameters.numBase != static_cast<long>(numeration_.base())) {
    reporter.print(colour::kError, "- incompatible numeration base : book's file [%ld] <=> program [%u]\n",
                   parameters.numBase, numeration_.base());
    return false;
  }
  if (parameters.hashSz != static_cast<long>(hashSz_)) {
    reporter.print(colour::kError, "- incompatible hash size : book's file [%ld bits] <=> program [%u bits]\n",
                   parameters.hashSz, hashSz_);
    return false;
  }

  const long slots = std::min<long>(recordRoom(path, parameters.moves), std::numeric_limits<int>::max() - 2) + 2;
  std::unique_ptr<BookEntry[]> table(new (std::nothrow) BookEntry[slots]);
  if (!table) {
    reporter.write(colour::kError, "> Kestrova can't allocate enough memory for the book\n");
    return false;
  }
  reporter.print(colour::kDefault, "- %.2f Mb successfully allocated for the book\n",
                 static_cast<double>(slots) * 32 / 1000000);
  reporter.write(colour::kDefault, "- loading book...\r");

  tooLong = false;
  if (!file.seek("[moves]", tooLong)) {
    if (tooLong) reportCorrupted(reporter, path, "line longer than 255 bytes");
    else reporter.write(colour::kError, "> Kestrova can't access the moves list in book.obk file\n");
    return false;
  }
  const long last = slots - 2;
  long count = 0;
  while (count < last) {
    LineStatus status = file.next(line);
    if (status == LineStatus::kLine && line.size() < 2) break;
    BookEntry& entry = table[count + 1];
    std::uint64_t first = 0;
    std::uint64_t data = 0;
    bool complete = status == LineStatus::kLine && numeration_.decode(line, first);
    if (complete && hashSz_ == 64) {
      entry.key = first;
      status = file.next(line);
      complete = status == LineStatus::kLine && numeration_.decode(line, entry.lock);
    } else if (complete) {
      entry.key = first & 0xFFFFFFFFu;
      entry.lock = first >> 32;
    }
    if (complete) {
      status = file.next(line);
      complete = status == LineStatus::kLine && numeration_.decode(line, data);
    }
    // A record cut short by the end of the file ends the book; anything else unreadable
    // makes it corrupted.
    if (status == LineStatus::kEnd) break;
    if (!complete) {
      reportCorrupted(reporter, path, status == LineStatus::kTooLong ? "line longer than 255 bytes"
                                                                     : "unreadable number in the moves list");
      return false;
    }
    unpackMoveData(data, entry);
    ++count;
  }
  table[count + 1].key = 0;
  reporter.print(colour::kDefault, "- %ld book's moves have been successfully loaded\n", count);
  sorted = parameters.sorted;
  clean = parameters.clean;
  adoptEntries(std::move(table), static_cast<int>(count));
  return true;
}

}  // namespace kestrova
