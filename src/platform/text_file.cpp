#include "platform/text_file.hpp"

namespace kestrova::platform {

TextFile::TextFile(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {}

TextFile::~TextFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool TextFile::readLine(std::string& line, std::size_t limit) {
  line.clear();
  hadEnd_ = false;
  if (file_ == nullptr) return false;
  int c = std::getc(file_);
  if (c == EOF) return false;
  while (c != EOF && c != '\n') {
    if (line.size() < limit) line.push_back(static_cast<char>(c));
    c = std::getc(file_);
  }
  hadEnd_ = c == '\n';
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace kestrova::platform
