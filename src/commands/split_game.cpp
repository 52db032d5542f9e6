#include "commands/split_game.hpp"

#include <algorithm>

namespace kestrova {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// A file letter, a piece letter, castling or a null move.
bool beginsMove(char c, char next) {
  return (c >= 'a' && c <= 'h') || c == 'R' || c == 'N' || c == 'B' || c == 'K' || c == 'Q' || c == 'O' ||
         (c == '-' && next == '-');
}

// Length of a Black move number ("12..." : one to three digits and two or more dots) at pos, or 0.
std::size_t blackMoveNumberAt(std::string_view text, std::size_t pos) {
  std::size_t i = pos;
  while (i < text.size() && isDigit(text[i]) && i - pos < 4) ++i;
  const std::size_t digits = i - pos;
  if (digits == 0 || digits > 3) return 0;
  while (i < text.size() && text[i] == '.') ++i;
  return i - pos - digits >= 2 ? i - pos : 0;
}

// Where a move that begins at sanStart really starts: at the first digit of its move number when
// the number stands right before it (with or without a blank between).
std::size_t moveNumberStart(const std::string& text, std::size_t sanStart) {
  std::size_t i = sanStart;
  if (i > 0 && text[i - 1] == ' ') --i;
  if (i == 0 || text[i - 1] != '.') return sanStart;
  while (i > 0 && text[i - 1] == '.') --i;
  std::size_t first = i;
  while (first > 0 && isDigit(text[first - 1])) --first;
  if (first == i || (first > 0 && isLetter(text[first - 1]))) return sanStart;
  return first;
}

std::string_view withoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

void MovetextSplitter::openVariation() {
  if (depth_ == frames_.size()) frames_.emplace_back();
  Frame& frame = frames_[depth_++];
  frame.putAside.clear();
  frame.hasMove = moveStart_ != std::string::npos;
  if (!frame.hasMove) {
    frame.start = text_.size();
    frame.sanOffset = 0;
  } else {
    // The move runs to the first blank (or comment) after its own text; only its first
    // kPutAsideLength characters are kept. What followed it (comments, annotations) is kept
    // whole for the main line.
    std::size_t moveEnd = text_.find_first_of(" {", sanStart_);
    if (moveEnd == std::string::npos) moveEnd = text_.size();
    const std::size_t kept = std::min(moveEnd - moveStart_, kPutAsideLength);
    frame.start = moveStart_;
    frame.sanOffset = std::min(sanStart_ - moveStart_, kept);
    frame.putAside.assign(text_, moveStart_, kept);
    frame.putAside.append(text_, moveEnd, std::string::npos);
  }
  text_.resize(frame.start);
  moveStart_ = sanStart_ = std::string::npos;
}

void MovetextSplitter::closeVariation() {
  const Frame& frame = frames_[--depth_];
  text_.resize(frame.start);
  text_ += frame.putAside;
  // The main line goes on after the move put back, which a following variation replaces again.
  moveStart_ = frame.hasMove ? frame.start : std::string::npos;
  sanStart_ = frame.hasMove ? frame.start + frame.sanOffset : std::string::npos;
}

void MovetextSplitter::split(std::string_view movetext, const Sink& sink) {
  text_.clear();
  depth_ = 0;
  moveStart_ = sanStart_ = std::string::npos;
  char previous = ' ';  // the source character before pos; the start counts as a blank
  std::size_t pos = 0;
  while (pos < movetext.size()) {
    char c = movetext[pos];
    // Line ends, tabs and the like are blanks like any other.
    if (c == '\n' || c == '\t' || c == '\r' || c == '\f' || c == '\v') c = ' ';
    if (c == '{') {
      // A comment is copied whole; one that never closes ends with the movetext.
      std::size_t end = movetext.find('}', pos + 1);
      end = end == std::string_view::npos ? movetext.size() : end + 1;
      text_.append(movetext.substr(pos, end - pos));
      pos = end;
      previous = '}';
      continue;
    }
    if (c == ';') {
      // A comment to the line's end, kept in braces: the line end that closed it is not kept.
      std::size_t end = movetext.find('\n', pos + 1);
      if (end == std::string_view::npos) end = movetext.size();
      text_ += '{';
      text_.append(movetext.substr(pos + 1, end - pos - 1));
      text_ += '}';
      pos = end;
      previous = '}';
      continue;
    }
    if (c == '(') {
      openVariation();
    } else if (c == ')') {
      // A stray closing bracket of the main line is dropped rather than ending the game.
      if (depth_ > 0) {
        const std::string_view line = withoutTrailingBlanks(text_);
        if (!line.empty()) sink(line);
        closeVariation();
        // A move glued to the variation's end starts a token of its own.
        if (!text_.empty() && text_.back() != ' ') text_ += ' ';
      }
    } else if (c == ' ') {
      if (!text_.empty() && text_.back() != ' ') text_ += ' ';
    } else if (const std::size_t number = isDigit(c) && !isDigit(previous) && !isLetter(previous)
                                              ? blackMoveNumberAt(movetext, pos)
                                              : 0;
               number > 0) {
      // Kept only where it opens the movetext: a game that starts with Black to move needs it.
      if (text_.empty()) text_.append(movetext.substr(pos, number));
      pos += number;
      previous = '.';
      continue;
    } else if (c == '.' && ((pos > 0 && movetext[pos - 1] == '.') ||
                            (pos + 1 < movetext.size() && movetext[pos + 1] == '.'))) {
      // dropped
    } else {
      const char next = pos + 1 < movetext.size() ? movetext[pos + 1] : '\0';
      if (beginsMove(c, next) && (previous == '.' || previous == ' ' || previous == '(')) {
        sanStart_ = text_.size();
        moveStart_ = moveNumberStart(text_, sanStart_);
      }
      text_ += c;
    }
    previous = c;
    ++pos;
  }
  // Variations left open by the end of the movetext end there, innermost first.
  while (depth_ > 0) {
    const std::string_view line = withoutTrailingBlanks(text_);
    if (!line.empty()) sink(line);
    closeVariation();
  }
  sink(withoutTrailingBlanks(text_));
}

}  // namespace kestrova
