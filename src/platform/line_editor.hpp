#pragma once
// Line editing at an interactive terminal (libedit): the arrow keys move in the line and walk
// through the history. For a terminal on standard input and output only: nothing of it runs for a
// pipe or a file.
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace kestrova::platform {

class LineEditor {
 public:
  LineEditor();
  ~LineEditor();
  LineEditor(const LineEditor&) = delete;
  LineEditor& operator=(const LineEditor&) = delete;

  // False when libedit could not start (no memory): lines are then to be read plainly.
  bool ready() const;

  // Replaces the lines the up arrow recalls, most recent first.
  void setHistory(std::span<const std::string> newestFirst);

  // Shows the prompt in the colour attribute (on a terminal that wants colour) and reads one
  // edited line without its line end, cut to `limit` characters. Ctrl-C drops the line typed so
  // far and prompts again. False at end of input (Ctrl-D on an empty line).
  bool readLine(std::string& line, std::size_t limit, std::string_view prompt, int attribute);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kestrova::platform
