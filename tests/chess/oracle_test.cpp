// Every half-move of the sample games, decoded and made by the core, against chess.js.
#include <map>

#include "chess/position_check.hpp"
#include "chess_support.hpp"

namespace kestrova::test {
namespace {

struct OracleMove {
  std::string san, from, to, flags, fen;
  char piece = '-', captured = '-', promotion = '-';
};

struct OracleGame {
  std::string file;
  int number = 0;
  std::string startFen;
  std::vector<OracleMove> moves;
};

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

std::vector<OracleGame> readOracle() {
  std::ifstream in(std::string(KESTROVA_TEST_DATA) + "/oracle/moves.tsv");
  std::vector<OracleGame> games;
  std::string line;
  while (std::getline(in, line)) {
    const std::vector<std::string> f = splitTabs(line);
    if (f[0] == "#game") {
      games.push_back({f[1], std::stoi(f[2]), f[3], {}});
    } else if (!line.starts_with("#") && f.size() == 11) {
      games.back().moves.push_back({f[3], f[4], f[5], f[8], f[10], f[6][0], f[7][0], f[9][0]});
    }
  }
  return games;
}

int typeOfLetter(char letter) {
  switch (letter) {
    case 'k': return kKing;
    case 'q': return kQueen;
    case 'r': return kRook;
    case 'b': return kBishop;
    case 'n': return kKnight;
    case 'p': return kPawn;
    default: return kNoPiece;
  }
}

std::string field(const std::string& fen, int index) {
  std::istringstream words(fen);
  std::string word;
  for (int i = 0; i <= index; ++i) words >> word;
  return word;
}

std::string castlingField(const Board& board) {
  std::string fen;
  writeFen(board, 1, fen);
  return field(fen, 2);
}

TEST(SampleGames, EveryHalfMoveAgreesWithChessJs) {
  const std::vector<OracleGame> oracle = readOracle();
  ASSERT_EQ(oracle.size(), 92u);
  std::map<std::string, std::vector<SampleGame>> samples;
  for (const char* name : {"a_roundrobin.pgn", "b_gauntlet.pgn", "c_swiss.pgn", "d_match.pgn", "e_setup.pgn"}) {
    samples[name] = readSampleGames(name);
  }
  auto app = makeApp();
  app->chess.keyCheck = true;
  Game& game = app->game;
  int checked = 0;

  for (const OracleGame& expected : oracle) {
    SCOPED_TRACE(expected.file + " game " + std::to_string(expected.number));
    const SampleGame& sample = samples.at(expected.file).at(expected.number - 1);
    ASSERT_EQ(sample.tokens.size(), expected.moves.size());

    setPositionFromFen(app->chess, game, kStartPosition, &sample.header);
    const Board& board = app->chess.board;
    ASSERT_EQ(placementOf(board), field(expected.startFen, 0));
    // A game that starts with Black to move keeps ply 1 as an empty slot with the start keys.
    const int offset = board.side == kBlack ? 1 : 0;
    ASSERT_EQ(offset, field(expected.startFen, 1) == "b" ? 1 : 0);
    if (offset) {
      game.plies[1] = PlyRecord{};
      game.plies[1].keys = game.startKeys;
    }
    game.plyCount = static_cast<int>(sample.tokens.size()) + offset;

    for (std::size_t i = 0; i < sample.tokens.size(); ++i) {
      const OracleMove& want = expected.moves[i];
      const int ply = static_cast<int>(i) + 1 + offset;
      SCOPED_TRACE("ply " + std::to_string(ply) + " " + sample.tokens[i]);
      ASSERT_EQ(sample.tokens[i], want.san);
      setSan(game, ply, sample.tokens[i]);
      const int before = popCount(board.occupied);
      ASSERT_EQ(decodeSanMove(app->chess, game, ply), 1);
      const PlyRecord& move = game.plies[ply];
      EXPECT_EQ(move.from, sq(want.from.c_str()));
      EXPECT_EQ(move.to, sq(want.to.c_str()));
      EXPECT_EQ(move.piece, typeOfLetter(want.piece));
      const bool capture = want.flags.find_first_of("ce") != std::string::npos;
      EXPECT_EQ((move.flags & moveflag::kCapture) != 0, capture);
      EXPECT_EQ((move.flags & moveflag::kShortCastle) != 0, want.flags.find('k') != std::string::npos);
      EXPECT_EQ((move.flags & moveflag::kLongCastle) != 0, want.flags.find('q') != std::string::npos);
      EXPECT_EQ(promotedType(move.flags), typeOfLetter(want.promotion));
      EXPECT_EQ((move.flags & moveflag::kCheck) != 0, want.san.find('+') != std::string::npos);
      EXPECT_EQ((move.flags & moveflag::kMate) != 0, want.san.find('#') != std::string::npos);

      makeMove(app->chess, game, ply, app->console);
      EXPECT_EQ(move.capturedPiece, typeOfLetter(want.captured));
      if (want.flags.find('e') != std::string::npos) {
        EXPECT_EQ(move.capturedSquare, move.to + (ply % 2 ? 8 : -8));
      } else if (capture) {
        EXPECT_EQ(move.capturedSquare, move.to);
      }
      ASSERT_EQ(placementOf(board), field(want.fen, 0));
      EXPECT_EQ(board.side, field(want.fen, 1) == "w" ? kWhite : kBlack);
      EXPECT_EQ(castlingField(board), field(want.fen, 2));
      const bool doubleStep = want.flags.find('b') != std::string::npos;
      EXPECT_EQ(board.enPassant, doubleStep ? squareBit((move.from + move.to) / 2) : 0u);
      EXPECT_TRUE(isPositionSane(*app->chess.attacks, board, ply, before, popCount(board.occupied)));
      ++checked;
    }
  }
  EXPECT_EQ(app->console.captured(), "");  // no key was ever found corrupted
  EXPECT_EQ(checked, 9926);
}

}  // namespace
}  // namespace kestrova::test
