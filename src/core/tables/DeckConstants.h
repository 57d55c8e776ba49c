#pragma once
// The variables a table can vary: the constants of a deck's CONSTANTS blocks, with the
// description and unit that the annotation lines of a form deck give them.
#include <optional>
#include <string>
#include <vector>

namespace tal {

struct DeckVariable {
  std::string name;         // upper-cased, leading blanks removed; duplicates carry their number
  std::string description;  // at most 40 characters, or "No description available"
  std::string unit;         // "[unit]", " " or "UNIT n name" from the last unit heading
  std::string valueText;    // the text after "=", "?" when empty
  int duplicate = 0;        // 0 for the first constant of a name, n for its n-th repetition
};

using DeckVariableList = std::vector<DeckVariable>;

inline constexpr const char* NoDescriptionText = "No description available";

// Reads the CONSTANTS blocks of `deckName`. nullopt when the deck cannot be read or has no
// CONSTANTS line. `units` is the units setting (2 secondary: a description line's first unit).
std::optional<DeckVariableList> ScanDeckConstants(const std::string& deckName, int units);
// The same on the deck's text.
std::optional<DeckVariableList> ScanDeckConstantsText(const std::string& text, int units);

// The list of the last scan, program-wide: New Table and the reading of a table rescan the deck,
// and Insert/Delete Vars offers its variables. nullopt when the last scan gave none.
std::optional<DeckVariableList>& CurrentDeckVariables();

// "File " + deck + " does not have any TALPIX Comment statements."
std::string NoConstantsMessage(const std::string& deckName);

}  // namespace tal
