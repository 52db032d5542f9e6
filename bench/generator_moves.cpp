#include "generator_moves.hpp"

#include "chess/attacks.hpp"

namespace kestrova::bench {

namespace {

// Castling rights are the rooks' home squares, as on the chess core's board.
constexpr int kA8 = 0, kE8 = 4, kH8 = 7, kA1 = 56, kE1 = 60, kH1 = 63;
constexpr Bitboard kWhiteRights = squareBit(kA1) | squareBit(kH1);
constexpr Bitboard kBlackRights = squareBit(kA8) | squareBit(kH8);

int kingSquare(const Board& board, int colour) { return highestSquare(board.pieces[colour][kKing]); }

// Plays a pseudo-legal move on a copy and keeps it when the mover's king is then safe.
void addIfLegal(const AttackTables& tables, const Board& board, GenMove move, GenMoveList& list) {
  Board after = board;
  playGenMove(after, move);
  const int us = board.side;
  if (isAttacked(tables, after, 1 - us, kingSquare(after, us))) return;
  move.givesCheck = isAttacked(tables, after, us, kingSquare(after, 1 - us));
  list.moves[list.count++] = move;
}

void addPawnMove(const AttackTables& tables, const Board& board, GenMove move, GenMoveList& list) {
  const int row = rowOf(move.to);
  if (row != 0 && row != 7) {
    addIfLegal(tables, board, move, list);
    return;
  }
  for (int promotion : {kQueen, kRook, kBishop, kKnight}) {
    move.promotion = static_cast<std::uint8_t>(promotion);
    addIfLegal(tables, board, move, list);
  }
}

void addPawnMoves(const AttackTables& tables, const Board& board, int from, GenMoveList& list) {
  const int us = board.side;
  const int step = us == kWhite ? -8 : 8;
  const int homeRow = us == kWhite ? 6 : 1;
  GenMove move;
  move.from = static_cast<std::uint8_t>(from);
  move.piece = kPawn;

  const int ahead = from + step;
  if (board.isEmpty(ahead)) {
    move.to = static_cast<std::uint8_t>(ahead);
    addPawnMove(tables, board, move, list);
    const int twoAhead = ahead + step;
    if (rowOf(from) == homeRow && board.isEmpty(twoAhead)) {
      move.to = static_cast<std::uint8_t>(twoAhead);
      move.kind = MoveKind::kDoubleStep;
      addIfLegal(tables, board, move, list);
      move.kind = MoveKind::kNormal;
    }
  }
  for (int side : {-1, 1}) {
    const int file = fileOf(from) + side;
    if (file < 0 || file > 7) continue;
    const int to = ahead + side;
    move.to = static_cast<std::uint8_t>(to);
    if (board.colours[1 - us] & squareBit(to)) {
      move.captured = board.mailbox[to];
      move.kind = MoveKind::kNormal;
      addPawnMove(tables, board, move, list);
    } else if (board.enPassant & squareBit(to)) {
      move.captured = kPawn;
      move.kind = MoveKind::kEnPassant;
      addIfLegal(tables, board, move, list);
    }
    move.captured = kNoPiece;
    move.kind = MoveKind::kNormal;
    move.promotion = kNoPiece;
  }
}

Bitboard pieceTargets(const AttackTables& tables, const Board& board, int piece, int from) {
  switch (piece) {
    case kKnight: return tables.knightAttacks[from];
    case kBishop: return diagAReach(tables, board, from) | diagBReach(tables, board, from);
    case kRook: return rankReach(tables, board, from) | fileReach(tables, board, from);
    case kQueen:
      return diagAReach(tables, board, from) | diagBReach(tables, board, from) | rankReach(tables, board, from) |
             fileReach(tables, board, from);
    case kKing: return tables.kingAttacks[from];
    default: return 0;
  }
}

void addCastlings(const AttackTables& tables, const Board& board, GenMoveList& list) {
  const int us = board.side;
  const int them = 1 - us;
  const int king = us == kWhite ? kE1 : kE8;
  if (!(board.pieces[us][kKing] & squareBit(king)) || isAttacked(tables, board, them, king)) return;
  const int shortRook = us == kWhite ? kH1 : kH8;
  const int longRook = us == kWhite ? kA1 : kA8;
  GenMove move;
  move.from = static_cast<std::uint8_t>(king);
  move.piece = kKing;
  // The king may not cross an attacked square; the square it lands on is checked like any move.
  if ((board.castling & squareBit(shortRook)) && (board.pieces[us][kRook] & squareBit(shortRook)) &&
      board.isEmpty(king + 1) && board.isEmpty(king + 2) && !isAttacked(tables, board, them, king + 1)) {
    move.to = static_cast<std::uint8_t>(king + 2);
    move.kind = MoveKind::kShortCastle;
    addIfLegal(tables, board, move, list);
  }
  if ((board.castling & squareBit(longRook)) && (board.pieces[us][kRook] & squareBit(longRook)) &&
      board.isEmpty(king - 1) && board.isEmpty(king - 2) && board.isEmpty(king - 3) &&
      !isAttacked(tables, board, them, king - 1)) {
    move.to = static_cast<std::uint8_t>(king - 2);
    move.kind = MoveKind::kLongCastle;
    addIfLegal(tables, board, move, list);
  }
}

}  // namespace

void setStartPosition(Board& board) {
  board.clear();
  constexpr int kBackRank[8] = {kRook, kKnight, kBishop, kQueen, kKing, kBishop, kKnight, kRook};
  for (int file = 0; file < 8; ++file) {
    board.put(kBlack, kBackRank[file], file);
    board.put(kBlack, kPawn, 8 + file);
    board.put(kWhite, kPawn, 48 + file);
    board.put(kWhite, kBackRank[file], 56 + file);
  }
  board.side = kWhite;
  board.castling = kWhiteRights | kBlackRights;
  board.enPassant = 0;
}

void playGenMove(Board& board, const GenMove& move) {
  const int us = board.side;
  if (move.kind == MoveKind::kEnPassant) {
    board.remove(us == kWhite ? move.to + 8 : move.to - 8);
  } else if (move.captured != kNoPiece) {
    board.remove(move.to);
  }
  if (move.promotion != kNoPiece) {
    board.remove(move.from);
    board.put(us, move.promotion, move.to);
  } else {
    board.shift(us, move.piece, move.from, move.to);
  }
  if (move.kind == MoveKind::kShortCastle) board.shift(us, kRook, move.to + 1, move.to - 1);
  if (move.kind == MoveKind::kLongCastle) board.shift(us, kRook, move.to - 2, move.to + 1);
  // A rook leaving home or taken there ends its castling; a king move ends both.
  board.castling &= ~(squareBit(move.from) | squareBit(move.to));
  if (move.piece == kKing) board.castling &= ~(us == kWhite ? kWhiteRights : kBlackRights);
  board.enPassant = move.kind == MoveKind::kDoubleStep ? squareBit((move.from + move.to) / 2) : 0;
  board.side = 1 - us;
}

void generateLegalMoves(const AttackTables& tables, const Board& board, GenMoveList& list) {
  list.count = 0;
  const int us = board.side;
  const Bitboard own = board.colours[us];
  for (Bitboard pieces = own; pieces != 0; pieces &= pieces - 1) {
    const int from = std::countr_zero(pieces);
    const int piece = board.mailbox[from];
    if (piece == kPawn) {
      addPawnMoves(tables, board, from, list);
      continue;
    }
    for (Bitboard targets = pieceTargets(tables, board, piece, from) & ~own; targets != 0; targets &= targets - 1) {
      const int to = std::countr_zero(targets);
      GenMove move;
      move.from = static_cast<std::uint8_t>(from);
      move.to = static_cast<std::uint8_t>(to);
      move.piece = static_cast<std::uint8_t>(piece);
      move.captured = board.mailbox[to];
      addIfLegal(tables, board, move, list);
    }
  }
  addCastlings(tables, board, list);
}

bool sideInCheck(const AttackTables& tables, const Board& board) {
  return isAttacked(tables, board, 1 - board.side, kingSquare(board, board.side));
}

}  // namespace kestrova::bench
