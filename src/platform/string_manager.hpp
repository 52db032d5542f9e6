#pragma once
// Piece letters per language, square names, and the text buffer in which the banner and the
// board diagram are built together with their colour runs.
#include <array>
#include <string>
#include <vector>

#include "platform/console.hpp"

namespace kestrova {

enum Language : int { kEnglish = 0, kFrench = 1, kGerman = 2, kSpanish = 3, kItalian = 4, kRussian = 5 };

class StringManager {
 public:
  StringManager();

  // Prints the start-up line.
  void announce(Console& console) const;

  // Upper- or lower-case letter of a piece type (1 king .. 6 pawn) in a language. Russian shows
  // the English letters; any value outside 0..5 shows the French ones, as help falls back to French.
  char pieceLetter(int language, int pieceType, bool upper = true) const;

  // "a8" .. "h1" by square number.
  const char* squareName(int square) const { return squareNames_[square & 63].data(); }

  // The shared text buffer and its colour-run table: a builder clears both, fills them and ends
  // the table with addRunEnd(); the text stays valid until the next builder runs.
  std::string& text() { return text_; }
  const std::vector<ColourRun>& runs() const { return runs_; }
  void clearText() { text_.clear(); runs_.clear(); }
  void addRun(int attribute, std::size_t first, std::size_t last);
  void addRunEnd() { runs_.push_back(ColourRun{}); }

 private:
  std::array<std::array<char, 3>, 64> squareNames_{};
  std::string text_;
  std::vector<ColourRun> runs_;
};

}  // namespace kestrova
