/* vellum: read-only access to a Kestrova opening book ("book.obk" in the working directory, or
 * any book file) for chess interfaces and engines. Load the library with dlopen() and look the
 * functions up by these names. Messages go to "vellum.log" in the working directory; calls must not
 * overlap (one book per process, no locks). */
#ifndef VELLUM_H
#define VELLUM_H

#if defined(__GNUC__)
#define VELLUM_EXPORT __attribute__((visibility("default")))
#else
#define VELLUM_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Loads "book.obk" (numeration base 224, 64-bit hashes); starts a new "vellum.log".
 * 1 when the book was loaded, else 0. */
VELLUM_EXPORT int LoadBook(void);

/* LoadBook for the book file at path (relative to the working directory, or absolute); the log
 * is still "vellum.log" in the working directory. 1 when the book was loaded, else 0. */
VELLUM_EXPORT int LoadBookFile(const char* path);

/* Writes one line per book move of the position, most played first, into out (bufSz bytes):
 * "e2e4 n=12 pc=54 myElo=2650 perf=2690 eloGain=+40\n". 1 when every line fitted, else 0.
 * The low byte of logIt non-zero logs the request. */
VELLUM_EXPORT int GetMoves(const char* fen, char* out, int bufSz, int logIt);

/* Chooses one book move ("e2e4", bufSz at least 5): mode 1 at random weighted by games,
 * 2 the most played, 3 the best Elo gain. 0 when the position has no move played in 3 games. */
VELLUM_EXPORT int GetAMove(int mode, const char* fen, char* out, int bufSz, int logIt);

/* Fills up to maxMoves slots: moves (5 bytes per slot, "e2e4" and a zero), n, pc, myElo, perf,
 * cmt. Returns the number of book moves of the position, which may exceed maxMoves. */
VELLUM_EXPORT int GetData(const char* fen, int maxMoves, char* moves, int* n, int* pc, int* myElo, int* perf,
                          int* cmt);

/* Releases the book and closes the log. Always 1. */
VELLUM_EXPORT int CloseBook(void);

#ifdef __cplusplus
}
#endif

#endif
