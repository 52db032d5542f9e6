#include "chess/san.hpp"

#include <bit>
#include <cstring>

#include "chess/attacks.hpp"
#include "chess/slider_rays.hpp"

namespace kestrova {

namespace {

// Length of the text, found word-wise: a byte-by-byte search costs a mispredicted branch per move.
int sanLength(const char (&san)[Move::kSanLength + 1]) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighs = 0x8080808080808080u;
  for (int offset = 0; offset + 8 <= Move::kSanLength; offset += 8) {
    std::uint64_t word;
    std::memcpy(&word, san + offset, 8);
    // The lowest marked byte is the first zero byte (marks above it may be false).
    const std::uint64_t zeros = (word - kOnes) & ~word & kHighs;
    if (zeros) return offset + std::countr_zero(zeros) / 8;
  }
  int length = 16;
  while (length < Move::kSanLength && san[length]) ++length;
  return length;
}

bool isRank(char c) { return c >= '1' && c <= '8'; }
bool isFile(char c) { return c >= 'a' && c <= 'h'; }

std::uint16_t promotionFlag(char letter) {
  switch (letter) {
    case 'Q': case 'q': return moveflag::kPromoteQueen;
    case 'R': case 'r': return moveflag::kPromoteRook;
    case 'B': case 'b': return moveflag::kPromoteBishop;
    case 'N': case 'n': return moveflag::kPromoteKnight;
    default: return 0;
  }
}

int pieceOfLetter(char letter) {
  switch (letter) {
    case 'K': return kKing;
    case 'Q': return kQueen;
    case 'R': return kRook;
    case 'B': return kBishop;
    case 'N': return kKnight;
    default: return kNoPiece;
  }
}

// What the notation of a move says, before the board is looked at.
struct Notation {
  int piece = kPawn;
  int fromFile = -1;  // 0..7 when the origin's file is given
  int fromRow = -1;   // 0..7 (0 = rank 8) when its rank is given
  int to = kNoSquare;
  int castle = 0;     // moveflag::kShortCastle or kLongCastle
  std::uint16_t flags = 0;
};

// Reads the notation: SAN or long algebraic ("Nf3", "exd5", "e8=Q", "cxd1Q", "O-O", "0-0-0",
// "e2-e4", "e2e4", "Ng1-f3", "Qh4xe1"), with any check, mate and annotation marks and an "e.p."
// after it. False when the text is no move's notation.
bool readNotation(const char* text, int length, Notation& n) {
  // Marks after the move: check, mate, annotation, en passant.
  while (length > 0) {
    const char c = text[length - 1];
    if (c == '+') {
      n.flags |= moveflag::kCheck;
    } else if (c == '#') {
      n.flags |= moveflag::kMate;
    } else if (c == '!' || c == '?') {
    } else if (c == '.' && length >= 4 && std::memcmp(text + length - 4, "e.p.", 4) == 0) {
      n.flags |= moveflag::kEnPassant;
      length -= 3;
    } else if (c == 'p' && length >= 3 && text[length - 2] == 'e' && isRank(text[length - 3])) {
      n.flags |= moveflag::kEnPassant;  // "exd6ep"
      --length;
    } else {
      break;
    }
    --length;
  }
  if (length == 0) return false;

  if (text[0] == 'O' || text[0] == '0') {
    const char zero = text[0];
    const bool isShort = length == 3 && text[1] == '-' && text[2] == zero;
    const bool isLong = length == 5 && text[1] == '-' && text[2] == zero && text[3] == '-' && text[4] == zero;
    if (!isShort && !isLong) return false;
    n.piece = kKing;
    n.castle = isShort ? moveflag::kShortCastle : moveflag::kLongCastle;
    return true;
  }

  int i = 0;
  if (pieceOfLetter(text[0]) != kNoPiece) n.piece = pieceOfLetter(text[i++]);

  // A promotion closes the text: "=Q", or the letter straight after the destination's rank.
  int end = length;
  if (n.piece == kPawn && end - i >= 3 && promotionFlag(text[end - 1]) && (text[end - 2] == '=' || isRank(text[end - 2]))) {
    n.flags |= promotionFlag(text[end - 1]);
    end -= text[end - 2] == '=' ? 2 : 1;
  }
  if (end - i < 2 || !isFile(text[end - 2]) || !isRank(text[end - 1])) return false;
  n.to = squareOf(text[end - 2], text[end - 1]);
  end -= 2;

  // Between the piece and the destination: an origin file, rank or square, then "x" or "-".
  if (i < end && isFile(text[i])) n.fromFile = text[i++] - 'a';
  if (i < end && isRank(text[i])) n.fromRow = '8' - text[i++];
  if (i < end && text[i] == 'x') {
    n.flags |= moveflag::kCapture;
    ++i;
  } else if (i < end && text[i] == '-') {
    ++i;
  }
  return i == end;
}

// Whether moving the piece from origin to destination leaves the own king unattacked; tried on a
// copy so that the board itself is never touched.
bool keepsKingSafe(const AttackTables& tables, const Board& board, int colour, int piece, int origin, int to,
                   int victim) {
  Board trial = board;
  trial.remove(origin);
  if (victim != kNoSquare) trial.remove(victim);
  trial.put(colour, piece, to);
  const Bitboard king = trial.pieces[colour][kKing];
  if (!king) return true;
  return !isAttacked(tables, trial, 1 - colour, highestSquare(king));
}

// The pieces of the type and colour that can move to the square by their own way of moving; for
// pawns, the pushes to an empty square and the captures of an enemy piece or en passant.
Bitboard reachingPieces(const AttackTables& tables, const Board& board, int own, const Notation& n,
                        bool enPassant) {
  const int to = n.to;
  const Bitboard pieces = board.pieces[own][n.piece];
  switch (n.piece) {
    case kPawn: {
      // A pawn captures when it comes from another file, and only then.
      if (n.fromFile >= 0 && n.fromFile != fileOf(to)) {
        const bool enemyThere = (board.colours[1 - own] & squareBit(to)) != 0;
        return enemyThere || enPassant ? tables.pawnAttackers[own][to] & pieces : 0;
      }
      if (!board.isEmpty(to)) return 0;
      const int step = own == kWhite ? 8 : -8;
      const int back = to + step;
      if (back < 0 || back > 63) return 0;
      if (pieces & squareBit(back)) return squareBit(back);
      // Two squares from the home row, over an empty square.
      const bool fourthRow = own == kWhite ? rowOf(to) == 4 : rowOf(to) == 3;
      return fourthRow && board.isEmpty(back) ? pieces & squareBit(back + step) : 0;
    }
    case kKnight: return tables.knightAttacks[to] & pieces;
    case kBishop: return slidersReaching(pieces & tables.bishopLines[to], board.occupied, to, false, true);
    case kRook: return slidersReaching(pieces & tables.rookLines[to], board.occupied, to, true, false);
    case kQueen: return slidersReaching(pieces, board.occupied, to, true, true);
    case kKing: return tables.kingAttacks[to] & pieces;
    default: return 0;
  }
}

MoveCheck decodeCastling(const AttackTables& tables, const Board& board, int own, const Notation& n, Move& move) {
  const int king = own == kWhite ? 60 : 4;
  const bool isShort = n.castle == moveflag::kShortCastle;
  const int corner = isShort ? king + 3 : king - 4;
  const int step = isShort ? 1 : -1;
  move.piece = kKing;
  move.from = static_cast<std::uint8_t>(king);
  move.to = static_cast<std::uint8_t>(king + 2 * step);
  move.flags = static_cast<std::uint16_t>(n.flags | n.castle);
  // The right stands only while king and rook have not moved (and the rook was not taken).
  if (!(board.castling & squareBit(corner)) || !(board.pieces[own][kKing] & squareBit(king)) ||
      !(board.pieces[own][kRook] & squareBit(corner))) {
    return MoveCheck::kIllegal;
  }
  for (int square = king + step; square != corner; square += step) {
    if (!board.isEmpty(square)) return MoveCheck::kIllegal;
  }
  // Not out of check, not through an attacked square, not into check.
  for (int square = king; square != king + 3 * step; square += step) {
    if (isAttacked(tables, board, 1 - own, square)) return MoveCheck::kIllegal;
  }
  return MoveCheck::kLegal;
}

}  // namespace

