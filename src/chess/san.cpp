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

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isFile(char c) { return c >= 'a' && c <= 'h'; }

std::uint16_t promotionFlag(char letter) {
  switch (letter) {
    case 'Q': return moveflag::kPromoteQueen;
    case 'R': return moveflag::kPromoteRook;
    case 'B': return moveflag::kPromoteBishop;
    case 'N': return moveflag::kPromoteKnight;
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

// Whether moving the piece from origin to destination leaves the own king unattacked; tried on a
// copy so that the board itself is never touched.
bool keepsKingSafe(const AttackTables& tables, const Board& board, int colour, int piece, int origin, int to,
                   bool capture) {
  Board trial = board;
  trial.remove(origin);
  if (capture) trial.remove(to);
  trial.put(colour, piece, to);
  const Bitboard king = trial.pieces[colour][kKing];
  if (!king) return true;
  return attackersOf(tables, trial, 1 - colour, highestSquare(king)) == 0;
}

}  // namespace

bool decodeSanMove(const AttackTables& tables, const Board& board, int own, Move& move) {
  const char* text = move.san;
  const int length = sanLength(move.san);

  // Suffix: from the end back to the last digit or "O", collecting marks on the way.
  std::uint16_t flags = 0;
  int k = length - 1;
  for (; k >= 0; --k) {
    const char c = text[k];
    if (isDigit(c) || c == 'O') break;
    const char before = k > 0 ? text[k - 1] : '\0';
    if (c == '#') {
      flags |= moveflag::kMate;
    } else if (c == '+') {
      flags |= moveflag::kCheck;
    } else if (c == 'p' && before == 'e') {
      flags |= moveflag::kEnPassant;
    } else if (promotionFlag(c) && (before == '=' || before == '8')) {
      flags = static_cast<std::uint16_t>((flags & ~moveflag::kPromotion) | promotionFlag(c));
    }
  }
  if (k < 1) return false;

  int to = kNoSquare;
  int from = kNoSquare;
  int piece = kPawn;
  Bitboard candidates = 0;
  Bitboard restriction = ~Bitboard{0};
  bool restricted = false;

  if (isFile(text[k - 1]) && isDigit(text[k])) {
    to = squareOf(text[k - 1], text[k]);
    if (to == kNoSquare) return false;
    char letter = '\0';
    // Right to left, so the leftmost file or rank is the one that stays.
    for (int i = k - 2; i >= 0; --i) {
      const char c = text[i];
      if (c == 'x') {
        flags |= moveflag::kCapture;
      } else if (isDigit(c)) {
        restriction = tables.rankMask(c);
        restricted = true;
      } else if (isFile(c)) {
        restriction = tables.fileMask(c);
        restricted = true;
      } else if (pieceOfLetter(c)) {
        letter = c;
      }
    }
    piece = letter ? pieceOfLetter(letter) : kPawn;
    const bool capture = flags & moveflag::kCapture;
    switch (piece) {
      case kPawn:
        if (capture) {
          candidates = tables.pawnAttackers[own][to] & board.pieces[own][kPawn];
        } else {
          // A pawn push: one step back, or two when the square one step back is empty.
          const int step = own == kWhite ? 8 : -8;
          const int back = to + step;
          if (back < 0 || back > 63) return false;
          from = board.isEmpty(back) ? back + step : back;
        }
        break;
      case kBishop:
        candidates =
            slidersReaching(board.pieces[own][kBishop] & tables.bishopLines[to], board.occupied, to, false, true);
        break;
      case kRook:
        candidates = slidersReaching(board.pieces[own][kRook] & tables.rookLines[to], board.occupied, to, true, false);
        break;
      case kQueen: candidates = slidersReaching(board.pieces[own][kQueen], board.occupied, to, true, true); break;
      case kKnight: candidates = tables.knightAttacks[to] & board.pieces[own][kKnight]; break;
      case kKing: candidates = tables.kingAttacks[to] & board.pieces[own][kKing]; break;
      default: break;
    }

    if (piece != kPawn && piece != kKing && (candidates & (candidates - 1)) && !restricted) {
      // Ambiguous without a file or rank: the legal one, the lowest square when several are.
      for (Bitboard rest = candidates; rest;) {
        const int square = highestSquare(rest);
        rest &= ~squareBit(square);
        if (keepsKingSafe(tables, board, own, piece, square, to, capture)) from = square;
      }
    } else if (candidates & restriction) {
      from = highestSquare(candidates & restriction);
    }
  } else if (text[k] == 'O') {
    piece = kKing;
    from = own == kWhite ? 60 : 4;
    const bool shortSide = k < 4;
    to = shortSide ? from + 2 : from - 2;
    flags |= shortSide ? moveflag::kShortCastle : moveflag::kLongCastle;
  } else {
    return false;
  }

  move.flags = flags;
  move.piece = static_cast<std::uint8_t>(piece);
  move.to = static_cast<std::uint8_t>(to);
  move.from = static_cast<std::uint8_t>(from >= 0 && from < 64 ? from : 0);
  move.capturedPiece = kNoPiece;
  move.capturedSquare = 0;
  return from >= 0 && from < 64 && (board.pieces[own][piece] & squareBit(from)) != 0;
}

}  // namespace kestrova
