#pragma once
// fenstat: the results of the games of the open PGN file counted per start position (FEN tag).
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

struct GameLoopParts;
namespace platform {
struct Timers;
}

// The games that start from one FEN text and their results.
struct FenCount {
  std::string fen;
  int games = 0;
  int whiteWins = 0;
  int blackWins = 0;
  int others = 0;  // draws and unfinished games alike
};

// "1" for "1-0", "0" for "0-1", "X" for any other result.
char resultCharacter(std::string_view result);

// White's score in percent, single precision: (White wins + others / 2) * 100 / games.
float fenScore(const FenCount& count);

// The counts of every FEN text met, one entry per text.
class FenTable {
 public:
  void add(std::string_view fen, char result);
  // Adds the counts of another table (of other games).
  void add(const FenTable& other);
  // The records, highest score first; equal scores in FEN text order.
  std::vector<FenCount> recordsByScore() const;

 private:
  std::map<std::string, FenCount, std::less<>> counts_;
};

// The record as a line of "epd-out.epd", without its line end.
std::string formatFenCount(const FenCount& count);

// The fenstat command: counts on `threads` threads, writes "epd-out.epd" and prints every line.
void runFenStatistics(const GameLoopParts& games, int threads, platform::Timers& timers);

}  // namespace kestrova
