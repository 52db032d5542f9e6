#include "shell/command_history.hpp"

#include <cstdio>

#include "platform/text_file.hpp"

namespace kestrova {

void CommandHistory::load(const char* path) {
  platform::TextFile file(path);
  std::string line;
  for (std::size_t k = 0; k < kEntries && file.readLine(line, 255); ++k) {
    entries_[k] = line;
    used_[k] = true;
  }
}

void CommandHistory::remember(std::string_view line, const char* path) {
  for (std::size_t k = 0; k < kEntries; ++k) {
    if (used_[k] && entries_[k] == line) return;
  }
  for (std::size_t k = kEntries - 1; k > 0; --k) {
    entries_[k] = std::move(entries_[k - 1]);
    used_[k] = used_[k - 1];
  }
  entries_[0].assign(line);
  used_[0] = true;
  save(path);
}

void CommandHistory::save(const char* path) const {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return;
  for (std::size_t k = 0; k < kEntries; ++k) {
    if (!used_[k]) continue;
    std::fputs(entries_[k].c_str(), file);
    std::fputc('\n', file);
  }
  std::fclose(file);
}

}  // namespace kestrova
