#pragma once
// The tournaments found in the open PGN file and their cross-tables.
namespace kestrova {

class TournamentTable {};

}  // namespace kestrova
