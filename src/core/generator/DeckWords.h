#pragma once
// Words of deck lines as the generator reads them: blank-separated, counts and type numbers read
// as whole numbers (0 when a word is not one), connections joined across the blank after ",".
#include <string>
#include <string_view>
#include <vector>

namespace tal {

// Without leading blanks (and tabs); nothing is cut.
std::string TrimLeft(std::string_view text);
std::vector<std::string> SplitWords(std::string_view line);
// Word `index` (0-based) of the line, "" when it has fewer.
std::string WordAt(std::string_view line, std::size_t index);
// The whole number a word spells, 0 when it does not spell one.
int IntOf(std::string_view word);
// A count of a deck statement: 0 for a word that is not a whole number or is negative, at most
// 100000, so no count can make the generator hold absurd lists.
int CountOf(std::string_view word);
// "3," followed by "1" becomes the connection "3,1".
std::vector<std::string> JoinConnectionWords(const std::vector<std::string>& words);

}  // namespace tal
