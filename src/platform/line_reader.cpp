#include "platform/line_reader.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace kestrova::platform {

namespace {
constexpr std::size_t kBufferSize = 1 << 18;
}

LineReader::~LineReader() { close(); }

bool LineReader::open(const std::string& path) {
  close();
  notRegularFile_ = false;
  // A FIFO would wait for a writer and a directory or a device cannot be read through again:
  // they are refused before they are opened, and once more after (the name may have changed
  // meanwhile), never waited on.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return false;
  if (!S_ISREG(status.st_mode)) {
    notRegularFile_ = true;
    return false;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    notRegularFile_ = !S_ISREG(status.st_mode);
    ::close(fd);
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file_ = ::fdopen(fd, "rb");
  if (file_ == nullptr) {
    ::close(fd);
    return false;
  }
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
