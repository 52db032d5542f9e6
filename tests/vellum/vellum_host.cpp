// A chess interface's use of libvellum.so: dlopen(), the exports by name, one request a line:
//   LoadBook | LoadBookFile path | CloseBook | GetData maxMoves fen | GetMoves bufSz logIt fen
//   | GetAMove mode bufSz logIt fen
// ("\n" in a FEN stands for a line feed). Each answer starts with the function's name and its result;
// "overrun" follows when the library wrote past the room it was given.
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  void* library = argc == 2 ? dlopen(argv[1], RTLD_NOW | RTLD_LOCAL) : nullptr;
  if (library == nullptr) return 2;
  const auto loadBook = reinterpret_cast<int (*)()>(dlsym(library, "LoadBook"));
  const auto loadBookFile = reinterpret_cast<int (*)(const char*)>(dlsym(library, "LoadBookFile"));
  const auto closeBook = reinterpret_cast<int (*)()>(dlsym(library, "CloseBook"));
  const auto getMoves = reinterpret_cast<int (*)(const char*, char*, int, int)>(dlsym(library, "GetMoves"));
  const auto getAMove = reinterpret_cast<int (*)(int, const char*, char*, int, int)>(dlsym(library, "GetAMove"));
  const auto getData =
      reinterpret_cast<int (*)(const char*, int, char*, int*, int*, int*, int*, int*)>(dlsym(library, "GetData"));
  if (!loadBook || !loadBookFile || !closeBook || !getMoves || !getAMove || !getData) return 3;
  for (std::string line; std::getline(std::cin, line);) {
    std::istringstream in(line);
    std::string request, fen;
    int first = 0, second = 0, third = 0;
    in >> request >> first;  // a request without numbers fails here, harmlessly
    if (request == "GetMoves" || request == "GetAMove") in >> second;
    if (request == "GetAMove") in >> third;
    std::getline(in >> std::ws, fen);
    for (std::size_t at; (at = fen.find("\\n")) != std::string::npos;) fen.replace(at, 2, 1, '\n');
    // One slot or byte more than the room given, marked, to see whether the library writes past it.
    const std::size_t room = std::max(request == "GetAMove" ? second : first, 0);
    std::vector<char> text(request == "GetData" ? 5 * room + 5 : room + 1, '#');
    std::vector<int> n(room + 1, -1), pc(n), myElo(n), perf(n), cmt(n);
    if (request == "LoadBook") std::printf("LoadBook %d\n", loadBook());
    if (request == "LoadBookFile") std::printf("LoadBookFile %d\n", loadBookFile(line.substr(std::min<std::size_t>(13, line.size())).c_str()));
    if (request == "CloseBook") std::printf("CloseBook %d\n", closeBook());
    if (request == "GetData") {
      const int count =
          getData(fen.c_str(), first, text.data(), n.data(), pc.data(), myElo.data(), perf.data(), cmt.data());
      std::printf("GetData %d\n", count);
      for (std::size_t j = 0; j < room && j < static_cast<std::size_t>(count); ++j)
        std::printf("%s %d %d %d %d %d\n", &text[5 * j], n[j], pc[j], myElo[j], perf[j], cmt[j]);
      if (text[5 * room] != '#' || n[room] != -1) std::printf("overrun\n");
    }
    if (request == "GetMoves" || request == "GetAMove") {
      const int result = request == "GetMoves" ? getMoves(fen.c_str(), text.data(), first, second)
                                               : getAMove(first, fen.c_str(), text.data(), second, third);
      if (text.back() != '#') std::printf("overrun\n");
      text.back() = '\0';
      std::printf(request == "GetMoves" ? "%s %d\n%s--\n" : "%s %d %s\n", request.c_str(), result,
                  room > 0 ? text.data() : "");
    }
  }
}
