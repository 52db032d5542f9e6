#pragma once
// Reading engine evaluations, depths and thinking times out of movetext comments.
#include <string_view>

namespace kestrova {

class Game;

// Parses the comment whose opening bracket is text[0] for half-move `ply` of the game (a comment
// may run over several lines); returns the index just after the bracket that closes it, or the
// end of the text.
std::size_t parseComment(Game& game, int ply, std::string_view text);

// The general parser behind parseComment, which reads the common engine form itself.
std::size_t parseCommentFully(Game& game, int ply, std::string_view text);

// Centipawn value of a mate in n moves (negative n: the side mated), beyond +-5000.
int mateScore(int n);

}  // namespace kestrova
