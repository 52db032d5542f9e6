// A scripted UCI engine for the tests. It writes its arguments to its standard error; the
// environment variable KESTROVA_FAKE_ENGINE chooses what it does:
//   normal      one info line with depth, cp and pv, then the start of another
//   noscore     depth but neither score nor pv
//   neverready  never answers "isready"
//   vanish      exits as soon as it starts
//   men         the value is the number of men in the position it was given
//   dies:N      as men for N searches, then starts an info line and exits in the middle of the next
//   hangs:N     as men for N searches, then answers nothing more
//   movetime    the value is the thinking time it was given
//   interrupt   sends Ctrl-C to the program as it starts thinking, then as movetime
// With KESTROVA_FAKE_ENGINE_LOG set, every line it reads is added to that file.
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

void think(const std::string& mode, const std::string& fen, const std::string& go) {
  if (mode == "interrupt") kill(getppid(), SIGINT);
  // The men are the letters of the placement.
  if (mode == "men") return sayValue(std::count_if(fen.begin(), fen.begin() + fen.find(' '), ::isalpha));
  if (mode == "movetime" || mode == "interrupt") return sayValue(std::atoi(go.c_str() + std::strlen("go movetime ")));
  if (mode == "noscore") return say("info depth 4 nodes 10\ninfo nodes 20\n");
  say("info depth 12 seldepth 20 multipv 1 score cp -35 nodes 100 pv e7e5 g1f3\n"
      "info depth 13 seldepth 21 multipv 1 score cp -20 nodes 300 pv d7d5\n");
}

}  // namespace

int main(int argc, char** argv) {
  // Its arguments, each ended by '|', on its standard error.
  std::cerr << "fake engine: ";
  for (int i = 1; i < argc; ++i) std::cerr << argv[i] << '|';
  std::cerr << std::endl;
  std::string mode = std::getenv("KESTROVA_FAKE_ENGINE") ? std::getenv("KESTROVA_FAKE_ENGINE") : "normal";
  const char* logName = std::getenv("KESTROVA_FAKE_ENGINE_LOG");
  std::ofstream log(logName ? logName : "/dev/null", std::ios::app);
  // "dies:N" and "hangs:N": the searches made as "men" before the failure.
  const std::size_t colon = mode.find(':');
  int searchesLeft = colon == std::string::npos ? -1 : std::atoi(mode.c_str() + colon + 1);
  const std::string failure = mode.substr(0, colon);
  if (colon != std::string::npos) mode = "men";
  if (mode == "vanish") return 0;
  std::string fen;
  bool hanging = false;
  for (std::string line; std::getline(std::cin, line);) {
    log << line << std::endl;
    if (hanging) continue;
    if (line == "uci") say("id name Fake " + mode + "\noption name Hash type spin default 16 min 1 max 1024\nuciok\n");
    if (line == "isready" && mode != "neverready") say("readyok\n");
    if (line.starts_with("position fen ")) fen = line.substr(std::strlen("position fen "));
    if (line.starts_with("go") && searchesLeft-- == 0) {
      if (failure == "dies") say("info depth 5 score cp 3"), std::exit(0);
      hanging = true;
      continue;
    }
    if (line.starts_with("go")) think(mode, fen, line);
    if (line == "stop") say("bestmove e2e4\n");
    if (line == "quit") return 0;
  }
}
