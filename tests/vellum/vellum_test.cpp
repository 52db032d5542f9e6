// libvellum.so as a chess interface uses it: a book built by newbk from the sample games, read
// through the five exports by a separate host program that loads the library with dlopen().
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_app.hpp"

namespace kestrova {
namespace {

namespace fs = std::filesystem;

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am -";
constexpr const char* kAfterA3 = "rnbqkbnr/pppppppp/8/8/8/P7/1PPPPPPP/RNBQKBNR b KQkq -";

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Builds "book.obk" from the samples in the working directory with newbk.
void buildSampleBook(int hashSz) {
  fs::create_directory("pgn_book");
  for (const auto& file : fs::directory_iterator(fs::path(KESTROVA_TEST_DATA) / "samples")) {
    if (file.path().extension() == ".pgn") fs::copy_file(file.path(), fs::path("pgn_book") / file.path().filename());
  }
  auto app = test::makeApp("y\n");
  app->pgn.create(app->console, 30000, 5000, 30000);
  app->settings.bkHashSz = static_cast<std::uint8_t>(hashSz);
  const std::string output = test::run(*app, "newbk 1 30");
  ASSERT_TRUE(has(output, "- book fully created\n")) << output;
}

// Runs the host with the requests in the working directory; its standard output.
std::string host(const std::string& requests) {
  {
    std::ofstream out("requests.txt", std::ios::binary);
    out << requests;
  }
  const std::string command = std::string(VELLUM_HOST) + " " + VELLUM_LIBRARY + " < requests.txt 2>&1";
  std::FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
  EXPECT_EQ(pclose(pipe), 0) << output;
  return output;
}

struct MoveData {
  int n = 0;
  int pc = 0;
  int myElo = 0;
  friend bool operator==(const MoveData&, const MoveData&) = default;
};

// What the book must hold for the start position, counted independently of Kestrova: the first
// moves replayed by chess.js (tests/data/oracle/moves.tsv) of the games that start from the
// standard position, with the results and White's Elo tags read straight from the sample files.
std::map<std::string, MoveData> expectedFirstMoves() {
  std::map<std::string, std::vector<std::string>> results, whiteElos;
  for (const auto& file : fs::directory_iterator(fs::path(KESTROVA_TEST_DATA) / "samples")) {
    std::istringstream lines(readFile(file.path()));
    auto& gameResults = results[file.path().filename().string()];
    auto& elos = whiteElos[file.path().filename().string()];
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("[Event ", 0) == 0) elos.emplace_back();
      if (line.rfind("[Result \"", 0) == 0) gameResults.push_back(line.substr(9, line.find('"', 9) - 9));
      if (line.rfind("[WhiteElo \"", 0) == 0) elos.back() = line.substr(11, line.find('"', 11) - 11);
    }
  }
  std::map<std::string, int> points, eloSum, eloCount;
  std::map<std::string, MoveData> expected;
  std::istringstream tsv(readFile(fs::path(KESTROVA_TEST_DATA) / "oracle/moves.tsv"));
  bool standardStart = false;
  for (std::string line; std::getline(tsv, line);) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    if (fields.size() >= 4 && fields[0] == "#game") {
      standardStart = fields[3] == "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
      continue;
    }
    if (!standardStart || fields.size() < 6 || fields[0][0] == '#' || fields[2] != "1") continue;
    const std::string move = fields[4] + fields[5];
    const int game = std::stoi(fields[1]) - 1;
    const std::string& result = results[fields[0]].at(game);
    ++expected[move].n;
    points[move] += result == "1-0" ? 2 : result == "1/2-1/2" ? 1 : 0;
    const std::string& elo = whiteElos[fields[0]].at(game);
    const int value = elo.empty() ? 0 : std::stoi(elo);
    if (value >= 700 && value <= 4000) {
      eloSum[move] += value / 2 * 2;  // the book file keeps Elo halves
      ++eloCount[move];
    }
  }
  for (auto& [move, data] : expected) {
    const int scaled = points[move] * 50;
    data.pc = scaled / data.n + (2 * (scaled % data.n) > data.n ? 1 : 0);
    // The average is halved again when the merged book is saved.
    data.myElo = eloCount[move] ? eloSum[move] / eloCount[move] / 2 * 2 : 0;
  }
  return expected;
}

class VellumLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    directory_ = new test::ScratchDir;
    buildSampleBook(64);
  }
  static void TearDownTestSuite() { delete directory_; }
  static test::ScratchDir* directory_;
};
test::ScratchDir* VellumLibrary::directory_ = nullptr;

