// Decoding and making every half-move of the sample games, the key check included.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "chess/fen.hpp"
#include "chess/make_move.hpp"
#include "chess/san.hpp"
#include "pgn/header_lines.hpp"
#include "shell/app.hpp"

namespace {

using namespace kestrova;

struct SampleGame {
  HeaderLines header;
  std::unique_ptr<Game> game = std::make_unique<Game>();
  int firstPly = 1;
};

// The tag lines and SAN tokens of every game of the sample files.
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
        HeaderLines& header = games.back().header;
        if (header.count < HeaderLines::kMaxLines - 1) header.lines[header.count++] = line + "\n";
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
        Game& game = *games.back().game;
        ++game.plyCount;
        std::strncpy(game.plies[game.plyCount].san, word.c_str() + start, Move::kSanLength);
      }
    }
  }
  return games;
}

void BM_DecodeAndMakeSampleGames(benchmark::State& state) {
  App app(Console::capturing(), platform::Input(""));
  app.chess.keyCheck = true;
  std::vector<SampleGame> samples = readSamples();
  // A game that starts with Black to move plays from ply 2; ply 1 keeps the start keys.
  for (SampleGame& sample : samples) {
    setPositionFromFen(app.chess, *sample.game, kStartPosition, &sample.header);
    if (app.chess.board.side == kBlack) {
      Game& game = *sample.game;
      for (int ply = game.plyCount; ply >= 1; --ply) game.plies[ply + 1] = game.plies[ply];
      game.plies[1] = PlyRecord{};
      ++game.plyCount;
      sample.firstPly = 2;
    }
  }
  std::int64_t halfMoves = 0;
  for (auto _ : state) {
    for (SampleGame& sample : samples) {
      Game& game = *sample.game;
      setPositionFromFen(app.chess, game, kStartPosition, &sample.header);
      game.plies[1].keys = game.startKeys;
      for (int ply = sample.firstPly; ply <= game.plyCount; ++ply) {
        if (!decodeSanMove(app.chess, game, ply)) {
          state.SkipWithError("a sample move did not decode");
          return;
        }
        makeMove(app.chess, game, ply, app.console);
      }
      halfMoves += game.plyCount - sample.firstPly + 1;
    }
  }
  if (!app.console.captured().empty()) state.SkipWithError("keys found corrupted");
  state.SetItemsProcessed(halfMoves);
  state.counters["half-moves/s"] = benchmark::Counter(static_cast<double>(halfMoves), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeAndMakeSampleGames)->Unit(benchmark::kMillisecond);

}  // namespace
