#pragma once
// File-system questions the commands ask: identity of two paths, directory listings.
#include <string>
#include <vector>

namespace kestrova::platform {

// True when both paths name one existing file (same device and inode).
bool sameFile(const std::string& a, const std::string& b);

// Names (not paths) of the regular files in a directory whose name ends with the extension,
// compared without regard to case, in name order. False when the directory cannot be read.
bool listFiles(const std::string& directory, const std::string& extension, std::vector<std::string>& names);

// Joins a directory and a file name.
std::string joinPath(const std::string& directory, const std::string& name);

// The processors this process may run on (its affinity mask), at least 1.
int usableCores();

// True when the path names a regular file (after links).
bool isRegularFile(const std::string& path);

// A data file installed with the program: ../share/kestrova/NAME from the executable's directory,
// so an install under any prefix finds its own. Empty when the executable's path is unknown.
std::string installedDataFile(const std::string& name);

}  // namespace kestrova::platform
