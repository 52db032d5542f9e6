#include "book/new_book.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>
#include <strings.h>
#include <vector>

#include "book/book_key_generation.hpp"
#include "book/book_table.hpp"
#include "book/book_writer.hpp"
#include "book/console_book_reporter.hpp"
#include "book/polyglot_book.hpp"
#include "chess/polyglot_key.hpp"
#include "pgn/game.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/output_files.hpp"
#include "pgn/pgn_file.hpp"
#include "platform/clock.hpp"
#include "platform/console.hpp"
#include "platform/files.hpp"
#include "platform/numbers.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

namespace {

constexpr const char* kBookDirectory = "pgn_book";
constexpr int kPlyLimit = 300;
constexpr int kMinValidElo = 700;
constexpr int kMaxValidElo = 4000;

// b1, c1, f1, g1, b8, c8, f8, g8: the home squares of the minor pieces.
constexpr Bitboard kMinorHomes = squareBit(57) | squareBit(58) | squareBit(61) | squareBit(62) | squareBit(1) |
                                 squareBit(2) | squareBit(5) | squareBit(6);
constexpr Bitboard kKingHomes = squareBit(60) | squareBit(4);

int validElo(const std::string& text) {
  const long elo = leadingInteger(text);
  return elo >= kMinValidElo && elo <= kMaxValidElo ? static_cast<int>(elo) : 0;
}

// The first pass over the games: one raw record per half-move of each game's opening line. The
// replay ends with the line; the records of a game are written once its line has been replayed.
class LineRecorder : public GameVisitor {
 public:
  LineRecorder(const BookTable& book, const Game& game, platform::OutputFile& raw, platform::OutputFile* polyglot)
      : book_(book), game_(game), writer_(raw, book), polyglot_(polyglot) {
    line_.reserve(kPlyLimit);
    polyglotLine_.reserve(kPlyLimit);
  }

  void onGameStart() override {
    const Game& game = game_;
    line_.clear();
    polyglotLine_.clear();
    whiteElo_ = validElo(game.tags.value(kTagWhiteElo));
    blackElo_ = validElo(game.tags.value(kTagBlackElo));
    // White's score is 100, 50 or 0 (every other result, "*" included).
    whitePoints_ = game.resultScore == 100 ? 2 : game.resultScore == 50 ? 1 : 0;
  }

  bool onPly(int ply, const Board& before) override {
    const Game& game = game_;
    const BookTable& book = book_;
    LinePosition at;
    at.ply = ply;
    at.plyCount = game.plyCount;
    at.minPly = book.minPly;
    at.maxPly = book.maxPly;
    at.moveIsActive = isActiveMove(game.plies[ply]);
    at.previousIsActive = ply > game.firstPly() && isActiveMove(game.plies[ply - 1]);
    at.board = &before;
    if (stopsLine(at)) return false;
    const PlyRecord& move = game.plies[ply];
    const int mover = ply % 2 == 1 ? kWhite : kBlack;
    if (ply <= 2 && !isStandardFirstMove(move.from, move.to, mover)) return false;
    const BookKeys keys = book.computeBookKeys(before, mover);
    BookEntry entry;
    entry.key = keys.key;
    entry.lock = keys.lock;
    entry.from = move.from;
    entry.to = move.to;
    entry.cmt = static_cast<std::uint8_t>(mover == kWhite ? whitePoints_ : 2 - whitePoints_);
    entry.myElo = static_cast<std::uint16_t>(mover == kWhite ? whiteElo_ : blackElo_);
    entry.oppElo = static_cast<std::uint16_t>(mover == kWhite ? blackElo_ : whiteElo_);
    line_.push_back(entry);
    if (polyglot_ != nullptr) polyglotLine_.push_back({polyglotKey(before, mover), polyglotMove(move), entry.cmt});
    return true;
  }

  void onGame() override {
    for (const BookEntry& entry : line_) writer_.writeRecord(entry);
    for (const PolyglotEntry& entry : polyglotLine_) writePolyglotEntry(*polyglot_, entry);
    records += static_cast<int>(line_.size());
  }

  int records = 0;

 private:
  const BookTable& book_;
  const Game& game_;
  BookWriter writer_;
  platform::OutputFile* polyglot_;
  std::vector<BookEntry> line_;
  std::vector<PolyglotEntry> polyglotLine_;  // the same moves by their polyglot names; the mover's points
  int whiteElo_ = 0;
  int blackElo_ = 0;
  int whitePoints_ = 0;
};

// The first pass on several threads: each worker records its games' lines to its outputs, which
// the loop writes to the raw files in the order of the games, as one thread would.
class LineRecorders : public GameWorkers {
 public:
  explicit LineRecorders(const BookTable& book) : book_(book) {}

  GameVisitor& addWorker(GameLoop&, const GameLoopParts& games, std::span<platform::OutputFile* const> outputs) override {
    platform::OutputFile* polyglot = outputs[1] != nullptr && outputs[1]->isOpen() ? outputs[1] : nullptr;
    recorders_.push_back(std::make_unique<LineRecorder>(book_, games.game, *outputs[0], polyglot));
    return *recorders_.back();
  }

