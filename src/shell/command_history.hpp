#pragma once
// The last nine command lines, most recent first, kept in the file "r" between runs.
#include <array>
#include <string>
#include <string_view>

namespace kestrova {

class CommandHistory {
 public:
  static constexpr std::size_t kEntries = 9;
  static constexpr const char* kFile = "r";

  // Reads up to nine lines of the file; a missing file leaves the history empty.
  void load(const char* path = kFile);
  // Stores the line as entry 1 unless it is already one of the entries, and rewrites the file.
  // A file that cannot be written is skipped silently.
  void remember(std::string_view line, const char* path = kFile);

  // Entry 1..9 without its newline; empty when unused.
  const std::string& entry(std::size_t k) const { return entries_[k - 1]; }
  bool isUsed(std::size_t k) const { return used_[k - 1]; }

 private:
  void save(const char* path) const;
  std::array<std::string, kEntries> entries_;
  std::array<bool, kEntries> used_{};  // an empty line is a real entry once typed
};

}  // namespace kestrova
