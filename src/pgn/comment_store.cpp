#include "pgn/comment_store.hpp"

#include <algorithm>
#include <cstring>

namespace kestrova {

namespace {
// Left uninitialised on purpose (see the class).
std::unique_ptr<char[]> allocateBuffers(int slots, int size) {
  return std::unique_ptr<char[]>(new char[static_cast<std::size_t>(slots) * static_cast<std::size_t>(size)]);
}
}  // namespace

CommentStore::CommentStore(int slots, int size)
    : slots_(slots), size_(size), data_(allocateBuffers(slots, size)), lengths_(slots) {}

long CommentStore::resize(int size) {
  std::unique_ptr<char[]> data = allocateBuffers(slots_, size);
  for (int slot = 0; slot < slots_; ++slot) {
    lengths_[slot] = std::min<std::uint32_t>(lengths_[slot], static_cast<std::uint32_t>(size - 1));
    std::memcpy(data.get() + static_cast<std::size_t>(slot) * size,
                data_.get() + static_cast<std::size_t>(slot) * size_, lengths_[slot]);
  }
  data_ = std::move(data);
  size_ = size;
  return static_cast<long>(slots_) * size;
}

void CommentStore::set(int slot, std::string_view text) {
  const std::size_t length = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size_ - 1));
  std::memcpy(data_.get() + static_cast<std::size_t>(slot) * size_, text.data(), length);
  lengths_[slot] = static_cast<std::uint32_t>(length);
}

void CommentStore::clearAll() { std::fill(lengths_.begin(), lengths_.end(), 0u); }

}  // namespace kestrova
