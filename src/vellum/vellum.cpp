// The exports of libvellum.so over one book per process.
#include "vellum.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>

#include "book/book_statistics.hpp"
#include "book/book_table.hpp"
#include "vellum/fen_keys.hpp"
#include "vellum/move_choice.hpp"
#include "vellum/vellum_log.hpp"

namespace kestrova {
namespace {

// A C interface without handles has nowhere else to keep its book: the one instance of the
// library's state, living as long as the library is loaded.
struct Library {
  BookTable book;
  VellumLog log;
};

Library& library() {
  static Library instance;
  return instance;
}

std::array<char, 3> squareName(int square) {
  return {static_cast<char>('a' + (square & 7)), static_cast<char>('8' - (square >> 3)), '\0'};
}

// Key and lock of the FEN's position, after the checks every query makes; false (logged) when
// there is no book or the FEN can't be read.
bool positionKeys(Library& lib, const char* fen, bool logFailure, BookKeys& keys) {
  if (!lib.book.isLoaded()) {
    lib.log.write("\n> no book loaded\n");
    return false;
  }
  if (bookKeysFromFen(lib.book, fen, keys)) return true;
  if (logFailure) lib.log.write("Can't get Zobrist keys !\n");
  return false;
}

// The position's moves into the list; logs and gives 0 when it is not in the book.
int lookUp(Library& lib, const BookKeys& keys) {
  const int count = lib.book.lookupPosition(keys.key, keys.lock);
  if (count == 0) lib.log.write("\n> no move found in the book\n");
  return count;
}

void logRequest(Library& lib, const char* fen, const char* out) {
  lib.log.write("Requesting moves...\n");
  lib.log.write(fen);
  lib.log.write("\n\n");
  lib.log.write(out);
  lib.log.write("\n");
}

bool wantsLog(int logIt) { return (logIt & 0xFF) != 0; }

}  // namespace
}  // namespace kestrova

using namespace kestrova;

extern "C" int LoadBookFile(const char* path) {
  Library& lib = library();
  lib.log.start();
  lib.book.closeBook();
  lib.book.setNumerationBase(224);
  lib.book.setHashSize(64);
  if (path == nullptr || *path == '\0') {
    lib.log.write("> no book file named\n");
    return 0;
  }
  // The hash size and base are logged by the load's reset.
  return lib.book.loadBook(path, lib.log) ? 1 : 0;
}

extern "C" int LoadBook(void) { return LoadBookFile("book.obk"); }

extern "C" int GetMoves(const char* fen, char* out, int bufSz, int logIt) {
  Library& lib = library();
  if (out == nullptr || bufSz < 1) return 0;
  out[0] = '\0';
  BookKeys keys;
  if (!positionKeys(lib, fen, wantsLog(logIt), keys)) return 0;
  const int count = lookUp(lib, keys);
  if (count == 0) return 0;
  std::size_t length = 0;
  for (int i = 0; i < count; ++i) {
    const BookEntry& move = lib.book.moveList().moves[i];
    const int gain = eloGain(move);
    std::array<char, 128> text;
    const int lineLength = std::snprintf(text.data(), text.size(), "%s%s n=%lu pc=%d myElo=%d perf=%d eloGain=%s%d\n",
                                         squareName(move.from).data(), squareName(move.to).data(),
                                         static_cast<unsigned long>(move.n), move.pc, move.myElo, perf(move),
                                         gain > 0 ? "+" : "", gain);
    if (lineLength < 0 || length + lineLength >= static_cast<std::size_t>(bufSz)) return 0;
    std::memcpy(out + length, text.data(), lineLength + 1);
    length += lineLength;
  }
  if (lib.log.isOpen() && wantsLog(logIt)) logRequest(lib, fen, out);
  return 1;
}

extern "C" int GetAMove(int mode, const char* fen, char* out, int bufSz, int logIt) {
  Library& lib = library();
  if (out != nullptr && bufSz >= 1) out[0] = '\0';
  BookKeys keys;
  if (!positionKeys(lib, fen, wantsLog(logIt), keys)) return 0;
  if (out == nullptr || bufSz <= 4) {
    lib.log.write("\n> please enlarge bufSz\n");
    return 0;
  }
  if (lookUp(lib, keys) == 0) return 0;
  const BookMoveList& list = lib.book.moveList();
  // A position seen in fewer than three games is no book position for a player.
  if (list.moves[0].n < 3) return 0;
  RuntimeRandom random(static_cast<std::uint32_t>(std::time(nullptr)));
  const int chosen = chooseBookMove(list, mode, random);
  if (chosen < 0) return 0;
  const BookEntry& move = list.moves[chosen];
  std::snprintf(out, static_cast<std::size_t>(bufSz), "%s%s", squareName(move.from).data(), squareName(move.to).data());
  if (lib.log.isOpen() && wantsLog(logIt)) logRequest(lib, fen, out);
  return 1;
}

extern "C" int GetData(const char* fen, int maxMoves, char* moves, int* n, int* pc, int* myElo, int* perfs, int* cmt) {
  Library& lib = library();
  BookKeys keys;
  if (!positionKeys(lib, fen, true, keys)) return 0;
  const int count = lookUp(lib, keys);
  if (count == 0) return 0;
  const BookMoveList& list = lib.book.moveList();
  const int filled = maxMoves < count ? maxMoves : count;
  for (int j = 0; j < filled; ++j) {
    const BookEntry& move = list.moves[j];
    // Arrays the caller left out are skipped rather than written through.
    if (moves != nullptr) {
      std::snprintf(moves + j * 5, 5, "%s%s", squareName(move.from).data(), squareName(move.to).data());
    }
    if (n != nullptr) n[j] = static_cast<int>(move.n);
    if (pc != nullptr) pc[j] = move.pc;
    if (myElo != nullptr) myElo[j] = move.myElo;
    if (perfs != nullptr) perfs[j] = perf(move);
    if (cmt != nullptr) cmt[j] = move.cmt;
  }
  return count;
}

extern "C" int CloseBook(void) {
  Library& lib = library();
  lib.book.closeBook();
  lib.log.write("- book closed\n");
  lib.log.close();
  return 1;
}
