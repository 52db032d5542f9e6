#include "platform/output_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>

namespace kestrova::platform {

namespace {

// The directory part of a path ("" for the working directory) and the name part.
std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The permissions a new file gets (the process's umask applied), or the target's own.
mode_t modeFor(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) return status.st_mode & 07777;
  const mode_t mask = umask(022);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

OutputFile::~OutputFile() { discard(); }

bool OutputFile::create(const std::string& path) { return begin(path, false); }

bool OutputFile::append(const std::string& path) { return begin(path, true); }

void OutputFile::holdInMemory() {
  discard();
  inMemory_ = true;
  memory_.clear();
}

void OutputFile::takeText(std::string& text) {
  text.swap(memory_);
  memory_.clear();
}

bool OutputFile::begin(const std::string& path, bool keepText) {
  discard();
  inMemory_ = false;
  error_ = 0;
  path_ = path;
  temporary_ = directoryOf(path) + "." + nameOf(path) + ".kestrova-XXXXXX";
  const int fd = mkstemp(temporary_.data());
  if (fd < 0) {
    error_ = errno;
    temporary_.clear();
    return false;
  }
  fchmod(fd, modeFor(path));
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    error_ = errno;
    ::close(fd);
    unlink(temporary_.c_str());
    temporary_.clear();
    return false;
  }
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 18);
  if (keepText) {
    // The present text first: the new file replaces the old one whole, like any other.
    if (std::FILE* old = std::fopen(path.c_str(), "rb")) {
      char buffer[1 << 14];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, old)) > 0;) write(std::string_view(buffer, n));
      if (std::ferror(old)) check(false);
      std::fclose(old);
    }
  }
  return true;
}

void OutputFile::check(bool ok) {
  if (!ok && error_ == 0) error_ = errno != 0 ? errno : EIO;
}

void OutputFile::write(std::string_view text) {
  if (inMemory_) {
    memory_.append(text);
    return;
  }
  if (file_ != nullptr && !text.empty()) check(std::fwrite(text.data(), 1, text.size(), file_) == text.size());
}

void OutputFile::put(char c) {
  if (inMemory_) {
    memory_.push_back(c);
    return;
  }
  if (file_ != nullptr) check(std::putc(c, file_) != EOF);
}

void OutputFile::print(const char* format, ...) {
  if (file_ == nullptr && !inMemory_) return;
  va_list args;
  va_start(args, format);
  if (inMemory_) {
    char text[1024];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(text, sizeof text, format, copy);
    va_end(copy);
    if (needed >= static_cast<int>(sizeof text)) {
      const std::size_t at = memory_.size();
      memory_.resize(at + static_cast<std::size_t>(needed) + 1);
      std::vsnprintf(memory_.data() + at, static_cast<std::size_t>(needed) + 1, format, args);
      memory_.pop_back();
    } else if (needed > 0) {
      memory_.append(text, static_cast<std::size_t>(needed));
    }
  } else {
    check(std::vfprintf(file_, format, args) >= 0);
  }
  va_end(args);
}

void OutputFile::finishWriting() {
  check(std::fflush(file_) == 0);
  check(fsync(fileno(file_)) == 0);
  check(std::fclose(file_) == 0);
  file_ = nullptr;
}

bool OutputFile::closeTemporary() {
  if (file_ == nullptr) return false;
  finishWriting();
  return error_ == 0;
}

bool OutputFile::commit() {
  if (file_ != nullptr) finishWriting();
  else if (temporary_.empty()) return false;
  if (error_ == 0) check(std::rename(temporary_.c_str(), path_.c_str()) == 0);
  if (error_ != 0) unlink(temporary_.c_str());
  temporary_.clear();
  return error_ == 0;
}

void OutputFile::discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

std::string OutputFile::error() const { return error_ == 0 ? std::string() : std::string(std::strerror(error_)); }

}  // namespace kestrova::platform
