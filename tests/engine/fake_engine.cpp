// A scripted UCI engine for the engine client tests. It is started without arguments, like a real
// engine, so the environment variable KESTROVA_FAKE_ENGINE chooses what it does:
//   normal      one info line with depth, cp and pv, then the start of another
//   noscore     depth but neither score nor pv
//   split       an info line written in pieces, with pauses between them
//   longpv      a principal variation of 1,500 characters
//   display     three principal variations, one longer than 60 characters
//   chatty      megabytes on standard error, then as normal
//   neverready  never answers "isready"
//   exits       starts an info line, then exits in the middle of the search
//   vanish      exits as soon as it starts
//   flood       answers "isready" with 2,041 bytes of noise before "readyok"
//   mate        only mate scores
//   men         the value is the number of men in the position it was given
//   movetime    the value is the thinking time it was given
//   files       the value is the number of games with an Annotator tag in "pgn-out.pgn" and
//               "vfilt.pgn" of its working directory (what a filter run has put on disk)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {

void say(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(STDOUT_FILENO, text.data() + done, text.size() - done);
    if (n <= 0) std::exit(1);
    done += static_cast<std::size_t>(n);
  }
}

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void chatter() {
  const std::string noise(64 * 1024, 'x');
  for (int i = 0; i < 32; ++i) {
    if (write(STDERR_FILENO, noise.data(), noise.size()) < 0) return;
  }
}

int menIn(const std::string& fen) {
  int men = 0;
  for (char c : fen.substr(0, fen.find(' '))) men += std::strchr("kqrbnpKQRBNP", c) != nullptr;
  return men;
}

int annotatedGamesOnDisk() {
  int games = 0;
  for (const char* name : {"pgn-out.pgn", "vfilt.pgn"}) {
    std::ifstream file(name);
    for (std::string line; std::getline(file, line);) games += line.rfind("[Annotator ", 0) == 0;
  }
  return games;
}

// One info line with the value, and the start of the next so that the client reads it.
void sayValue(int value) {
  say("info depth 1 score cp " + std::to_string(value) + " pv a2a3\ninfo nodes 1\n");
}

void think(const std::string& mode, const std::string& fen, const std::string& go) {
  if (mode == "mate") {
    say("info depth 3 score mate 2 pv h5f7 e8e7 f7e7\ninfo depth 4 score mate 1 pv h5f7\n");
  } else if (mode == "men") {
    sayValue(menIn(fen));
  } else if (mode == "movetime") {
    sayValue(std::atoi(go.c_str() + std::strlen("go movetime ")));
  } else if (mode == "files") {
    sayValue(annotatedGamesOnDisk());
  } else if (mode == "noscore") {
    say("info depth 4 nodes 10\ninfo nodes 20\n");
  } else if (mode == "split") {
    say("info depth 9 sc");
    pause(30);
    say("ore cp 2");
    pause(30);
    say("7 pv d2d4 d7d5\ninf");
    pause(30);
    say("o nodes 1\n");
  } else if (mode == "longpv") {
    std::string line = "info depth 20 score cp 15 pv ";
    for (int i = 0; i < 300; ++i) line += "e2e4 ";
    say(line + "\ninfo nodes 1\n");
  } else if (mode == "display") {
    say("info depth 1 score cp 20 pv e2e4\n"
        "info depth 2 score cp -5 pv d2d4 d7d5\n"
        "info depth 3 score cp 31 pv e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5 a4b3 d7d6\n"
        "info depth 3 currmove e2e4 currmovenumber 1\n");
  } else if (mode == "exits") {
    say("info depth 5 score cp 3");
    pause(20);
    std::exit(0);
  } else {
    say("info depth 12 seldepth 20 multipv 1 score cp -35 nodes 100 pv e7e5 g1f3\n"
        "info depth 13 seldepth 21 multipv 1 score cp -20 nodes 300 pv d7d5\n");
  }
}

}  // namespace

int main() {
  const char* chosen = std::getenv("KESTROVA_FAKE_ENGINE");
  const std::string mode = chosen != nullptr ? chosen : "normal";
  if (mode == "vanish") return 0;
  if (mode == "chatty") chatter();

  std::string line;
  std::string fen;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, stdin) != nullptr) {
    line = buffer;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (line == "uci") {
      say("id name Fake " + mode + "\nid author Kestrova tests\noption name Hash type spin "
          "default 16 min 1 max 1024\nuciok\n");
    } else if (line == "isready") {
      if (mode == "neverready") continue;
      if (mode == "flood") say(std::string(2041, '.') + "readyok\n");
      else say("readyok\n");
    } else if (line.rfind("position fen ", 0) == 0) {
      fen = line.substr(std::strlen("position fen "));
    } else if (line.rfind("go", 0) == 0) {
      if (mode == "chatty") chatter();
      think(mode, fen, line);
    } else if (line == "stop") {
      say("bestmove e2e4\n");
    } else if (line == "quit") {
      return 0;
    }
  }
  return 0;
}
