#pragma once
// The program-wide error state: 0 for no error, 100 after a failed field check or a failed form
// reading. The exit check of a numeric field clears it first; Save and Save as of a form window
// stop while it is set.

namespace tal {

inline constexpr int ErrorStateClear = 0;
inline constexpr int ErrorStateSet = 100;

int& ErrorState();

}  // namespace tal
