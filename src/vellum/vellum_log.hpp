#pragma once
// The library's log "vellum.log": every message of the library, none on a console.
#include <cstdio>
#include <string_view>

#include "book/book_reporter.hpp"

namespace kestrova {

class VellumLog final : public BookReporter {
 public:
  static constexpr const char* kFileName = "vellum.log";

  VellumLog() = default;
  ~VellumLog() override { close(); }
  VellumLog(const VellumLog&) = delete;
  VellumLog& operator=(const VellumLog&) = delete;

  // Creates the log anew with its title and keeps it open for appending; without it the
  // library works unlogged.
  void start();
  void close();
  bool isOpen() const { return file_ != nullptr; }

  // Colours mean nothing in a file; a progress line ends with a line feed instead of "\r".
  void write(int colour, std::string_view text) override;
  void write(std::string_view text) { write(0, text); }

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace kestrova
