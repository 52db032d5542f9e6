#pragma once
// The book file's numbers: an unsigned 64-bit value written in a base of 2 to 224, least
// significant digit first, digit d being the byte 256 - base + d, so no digit is a line end.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

class BookNumeration {
 public:
  static constexpr unsigned kDefaultBase = 224;
  static constexpr unsigned kMinBase = 2;
  // Above 224 the digits reach the control bytes, and line ends among them from 246 on.
  static constexpr unsigned kMaxBase = 224;
  // The powers kept: enough for any 64-bit value in base 2.
  static constexpr std::size_t kMaxDigits = 64;

  explicit BookNumeration(unsigned base = kDefaultBase) { setBase(base); }

  static bool isValidBase(unsigned base) { return base >= kMinBase && base <= kMaxBase; }

  // Sets the base (a base outside 2..224 becomes 224) and rebuilds its powers.
  void setBase(unsigned base);
  unsigned base() const { return base_; }

  // Writes the digits of the value into out, which has room for kMaxDigits; returns how many.
  std::size_t encode(std::uint64_t value, char* out) const;
  std::string encode(std::uint64_t value) const;

  // Reads digits up to a line feed or the end of the text, modulo 2^64. False for an empty
  // text, more than 64 digits, or a byte that is no digit of the base.
  bool decode(std::string_view text, std::uint64_t& value) const;

 private:
  unsigned base_ = kDefaultBase;
  unsigned firstDigit_ = 256 - kDefaultBase;  // the byte of digit 0
  std::array<std::uint64_t, kMaxDigits> powers_{};
};

}  // namespace kestrova
