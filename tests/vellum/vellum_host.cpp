// A host for libvellum.so as a chess interface uses it: loads the library with dlopen(), looks
// the five exports up by name and calls them. Requests come one per line on standard input:
//   LoadBook | CloseBook
//   GetData <maxMoves> <fen>
//   GetMoves <bufSz> <logIt> <fen>
//   GetAMove <mode> <bufSz> <logIt> <fen>
// ("\\n" in a FEN is a line feed), and each answer starts with the function's name and its result.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using LoadBookFn = int (*)();
using CloseBookFn = int (*)();
using GetMovesFn = int (*)(const char*, char*, int, int);
using GetAMoveFn = int (*)(int, const char*, char*, int, int);
using GetDataFn = int (*)(const char*, int, char*, int*, int*, int*, int*, int*);

template <typename Fn>
Fn symbol(void* library, const char* name) {
  void* address = dlsym(library, name);
  if (address == nullptr) {
    std::fprintf(stderr, "missing export %s\n", name);
    std::exit(2);
  }
  return reinterpret_cast<Fn>(address);
}

// The rest of the line after the stream's position, without the blank before it; the two
// characters "\\n" stand for a line feed.
std::string rest(std::istringstream& in) {
  std::string text;
  std::getline(in, text);
  if (!text.empty() && text[0] == ' ') text.erase(0, 1);
  for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\n");
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vellum_host LIBRARY < requests\n");
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "dlopen: %s\n", dlerror());
    return 2;
  }
  const auto loadBook = symbol<LoadBookFn>(library, "LoadBook");
  const auto closeBook = symbol<CloseBookFn>(library, "CloseBook");
  const auto getMoves = symbol<GetMovesFn>(library, "GetMoves");
  const auto getAMove = symbol<GetAMoveFn>(library, "GetAMove");
  const auto getData = symbol<GetDataFn>(library, "GetData");

  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream in(line);
    std::string request;
    in >> request;
    if (request == "LoadBook") {
      std::printf("LoadBook %d\n", loadBook());
    } else if (request == "CloseBook") {
      std::printf("CloseBook %d\n", closeBook());
    } else if (request == "GetData") {
      int maxMoves = 0;
      in >> maxMoves;
      const std::string fen = rest(in);
      const std::size_t slots = maxMoves > 0 ? maxMoves : 0;
      // One slot more than asked for, marked, shows whether the library wrote past maxMoves.
      std::vector<char> moves(5 * (slots + 1), '#');
      std::vector<int> n(slots + 1, -1), pc(slots + 1, -1), myElo(slots + 1, -1), perf(slots + 1, -1),
          cmt(slots + 1, -1);
      const int count = getData(fen.c_str(), maxMoves, moves.data(), n.data(), pc.data(), myElo.data(), perf.data(),
                                cmt.data());
      std::printf("GetData %d\n", count);
      for (std::size_t j = 0; j < slots && j < static_cast<std::size_t>(count); ++j) {
        std::printf("%s %d %d %d %d %d\n", &moves[j * 5], n[j], pc[j], myElo[j], perf[j], cmt[j]);
      }
      if (moves[5 * slots] != '#' || n[slots] != -1) std::printf("overrun\n");
    } else if (request == "GetMoves") {
      int bufSz = 0, logIt = 0;
      in >> bufSz >> logIt;
      const std::string fen = rest(in);
      std::vector<char> out(static_cast<std::size_t>(bufSz > 0 ? bufSz : 0) + 1, '#');
      const int result = getMoves(fen.c_str(), out.data(), bufSz, logIt);
      if (out.back() != '#') std::printf("overrun\n");
      out.back() = '\0';
      std::printf("GetMoves %d\n%s--\n", result, bufSz > 0 ? out.data() : "");
    } else if (request == "GetAMove") {
      int mode = 0, bufSz = 0, logIt = 0;
      in >> mode >> bufSz >> logIt;
      const std::string fen = rest(in);
      std::vector<char> out(static_cast<std::size_t>(bufSz > 0 ? bufSz : 0) + 1, '#');
      const int result = getAMove(mode, fen.c_str(), out.data(), bufSz, logIt);
      if (out.back() != '#') std::printf("overrun\n");
      out.back() = '\0';
      std::printf("GetAMove %d %s\n", result, bufSz > 0 ? out.data() : "");
    } else if (!request.empty()) {
      std::printf("unknown request %s\n", request.c_str());
    }
    std::fflush(stdout);
  }
  dlclose(library);
  return 0;
}
