// Decoding and making every half-move of the sample games, the key check included.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "chess/chess_core.hpp"
#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "chess/san.hpp"
#include "chess/zobrist.hpp"

namespace {

using namespace kestrova;

struct SampleGame {
  std::string fen{kStartPosition};
  std::vector<Move> moves;
};

// The start position and SAN tokens of every game of the sample files.
std::vector<SampleGame> readSamples() {
  std::vector<SampleGame> games;
  for (const char* name : {"a_roundrobin.pgn", "b_gauntlet.pgn", "c_swiss.pgn", "d_match.pgn", "e_setup.pgn"}) {
    std::ifstream in(std::string(KESTROVA_TEST_DATA) + "/samples/" + name);
    std::string line;
    bool inMoves = true, inComment = false;
    while (std::getline(in, line)) {
      if (!inComment && line.starts_with("[")) {
        if (inMoves) games.emplace_back();
        inMoves = false;
        if (line.starts_with("[FEN \"")) games.back().fen = line.substr(6, line.rfind('"') - 6);
        continue;
      }
      if (line.empty()) continue;
      inMoves = true;
      std::string plain;
      for (char c : line) {
        if (c == '{') inComment = true;
        else if (c == '}') inComment = false;
        else if (!inComment) plain += c;
      }
      std::istringstream words(plain);
      std::string word;
      while (words >> word) {
        const std::size_t start = word.find_first_not_of("0123456789.");
        if (start == std::string::npos || word == "1-0" || word == "0-1" || word == "1/2-1/2" || word == "*") continue;
        Move& move = games.back().moves.emplace_back();
        std::strncpy(move.san, word.c_str() + start, Move::kSanLength);
      }
    }
  }
  return games;
}

void BM_DecodeAndMakeSampleGames(benchmark::State& state) {
  ChessCore core;
  core.keyCheck = true;
  std::vector<SampleGame> samples = readSamples();
  std::int64_t halfMoves = 0;
  for (auto _ : state) {
    for (SampleGame& sample : samples) {
      parseFen(core.board, sample.fen);
      int mover = core.board.side == kBlack ? kBlack : kWhite;
      PositionKeys keys = computePositionKeys(*core.zobrist, core.board, mover);
      for (Move& move : sample.moves) {
        if (decodeSanMove(*core.attacks, core.board, mover, move) != MoveCheck::kLegal) {
          state.SkipWithError("a sample move did not decode");
          return;
        }
        if (!makeMove(core, move, keys)) {
          state.SkipWithError("keys found corrupted");
          return;
        }
        keys = move.keys;
        mover = 1 - mover;
      }
      halfMoves += static_cast<std::int64_t>(sample.moves.size());
    }
  }
  state.SetItemsProcessed(halfMoves);
  state.counters["half-moves/s"] = benchmark::Counter(static_cast<double>(halfMoves), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeAndMakeSampleGames)->Unit(benchmark::kMillisecond);

}  // namespace
