#include "generator_san.hpp"

namespace kestrova::bench {

namespace {

constexpr char kPieceLetters[] = " KQRBNP";

char fileLetter(int square) { return static_cast<char>('a' + fileOf(square)); }
char rankDigit(int square) { return static_cast<char>('8' - rowOf(square)); }

}  // namespace

int writeSan(const GenMoveList& legal, const GenMove& move, bool mate, char* out) {
  int n = 0;
  if (move.kind == MoveKind::kShortCastle || move.kind == MoveKind::kLongCastle) {
    const char* text = move.kind == MoveKind::kShortCastle ? "O-O" : "O-O-O";
    while (*text) out[n++] = *text++;
  } else {
    const bool capture = move.captured != kNoPiece;
    if (move.piece == kPawn) {
      if (capture) {
        out[n++] = fileLetter(move.from);
        out[n++] = 'x';
      }
    } else {
      out[n++] = kPieceLetters[move.piece];
      // Another piece of the same kind that can go to the same square asks for the file, or the
      // rank when they share the file, or both when neither alone tells them apart.
      bool rival = false, sameFile = false, sameRank = false;
      for (int i = 0; i < legal.count; ++i) {
        const GenMove& other = legal.moves[i];
        if (other.to != move.to || other.piece != move.piece || other.from == move.from) continue;
        rival = true;
        if (fileOf(other.from) == fileOf(move.from)) sameFile = true;
        if (rowOf(other.from) == rowOf(move.from)) sameRank = true;
      }
      if (rival && (!sameFile || sameRank)) out[n++] = fileLetter(move.from);
      if (rival && sameFile) out[n++] = rankDigit(move.from);
      if (capture) out[n++] = 'x';
    }
    out[n++] = fileLetter(move.to);
    out[n++] = rankDigit(move.to);
    if (move.promotion != kNoPiece) {
      out[n++] = '=';
      out[n++] = kPieceLetters[move.promotion];
    }
  }
  if (mate) out[n++] = '#';
  else if (move.givesCheck) out[n++] = '+';
  out[n] = '\0';
  return n;
}

}  // namespace kestrova::bench
