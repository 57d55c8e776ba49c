#pragma once
// What `talbatch COMMAND --help` prints: the command's usage lines, as the README's command
// reference gives them, and the meaning of its options and exit status.
#include <string>

namespace tal::batch {

// "" for a command without a help text of its own (its summary line serves).
std::string CommandHelp(const std::string& command);

}  // namespace tal::batch
