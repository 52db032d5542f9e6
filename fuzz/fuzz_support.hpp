#pragma once
// What the fuzz targets share: a scratch file for readers that take a path, an application with a
// captured console, and the board's consistency checks.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "shell/app.hpp"

namespace kestrova::fuzz {

// A file of this process in the temporary directory, rewritten for every input and removed at exit.
class ScratchFile {
 public:
  explicit ScratchFile(std::string_view name);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& path() const { return path_; }
  void write(const std::uint8_t* data, std::size_t size) const;

 private:
  std::string path_;
};

// An application whose console collects its output (emptied by the targets) and whose input is
// scripted; built once per target, since its tables are costly.
App& sharedApp();

// Stops the run (a crash for the fuzzer) with the reason on standard error.
[[noreturn]] void fail(const char* reason);

// Every board the bitboards, the rotated occupancies and the mailbox agree on; fails otherwise.
void checkBoard(const Board& board);

// Every field of the two boards is equal.
bool sameBoard(const Board& a, const Board& b);

// Exact copy of a fuzzer input in its own allocation, so that reading past its end is caught.
class ExactBuffer {
 public:
  ExactBuffer(const std::uint8_t* data, std::size_t size);
  std::string_view view() const { return {data_.get(), size_}; }
  char* data() { return data_.get(); }
  std::size_t size() const { return size_; }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_;
};

}  // namespace kestrova::fuzz
