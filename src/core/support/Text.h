#pragma once
// Short-text helpers. File bytes are kept as std::string; upper-casing is ASCII only.
#include <string>
#include <string_view>

namespace tal {

inline constexpr std::size_t ShortTextMax = 255;

// a..z become A..Z; every other byte, accented letters included, stays. Nothing is cut.
std::string UpperShort(std::string_view text);
// Blanks removed from both ends, then cut to `max` characters.
std::string TrimShort(std::string_view text, std::size_t max = ShortTextMax);
// The first 255 characters: what a parser may look at of a line (never use it on text written back).
std::string CutShort(std::string_view text);

bool EqualNoCase(std::string_view a, std::string_view b);
bool ContainsNoCase(std::string_view text, std::string_view part);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// The extension of a file name's last component, from its last ".", upper-cased and cut to four
// characters including the dot (".DCK", ".TKD", ".O01" -> ".O01", ".DECK" -> ".DEC"); "" when none.
std::string ExtensionOf(std::string_view fileName);

}  // namespace tal
