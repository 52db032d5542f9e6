#include "chess/chess_core.hpp"

namespace kestrova {

ChessCore::ChessCore() : zobrist(generateZobristKeys(1)), attacks(buildAttackTables()) {}

}  // namespace kestrova
