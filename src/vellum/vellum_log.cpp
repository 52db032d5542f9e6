#include "vellum/vellum_log.hpp"

namespace kestrova {

void VellumLog::start() {
  close();
  std::FILE* created = std::fopen(kFileName, "wb");
  if (created == nullptr) return;
  std::fputs("vellum 1.2\n==========\n\n", created);
  std::fclose(created);
  file_ = std::fopen(kFileName, "ab");
}

void VellumLog::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

void VellumLog::write(int, std::string_view text) {
  if (file_ == nullptr || text.empty()) return;
  if (text.back() == '\r') {
    std::fwrite(text.data(), 1, text.size() - 1, file_);
    std::fputc('\n', file_);
  } else {
    std::fwrite(text.data(), 1, text.size(), file_);
  }
  // The host may end abruptly; what was logged stays on disk.
  std::fflush(file_);
}

}  // namespace kestrova
