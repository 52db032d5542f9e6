#pragma once
// Helpers of the chess tests: positions from FEN, moves from SAN, board consistency, sample games.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "chess/attacks.hpp"
#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "chess/san.hpp"
#include "pgn/header_lines.hpp"
#include "support/test_app.hpp"

namespace kestrova::test {

inline int sq(const char* name) { return squareOf(name[0], name[1]); }

inline Bitboard squares(std::initializer_list<const char*> names) {
  Bitboard bits = 0;
  for (const char* name : names) bits |= squareBit(sq(name));
  return bits;
}

inline void setSan(Game& game, int ply, const std::string& san) {
  std::memset(game.plies[ply].san, 0, sizeof game.plies[ply].san);
  std::strncpy(game.plies[ply].san, san.c_str(), Move::kSanLength);
}

// Sets the position and decodes and makes the moves from ply 1 on; false at the first move that
// does not decode.
inline bool playSan(App& app, const std::string& fen, const std::vector<std::string>& moves) {
  setPositionFromFen(app.chess, app.game, fen);
  app.game.plyCount = static_cast<int>(moves.size());
  for (std::size_t i = 0; i < moves.size(); ++i) {
    const int ply = static_cast<int>(i) + 1;
    setSan(app.game, ply, moves[i]);
    if (!decodeSanMove(app.chess, app.game, ply)) return false;
    makeMove(app.chess, app.game, ply, app.console);
  }
  return true;
}

inline std::string placementOf(const Board& board) {
  std::string fen;
  writeFen(board, 1, fen);
  return fen.substr(0, fen.find(' '));
}

// The occupancy boards, recomputed from the mailbox and the colour boards, match the stored ones.
inline bool isConsistent(const Board& b) {
  Board rebuilt;
  for (int s = 0; s < 64; ++s) {
    if (b.mailbox[s]) rebuilt.put(b.colourOn(s), b.mailbox[s], s);
  }
  return rebuilt.pieces == b.pieces && rebuilt.colours == b.colours && rebuilt.occupied == b.occupied &&
         rebuilt.occupiedFiles == b.occupiedFiles && rebuilt.occupiedDiagA == b.occupiedDiagA &&
         rebuilt.occupiedDiagB == b.occupiedDiagB;
}

struct SampleGame {
  std::string file;
  int number = 0;
  HeaderLines header;
  std::vector<std::string> tokens;  // the SAN tokens of the movetext, as written
};

// Tag lines and SAN tokens of every game of a sample file (comments, move numbers and the
// result left out).
inline std::vector<SampleGame> readSampleGames(const std::string& name) {
  std::ifstream in(std::string(KESTROVA_TEST_DATA) + "/samples/" + name);
  std::vector<SampleGame> games;
  std::string line;
  bool inMoves = false;
  bool inComment = false;
  while (std::getline(in, line)) {
    if (!inComment && !line.empty() && line[0] == '[') {
      if (games.empty() || inMoves) {
        games.emplace_back();
        games.back().file = name;
        games.back().number = static_cast<int>(games.size());
        inMoves = false;
      }
      HeaderLines& header = games.back().header;
      if (header.count < HeaderLines::kMaxLines - 1) header.lines[header.count++] = line + "\n";
      continue;
    }
    if (line.empty() || games.empty()) continue;
    inMoves = true;
    std::string plain;
    for (char c : line) {
      if (c == '{') inComment = true;
      else if (c == '}') inComment = false, plain += ' ';
      else if (!inComment) plain += c;
    }
    std::istringstream words(plain);
    std::string word;
    while (words >> word) {
      const std::size_t digits = word.find_first_not_of("0123456789.");
      if (digits == std::string::npos) continue;  // a move number
      if (word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*") continue;
      games.back().tokens.push_back(word.substr(digits));
    }
  }
  return games;
}

}  // namespace kestrova::test
