#pragma once
// Form decks shared by the form tests: the sixteen-line example deck with its list data and
// weather files, and small helpers to read and write decks in a temporary folder.
#include <string>
#include <vector>

#include "TestSupport.h"
#include "forms/DeckReader.h"

namespace formtest {

// The example deck, one entry per line (line 1 is "*TALKIT").
const std::vector<std::string>& ExampleLines();
std::string JoinLines(const std::vector<std::string>& lines, const std::string& eol = "\n");

// Writes the example deck as `name` with HEATERS.DAT and WEATHER.DAT beside it; returns its path.
std::string WriteExample(const taltest::TempDir& dir, const std::string& name = "HOUSE.TKD");
// Writes HEATERS.DAT and WEATHER.DAT only.
void WriteCompanions(const taltest::TempDir& dir);

// Lines of a file as stored (no decoding).
std::vector<std::string> FileLines(const std::string& path);

// Index of the first item of that kind (and label, when given); -1 when none.
int FindItem(const tal::FormModel& form, tal::FormItemKind kind, const std::string& label = "");

}  // namespace formtest
