#pragma once
// What `talbatch COMMAND --help` prints: the command's usage lines, which the command itself prints
// when given no arguments (so help and usage errors say the same, and a test holds both to the
// README's command reference), then what it does, what its options mean and its exit status.
#include <string>

#include "BatchCommand.h"

namespace tal::batch {

std::string CommandHelp(const BatchCommand& command);

}  // namespace tal::batch
