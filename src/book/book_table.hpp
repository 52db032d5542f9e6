#pragma once
// The opening book in memory: entries of position keys and moves with their statistics.
namespace kestrova {

class BookTable {};

}  // namespace kestrova
