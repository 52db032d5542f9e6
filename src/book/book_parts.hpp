#pragma once
// What the book browser and the book analysis work with.
namespace kestrova {

class BookTable;
class Console;
class Game;
class StringManager;
struct ChessCore;
namespace platform {
class Input;
}

// The book, the board and the game its moves are played on, where they are shown and where the
// user's answers come from.
struct BookParts {
  BookTable& book;
  ChessCore& chess;
  Game& game;
  Console& console;
  StringManager& strings;
  platform::Input& input;
  int language = 0;  // of the board diagrams
};

}  // namespace kestrova