MoveCheck decodeSanMove(const AttackTables& tables, const Board& board, int own, Move& move) {
  Notation n;
  if (!readNotation(move.san, sanLength(move.san), n)) return MoveCheck::kUnreadable;
  move.capturedPiece = kNoPiece;
  move.capturedSquare = 0;
  if (n.castle) return decodeCastling(tables, board, own, n, move);

  // Long algebraic without a piece letter ("g1f3", "e1g1"): the piece is the one on the origin.
  if (n.fromFile >= 0 && n.fromRow >= 0) {
    const int from = n.fromRow * 8 + n.fromFile;
    if (n.piece == kPawn && (board.colours[own] & squareBit(from))) n.piece = board.mailbox[from];
    // The king's two-square step from its home is castling ("e1g1", "Ke8c8").
    if (n.piece == kKing && fileOf(from) == 4 && rowOf(from) == rowOf(n.to) &&
        (fileOf(n.to) == 6 || fileOf(n.to) == 2) && !(n.flags & moveflag::kCapture)) {
      n.castle = fileOf(n.to) == 6 ? moveflag::kShortCastle : moveflag::kLongCastle;
      return decodeCastling(tables, board, own, n, move);
    }
  }
  const int to = n.to;
  move.piece = static_cast<std::uint8_t>(n.piece);
  move.to = static_cast<std::uint8_t>(to);
  move.from = 0;
  // The "e.p." mark says nothing the board does not: the flag is set below for a real one.
  move.flags = static_cast<std::uint16_t>(n.flags & ~moveflag::kEnPassant);
  if (board.colours[own] & squareBit(to)) return MoveCheck::kIllegal;
  const bool enemyThere = (board.colours[1 - own] & squareBit(to)) != 0;
  if (enemyThere && board.mailbox[to] == kKing) return MoveCheck::kIllegal;
  const bool enPassant = n.piece == kPawn && !enemyThere && board.enPassant == squareBit(to);
  // An "x" needs something to take; a piece or pawn that takes may omit it.
  if ((n.flags & moveflag::kCapture) && !enemyThere && !enPassant) return MoveCheck::kIllegal;
  if (enemyThere) move.flags |= moveflag::kCapture;
  if (n.piece == kPawn) {
    const bool lastRow = rowOf(to) == (own == kWhite ? 0 : 7);
    if (lastRow != ((n.flags & moveflag::kPromotion) != 0)) return MoveCheck::kIllegal;
  }

  Bitboard candidates = reachingPieces(tables, board, own, n, enPassant);
  if (n.fromFile >= 0) candidates &= tables.files[n.fromFile];
  if (n.fromRow >= 0) candidates &= tables.ranks[7 - n.fromRow];
  if (!candidates) return MoveCheck::kIllegal;

  int victim = enemyThere ? to : kNoSquare;
  if (enPassant && n.fromFile >= 0 && n.fromFile != fileOf(to)) {
    victim = own == kWhite ? to + 8 : to - 8;
    move.flags |= moveflag::kCapture | moveflag::kEnPassant;
  }
  int from = highestSquare(candidates);
  if (candidates & (candidates - 1)) {
    // Several pieces reach the square: a pinned one is no candidate, and one must remain.
    int legal = 0;
    for (Bitboard rest = candidates; rest; rest &= rest - 1) {
      const int square = std::countr_zero(rest);
      if (keepsKingSafe(tables, board, own, n.piece, square, to, victim)) {
        from = square;
        ++legal;
      }
    }
    if (legal != 1) return MoveCheck::kIllegal;
  }
  move.from = static_cast<std::uint8_t>(from);
  return MoveCheck::kLegal;
}

}  // namespace kestrova
