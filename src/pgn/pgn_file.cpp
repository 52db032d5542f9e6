#include "pgn/pgn_file.hpp"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/console.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// A tag line: "[" then a tag name.
bool isTagLine(std::string_view line) {
  return line.size() >= 2 && line[0] == '[' &&
         ((line[1] >= 'A' && line[1] <= 'Z') || (line[1] >= 'a' && line[1] <= 'z'));
}

// Where a token ends in a movetext line: a blank, or a comment or variation glued to it.
constexpr std::array<bool, 256> kScanTokenEnds = [] {
  std::array<bool, 256> table{};
  for (char c : std::string_view(" \t\r\n\f\v{;()")) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

bool endsScanToken(char c) { return kScanTokenEnds[static_cast<unsigned char>(c)]; }

bool isResultToken(std::string_view token) {
  return token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*";
}

}  // namespace

void MovetextScan::addLine(std::string_view line) {
  const char* p = line.data();
  const char* const end = p + line.size();
  while (p < end) {
    if (inComment_) {
      // Most of an engine's movetext is comments: their text is passed over at once.
      const void* close = std::memchr(p, '}', static_cast<std::size_t>(end - p));
      if (close == nullptr) return;
      p = static_cast<const char*>(close) + 1;
      inComment_ = false;
      continue;
    }
    const char c = *p;
    if (c == '{') {
      inComment_ = true;
      ++p;
    } else if (c == ';') {
      return;  // a comment to the end of the line
    } else if (c == '(' || c == ')') {
      depth_ += c == '(' ? 1 : (depth_ > 0 ? -1 : 0);
      ++p;
    } else if (isBlank(c)) {
      ++p;
    } else {
      const char* token = p;
      while (p < end && !endsScanToken(*p)) ++p;
      // Only a token that starts like a result can be one.
      if (depth_ == 0 && (c == '1' || c == '0' || c == '*') &&
          isResultToken(std::string_view(token, static_cast<std::size_t>(p - token)))) {
        ended_ = true;
      }
    }
  }
}

void PgnFile::create(Console& console, int gameSize, int lineSize, int saveSize) {
  // A buffer too small to hold a line end and its terminator would make every game "too large".
  gameSize_ = std::max(gameSize, 4);
  lineSize_ = std::max(lineSize, 4);
  saveSize_ = std::max(saveSize, 4);
  line_.reserve(lineSize_);
  game_.reserve(gameSize_);
  save_.reserve(std::min(saveSize_, 1 << 20));
  console.print(colour::kNormal, "- line buffer : %d bytes\n- game buffer : %d bytes\n- save buffer : %d bytes\n",
                lineSize, gameSize, saveSize);
  header_.clear();
  gameNumber_ = 0;
}

bool PgnFile::open(const std::string& name) {
  close();
  notRegularFile_.clear();
  bool opened = reader_.open(name);
  if (reader_.notRegularFile()) notRegularFile_ = name;
  std::string used = name;
  if (!opened && name.find(".pgn") == std::string::npos) {
    used = name + ".pgn";
    opened = reader_.open(used);
    if (reader_.notRegularFile() && notRegularFile_.empty()) notRegularFile_ = used;
  }
  if (!opened) return false;
  notRegularFile_.clear();
  name_ = used;
  gameNumber_ = 0;
  ++generation_;
  return true;
}

void PgnFile::close() {
  reader_.close();
  name_.clear();
  game_.clear();
  line_.clear();
  pendingTagLine_ = false;
}

void PgnFile::rewind() {
  if (!reader_.isOpen()) return;
  reader_.rewind();
  gameNumber_ = 0;
  pendingTagLine_ = false;
}

bool PgnFile::nextLine() {
  if (!reader_.read(line_, static_cast<std::size_t>(lineSize_))) {
    if (reader_.failed()) readError_ = true;
    return false;
  }
  // A piece without its line end that is not the file's last line: a line longer than the buffer.
  if (!line_.empty() && line_.back() == '\n') {
    line_.pop_back();
  } else if (line_.size() + 1 >= static_cast<std::size_t>(lineSize_)) {
    lineTooLong_ = true;
  }
  return true;
}

int PgnFile::readNextGame(Console& console) {
  if (!reader_.isOpen()) {
    console.writeText("- no PGN-file in memory. Please load a pgn file\n", colour::kError);
    return kEnd;
  }
  readError_ = false;
  lineTooLong_ = false;
  game_.clear();
  header_.clear();
  // The game starts at its first tag line: one that ended the last game, or the next one.
  if (!pendingTagLine_) {
    do {
      if (!nextLine()) {
        if (readError_) console.writeText("> read error\n", colour::kError);
        return kEnd;
      }
    } while (!isTagLine(line_));
  }
  pendingTagLine_ = false;
  ++gameNumber_;

  // The tag lines, then the movetext up to its result or to the next tag line: blank lines do not
  // end a game. The whole game is read also when it does not fit, so that the next read starts
  // at the next game.
  bool fits = true;
  std::size_t headerBytes = 0;
  MovetextScan scan;
  bool inTags = true;
  bool more = true;
  while (more) {
    if (inTags && isTagLine(line_)) {
      headerBytes += line_.size() + 1;
      if (headerBytes < static_cast<std::size_t>(gameSize_)) header_.add().assign(line_);
      else fits = false;
    } else {
      inTags = false;
      if (!scan.inComment() && isTagLine(line_)) {
        pendingTagLine_ = true;
        break;
      }
      // Lines starting with "%" are escaped from the movetext.
      if (line_.empty() || line_[0] != '%') {
        if (game_.size() + line_.size() + 1 < static_cast<std::size_t>(gameSize_)) {
          game_.append(line_);
          game_.push_back('\n');
        } else {
          fits = false;
        }
        scan.addLine(line_);
        if (scan.ended()) break;
      }
    }
    more = nextLine();
  }
  if (readError_) console.writeText("> read error\n", colour::kError);
  if (lineTooLong_ || !fits) {
    game_.clear();
    return kTooLarge;
  }
  return kGame;
}

void writeWithLineBreaks(platform::OutputFile& out, std::string_view movetext) {
  std::size_t column = 0;
  std::size_t start = 0;
  bool inComment = false;
  for (std::size_t i = 0; i < movetext.size(); ++i) {
    const char c = movetext[i];
    if (c == '{') inComment = true;
    if (c == '}') inComment = false;
    if (c == '\n') {
      column = 0;
      continue;
    }
    // Never inside a comment: its text must read back as it was.
    if (column > 90 && c == ' ' && !inComment) {
      out.write(movetext.substr(start, i - start));
      out.put('\n');
      start = i + 1;
      column = 0;
    }
    ++column;
  }
  out.write(movetext.substr(start));
}

void PgnFile::writeGame(platform::OutputFile& out) const {
  for (int i = 0; i < header_.count; ++i) {
    out.write(header_.lines[static_cast<std::size_t>(i)]);
    out.put('\n');
  }
  writeMovetext(out);
}

void PgnFile::writeMovetext(platform::OutputFile& out) const {
  out.put('\n');
  // The blank lines read after the tags are not the movetext's: the line above stands for them.
  const std::string_view movetext = std::string_view(game_).substr(std::min(game_.find_first_not_of("\r\n"), game_.size()));
  writeWithLineBreaks(out, movetext);
  if (movetext.empty() || movetext.back() != '\n') out.put('\n');
  out.put('\n');
}

}  // namespace kestrova