  int records() const {
    int sum = 0;
    for (const auto& recorder : recorders_) sum += recorder->records;
    return sum;
  }

 private:
  const BookTable& book_;
  std::vector<std::unique_ptr<LineRecorder>> recorders_;
};

// The first pass's view of its input: the games and the book whose limits end the lines.
struct RawBookInput {
  const BookTable& book;
  const GameLoopParts& games;
  platform::Timers& timers;
  platform::OutputFile& raw;
  platform::OutputFile* polyglot;
  int threads = 1;
  int records = 0;
};

// Makes the file the PGN file in memory and adds its games; false when it can't be opened.
bool addFile(RawBookInput& input, const std::string& path) {
  if (!input.games.pgn.open(path)) return false;
  input.timers.restartProcessTimer();
  LineRecorders recorders(input.book);
  platform::OutputFile* const outputs[] = {&input.raw, input.polyglot};
  printGameCounts(input.games.console, runGameWorkers(input.games, GameDepth::kReplay, input.threads, recorders,
                                                      outputs, "> scanning game ", 64));
  input.records += recorders.records();
  return true;
}

// Adds the games of the one file asked, or of every "*.pgn" of the directory; false (reported)
// when an input cannot be read, so that no book is made of part of them.
bool readInput(RawBookInput& input, const std::string& pgn, const std::vector<std::string>& names) {
  Console& console = input.games.console;
  if (!pgn.empty()) {
    console.print(colour::kSuccess, "\n> scanning %s file...\n\n", pgn.c_str());
    if (!addFile(input, pgn)) {
      console.fail("> PGN file not found !\n");
      return false;
    }
    console.writeText("> PGN files scan completed\n", colour::kSuccess);
    return true;
  }
  if (names.empty()) {
    console.fail("> No PGN files found\n");
    return false;
  }
  for (const std::string& name : names) {
    if (strcasecmp(name.c_str(), "pgn-out.pgn") == 0) {
      console.print(colour::kError, "\n> Kestrova can't use %s file as input file\n", name.c_str());
      continue;
    }
    const std::string path = std::string(kBookDirectory) + "/" + name;
    console.print(colour::kSuccess, "\n> scanning %s file...\n\n", path.c_str());
    if (!addFile(input, path)) {
      console.fail("> Kestrova can't open the next file\n");
      return false;
    }
  }
  console.writeText("> PGN files scan completed\n", colour::kSuccess);
  return true;
}

}  // namespace

bool isStandardFirstMove(int from, int to, int colour) {
  if (colour == kWhite) {
    if (from >= 48 && from <= 55) return to == from - 8 || to == from - 16;
    if (from == 57) return to == 40 || to == 42;  // b1: a3, c3
    if (from == 62) return to == 45 || to == 47;  // g1: f3, h3
    return false;
  }
  if (from >= 8 && from <= 15) return to == from + 8 || to == from + 16;
  if (from == 1) return to == 16 || to == 18;  // b8: a6, c6
  if (from == 6) return to == 21 || to == 23;  // g8: f6, h6
  return false;
}

bool isActiveMove(const Move& move) {
  constexpr std::uint16_t kMarks = moveflag::kCheck | moveflag::kMate | moveflag::kCapture | moveflag::kPromotion |
                                   moveflag::kEnPassant | moveflag::kShortCastle | moveflag::kLongCastle;
  return move.piece == kKing || (move.flags & kMarks) != 0;
}

bool stopsLine(const LinePosition& at) {
  if (at.ply > at.plyCount || at.ply > at.maxPly) return true;
  if (at.ply < at.minPly) return false;
  if (at.moveIsActive || at.previousIsActive) return false;
  if (popCount(at.board->occupied & kMinorHomes) > 1) return false;
  const Bitboard kings = at.board->pieces[kWhite][kKing] | at.board->pieces[kBlack][kKing];
  if (kings & kKingHomes) return false;
  return true;
}

void sortBookEntries(BookTable& book) {
  BookEntry* first = book.entries() + 1;
  std::sort(first, first + book.moves, [](const BookEntry& a, const BookEntry& b) {
    if (a.key != b.key) return a.key < b.key;
    if (a.lock != b.lock) return a.lock < b.lock;
    if (a.from != b.from) return a.from < b.from;
    return a.to < b.to;
  });
}

