#pragma once
// Plain help texts shown in the help text window: the help file of an index entry and the files of
// the Help menu. A file beginning with "?_" is a help file of another platform's viewer.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tal {

inline constexpr std::size_t HelpTextMax = 60000;

// True when the file begins with the two bytes "?_".
bool IsForeignHelpFile(const std::string& path);
// The message for such a file: it names the file and says it cannot be shown here.
std::string ForeignHelpMessage(const std::string& path);

// Lines appended to the help text buffer, which holds at most 60000 characters ("\r\n" counts
// two): an empty line is a paragraph break (two line breaks), a line beginning with a blank starts
// a new line, and a line is followed by two blanks after a ".", nothing after a blank and one
// blank otherwise. Characters beyond the limit are dropped.
std::string ReflowHelpLines(const std::vector<std::string>& lines);

// What the help text window makes of a help file.
struct HelpTextSetup {
  enum class Action {
    Show,     // show the window with `text`
    Foreign,  // do not show the window; `message` says why
  } action = Action::Show;
  std::string text = "Help is not available for this subject";
  std::string message;  // an information message to show first ("" = none)
};
HelpTextSetup PrepareHelpText(const std::string& path);

}  // namespace tal
