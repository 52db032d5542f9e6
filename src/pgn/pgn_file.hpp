#pragma once
// The open PGN file, read one game at a time into buffers sized once.
#include <cstdint>
#include <string>
#include <string_view>

#include "pgn/header_lines.hpp"
#include "platform/line_reader.hpp"

namespace kestrova {

class Console;
namespace platform {
class OutputFile;
}

// Follows a movetext line by line: comments (which may span lines) and variations, and whether
// the game's result token has come.
class MovetextScan {
 public:
  void addLine(std::string_view line);
  bool inComment() const { return inComment_; }
  bool ended() const { return ended_; }

 private:
  bool inComment_ = false;
  bool ended_ = false;
  int depth_ = 0;
};

class PgnFile {
 public:
  enum ReadResult : int { kTooLarge = -2, kEnd = 0, kGame = 1 };

  // Sizes the buffers and prints them.
  void create(Console& console, int gameSize, int lineSize, int saveSize);

  // Closes the open file and opens the name (or the name with ".pgn" added when it has none).
  bool open(const std::string& name);
  // When the last open failed on a directory, a FIFO or a device (never waited on): its name.
  const std::string& notRegularFile() const { return notRegularFile_; }
  void close();
  void rewind();
  bool isOpen() const { return reader_.isOpen(); }
  const std::string& name() const { return name_; }
  // Grows with every successful open: rating and tournament data collected from an older
  // number are stale.
  std::uint32_t generation() const { return generation_; }

  // Reads the next game's tag lines and movetext: from a tag line to the result token or to the
  // next tag line (blank lines and "%" lines in between do not end it). kTooLarge when a line or
  // the game does not fit the buffers (the game is then passed over whole).
  int readNextGame(Console& console);
  std::uint32_t gameNumber() const { return gameNumber_; }

  HeaderLines& header() { return header_; }
  const HeaderLines& header() const { return header_; }
  // The movetext as read, each line followed by a line end ("%" lines left out).
  std::string& gameBuffer() { return game_; }
  const std::string& gameBuffer() const { return game_; }
  int gameBufferSize() const { return gameSize_; }

  // Writes the header lines, an empty line, the game buffer (long lines broken; the blank lines that
  // begin it left out), an empty line.
  void writeGame(platform::OutputFile& out) const;
  // What writeGame writes after the header lines.
  void writeMovetext(platform::OutputFile& out) const;

  // A worker thread's file holds one game at a time, handed over by the thread that reads the
  // file: its number, tag lines and movetext are swapped in (and back out after the work).
  void swapGame(std::uint32_t number, HeaderLines& header, std::string& movetext) {
    gameNumber_ = number;
    std::swap(header_, header);
    game_.swap(movetext);
  }

  // Text a command writes after its games (delete).
  std::string& saveBuffer() { return save_; }

 private:
  bool nextLine();

  platform::LineReader reader_;
  std::string name_;
  std::uint32_t generation_ = 0;
  std::uint32_t gameNumber_ = 0;
  int gameSize_ = 30000;
  int lineSize_ = 5000;
  int saveSize_ = 30000;
  std::string line_;
  std::string game_;
  std::string save_;
  HeaderLines header_;
  // The tag line that ended the last movetext: the next game's first.
  bool pendingTagLine_ = false;
  bool lineTooLong_ = false;
  bool readError_ = false;
  std::string notRegularFile_;
};

// Breaks a movetext into lines: the first blank after column 90 of a line, outside a comment,
// becomes a line end.
void writeWithLineBreaks(platform::OutputFile& out, std::string_view movetext);

}  // namespace kestrova
