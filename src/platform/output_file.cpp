#include "platform/output_file.hpp"

#include <cstdarg>

namespace kestrova::platform {

OutputFile::~OutputFile() { close(); }

bool OutputFile::openMode(const std::string& path, const char* mode) {
  close();
  file_ = std::fopen(path.c_str(), mode);
  if (file_ == nullptr) return false;
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 18);
  path_ = path;
  return true;
}

bool OutputFile::create(const std::string& path) { return openMode(path, "wb"); }

bool OutputFile::append(const std::string& path) { return openMode(path, "ab"); }

void OutputFile::write(std::string_view text) {
  if (file_ != nullptr) std::fwrite(text.data(), 1, text.size(), file_);
}

void OutputFile::put(char c) {
  if (file_ != nullptr) std::putc(c, file_);
}

void OutputFile::print(const char* format, ...) {
  if (file_ == nullptr) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file_, format, args);
  va_end(args);
}

void OutputFile::flush() {
  if (file_ != nullptr) std::fflush(file_);
}

void OutputFile::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace kestrova::platform
