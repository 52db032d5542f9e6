// A scripted UCI engine for the tests. It is started without arguments, like a real engine, so the
// environment variable KESTROVA_FAKE_ENGINE chooses what it does:
//   normal      one info line with depth, cp and pv, then the start of another
//   noscore     depth but neither score nor pv
//   neverready  never answers "isready"
//   exits       starts an info line, then exits in the middle of the search
//   vanish      exits as soon as it starts
//   men         the value is the number of men in the position it was given
//   movetime    the value is the thinking time it was given
//   files       the value is the number of games with an Annotator tag in "pgn-out.pgn" and
//               "vfilt.pgn" of its working directory (what a filter run has put on disk)
//   interrupt   sends Ctrl-C to the program as it starts thinking, then as movetime
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

void say(const std::string& text) { std::cout << text << std::flush; }

// One info line with the value, and the start of the next so that the client reads it.
void sayValue(int value) { say("info depth 1 score cp " + std::to_string(value) + " pv a2a3\ninfo nodes 1\n"); }

int annotatedGamesOnDisk() {
  int games = 0;
  for (const char* name : {"pgn-out.pgn", "vfilt.pgn"}) {
    std::ifstream file(name);
    for (std::string line; std::getline(file, line);) games += line.starts_with("[Annotator ");
  }
  return games;
}

void think(const std::string& mode, const std::string& fen, const std::string& go) {
  if (mode == "interrupt") kill(getppid(), SIGINT);
  // The men are the letters of the placement.
  if (mode == "men") return sayValue(std::count_if(fen.begin(), fen.begin() + fen.find(' '), ::isalpha));
  if (mode == "movetime" || mode == "interrupt") return sayValue(std::atoi(go.c_str() + std::strlen("go movetime ")));
  if (mode == "files") return sayValue(annotatedGamesOnDisk());
  if (mode == "noscore") return say("info depth 4 nodes 10\ninfo nodes 20\n");
  if (mode == "exits") say("info depth 5 score cp 3"), std::exit(0);
  say("info depth 12 seldepth 20 multipv 1 score cp -35 nodes 100 pv e7e5 g1f3\n"
      "info depth 13 seldepth 21 multipv 1 score cp -20 nodes 300 pv d7d5\n");
}

}  // namespace

int main() {
  const std::string mode = std::getenv("KESTROVA_FAKE_ENGINE") ? std::getenv("KESTROVA_FAKE_ENGINE") : "normal";
  if (mode == "vanish") return 0;
  std::string fen;
  for (std::string line; std::getline(std::cin, line);) {
    if (line == "uci") say("id name Fake " + mode + "\noption name Hash type spin default 16 min 1 max 1024\nuciok\n");
    if (line == "isready" && mode != "neverready") say("readyok\n");
    if (line.starts_with("position fen ")) fen = line.substr(std::strlen("position fen "));
    if (line.starts_with("go")) think(mode, fen, line);
    if (line == "stop") say("bestmove e2e4\n");
    if (line == "quit") return 0;
  }
}
