#pragma once
// Type description files "TYPEn.INF" of the engine's INFO folder: the description of a unit type
// and one entry (name, description, units and range) per parameter and per input of a unit.
//
// Layout, line by line (keyword lines are matched upper-cased):
//   a line containing TYPE whose second word is the type number: the type's description;
//   optionally lines containing "PARMOD k" [ZERO], each answered by the section after the first
//   following line containing "MODE k-v" (or "MODE k POS" / "MODE k NEG" with ZERO), v being
//   parameter k's value in the deck truncated toward zero;
//   one line that is not used (a heading);
//   three lines per parameter: name, description, tail words "U1 U2 F3 F4 MIN MAX" or "none MIN MAX";
//   a line "REP" instead of a name: the three lines after it serve every remaining parameter;
//   a line containing INP, then the input entries the same way.
// Units of type 4 follow a fixed schedule driven by their parameters 1, 5 and 6 and derivative count.
#include <string>
#include <vector>

#include "generator/DeckScan.h"

namespace tal {

// Fills the unit's description and entry lists from its type description file in
// `descriptionDirectory` (file name found without regard to case). Every problem is shown once
// and leaves the unit without data: its description becomes the card's first 7 characters +
// " - NO DATA AVAILABLE". A unit already without data (a count problem) is only given that text.
void ReadTypeDescription(UnitRecord& unit, const std::vector<DeckConstant>& constants,
                         const std::string& descriptionDirectory);

// The annotation fields of an entry's tail words: "|U1|U2|F3|F4|MIN|MAX|" or, for
// "none MIN MAX", "|||0|1|MIN|MAX|"; "" when the words do not make a tail.
std::string TailOfWords(const std::string& tailLine);

std::string NoDataDescription(const std::string& card);

}  // namespace tal
