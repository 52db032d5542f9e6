#include "shell/command_history.hpp"

#include "platform/output_file.hpp"
#include "platform/text_file.hpp"

namespace kestrova {

void CommandHistory::load(const char* path) {
  platform::TextFile file(path);
  std::string line;
  std::size_t lines = 0;
  while (file.readLine(line, kLineLimit + 1)) {
    // Not a file of this program's (a PGN file named "r", say): it is never written over.
    if (++lines > kEntries || line.size() > kLineLimit || line.starts_with('[')) {
      foreign_ = true;
      entries_.fill(std::string());
      used_.fill(false);
      return;
    }
    entries_[lines - 1] = line;
    used_[lines - 1] = true;
  }
}

bool CommandHistory::remember(std::string_view line, const char* path) {
  for (std::size_t k = 0; k < kEntries; ++k) {
    if (used_[k] && entries_[k] == line) return true;
  }
  for (std::size_t k = kEntries - 1; k > 0; --k) {
    entries_[k] = std::move(entries_[k - 1]);
    used_[k] = used_[k - 1];
  }
  entries_[0].assign(line);
  used_[0] = true;
  return save(path);
}

bool CommandHistory::save(const char* path) {
  if (foreign_) return true;
  // Replaced whole: never written through a link into the file it points to.
  platform::OutputFile file;
  bool saved = file.create(path);
  if (saved) {
    for (std::size_t k = 0; k < kEntries; ++k) {
      if (!used_[k]) continue;
      file.write(entries_[k]);
      file.put('\n');
    }
    saved = file.commit();
  }
  saveError_ = saved ? std::string() : file.error();
  return saved;
}

}  // namespace kestrova
