#pragma once
// Writing a form back as a deck, and switching its numeric fields between the unit systems.
#include <string>
#include <string_view>
#include <vector>

#include "forms/FormModel.h"

namespace tal {

// Writes the form to `target`: every line of the form's file is copied, the lines of fields are
// regenerated from their present values, and the lines of switched-off groups get the
// hidden-group marker. Writing under the form's own name first keeps the old file as ".BAK"
// beside it. The target is replaced only when it has been written whole. Afterwards the form's
// file name is `target` and the form is unchanged. Failures are shown (error box with beep) and
// leave the form as it was; the result tells whether the deck was written.
bool WriteDeck(FormModel& form, const std::string& target);

// The back-up name of a deck: its folder, its name up to the first "." and ".BAK".
std::string BackupNameOf(const std::string& fileName);

// The lines WriteDeck writes for the source lines `sourceLines` (as stored in the form's file),
// stored encoded when `encodeTarget`. Brings the list values up to date first.
// A line that could not be read back as written (stored encoded it would hold a line break, or
// the form's part of it would pass the characters read of a line) is reported through `unwritable`
// and generation stops.
struct UnwritableLine {
  int number = 0;  // 1-based; 0 when every line can be written
  bool tooLong = false;  // else it would hold a line break
};
std::vector<std::string> DeckLines(FormModel& form, const std::vector<std::string>& sourceLines, bool encodeTarget,
                                   UnwritableLine* unwritable = nullptr);

// Recomputes every visible list field's value from its selected row, and every hidden list field
// of the same data file from the row that carries that value.
void RefreshListValues(FormModel& form);

// Converts every numeric field from the unit system `from` to `to` and makes `to` the form's.
void ConvertUnits(FormModel& form, UnitSystem from, UnitSystem to);

}  // namespace tal
