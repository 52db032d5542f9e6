#pragma once
// The comment text of every half-move, in buffers of one size allocated together. The buffers
// are not cleared: only the stored length of a slot is ever read, so pages that hold no comment
// are never touched and cost no memory even at the largest comment size (800 x 10 MB).
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace kestrova {

class CommentStore {
 public:
  static constexpr int kDefaultSize = 512;
  static constexpr int kMaxSize = 10000000;

  explicit CommentStore(int slots, int size = kDefaultSize);

  // Each buffer holds size - 1 characters.
  int size() const { return size_; }
  // Gives every buffer the new size, keeping what fits; returns the total bytes.
  long resize(int size);

  std::string_view text(int slot) const {
    return {data_.get() + static_cast<std::size_t>(slot) * size_, lengths_[slot]};
  }
  // Replaces the slot's text, cut to size - 1 characters.
  void set(int slot, std::string_view text);
  void clear(int slot) { lengths_[slot] = 0; }
  void clearAll();

 private:
  int slots_;
  int size_;
  std::unique_ptr<char[]> data_;
  std::vector<std::uint32_t> lengths_;
};

}  // namespace kestrova
