#pragma once
// A text file written through a large buffer.
#include <cstdio>
#include <string>
#include <string_view>

namespace kestrova::platform {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Truncates or creates the file.
  bool create(const std::string& path);
  bool append(const std::string& path);
  bool isOpen() const { return file_ != nullptr; }
  const std::string& path() const { return path_; }

  void write(std::string_view text);
  void put(char c);
  void print(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Pushes what is buffered to the file (so the file is complete on disk).
  void flush();
  void close();

 private:
  bool openMode(const std::string& path, const char* mode);
  std::FILE* file_ = nullptr;
  std::string path_;
};

}  // namespace kestrova::platform
