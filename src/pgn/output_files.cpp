#include "pgn/output_files.hpp"

#include <cstdio>
#include <filesystem>

#include "pgn/pgn_file.hpp"
#include "platform/command_line.hpp"
#include "platform/console.hpp"
#include "platform/files.hpp"
#include "platform/output_file.hpp"

namespace kestrova {

bool refusesAsOutput(Console& console, const PgnFile& open, const std::string& path,
                     std::initializer_list<std::string_view> inputs) {
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

bool createOutputFile(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                      std::initializer_list<std::string_view> inputs) {
  if (refusesAsOutput(console, open, path, inputs)) return false;
  return out.create(path);
}

bool createOutputFileOrSay(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                           std::initializer_list<std::string_view> inputs) {
  if (refusesAsOutput(console, open, path, inputs)) return false;
  if (out.create(path)) return true;
  console.fail("> can't create the file \"%s\": %s\n", path.c_str(), out.error().c_str());
  return false;
}

bool finishOutput(Console& console, platform::OutputFile& out) {
  if (!out.isOpen()) return false;
  if (out.commit()) return true;
  console.fail("> can't write the file \"%s\": %s; it is left as it was\n", out.path().c_str(), out.error().c_str());
  return false;
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
