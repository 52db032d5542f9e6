// SAN decoding on many positions: a position string from the input or one of a few fixed
// positions, then SAN texts decoded one after another; each decoded move is made.
//
// Input: one byte choosing the position (below 0x40: the input's first line is the position
// string; otherwise one of the fixed positions), then one SAN text per line (cut to 19 characters).
// The decoder must leave the board untouched and succeed only with its piece on the origin; every
// move made must keep the board consistent and its incremental keys equal to computed ones.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "chess/san.hpp"
#include "chess/zobrist.hpp"
#include "fuzz_support.hpp"

namespace {

constexpr std::string_view kPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "4k3/8/8/b7/8/2N5/8/4K1N1 w - - 0 1",         // the c3 knight is pinned
    "1n2k3/P1P5/8/3pP3/8/8/p1p5/1N2K3 w - d6 0 1",  // promotions and en passant
    "1n2k3/P1P5/8/8/3pP3/8/p1p5/1N2K3 b - e3 0 1",
    "Q6Q/8/8/8/8/8/8/Q3K2k w - - 0 1",              // three queens reach the same squares
    "8/8/8/8/8/8/8/8 w - - 0 1",
    "k7/8/8/8/8/8/8/7K b - - 0 1",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestrova;
  using namespace kestrova::fuzz;
  if (size < 1) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::size_t pos = 0;
  std::string_view fen;
  if (data[0] < 0x40) {
    pos = std::min(input.find('\n'), input.size());
    fen = input.substr(0, pos);
    if (pos < input.size()) ++pos;
  } else {
    fen = kPositions[data[0] % std::size(kPositions)];
  }

  // The chess core alone, as a replay uses it: its tables are built once for the whole run.
  static ChessCore core;
  core.keyCheck = true;
  parseFen(core.board, fen);
  checkBoard(core.board);
  // A position without a side to move is played from White, with keys of the side it has.
  PositionKeys keys = computePositionKeys(*core.zobrist, core.board, core.board.side);
  int mover = core.board.side == kBlack ? kBlack : kWhite;
  while (pos < input.size()) {
    const std::size_t end = std::min(input.find('\n', pos), input.size());
    const std::string_view san = input.substr(pos, std::min<std::size_t>(end - pos, Move::kSanLength));
    pos = end < input.size() ? end + 1 : end;

    Move move;
    std::memcpy(move.san, san.data(), san.size());
    const Board before = core.board;
    const bool decoded = decodeSanMove(*core.attacks, core.board, mover, move) == MoveCheck::kLegal;
    if (!sameBoard(before, core.board)) fail("the decoder changed the board");
    if (!decoded) continue;
    if (move.from > 63 || move.to > 63) fail("decoded squares off the board");
    if (move.piece < kKing || move.piece > kPawn) fail("decoded piece is no piece");
    if (!(core.board.pieces[mover][move.piece] & squareBit(move.from))) fail("no piece of the mover on the origin");
    if (!makeMove(core, move, keys)) {
      std::fprintf(stderr, "after \"%s\" in %.*s\n", move.san, static_cast<int>(fen.size()), fen.data());
      fail("the incremental keys differ from the computed ones");
    }
    checkBoard(core.board);
    keys = move.keys;
    mover = 1 - mover;
  }
  return 0;
}
