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

class PgnFile {
 public:
  enum ReadResult : int { kTooLarge = -2, kSkip = -1, kEnd = 0, kGame = 1 };

  // Sizes the buffers and prints them.
  void create(Console& console, int gameSize, int lineSize, int saveSize);

  // Closes the open file and opens the name (or the name with ".pgn" added when it has none).
  bool open(const std::string& name);
  void close();
  void rewind();
  bool isOpen() const { return reader_.isOpen(); }
  const std::string& name() const { return name_; }
  // Grows with every successful open: rating and tournament data collected from an older
  // number are stale.
  std::uint32_t generation() const { return generation_; }

  // Reads the next game's tag lines and movetext.
  int readNextGame(Console& console);
  std::uint32_t gameNumber() const { return gameNumber_; }

  HeaderLines& header() { return header_; }
  const HeaderLines& header() const { return header_; }
  // The movetext as one line, each file line followed by a blank, ended by a newline.
  std::string& gameBuffer() { return game_; }
  const std::string& gameBuffer() const { return game_; }
  int gameBufferSize() const { return gameSize_; }

  // Writes the header lines, an empty line, the game buffer broken into lines, an empty line.
  void writeGame(platform::OutputFile& out) const;

  std::string& saveBuffer() { return save_; }
  // Appends the pending save buffer to the file and empties it.
  void flushSaveBuffer(const std::string& fileName);

 private:
  bool readPiece(Console& console);
  void storeHeaderLine(const std::string& line);

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
  // A tag line that ended a movetext because the blank line was missing: the next game's first.
  bool pendingTagLine_ = false;
  bool readError_ = false;
};

// Breaks a movetext into lines: the first blank after column 90 of a line becomes a line end.
void writeWithLineBreaks(platform::OutputFile& out, std::string_view movetext);

}  // namespace kestrova
