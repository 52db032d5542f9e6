#include "chess/chess_core.hpp"

namespace kestrova {

ChessCore::ChessCore() : zobrist(generateZobristKeys(1)), attacks(buildAttackTables()) {
  // Room for the longest text, so that writing a position never allocates.
  previousFen.reserve(kFenCapacity + 1);
  currentFen.reserve(kFenCapacity + 1);
}

}  // namespace kestrova
