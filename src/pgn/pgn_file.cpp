#include "pgn/pgn_file.hpp"

#include <algorithm>

#include "platform/console.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

namespace {

// A movetext starts with a move number ("1.", or "23." in a game from a set-up position), with a
// comment, or with a blank and a move number.
bool beginsMovetext(std::string_view line) {
  if (!line.empty() && line[0] == '{') return true;
  std::size_t i = !line.empty() && line[0] == ' ' ? 1 : 0;
  const std::size_t digits = i;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
  return i > digits && i < line.size() && line[i] == '.';
}

bool holdsResult(std::string_view line) {
  return line.find("1-0") != std::string_view::npos || line.find("0-1") != std::string_view::npos ||
         line.find("1/2-1/2") != std::string_view::npos;
}

}  // namespace

void PgnFile::create(Console& console, int gameSize, int lineSize, int saveSize) {
  // A buffer too small to hold a line end and its terminator would make every game "too large".
  gameSize_ = std::max(gameSize, 4);
  lineSize_ = std::max(lineSize, 4);
  saveSize_ = std::max(saveSize, 4);
  line_.reserve(lineSize_);
  game_.reserve(gameSize_);
  save_.reserve(std::min(saveSize_, 1 << 20));
  for (std::string& line : header_.lines) line.reserve(HeaderLines::kMaxLength + 1);
  console.print(colour::kNormal, "- line buffer : %d bytes\n- game buffer : %d bytes\n- save buffer : %d bytes\n",
                lineSize, gameSize, saveSize);
  header_.count = 0;
  gameNumber_ = 0;
}

bool PgnFile::open(const std::string& name) {
  close();
  bool opened = reader_.open(name);
  std::string used = name;
  if (!opened && name.find(".pgn") == std::string::npos) {
    used = name + ".pgn";
    opened = reader_.open(used);
  }
  if (!opened) return false;
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

bool PgnFile::readPiece(Console& console) {
  if (reader_.read(line_, static_cast<std::size_t>(lineSize_))) return true;
  if (reader_.failed()) readError_ = true;
  return false;
}

void PgnFile::storeHeaderLine(const std::string& line) {
  // The last slot is the end mark; tag lines beyond it and characters beyond 99 are dropped.
  if (header_.count >= HeaderLines::kMaxLines - 1) return;
  std::string& slot = header_.lines[header_.count++];
  if (line.size() <= static_cast<std::size_t>(HeaderLines::kMaxLength)) {
    slot.assign(line);
  } else {
    slot.assign(line, 0, HeaderLines::kMaxLength - 1);
    slot.push_back('\n');
  }
}

int PgnFile::readNextGame(Console& console) {
  if (!reader_.isOpen()) {
    console.writeText("- no PGN-file in memory. Please load a pgn file\n", colour::kError);
    return kEnd;
  }
  readError_ = false;
  game_.clear();
  header_.count = 0;
  bool headerSeen = false;
  bool movetextSeen = false;

  if (pendingTagLine_) {
    pendingTagLine_ = false;
  } else {
    do {
      if (!readPiece(console)) {
        if (readError_) console.writeText("> read error\n", colour::kError);
        header_.lines[0].clear();
        return kEnd;
      }
    } while (line_.empty() || line_[0] != '[');
  }
  ++gameNumber_;

  bool ended = false;  // end of file met
  while (line_[0] == '[') {
    headerSeen = true;
    storeHeaderLine(line_);
    if (!readPiece(console) || line_.empty()) {
      ended = true;
      break;
    }
  }
  header_.lines[header_.count].clear();

  if (!ended) {
    // Find where the movetext begins.
    for (;;) {
      if (beginsMovetext(line_)) break;
      const std::size_t length = line_.size();
      if (length <= 1 || length >= 100) {
        if (!readPiece(console)) {
          ended = true;
          break;
        }
        continue;
      }
      if (length <= 8 && holdsResult(line_)) {
        console.print(colour::kError, "> %u: no move found in this game                 \n", gameNumber_);
        return kGame;
      }
      console.print(colour::kError, "%u: moves list not loadable : ??? => \"%s\"\n", gameNumber_, line_.c_str());
      return kSkip;
    }
  }

  while (!ended) {
    if (line_ == "\n") break;
    if (line_.size() + 1 >= static_cast<std::size_t>(lineSize_) ||
        game_.size() + line_.size() + 1 >= static_cast<std::size_t>(gameSize_)) {
      console.writeText(
          "> The game or line buffer is too small for this game. You must increase the game buffer size !\n",
          colour::kError);
      game_.clear();
      return kTooLarge;
    }
    game_.append(line_);
    // Every line is followed by one blank, also a last line without its line end, so that its
    // last move is still followed by a blank.
    if (game_.back() == '\n') game_.back() = ' ';
    else game_.push_back(' ');
    if (!readPiece(console)) break;
    if (line_[0] == '[' && (line_.find("[Event") != std::string::npos || line_.find("[White") != std::string::npos)) {
      console.print(colour::kError, "%u: Warning ! no carrier return found at the end of the moves list!\n",
                    gameNumber_);
      pendingTagLine_ = true;
      break;
    }
    movetextSeen = true;
  }
  if (readError_) console.writeText("> read error\n", colour::kError);
  game_.push_back('\n');
  if (!(headerSeen && movetextSeen)) {
    console.print(colour::kError, "%u: Warning ! malformed pgn's structure or unexpected end of file\n", gameNumber_);
  }
  return kGame;
}

void writeWithLineBreaks(platform::OutputFile& out, std::string_view movetext) {
  std::size_t column = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < movetext.size(); ++i) {
    if (column > 90 && movetext[i] == ' ') {
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
  for (int i = 0; i < header_.count; ++i) out.write(header_.lines[i]);
  out.put('\n');
  writeWithLineBreaks(out, game_);
  out.put('\n');
}

void PgnFile::flushSaveBuffer(const std::string& fileName) {
  if (save_.empty()) return;
  platform::OutputFile out;
  if (out.append(fileName)) out.write(save_);
  save_.clear();
}

}  // namespace kestrova
