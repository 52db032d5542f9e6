#include "book/book_entry.hpp"

namespace kestrova {

namespace {

constexpr std::uint64_t field(std::uint64_t value, int width, int shift) {
  return (value & ((std::uint64_t{1} << width) - 1)) << shift;
}

constexpr std::uint64_t extract(std::uint64_t data, int width, int shift) {
  return (data >> shift) & ((std::uint64_t{1} << width) - 1);
}

}  // namespace

std::uint64_t packMoveData(const BookEntry& entry) {
  return field(entry.from, 6, 0) | field(entry.to, 6, 6) | field(entry.cmt, 3, 12) | field(entry.n, 20, 15) |
         field(entry.pc, 7, 35) | field(entry.oppElo / 2u, 11, 42) | field(entry.myElo / 2u, 11, 53);
}

void unpackMoveData(std::uint64_t data, BookEntry& entry) {
  entry.from = static_cast<std::uint8_t>(extract(data, 6, 0));
  entry.to = static_cast<std::uint8_t>(extract(data, 6, 6));
  entry.cmt = static_cast<std::uint8_t>(extract(data, 3, 12));
  entry.n = static_cast<std::uint32_t>(extract(data, 20, 15));
  entry.pc = static_cast<std::uint8_t>(extract(data, 7, 35));
  entry.oppElo = static_cast<std::uint16_t>(extract(data, 11, 42) * 2);
  entry.myElo = static_cast<std::uint16_t>(extract(data, 11, 53) * 2);
}

}  // namespace kestrova
