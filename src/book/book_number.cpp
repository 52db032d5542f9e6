#include "book/book_number.hpp"

namespace kestrova {

void BookNumeration::setBase(unsigned base) {
  base_ = isValidBase(base) ? base : kDefaultBase;
  firstDigit_ = 256 - base_;
  std::uint64_t power = 1;
  for (std::uint64_t& slot : powers_) {
    slot = power;
    power *= base_;
  }
}

std::size_t BookNumeration::encode(std::uint64_t value, char* out) const {
  std::size_t length = 0;
  while (value / base_ != 0) {
    out[length++] = static_cast<char>(firstDigit_ + value % base_);
    value /= base_;
  }
  out[length++] = static_cast<char>(firstDigit_ + value % base_);
  return length;
}

std::string BookNumeration::encode(std::uint64_t value) const {
  char digits[kMaxDigits];
  return std::string(digits, encode(value, digits));
}

bool BookNumeration::decode(std::string_view text, std::uint64_t& value) const {
  value = 0;
  std::size_t i = 0;
  for (; i < text.size() && text[i] != '\n'; ++i) {
    if (i == kMaxDigits) return false;
    const unsigned byte = static_cast<unsigned char>(text[i]);
    if (byte < firstDigit_) return false;
    value += (byte - firstDigit_) * powers_[i];
  }
  return i > 0;
}

}  // namespace kestrova
