#pragma once
// talpix-sample, the sample simulation engine: TALPIX32 DECK [/N]. Reads the deck, writes the
// listing DECK.LST beside it (the deck with line numbers, every error and warning at its line, a
// run summary) and the results of its printers (DECK.OUT) and plot writer (DECK.PLT).
#include <ostream>
#include <string>
#include <vector>

namespace talpix {

inline constexpr const char* EngineTitle = "TALPIX sample engine 1.0";

// Exit status: 0 when the run ended (warnings allowed), 1 for an error in the deck or during the
// run, 2 when the command line or the deck file cannot be used.
int RunEngine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace talpix
