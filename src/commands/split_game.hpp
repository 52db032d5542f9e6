#pragma once
// Turning the variations of a movetext into lines of play of their own.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// Walks a movetext (the game buffer as read) and gives each line of play:
// for every variation, the moves before it followed by the variation's moves, at any depth; and
// last the main line without its variations. Comments are kept; Black move numbers and repeated
// blanks are dropped. Reused from game to game so that its texts keep their capacity.
class MovetextSplitter {
 public:
  // The text of a move put aside while its variation is walked (a move number and SAN).
  static constexpr std::size_t kPutAsideLength = 14;

  using Sink = std::function<void(std::string_view line)>;

  // Calls `sink` with each line of play, in order.
  void split(std::string_view movetext, const Sink& sink);

 private:
  // A variation being walked: where the move it replaces began, and that move put aside.
  struct Frame {
    std::size_t start = 0;
    std::size_t sanOffset = 0;  // from start to the move's own text (after its number)
    bool hasMove = false;
    std::string putAside;       // the move (at most kPutAsideLength) and what followed it
  };

  void openVariation();
  void closeVariation();

  std::string text_;
  std::vector<Frame> frames_;  // never shrinks: the frames keep their capacity
  std::size_t depth_ = 0;
  // Start of the last move in text_ (its move number included) and of its own text; npos when
  // no move has begun on the current line.
  std::size_t moveStart_ = std::string::npos;
  std::size_t sanStart_ = std::string::npos;
};

}  // namespace kestrova
