#include "chess/make_move.hpp"

#include "chess/chess_core.hpp"
#include "chess/zobrist.hpp"

namespace kestrova {

namespace {

constexpr Bitboard kCastlingCorners = squareBit(0) | squareBit(7) | squareBit(56) | squareBit(63);

// The square of the piece an en-passant capture takes, when an opposing pawn stands there.
int enPassantVictim(const Board& board, int colour, int to) {
  const int square = colour == kWhite ? to + 8 : to - 8;
  if (square < 0 || square > 63) return kNoSquare;
  const bool pawn = board.pieces[1 - colour][kPawn] & squareBit(square);
  return pawn ? square : kNoSquare;
}

// Moves the castling rook; false when the rook is not at home or its target is taken.
bool moveCastlingRook(Board& board, int colour, int to, bool shortSide) {
  const int file = fileOf(to);
  if (shortSide ? (file < 1 || file > 6) : (file < 2 || file > 6)) return false;
  const int home = shortSide ? to + 1 : to - 2;
  const int target = shortSide ? to - 1 : to + 1;
  if (!(board.pieces[colour][kRook] & squareBit(home)) || !board.isEmpty(target)) return false;
  board.shift(colour, kRook, home, target);
  return true;
}

}  // namespace

bool makeMove(ChessCore& core, Move& move, const PositionKeys& before) {
  Board& board = core.board;
  move.keys = before;
  move.capturedPiece = kNoPiece;
  move.capturedSquare = 0;
  const int from = move.from;
  const int to = move.to;
  const int colour = from < 64 && (board.colours[kWhite] & squareBit(from)) ? kWhite : kBlack;
  // A move that breaks the incremental key rules gets its keys from scratch instead; so does a
  // move out of turn, whose previous keys hold the other side to move.
  bool regular = (board.side == kBlack) == (colour == kBlack);
  board.side = colour;

  // Without a piece on the origin nothing moves; only the turn passes.
  if (from < 64 && to < 64 && from != to && !board.isEmpty(from)) {
    const int piece = move.piece >= kKing && move.piece <= kPawn ? move.piece : board.mailbox[from];
    if (piece != move.piece || board.mailbox[from] != piece) regular = false;

    const bool doubleStep = board.mailbox[from] == kPawn && (from - to == 16 || to - from == 16);
    board.enPassant = doubleStep ? squareBit((from + to) / 2) : 0;

    int victim = kNoSquare;
    if (!board.isEmpty(to)) {
      victim = to;  // also without a capture flag, so that no square holds two pieces
    } else if (move.flags & moveflag::kCapture) {
      victim = enPassantVictim(board, colour, to);
      if (victim == kNoSquare) regular = false;
    }
    if (victim != kNoSquare) {
      if (board.colourOn(victim) == colour) {
        regular = false;  // an own piece cannot be a capture
      } else {
        move.capturedPiece = board.mailbox[victim];
        move.capturedSquare = static_cast<std::uint8_t>(victim);
      }
      board.remove(victim);
    }

    if (piece == board.mailbox[from]) {
      board.shift(colour, piece, from, to);
    } else {
      board.remove(from);
      board.put(colour, piece, to);
    }

    board.castling &= ~(squareBit(from) | squareBit(to));
    if (from == 4) board.castling &= ~(squareBit(0) | squareBit(7));
    if (from == 60) board.castling &= ~(squareBit(56) | squareBit(63));

    if (move.flags & moveflag::kShortCastle) {
      regular = moveCastlingRook(board, colour, to, true) && regular;
    } else if (move.flags & moveflag::kLongCastle) {
      regular = moveCastlingRook(board, colour, to, false) && regular;
    }

    if (move.flags & moveflag::kPromotion) {
      const int promoted = promotedType(move.flags);
      if (piece == kPawn) {
        board.remove(to);
        board.put(colour, promoted, to);
      } else {
        regular = false;
      }
    }
  } else {
    board.enPassant = 0;
    regular = false;
  }

  const int next = 1 - colour;
  if (board.halfMoveClock < 65535) ++board.halfMoveClock;
  if (move.piece == kPawn || move.capturedPiece != kNoPiece) board.halfMoveClock = 0;
  if (colour == kBlack && board.fullMoveNumber < 65535) ++board.fullMoveNumber;
  bool keysAgree = true;
  if (regular) {
    updatePositionKeys(*core.zobrist, board, move, move.keys);
    keysAgree = !core.keyCheck || computePositionKeys(*core.zobrist, board, next) == move.keys;
  } else {
    move.keys = computePositionKeys(*core.zobrist, board, next);
  }
  board.side = next;
  return keysAgree;
}

Move moveFromSquares(const Board& board, int from, int to) {
  Move move;
  move.piece = board.mailbox[from];
  move.from = static_cast<std::uint8_t>(from);
  move.to = static_cast<std::uint8_t>(to);
  if (!board.isEmpty(to)) move.flags |= moveflag::kCapture;
  const int step = to - from;
  if (move.piece == kPawn) {
    // A diagonal step onto an empty square is an en-passant capture.
    if (step != 8 && step != -8 && step != 16 && step != -16) move.flags |= moveflag::kCapture;
    if (to < 8 || to >= 56) move.flags |= moveflag::kPromoteQueen;
  } else if (move.piece == kKing) {
    if (step == 2) move.flags |= moveflag::kShortCastle;
    if (step == -2) move.flags |= moveflag::kLongCastle;
  }
  return move;
}

}  // namespace kestrova
