#include "platform/files.hpp"

#include <dirent.h>
#include <sched.h>
#include <unistd.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kestrova::platform {

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa;
  struct stat sb;
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool listFiles(const std::string& directory, const std::string& extension, std::vector<std::string>& names) {
  names.clear();
  DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
  if (dir == nullptr) return false;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() <= extension.size()) continue;
    if (strcasecmp(name.c_str() + name.size() - extension.size(), extension.c_str()) != 0) continue;
    struct stat info;
    if (stat(joinPath(directory, name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return true;
}

std::string joinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  if (directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

int usableCores() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
  return std::max(1, static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN)));
}

bool isRegularFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::string installedDataFile(const std::string& name) {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || executable.empty()) return {};
  return (executable.parent_path() / ".." / "share" / "kestrova" / name).lexically_normal().string();
}

}  // namespace kestrova::platform
