#pragma once
// The help file of a form deck and the look-up behind F1: a plain text file named like the deck
// with ".HLP", made of sections that each begin after a header line ".TOPIC=n".
// Texts use "\r\n" line breaks, as the help files do.
#include <string>
#include <string_view>

namespace tal {

// The deck's file name with everything from its first "." replaced by ".HLP" (".HLP" appended
// when the name has none); the folder is kept as it is.
std::string FormHelpFileName(std::string_view deck);

// The reflowed section of `topic` in the help file `text`, or "Help is not available for this
// topic" when there is none. A header is a line holding ".TOPIC" (any case); the topic number
// after its "=" is compared over the key's own length, so topic 1 also finds "=12".
std::string GetHelpText(std::string_view text, int topic);

// A section made readable: consecutive text lines join into one paragraph (one blank for the
// line break); a line break stays where the next line is empty or begins with a blank, and
// after an empty line, so lists stay as written and empty lines separate paragraphs.
std::string ReflowHelpSection(std::string_view section);

// What the form help window shows for `topic` (0: the field has none) of the form deck `deck`:
// "File <name> was not found." without a help file, "Help is not available for this entry."
// for topic 0, else the topic's section.
std::string FormHelpText(const std::string& deck, int topic);

}  // namespace tal
