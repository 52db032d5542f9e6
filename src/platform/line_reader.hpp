#pragma once
// Sequential reading of a large text file in pieces of at most a given length, like fgets:
// a line longer than the limit comes in several pieces. CR LF reads as LF.
#include <cstdio>
#include <string>
#include <vector>

namespace kestrova::platform {

class LineReader {
 public:
  LineReader() = default;
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Opens a regular file; false when it cannot be opened or is no regular file (a directory, a
  // FIFO, a device), which is never waited on.
  bool open(const std::string& path);
  // The last open failed because the path names something other than a regular file.
  bool notRegularFile() const { return notRegularFile_; }
  void close();
  bool isOpen() const { return file_ != nullptr; }
  void rewind();

  // Reads the next piece: up to and including a line end, or limit - 1 characters.
  // False at end of file (or on a read error: see failed()).
  bool read(std::string& piece, std::size_t limit);
  bool failed() const { return failed_; }

 private:
  bool refill();

  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool failed_ = false;
  bool notRegularFile_ = false;
};

}  // namespace kestrova::platform
