#include "vellum/fen_keys.hpp"

#include "book/book_table.hpp"

namespace kestrova {

namespace {

// The piece kind of a FEN letter (king 1 ... pawn 6), 0 for another character.
int pieceKind(char letter) {
  switch (letter | 0x20) {
    case 'k': return kKing;
    case 'q': return kQueen;
    case 'r': return kRook;
    case 'b': return kBishop;
    case 'n': return kKnight;
    case 'p': return kPawn;
    default: return kNoPiece;
  }
}

}  // namespace

bool bookKeysFromFen(const BookTable& book, const char* fen, BookKeys& keys) {
  keys = BookKeys{};
  if (fen == nullptr) return false;
  int square = 0;
  const char* at = fen;
  for (; *at != '\0' && *at != '\n' && *at != ' '; ++at) {
    const char c = *at;
    if (c == '/') continue;
    if (c >= '1' && c <= '8') {
      square += c - '0';
      continue;
    }
    const int kind = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? pieceKind(c) : kNoPiece;
    // A placement running past h1 would index beyond the tables.
    if (kind == kNoPiece || square > 63) return false;
    const int colour = c >= 'a' ? kBlack : kWhite;
    const int index = BookTable::tableIndex(kind, colour, square);
    keys.key ^= book.keyTable[index];
    keys.lock ^= book.lockTable[index];
    ++square;
  }
  const bool blackToMove = *at == ' ' && at[1] == 'b';
  if (!blackToMove) {
    keys.key ^= book.sideKey;
    keys.lock ^= book.sideKey;
  }
  return true;
}

}  // namespace kestrova
