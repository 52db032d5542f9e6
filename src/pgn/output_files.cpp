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
  if (isInput) {
    console.print(colour::kError, "\n> \"%s\" is read by this command: it can't be its output file\n", path.c_str());
  }
  return isInput;
}

bool createOutputFile(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                      std::initializer_list<std::string_view> inputs) {
  if (refusesAsOutput(console, open, path, inputs)) return false;
  std::remove(path.c_str());
  return out.create(path);
}

bool createOutputFileOrSay(Console& console, const PgnFile& open, platform::OutputFile& out, const std::string& path,
                           std::initializer_list<std::string_view> inputs) {
  if (refusesAsOutput(console, open, path, inputs)) return false;
  std::remove(path.c_str());
  if (out.create(path)) return true;
  console.print(colour::kError, "> can't create the file \"%s\"\n", path.c_str());
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
