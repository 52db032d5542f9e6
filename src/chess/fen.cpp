#include "chess/fen.hpp"

#include <algorithm>
#include <cstring>


namespace kestrova {

namespace {

constexpr std::string_view kPieceLetters = " kqrbnp";  // Black; White in capitals

// Longest placement: 64 letters and 7 slashes.
constexpr std::size_t kTextRoom = 128;

std::size_t appendPlacement(const Board& board, char* out) {
  std::size_t n = 0;
  for (int row = 0; row < 8; ++row) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      const int square = row * 8 + file;
      const int type = board.mailbox[square];
      if (type == kNoPiece) {
        ++empty;
        continue;
      }
      if (empty) out[n++] = static_cast<char>('0' + empty);
      empty = 0;
      const char letter = kPieceLetters[type];
      out[n++] = board.colourOn(square) == kWhite ? static_cast<char>(letter - 'a' + 'A') : letter;
    }
    if (empty) out[n++] = static_cast<char>('0' + empty);
    if (row < 7) out[n++] = '/';
  }
  return n;
}

std::size_t appendText(char* out, std::size_t n, std::string_view text) {
  std::memcpy(out + n, text.data(), text.size());
  return n + text.size();
}

// The decimal digits of a clock: written on every half-move of a scan, so without printf.
std::size_t appendNumber(char* out, std::size_t n, unsigned value) {
  char digits[8];
  std::size_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (count > 0) out[n++] = digits[--count];
  return n;
}

std::size_t formatPlacementFen(const Board& board, int side, char* out) {
  std::size_t n = appendPlacement(board, out);
  return appendText(out, n, side ? " w - - 0 0" : " b - - 0 0");
}

void skipSpaces(std::string_view fen, std::size_t& i) {
  while (i < fen.size() && fen[i] == ' ') ++i;
}

// The value of a run of digits, stopping at a size no clock reaches.
long leadingNumber(std::string_view digits) {
  long value = 0;
  for (char c : digits) value = std::min(value * 10 + (c - '0'), 1000000L);
  return value;
}

void skipDigits(std::string_view fen, std::size_t& i) {
  while (i < fen.size() && fen[i] >= '0' && fen[i] <= '9') ++i;
}

bool stands(const Board& board, int colour, int type, int square) {
  return (board.pieces[colour][type] & squareBit(square)) != 0;
}

}  // namespace

void parseFen(Board& board, std::string_view fen) {
  board.clear();
  std::size_t i = 0;
  int square = 0;
  for (; i < fen.size() && fen[i] != ' '; ++i) {
    const char c = fen[i];
    if (c >= '1' && c <= '8') {
      square += c - '0';
      continue;
    }
    const bool white = c >= 'A' && c <= 'Z';
    const std::size_t type = kPieceLetters.find(white ? static_cast<char>(c - 'A' + 'a') : c);
    if (type == std::string_view::npos || type == 0) continue;
    if (square < 64) board.put(white ? kWhite : kBlack, static_cast<int>(type), square);
    ++square;
  }
  skipSpaces(fen, i);
  if (i >= fen.size()) return;
  board.side = fen[i++] == 'b' ? kBlack : kWhite;

  skipSpaces(fen, i);
  // A right stands only when its king and rook are at home.
  for (; i < fen.size() && fen[i] != ' '; ++i) {
    switch (fen[i]) {
      case 'K':
        if (stands(board, kWhite, kKing, 60) && stands(board, kWhite, kRook, 63)) board.castling |= squareBit(63);
        break;
      case 'Q':
        if (stands(board, kWhite, kKing, 60) && stands(board, kWhite, kRook, 56)) board.castling |= squareBit(56);
        break;
      case 'k':
        if (stands(board, kBlack, kKing, 4) && stands(board, kBlack, kRook, 7)) board.castling |= squareBit(7);
        break;
      case 'q':
        if (stands(board, kBlack, kKing, 4) && stands(board, kBlack, kRook, 0)) board.castling |= squareBit(0);
        break;
      default:
        break;
    }
  }

  skipSpaces(fen, i);
  if (i + 1 < fen.size() && squareOf(fen[i], fen[i + 1]) != kNoSquare) {
    board.enPassant = squareBit(squareOf(fen[i], fen[i + 1]));
    i += 2;
  } else if (i < fen.size()) {
    ++i;
  }
  // The clocks; anything after them (EPD operations) is not kept.
  skipSpaces(fen, i);
  const std::size_t clock = i;
  skipDigits(fen, i);
  if (i > clock) board.halfMoveClock = static_cast<std::uint16_t>(std::min<long>(leadingNumber(fen.substr(clock, i - clock)), 65535));
  skipSpaces(fen, i);
  const std::size_t number = i;
  skipDigits(fen, i);
  if (i > number) board.fullMoveNumber = static_cast<std::uint16_t>(std::clamp<long>(leadingNumber(fen.substr(number, i - number)), 1, 65535));
}

void writeFen(const Board& board, int side, std::string& out) {
  char text[kTextRoom];
  std::size_t n = appendPlacement(board, text);
  n = appendText(text, n, side ? " w " : " b ");
  const std::size_t rights = n;
  if (board.castling & squareBit(63)) text[n++] = 'K';
  if (board.castling & squareBit(56)) text[n++] = 'Q';
  if (board.castling & squareBit(7)) text[n++] = 'k';
  if (board.castling & squareBit(0)) text[n++] = 'q';
  if (n == rights) text[n++] = '-';
  text[n++] = ' ';
  if (board.enPassant) {
    const int square = highestSquare(board.enPassant);
    text[n++] = static_cast<char>('a' + fileOf(square));
    text[n++] = static_cast<char>('8' - rowOf(square));
  } else {
    text[n++] = '-';
  }
  text[n++] = ' ';
  n = appendNumber(text, n, board.halfMoveClock);
  text[n++] = ' ';
  n = appendNumber(text, n, board.fullMoveNumber);
  text[n++] = ';';
  out.assign(text, n);
}

void writePlacementFen(const Board& board, int side, std::string& out) {
  char text[kTextRoom];
  out.assign(text, formatPlacementFen(board, side, text));
}

void writePlacementFen(const Board& board, int side, std::span<char> out) {
  if (out.empty()) return;
  char text[kTextRoom];
  const std::size_t n = std::min(formatPlacementFen(board, side, text), out.size() - 1);
  std::memcpy(out.data(), text, n);
  out[n] = '\0';
}

}  // namespace kestrova
