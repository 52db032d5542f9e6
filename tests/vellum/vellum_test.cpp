// libvellum.so as a chess interface uses it: the book newbk makes of the sample games, read through
// the five exports by a host program that loads the library with dlopen().
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "support/test_app.hpp"
#include "support/text.hpp"

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using test::has;

const std::string kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - am -";

// "book.obk" by newbk of the sample games in "pgn_book", where a copy named pgn-out.pgn is no input.
void buildSampleBook(int hashSz) {
  fs::create_directory("pgn_book");
  for (const auto& file : fs::directory_iterator(fs::path(KESTROVA_TEST_DATA) / "samples"))
    fs::copy_file(file.path(), "pgn_book" / file.path().filename());
  fs::copy_file("pgn_book/a_roundrobin.pgn", "pgn_book/pgn-out.pgn");
  auto app = test::makeApp("y\n");
  app->settings.bkHashSz = static_cast<std::uint8_t>(hashSz);
  ASSERT_TRUE(has(test::run(*app, "newbk 1 30"), "- book fully created\n"));
}

// The host's answers to the requests, run in the working directory.
std::string host(const std::string& requests) {
  std::ofstream("requests.txt", std::ios::binary) << requests;
  std::FILE* pipe = popen((std::string(VELLUM_HOST) + " " + VELLUM_LIBRARY + " < requests.txt 2>&1").c_str(), "r");
  std::string output;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
  EXPECT_EQ(pclose(pipe), 0) << output;
  return output;
}

// The games of each first move of the sample games from the standard position, counted without
// Kestrova: the half-moves that chess.js replayed (tests/data/oracle/moves.tsv).
std::map<std::string, int> expectedFirstMoves() {
  std::map<std::string, int> games;
  std::istringstream tsv(test::sourceFile("tests/data/oracle/moves.tsv"));
  bool standard = false;
  for (std::string line; std::getline(tsv, line);) {
    std::vector<std::string> f;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) f.push_back(cell);
    if (f[0] == "#game") standard = f[3] == "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    if (standard && f[0][0] != '#' && f[2] == "1") ++games[f[4] + f[5]];
  }
  return games;
}