TEST_F(VellumLibrary, GetDataAndGetMovesListTheFirstMovesOfTheSampleGames) {
  const std::string output = host(std::string("LoadBook\nGetData 50 ") + kStart + "\nGetMoves 4096 1 " + kStart +
                                  "\nGetMoves 60 0 " + kStart + "\nCloseBook\n");
  EXPECT_FALSE(has(output, "overrun"));
  std::istringstream lines(output);
  std::string line;
  std::getline(lines, line);
  ASSERT_EQ(line, "LoadBook 1") << output;
  std::getline(lines, line);
  const std::map<std::string, MoveData> expected = expectedFirstMoves();
  ASSERT_EQ(line, "GetData " + std::to_string(expected.size())) << output;
  std::map<std::string, MoveData> listed;
  std::vector<std::string> fromData;
  int previous = 1 << 30, games = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    std::string move;
    MoveData data;
    int perf = 0, cmt = 0;
    lines >> move >> data.n >> data.pc >> data.myElo >> perf >> cmt;
    listed[move] = data;
    EXPECT_LE(data.n, previous) << "most played first";
    previous = data.n;
    games += data.n;
    EXPECT_EQ(cmt, 0);
    fromData.push_back(move + " n=" + std::to_string(data.n) + " pc=" + std::to_string(data.pc) +
                       " myElo=" + std::to_string(data.myElo) + " perf=" + std::to_string(perf) + " eloGain=");
  }
  EXPECT_EQ(games, 80) << "80 sample games start from the standard position";
  EXPECT_EQ(listed, expected);
  std::getline(lines, line);
  std::getline(lines, line);
  ASSERT_EQ(line, "GetMoves 1") << output;
  for (const std::string& prefix : fromData) {
    std::getline(lines, line);
    EXPECT_EQ(line.rfind(prefix, 0), 0u) << line << " against " << prefix;
  }
  std::getline(lines, line);
  EXPECT_EQ(line, "--");
  // 60 bytes hold one line of about 50 characters but not two: 0, the first line stays.
  std::string rest;
  for (std::string l; std::getline(lines, l);) rest += l + "\n";
  EXPECT_EQ(rest.rfind("GetMoves 0\n" + fromData[0], 0), 0u) << rest;
  EXPECT_TRUE(has(rest, "\n--\nCloseBook 1\n"));

  const std::string log = readFile("vellum.log");
  EXPECT_EQ(log.rfind("VELLUM.DLL v1.2\n================\n\n- book's hash size : 64 bits\n"
                      "- book file numeration base : 224\n- loading parameters and Zobrist tables...\n", 0), 0u)
      << log;
  EXPECT_TRUE(has(log, "book's moves have been successfully loaded\n"));
  EXPECT_TRUE(has(log, std::string("Requesting moves...\n") + kStart + "\n\n" + fromData[0]));
  EXPECT_TRUE(has(log, "- book closed\n"));
}

TEST_F(VellumLibrary, GetAMoveReturnsAListedMoveInEveryMode) {
  const std::string output = host(std::string("LoadBook\nGetAMove 1 5 0 ") + kStart + "\nGetAMove 2 5 0 " + kStart +
                                  "\nGetAMove 3 16 1 " + kStart + "\nGetAMove 4 16 0 " + kStart +
                                  "\nGetAMove 2 4 0 " + kStart + "\n");
  const std::map<std::string, MoveData> expected = expectedFirstMoves();
  std::istringstream lines(output);
  std::string line;
  std::getline(lines, line);
  for (int mode = 1; mode <= 3; ++mode) {
    std::string name, move;
    int result = 0;
    lines >> name >> result >> move;
    EXPECT_EQ(result, 1) << "mode " << mode;
    EXPECT_TRUE(expected.count(move)) << "mode " << mode << ": " << move;
    if (mode == 2) {
      EXPECT_EQ(move, "e2e4") << "26 of the 80 games";
    }
  }
  EXPECT_TRUE(has(output, "GetAMove 0 \nGetAMove 0 \n")) << "mode 4, then bufSz 4:\n" << output;
  EXPECT_TRUE(has(readFile("vellum.log"), "\n> please enlarge bufSz\n"));
}

TEST_F(VellumLibrary, AnswersByThePlacementAndTheSideToMove) {
  const std::string placement = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
  const std::string output =
      host("LoadBook\nGetData 0 " + placement + "\\n\nGetData 0 " + placement + "\nGetData 0 " + placement +
           " b KQkq -\nGetData 3 " + kStart + "\nGetData 5 " + kAfterA3 + "\nGetData 5 " + placement.substr(0, 10) +
           "9/8/8/8/PPPPPPPP/RNBQKBNR w\nGetData 5 rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR w\nGetData 5 " +
           "8/8/8/8/8/8/8/8/8/8/K7 w\nGetAMove 2 16 0 " + kAfterA3 + "\nGetMoves 4096 0 " +
           kAfterA3 + "\n");
  EXPECT_TRUE(has(output, "LoadBook 1\nGetData 6\nGetData 6\nGetData 0\nGetData 6\n")) << output;
  EXPECT_TRUE(has(output, "GetData 2\n")) << "e7e5 and g7g6 after 1.a3";
  EXPECT_TRUE(has(output, "GetData 0\nGetData 0\nGetData 0\nGetAMove 0 \nGetMoves 1\n"))
      << "a 9, an x and a placement past h1 are unreadable; two games are listed but not played";
  EXPECT_TRUE(has(output, "e7e5 n=1 pc="));
  EXPECT_TRUE(has(output, "g7g6 n=1 pc="));
  EXPECT_FALSE(has(output, "overrun")) << "GetData 3 fills three slots of six";
  EXPECT_TRUE(has(readFile("vellum.log"), "Can't get Zobrist keys !\n"));
}

TEST_F(VellumLibrary, QueriesWithoutABookReturnZero) {
  const std::string output = host(std::string("GetData 5 ") + kStart + "\nGetMoves 100 1 " + kStart +
                                  "\nGetAMove 2 16 1 " + kStart + "\nCloseBook\nGetData 5 " + kStart + "\n");
  EXPECT_EQ(output, "GetData 0\nGetMoves 0\n--\nGetAMove 0 \nCloseBook 1\nGetData 0\n");
}

TEST(VellumHashSize, NoBookFileAndA32BitBookAreRefused) {
  test::ScratchDir dir;
  EXPECT_EQ(host("LoadBook\n"), "LoadBook 0\n");
  EXPECT_TRUE(has(readFile("vellum.log"), "> no book.obk file found (use newbk command to generate it)\n"));
  buildSampleBook(32);
  EXPECT_EQ(host(std::string("LoadBook\nGetData 5 ") + kStart + "\n"), "LoadBook 0\nGetData 0\n");
  EXPECT_TRUE(has(readFile("vellum.log"), "- incompatible hash size : book's file [32 bits] <=> program [64 bits]\n"));
}

}  // namespace
}  // namespace kestrova