int mergeDoubles(BookTable& book) {
  BookEntry* entries = book.entries();
  const int moves = book.moves;
  int doubles = 0;
  for (int i = 1; i <= moves;) {
    BookEntry& kept = entries[i];
    if (kept.key == 0) {
      ++i;
      continue;
    }
    kept.n = 1;
    std::uint64_t points = kept.cmt;
    std::uint64_t oppSum = kept.oppElo, mySum = kept.myElo;
    std::uint32_t oppCount = kept.oppElo != 0, myCount = kept.myElo != 0;
    int j = i + 1;
    for (; j <= moves; ++j) {
      BookEntry& other = entries[j];
      if (other.key != kept.key || other.lock != kept.lock || other.from != kept.from || other.to != kept.to) break;
      // Past the 20 bits of the count the surplus games are dropped, not counted.
      if (kept.n < BookEntry::kMaxGames) {
        ++kept.n;
        points += other.cmt;
        if (other.oppElo != 0) oppSum += other.oppElo, ++oppCount;
        if (other.myElo != 0) mySum += other.myElo, ++myCount;
      }
      other.key = 0;
      ++doubles;
    }
    const std::uint64_t scaled = points * 50;
    // Rounded to the nearest percent, an exact half down.
    kept.pc = static_cast<std::uint8_t>(scaled / kept.n + (2 * (scaled % kept.n) > kept.n ? 1 : 0));
    kept.oppElo = static_cast<std::uint16_t>(oppCount ? oppSum / oppCount : 0);
    kept.myElo = static_cast<std::uint16_t>(myCount ? mySum / myCount : 0);
    i = j;
  }
  return doubles;
}

bool writeRawBook(BookTable& book, const GameLoopParts& games, platform::Timers& timers,
                  const NewBookRequest& request, platform::OutputFile& raw, platform::OutputFile* rawPolyglot) {
  Console& console = games.console;
  // The books must not replace one of the games they are built from, nor each other; refused
  // before anything changes.
  std::vector<std::string> names;
  if (request.pgn.empty()) platform::listFiles(kBookDirectory, ".pgn", names);
  if (refusesOutputs(console, games.pgn, {request.out, request.bin}, {request.pgn})) return false;
  for (const std::string& name : names) {
    if (refusesOutputs(console, games.pgn, {request.out, request.bin}, {platform::joinPath(kBookDirectory, name)})) {
      return false;
    }
  }
  if (book.isLoaded()) book.closeBook();
  timers.restartProcessTimer();
  book.minPly = std::clamp(request.minPly, 1, kPlyLimit);
  book.maxPly = std::clamp(request.maxPly, 1, kPlyLimit);

  // The raw records stay in the output's temporary file: the earlier book is replaced only by
  // the finished one.
  if (!beginOutputOrSay(console, raw, request.out)) return false;
  platform::OutputFile* polyglot = request.bin.empty() ? nullptr : rawPolyglot;
  if (polyglot != nullptr && !beginOutputOrSay(console, *polyglot, request.bin)) return false;
  console.print(colour::kDefault, "> the maximum length is %d half moves per line\n", book.maxPly);
  console.writeText("> Kestrova is generating a new book\n", colour::kSuccess);

  book.moves = 0;
  book.sorted = false;
  book.clean = false;
  generateBookTables(book);
  BookWriter writer(raw, book);
  writer.writeTables();
  writer.beginMoves();
  RawBookInput input{book, games, timers, raw, polyglot, request.threads};
  if (!readInput(input, request.pgn, names)) return false;
  writer.writeParameters(input.records, false, false);
  return finishScratchOutput(console, raw) && (polyglot == nullptr || finishScratchOutput(console, *polyglot));
}

void finishBook(BookTable& book, Console& console, const PgnFile& open, platform::Timers& timers,
                const NewBookRequest& request, const std::string& rawPath, const std::string& rawPolyglotPath) {
  // The ".bin" is made first, so that its records and the book's are never in memory together.
  platform::OutputFile bin;
  const bool withBin = !request.bin.empty() && !rawPolyglotPath.empty();
  if (withBin && (!beginOutputOrSay(console, bin, request.bin) || !writePolyglotFromRaw(console, rawPolyglotPath, bin))) {
    return;
  }
  ConsoleBookReporter reporter(console);
  if (!book.loadBook(rawPath, reporter)) {
    console.fail("> Kestrova can't reload the book file in order to sort and clean it; \"%s\" is left as it was\n",
                 request.out.c_str());
    return;
  }
  book.fileName = request.out;
  sortBookEntries(book);
  book.sorted = true;
  console.writeText("- book has been sorted\n");
  const int doubles = mergeDoubles(book);
  book.clean = true;
  console.print(colour::kDefault, "- %d double moves deleted\n", doubles);
  // The points the entries held are in pc by now.
  BookEntry* entries = book.entries();
  for (int i = 1; i <= book.moves; ++i) entries[i].cmt = 0;
  bool saved = saveBook(book, console, open);
  if (saved && withBin) {
    saved = finishOutput(console, bin);
    if (saved) console.print(colour::kDefault, "- polyglot book written to %s\n", request.bin.c_str());
  }
  console.print(colour::kDefault, "- process time : %ds             \n", timers.elapsedSeconds());
  if (saved) console.writeText("- book fully created\n");
  book.closeBook();
  console.writeText("- book closed\n");
}

void buildBook(BookTable& book, const GameLoopParts& games, platform::Timers& timers, const NewBookRequest& request) {
  platform::OutputFile raw, rawPolyglot;
  if (writeRawBook(book, games, timers, request, raw, &rawPolyglot)) {
    finishBook(book, games.console, games.pgn, timers, request, raw.temporaryPath(), rawPolyglot.temporaryPath());
  }
}

}  // namespace kestrova
