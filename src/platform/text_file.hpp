#pragma once
// A text file read line by line, LF or CR LF alike.
#include <cstdio>
#include <string>

namespace kestrova::platform {

class TextFile {
 public:
  explicit TextFile(const std::string& path);
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  bool isOpen() const { return file_ != nullptr; }

  // Reads the next line without its line end; characters beyond `limit` are discarded.
  // False at end of file.
  bool readLine(std::string& line, std::size_t limit);

  // Whether the line last read ended with a line end (the last line of a file may not).
  bool lineHadEnd() const { return hadEnd_; }

 private:
  std::FILE* file_ = nullptr;
  bool hadEnd_ = false;
};

}  // namespace kestrova::platform
