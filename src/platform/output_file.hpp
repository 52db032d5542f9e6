#pragma once
// A file the program writes, replaced whole or not at all: it is written to a temporary file in
// the target's directory, every write, flush and close is checked, and the temporary is renamed
// over the target only when the file is complete. A file that is given up, or whose writing
// failed, leaves the earlier target as it was.
#include <cstdio>
#include <string>
#include <string_view>

namespace kestrova::platform {

class OutputFile {
 public:
  OutputFile() = default;
  // A file not committed is given up.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Begins a file that will replace the target. False (error() says why) when the temporary file
  // cannot be made.
  bool create(const std::string& path);
  // Begins a file that will replace the target with its present text followed by what is written.
  bool append(const std::string& path);
  // Begins a text kept in memory, never a file: what a worker thread writes for its games, to be
  // written to the real file in the order of the games (takeText).
  void holdInMemory();
  // The text held in memory, handed over by swapping with `text` (whose old content is dropped).
  void takeText(std::string& text);
  bool isOpen() const { return file_ != nullptr || inMemory_; }
  const std::string& path() const { return path_; }

  void write(std::string_view text);
  void put(char c);
  void print(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Completes the file: flushes, syncs and closes the temporary (unless closeTemporary() did) and
  // renames it over the target.
  // False when any step of the writing failed: the temporary is removed and the target stays as
  // it was; error() says why ("No space left on device").
  bool commit();
  // Completes the writing like commit() but keeps the text in the temporary file, for the program
  // to read back (temporaryPath()) or to commit later, with other files written at the same time;
  // the target is not touched yet.
  bool closeTemporary();
  const std::string& temporaryPath() const { return temporary_; }
  // Gives the file up: the temporary is removed, the target stays as it was.
  void discard();

  bool failed() const { return error_ != 0; }
  // The system's message for the first failure, "" when none.
  std::string error() const;

 private:
  bool begin(const std::string& path, bool keepText);
  void check(bool ok);
  void finishWriting();

  std::FILE* file_ = nullptr;
  bool inMemory_ = false;
  std::string memory_;
  std::string path_;
  std::string temporary_;
  int error_ = 0;
};

}  // namespace kestrova::platform
