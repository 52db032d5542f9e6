#include "platform/line_reader.hpp"

#include <cstring>

namespace kestrova::platform {

namespace {
constexpr std::size_t kBufferSize = 1 << 18;
}

LineReader::~LineReader() { close(); }

bool LineReader::open(const std::string& path) {
  close();
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) return false;
  buffer_.resize(kBufferSize);
  begin_ = end_ = 0;
  failed_ = false;
  return true;
}

void LineReader::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  begin_ = end_ = 0;
}

void LineReader::rewind() {
  if (file_ == nullptr) return;
  std::rewind(file_);
  begin_ = end_ = 0;
  failed_ = false;
}

bool LineReader::refill() {
  if (begin_ < end_) return true;
  begin_ = 0;
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  if (end_ == 0 && std::ferror(file_)) failed_ = true;
  return end_ > 0;
}

bool LineReader::read(std::string& piece, std::size_t limit) {
  piece.clear();
  if (file_ == nullptr || limit < 2) return false;
  const std::size_t room = limit - 1;
  while (piece.size() < room) {
    if (!refill()) break;
    const char* start = buffer_.data() + begin_;
    const std::size_t available = std::min(end_ - begin_, room - piece.size());
    const char* newline = static_cast<const char*>(std::memchr(start, '\n', available));
    const std::size_t take = newline ? static_cast<std::size_t>(newline - start) + 1 : available;
    piece.append(start, take);
    begin_ += take;
    if (newline) {
      if (piece.size() >= 2 && piece[piece.size() - 2] == '\r') {
        piece.erase(piece.size() - 2, 1);
      }
      return true;
    }
  }
  return !piece.empty();
}

}  // namespace kestrova::platform
