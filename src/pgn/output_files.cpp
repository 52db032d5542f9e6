#include "pgn/output_files.hpp"

#include <cstdio>
#include <filesystem>

#include "pgn/pgn_file.hpp"
#include "platform/command_line.hpp"
#include "platform/console.hpp"
#include "platform/files.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

namespace {

// The entry "r" of the working directory itself: the history replaces that entry and never
// writes through it, so a file it links to is no concern of the history's.
bool namesHistoryFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (error || absolute.filename() != kHistoryFile) return false;
  return std::filesystem::equivalent(absolute.parent_path(), std::filesystem::current_path(error), error);
}

}  // namespace

bool refusesAsOutput(Console& console, const PgnFile& open, const std::string& path,
                     std::initializer_list<std::string_view> inputs) {
  if (namesHistoryFile(path)) {
    console.fail("\n> \"%s\" holds the command history: it can't be an output file\n", path.c_str());
    return true;
  }
  bool isInput = open.isOpen() && platform::sameFile(path, open.name());
  for (std::string_view input : inputs) {
    if (!isInput && !input.empty()) isInput = platform::sameFile(path, std::string(input));
  }
  if (isInput) console.fail("\n> \"%s\" is read by this command: it can't be its output file\n", path.c_str());
  return isInput;
}

bool refusesOutputs(Console& console, const PgnFile& open, std::initializer_list<std::string_view> outputs,
                    std::initializer_list<std::string_view> inputs) {
  for (auto output = outputs.begin(); output != outputs.end(); ++output) {
    if (output->empty()) continue;
    for (auto other = outputs.begin(); other != output; ++other) {
      if (!other->empty() && namesSameFile(std::string(*output), std::string(*other))) {
        console.fail("\n> \"%.*s\" is named twice among the output files of this command\n",
                     static_cast<int>(output->size()), output->data());
        return true;
      }
    }
    if (refusesAsOutput(console, open, std::string(*output), inputs)) return true;
  }
  return false;
}

bool beginOutputOrSay(Console& console, platform::OutputFile& out, const std::string& path, bool keepText) {
  if (keepText ? out.append(path) : out.create(path)) return true;
  console.fail("> can't create the file \"%s\": %s\n", path.c_str(), out.error().c_str());
  return false;
}

bool createOutputFileOrSay(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                           std::initializer_list<std::string_view> inputs) {
  return !refusesAsOutput(console, open, path, inputs) && beginOutputOrSay(console, out, path);
}

namespace {

bool reportedWriting(Console& console, const platform::OutputFile& out, bool written) {
  if (!written) {
    console.fail("> can't write the file \"%s\": %s; it is left as it was\n", out.path().c_str(), out.error().c_str());
  }
  return written;
}

}  // namespace

bool finishOutput(Console& console, platform::OutputFile& out) { return finishOutputs(console, {&out}); }

bool finishOutputs(Console& console, const std::vector<platform::OutputFile*>& outs) {
  bool complete = true;
  for (platform::OutputFile* out : outs) {
    // One not begun has been reported already.
    complete = out->isOpen() && reportedWriting(console, *out, out->closeTemporary()) && complete;
  }
  for (platform::OutputFile* out : outs) {
    if (!complete) out->discard();
    else complete = reportedWriting(console, *out, out->commit()) && complete;
  }
  return complete;
}

bool finishScratchOutput(Console& console, platform::OutputFile& out) {
  return out.isOpen() && reportedWriting(console, out, out.closeTemporary());
}

bool namesSameFile(const std::string& a, const std::string& b) {
  if (platform::sameFile(a, b)) return true;
  // Made absolute first: a relative name with no existing part would otherwise stay relative.
  std::error_code error;
  const auto first = std::filesystem::weakly_canonical(std::filesystem::absolute(a, error), error);
  if (error) return false;
  const auto second = std::filesystem::weakly_canonical(std::filesystem::absolute(b, error), error);
  return !error && first == second;
}

std::string outputOption(const CommandLine& line, std::string_view fallback) {
  return std::string(line.findOption("-out=") ? line.optionValue("-out=") : fallback);
}

}  // namespace kestrova
