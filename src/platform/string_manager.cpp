#include "platform/string_manager.hpp"

#include <cctype>

namespace kestrova {

namespace {
// Columns: none, king, queen, rook, bishop, knight, pawn.
constexpr const char* kLetters[5] = {
    " KQRBNP",  // English
    " RDTFCP",  // French
    " KDTLSP",  // German
    " RDTACP",  // Spanish
    " RDTACP",  // Italian
};
}  // namespace

StringManager::StringManager() {
  for (int square = 0; square < 64; ++square) {
    squareNames_[square] = {static_cast<char>('a' + square % 8), static_cast<char>('8' - square / 8), '\0'};
  }
  text_.reserve(2048);
  runs_.reserve(80);
}

void StringManager::announce(Console& console) const {
  console.writeText("- string manager initialized\n", colour::kNormal);
}

char StringManager::pieceLetter(int language, int pieceType, bool upper) const {
  if (pieceType < 1 || pieceType > 6) return ' ';
  int row = language;
  if (language == kRussian) row = kEnglish;
  else if (language < 0 || language > kRussian) row = kFrench;
  const char letter = kLetters[row][pieceType];
  return upper ? letter : static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
}

void StringManager::addRun(int attribute, std::size_t first, std::size_t last) {
  runs_.push_back(ColourRun{static_cast<std::uint32_t>(attribute), static_cast<std::uint32_t>(first),
                            static_cast<std::uint32_t>(last)});
}

}  // namespace kestrova
