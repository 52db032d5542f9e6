#pragma once
// The last nine command lines, most recent first, kept in the file "r" between runs.
#include <array>
#include <string>
#include <string_view>

#include "pgn/output_files.hpp"

namespace kestrova {

class CommandHistory {
 public:
  static constexpr std::size_t kEntries = 9;
  static constexpr const char* kFile = kHistoryFile;

  static constexpr std::size_t kLineLimit = 255;

  // Reads up to nine lines of the file; a missing file leaves the history empty. A file that is
  // no history (more lines, longer ones, or tag lines) is left alone for good.
  void load(const char* path = kFile);
  // Stores the line as entry 1 unless it is already one of the entries, and replaces the file
  // whole (never written through a link). False when the file could not be written (saveError()
  // says why): it is left as it was.
  bool remember(std::string_view line, const char* path = kFile);
  const std::string& saveError() const { return saveError_; }
  // The file "r" is some other file, which the history never writes over.
  bool isForeign() const { return foreign_; }

  // Entry 1..9 without its newline; empty when unused.
  const std::string& entry(std::size_t k) const { return entries_[k - 1]; }
  bool isUsed(std::size_t k) const { return used_[k - 1]; }

 private:
  bool save(const char* path);
  std::array<std::string, kEntries> entries_;
  std::array<bool, kEntries> used_{};  // an empty line is a real entry once typed
  bool foreign_ = false;
  std::string saveError_;
};

}  // namespace kestrova
