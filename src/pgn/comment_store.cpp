#include "pgn/comment_store.hpp"

#include <algorithm>

namespace kestrova {

CommentStore::CommentStore(int slots, int size) : size_(size), spans_(static_cast<std::size_t>(slots)) {}

long CommentStore::resize(int size) {
  size_ = size;
  return static_cast<long>(spans_.size()) * size;
}

void CommentStore::set(int slot, std::string_view text) {
  Span& span = spans_[static_cast<std::size_t>(slot)];
  // In place when it fits, so that a slot written again and again does not grow the buffer.
  if (text.size() <= span.length) {
    buffer_.replace(span.offset, text.size(), text);
    span.length = static_cast<std::uint32_t>(text.size());
    return;
  }
  span.offset = static_cast<std::uint32_t>(buffer_.size());
  span.length = static_cast<std::uint32_t>(text.size());
  buffer_.append(text);
}

void CommentStore::append(int slot, std::string_view piece) {
  Span& span = spans_[static_cast<std::size_t>(slot)];
  if (span.length == 0) {
    set(slot, piece);
    return;
  }
  // The slot's text is moved to the end of the buffer first unless it stands there already.
  if (span.offset + span.length != buffer_.size()) {
    const std::size_t start = buffer_.size();
    buffer_.append(buffer_, span.offset, span.length);
    span.offset = static_cast<std::uint32_t>(start);
  }
  buffer_.push_back(' ');
  buffer_.append(piece);
  span.length = static_cast<std::uint32_t>(buffer_.size() - span.offset);
}

void CommentStore::clearAll() {
  std::fill(spans_.begin(), spans_.end(), Span{});
  buffer_.clear();
}

}  // namespace kestrova
