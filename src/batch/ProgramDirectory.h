#pragma once
// The program directory a talbatch command uses: the folder named by the user, else the working
// folder, or, for an installed talbatch run in a folder without a settings file, the user's own
// program directory of the installed program (made on first use, as the window program makes it).
#include <optional>
#include <string>

#include "BatchCommand.h"

namespace tal::batch {

// `named` is the folder the command line gave ("" for none). The result is a full name without a
// trailing "/"; nullopt after a message on io.err when the user's program directory cannot be made.
std::optional<std::string> ProgramDirectoryOf(const std::string& named, BatchIo& io);

}  // namespace tal::batch
