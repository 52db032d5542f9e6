#pragma once
// The application object: it owns every process-wide instance, and handlers borrow them from it.
#include <string>

#include "book/book_parts.hpp"
#include "book/book_table.hpp"
#include "chess/chess_core.hpp"
#include "engine/engine_client.hpp"
#include "pgn/game.hpp"
#include "pgn/game_loop.hpp"
#include "pgn/pgn_file.hpp"
#include "platform/clock.hpp"
#include "platform/command_line.hpp"
#include "platform/console.hpp"
#include "platform/input.hpp"
#include "platform/string_manager.hpp"
#include "rating/rating_repository.hpp"
#include "scan/detection_settings.hpp"
#include "shell/command_history.hpp"
#include "shell/settings.hpp"
#include "tournament/tournament_table.hpp"

namespace kestrova {

struct App {
  // Console on standard output, input from standard input.
  App() = default;
  // A console and an input chosen by the caller (tests capture the console and script the input).
  App(Console&& console, platform::Input&& input)
      : console(std::move(console)), input(std::move(input)) {}

  Console console;
  platform::Input input;
  Settings settings;
  StringManager strings;
  CommandLine commandLine;
  CommandHistory history;
  platform::Timers timers;
  ChessCore chess;
  Game game;
  PgnFile pgn;
  DetectionSettings detections;
  RatingRepository ratings;
  TournamentTable tournaments;
  BookTable book;
  EngineClient engine;

  // What the game loop of a command works with.
  GameLoopParts loopParts() { return {pgn, game, chess, console, strings, settings.printCmt, settings.lang}; }
  // What the book browser and the book analysis work with.
  BookParts bookParts() { return {book, chess, game, console, strings, input, settings.lang}; }

  std::string helpFile = "help.man";
  std::string configFile;  // the "kestrova.ini" read at start-up; empty when there was none
  bool batchMode = false;  // the exit handler only ends an interactive session
  bool finished = false;   // set by shutDown
};

}  // namespace kestrova
