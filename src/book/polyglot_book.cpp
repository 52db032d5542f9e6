#include "book/polyglot_book.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unordered_set>

#include "book/book_table.hpp"
#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "chess/polyglot_key.hpp"
#include "platform/console.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

namespace {

constexpr std::size_t kEntrySize = 16;

std::uint64_t readBigEndian(const unsigned char* bytes, int size) {
  std::uint64_t value = 0;
  for (int i = 0; i < size; ++i) value = value << 8 | bytes[i];
  return value;
}

// In the order given: ascending keys, the moves of a position as addPolyglotPosition ranked them.
void writeEntries(platform::OutputFile& out, const std::vector<PolyglotEntry>& entries) {
  for (const PolyglotEntry& entry : entries) writePolyglotEntry(out, entry);
}

// A book move can be played from a position that the book does not tell apart from the one it was
// played in, but whose castling right or en-passant square is gone.
bool isPlayable(const Board& board, const Move& move, int side) {
  if (!(board.colours[side] & squareBit(move.from)) || (board.colours[side] & squareBit(move.to))) return false;
  if (move.flags & moveflag::kShortCastle) return (board.castling & squareBit(move.from + 3)) != 0;
  if (move.flags & moveflag::kLongCastle) return (board.castling & squareBit(move.from - 4)) != 0;
  const bool enPassant = move.piece == kPawn && fileOf(move.from) != fileOf(move.to) && board.isEmpty(move.to);
  return !enPassant || board.enPassant == squareBit(move.to);
}

}  // namespace

void writePolyglotEntry(platform::OutputFile& out, const PolyglotEntry& entry) {
  char bytes[kEntrySize] = {};  // the last four, learn, stay 0
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(entry.key >> (56 - 8 * i));
  bytes[8] = static_cast<char>(entry.move >> 8);
  bytes[9] = static_cast<char>(entry.move);
  bytes[10] = static_cast<char>(entry.weight >> 8);
  bytes[11] = static_cast<char>(entry.weight);
  out.write(std::string_view(bytes, kEntrySize));
}

void halveTallies(std::vector<PolyglotTally>& tallies) {
  for (PolyglotTally& tally : tallies) {
    tally.games = (tally.games + 1) / 2;
    tally.points = (tally.points + 1) / 2;
  }
}

void addPolyglotPosition(std::uint64_t key, std::vector<PolyglotTally>& tallies, std::vector<PolyglotEntry>& entries) {
  std::stable_sort(tallies.begin(), tallies.end(), [](const auto& a, const auto& b) { return a.points > b.points; });
  for (const PolyglotTally& tally : tallies) {
    if (tally.points == 0) break;
    entries.push_back({key, tally.move, static_cast<std::uint16_t>(std::min<std::uint32_t>(tally.points, 65535))});
  }
}

bool writePolyglotFromRaw(Console& console, const std::string& rawPath, platform::OutputFile& out) {
  std::vector<PolyglotEntry> records;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(rawPath, error);
  if (!error) records.reserve(size / kEntrySize);
  bool readable = false;
  if (std::FILE* file = std::fopen(rawPath.c_str(), "rb")) {
    unsigned char bytes[kEntrySize];
    while (std::fread(bytes, 1, kEntrySize, file) == kEntrySize) {
      records.push_back({readBigEndian(bytes, 8), static_cast<std::uint16_t>(readBigEndian(bytes + 8, 2)),
                         static_cast<std::uint16_t>(readBigEndian(bytes + 10, 2))});
    }
    readable = std::feof(file) && !std::ferror(file);
    std::fclose(file);
  }
  if (!readable) {
    console.fail("> can't read back the polyglot records of the book\n");
    return false;
  }
  // The records of a position stay in game order: the halving and the order of equal weights
  // depend on it.
  std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.key < b.key; });
  std::vector<PolyglotEntry> entries;
  std::vector<PolyglotTally> tallies;
  for (std::size_t first = 0, last = 0; first < records.size(); first = last) {
    tallies.clear();
    for (last = first; last < records.size() && records[last].key == records[first].key; ++last) {
      const std::uint16_t move = records[last].move;
      auto tally = std::find_if(tallies.begin(), tallies.end(), [&](const auto& t) { return t.move == move; });
      if (tally == tallies.end()) tally = tallies.insert(tallies.end(), PolyglotTally{move});
      ++tally->games;
      tally->points += records[last].weight;
      if (tally->games >= kPolyglotGameLimit) halveTallies(tallies);
    }
    addPolyglotPosition(records[first].key, tallies, entries);
  }
  writeEntries(out, entries);
  return true;
}

int exportPolyglotBook(BookTable& book, ChessCore& chess, platform::OutputFile& out) {
  const Board kept = chess.board;
  Board start;
  parseFen(start, kStartPosition);
  std::vector<Board> pending{start};
  std::unordered_set<std::uint64_t> seen;
  std::vector<PolyglotEntry> entries;
  std::vector<PolyglotTally> tallies;
  while (!pending.empty()) {
    const Board board = pending.back();
    pending.pop_back();
    const int side = board.side == kWhite ? kWhite : kBlack;
    const std::uint64_t key = polyglotKey(board, side);
    // A transposition is written once.
    if (!seen.insert(key).second) continue;
    const BookKeys keys = book.computeBookKeys(board, side);
    const int count = book.lookupPosition(keys.key, keys.lock);
    tallies.clear();
    for (int i = 0; i < count; ++i) {
      const BookEntry& bookMove = book.moveList().moves[i];
      Move move = moveFromSquares(board, bookMove.from, bookMove.to);
      if (!isPlayable(board, move, side)) continue;
      // Rounded to the nearest point: pc is the points' share rounded to a percent.
      const std::uint32_t points = (bookMove.pc * bookMove.n + 25) / 50;
      tallies.push_back({polyglotMove(move), bookMove.n, points});
      chess.board = board;
      makeMove(chess, move, computePositionKeys(*chess.zobrist, board, side));
      pending.push_back(chess.board);
    }
    const auto mostGames = [&] {
      std::uint32_t most = 0;
      for (const PolyglotTally& tally : tallies) most = std::max(most, tally.games);
      return most;
    };
    while (mostGames() >= kPolyglotGameLimit) halveTallies(tallies);
    addPolyglotPosition(key, tallies, entries);
  }
  chess.board = kept;
  std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.key < b.key; });
  writeEntries(out, entries);
  return static_cast<int>(entries.size());
}

}  // namespace kestrova
