#pragma once
// talpix-sample, the sample simulation engine: TALPIX32 DECK [/N]. Reads the deck, writes the
// listing DECK.LST beside it (the deck with line numbers, every error and warning at its line, a
// run summary) and the results of its printers (DECK.OUT) and plot writer (DECK.PLT).
#include <ostream>
#include <string>
#include <vector>

#include "Simulation.h"

namespace talpix {

inline constexpr const char* EngineTitle = "TALPIX sample engine 1.0";

// The largest deck the engine reads (bytes).
inline constexpr std::size_t DeckSizeLimit = 64u << 20;

// Exit status: 0 when the run ended (warnings allowed), 1 for an error in the deck or during the
// run, 2 when the command line or the deck file cannot be used.
// A run ended through `control` (a signal) closes its result files, says "The run was stopped at
// TIME h." in the listing and on standard error, and gives 1.
int RunEngine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, const RunControl& control = {});

// The text a run ended from outside leaves in the listing and on standard error.
std::string StoppedText(double time);

}  // namespace talpix
