#pragma once
// The text that follows each half-move: for a game read, its comments, variations and annotation
// marks as written; for the book commands, the note of a line's move. All slots share one buffer
// that keeps its capacity from game to game, so that a game's texts allocate nothing once the
// buffer has grown to the largest game's, and no text is ever cut.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class CommentStore {
 public:
  static constexpr int kDefaultSize = 512;
  static constexpr int kMaxSize = 10000000;

  explicit CommentStore(int slots, int size = kDefaultSize);

  // The room counted for each half-move (cmem); a longer text still fits, as the buffer grows.
  int size() const { return size_; }
  // Sets the room per half-move; returns the total for all of them.
  long resize(int size);

  std::string_view text(int slot) const {
    const Span& span = spans_[static_cast<std::size_t>(slot)];
    return std::string_view(buffer_).substr(span.offset, span.length);
  }
  // Replaces the slot's text.
  void set(int slot, std::string_view text);
  // Adds a piece to the slot's text, a blank between pieces.
  void append(int slot, std::string_view piece);
  void clear(int slot) { spans_[static_cast<std::size_t>(slot)] = Span{}; }
  void clearAll();

 private:
  struct Span {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
  };

  int size_;
  std::string buffer_;
  std::vector<Span> spans_;
};

}  // namespace kestrova
