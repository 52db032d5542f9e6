#pragma once
// One scan's own state: where its reports go, and what the rules keep about the current game.
#include <array>
#include <string>

#include "scan/detection_settings.hpp"

namespace kestrova {

class Console;
class Game;
class StringManager;
namespace platform {
class OutputFile;
}

// The reports of one detection in the current game.
struct DetectionCounts {
  int white = 0;  // reports for White
  int black = 0;  // reports for Black
  int other = 0;  // reports without a side, or the rule's own counter
};

struct ScanRun {
  ScanRun(Console& console, StringManager& strings, int language, platform::OutputFile& log, platform::OutputFile& epd,
          platform::OutputFile& pgn);

  // Before every game: clears every detection's counts and keepGame, and takes the game's start
  // position as the position before and after its first ply.
  void beginGame(const Game& game);

  // Where the reports go: the console (with the board diagram when asked), the log, the EPD file,
  // and the PGN file for the games a report marked.
  Console& console;
  StringManager& strings;
  int language = 0;
  platform::OutputFile& log;
  platform::OutputFile& epd;
  platform::OutputFile& pgn;

  std::array<DetectionCounts, detection::kSlots> counts{};
  // A report of an entry with PGN output asks for the game to be written.
  bool keepGame = false;
  // Confusion reports only an index above the last one reported (reset early in each game).
  int lastConfusionIndex = 0;
  // The position a report writes to the EPD output, written only then (never on every ply).
  std::string fenText;
  // Report texts are built here, so that reporting allocates nothing once the buffers have grown.
  std::string reportLine;
  std::string logLine;
};

}  // namespace kestrova
