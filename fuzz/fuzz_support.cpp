#include "fuzz_support.hpp"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace kestrova::fuzz {

ScratchFile::ScratchFile(std::string_view name) {
  path_ = (std::filesystem::temp_directory_path() /
           ("kestrova-fuzz-" + std::to_string(getpid()) + "-" + std::string(name)))
              .string();
}

ScratchFile::~ScratchFile() { std::remove(path_.c_str()); }

void ScratchFile::write(const std::uint8_t* data, std::size_t size) const {
  std::FILE* file = std::fopen(path_.c_str(), "wb");
  if (file == nullptr) fail("cannot write the scratch file");
  if (size > 0 && std::fwrite(data, 1, size, file) != size) fail("cannot write the scratch file");
  std::fclose(file);
}

App& sharedApp() {
  static App* app = new App(Console::capturing(), platform::Input(std::string()));
  return *app;
}

void fail(const char* reason) {
  std::fprintf(stderr, "fuzz check failed: %s\n", reason);
  std::abort();
}

void checkBoard(const Board& board) {
  if (board.colours[kWhite] & board.colours[kBlack]) fail("a square of both colours");
  if (board.occupied != (board.colours[kWhite] | board.colours[kBlack])) fail("occupancy differs from the colours");
  Bitboard files = 0, diagA = 0, diagB = 0;
  for (int square = 0; square < 64; ++square) {
    const Bitboard bit = squareBit(square);
    const int type = board.mailbox[square];
    if (type > kPawn) fail("mailbox holds no piece type");
    if ((type == kNoPiece) != !(board.occupied & bit)) fail("mailbox and occupancy disagree");
    int holders = 0;
    for (int colour = 0; colour < 2; ++colour) {
      for (int t = 0; t <= kPawn; ++t) {
        if (board.pieces[colour][t] & bit) {
          ++holders;
          if (t != type || !(board.colours[colour] & bit)) fail("piece board and mailbox disagree");
        }
      }
    }
    if (holders != (type == kNoPiece ? 0 : 1)) fail("a square on several piece boards");
    if (board.occupied & bit) {
      files |= kRotatedBits.files[square];
      diagA |= kRotatedBits.diagA[square];
      diagB |= kRotatedBits.diagB[square];
    }
  }
  if (files != board.occupiedFiles || diagA != board.occupiedDiagA || diagB != board.occupiedDiagB) {
    fail("rotated occupancy differs");
  }
}

bool sameBoard(const Board& a, const Board& b) {
  return a.side == b.side && a.mailbox == b.mailbox && a.pieces == b.pieces && a.colours == b.colours &&
         a.occupied == b.occupied && a.occupiedDiagA == b.occupiedDiagA && a.occupiedFiles == b.occupiedFiles &&
         a.occupiedDiagB == b.occupiedDiagB && a.castling == b.castling && a.enPassant == b.enPassant;
}

ExactBuffer::ExactBuffer(const std::uint8_t* data, std::size_t size)
    : data_(new char[size > 0 ? size : 1]), size_(size) {
  if (size > 0) std::memcpy(data_.get(), data, size);
}

}  // namespace kestrova::fuzz