TEST(VellumLibrary, AnswersTheQueriesOfAChessInterfaceFromTheBookOfTheSampleGames) {
  test::ScratchDir dir;
  buildSampleBook(64);
  const std::string placement = kStart.substr(0, kStart.find(' ')), five = "GetData 5 ";
  const std::string a3 = "rnbqkbnr/pppppppp/8/8/8/P7/1PPPPPPP/RNBQKBNR b";
  std::string requests = "LoadBook\n";
  for (const std::string& query :
       {"GetData 50 " + kStart, "GetMoves 4096 1 " + kStart, "GetMoves 60 0 " + kStart, "GetAMove 1 5 0 " + kStart,
        "GetAMove 2 5 0 " + kStart, "GetAMove 3 16 1 " + kStart, "GetAMove 4 16 0 " + kStart,
        "GetAMove 2 4 0 " + kStart, "GetAMove 2 16 0 " + a3, "GetData 0 " + placement + "\\n",
        "GetData 0 " + placement, "GetData 0 " + placement + " b", five + a3, five + "rnbqkbnr/pppppppp/9/8/8/8/8/8 w",
        five + "rnbqkbnr/ppppxppp/8/8/8/8/8/8 w", five + "8/8/8/8/8/8/8/8/K7 w", std::string("CloseBook")})
    requests += query + "\n";
  std::istringstream out(host(requests));
  const std::map<std::string, int> expected = expectedFirstMoves();
  const std::string moves = std::to_string(expected.size());
  std::string line, name, move;
  EXPECT_TRUE(std::getline(out, line) && line == "LoadBook 1" && std::getline(out, line) && line == "GetData " + moves);
  // GetData: the moves most played first, as counted without Kestrova; GetMoves: the same lines.
  std::map<std::string, int> listed;
  std::vector<std::string> lines;
  for (int i = 0, previous = INT_MAX, n, pc, myElo, perf, cmt; i < static_cast<int>(expected.size()); ++i) {
    out >> move >> n >> pc >> myElo >> perf >> cmt;
    listed[move] = n;
    EXPECT_TRUE(n <= std::exchange(previous, n) && cmt == 0) << move;
    lines.push_back(move + " n=" + std::to_string(n) + " pc=" + std::to_string(pc) + " myElo=" + std::to_string(myElo) +
                    " perf=" + std::to_string(perf) + " eloGain=");
  }
  EXPECT_EQ(listed, expected);
  EXPECT_TRUE(std::getline(out >> std::ws, line) && line == "GetMoves 1") << line;
  for (const std::string& prefix : lines) EXPECT_TRUE(std::getline(out, line) && line.starts_with(prefix)) << line;
  // 60 bytes hold the first line but not two: 0, and the first line stays.
  EXPECT_TRUE(std::getline(out, line) && std::getline(out, line) && line == "GetMoves 0" && std::getline(out, line) &&
              line.starts_with(lines[0]) && std::getline(out, line) && line == "--");
  // GetAMove: weighted by games, the most played, the best Elo gain.
  for (int mode = 1, result = 0; mode <= 3 && out >> name >> result >> move; ++mode)
    EXPECT_TRUE(result == 1 && expected.count(move) && (mode != 2 || lines[0].starts_with(move))) << mode << move;
  // Nothing for an unknown mode, no room for a move, a position of two games (1.a3). A line feed ends
  // a placement; without a side White is to move. 1.a3 had the replies e5 and g6. A 9, an x and a
  // placement past h1 are no position.
  const std::string rest(std::istreambuf_iterator<char>(out >> std::ws), {});
  EXPECT_TRUE(rest.starts_with("GetAMove 0 \nGetAMove 0 \nGetAMove 0 \nGetData " + moves + "\nGetData " + moves +
                               "\nGetData 0\nGetData 2\n") && has(rest, "\ne7e5 1 ") && has(rest, "\ng7g6 1 ")) << rest;
  EXPECT_TRUE(rest.ends_with("\nGetData 0\nGetData 0\nGetData 0\nCloseBook 1\n") && !has(rest, "overrun")) << rest;
  const std::string log = dir.read("vellum.log");
  for (const std::string& part :
       {"Requesting moves...\n" + kStart + "\n\n" + lines[0], std::string("vellum 1.2\n==========\n\n"
       "- book's hash size : 64 bits\n- book file numeration base : 224\n- loading parameters and Zobrist tables...\n"),
        std::string("please enlarge bufSz"), std::string("Can't get Zobrist keys !\n"), std::string("- book closed\n")})
    EXPECT_TRUE(has(log, part)) << part;
}

TEST(VellumLoad, AMissingOrA32BitBookIsRefusedAndEveryQueryAnswersNothing) {
  test::ScratchDir dir;
  EXPECT_EQ(host("LoadBook\nGetData 5 " + kStart + "\nGetMoves 100 1 " + kStart + "\nGetAMove 2 16 1 " + kStart +
                 "\nCloseBook\n"),
            "LoadBook 0\nGetData 0\nGetMoves 0\n--\nGetAMove 0 \nCloseBook 1\n");
  EXPECT_TRUE(has(dir.read("vellum.log"), "> no book.obk file found (use newbk command to generate it)\n"));
  buildSampleBook(32);
  EXPECT_EQ(host("LoadBook\nGetData 5 " + kStart + "\n"), "LoadBook 0\nGetData 0\n");
  EXPECT_TRUE(has(dir.read("vellum.log"), "- incompatible hash size : book's file [32 bits] <=> program [64 bits]"));
}

TEST(VellumLoad, LoadBookFileOpensTheBookAtItsPathWhileLoadBookReadsOnlyTheWorkingDirectorysBook) {
  test::ScratchDir dir;
  buildSampleBook(64);
  fs::create_directory("books");
  fs::rename("book.obk", "books/sample.obk");
  const std::string data = "GetData 0 " + kStart + "\n", moves = std::to_string(expectedFirstMoves().size());
  EXPECT_EQ(host("LoadBookFile books/sample.obk\n" + data + "LoadBookFile " + fs::absolute("books/sample.obk").string() +
                 "\n" + data + "LoadBook\n" + data + "LoadBookFile books/none.obk\n"),
            "LoadBookFile 1\nGetData " + moves + "\nLoadBookFile 1\nGetData " + moves +
                "\nLoadBook 0\nGetData 0\nLoadBookFile 0\n");
  EXPECT_TRUE(has(dir.read("vellum.log"), "> no books/none.obk file found (use newbk command to generate it)\n"));
}

}  // namespace
}  // namespace kestrova
