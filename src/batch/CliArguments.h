#pragma once
// A command's arguments read by a CLI11 parser: the command declares its options and operands on
// a CLI::App, ParseCommandArguments reads `args` into them.
#include <CLI/CLI.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "BatchCommand.h"

namespace tal::batch {

// nullopt when the arguments were read; else the exit status (2) after the parser's message,
// naming what is wrong, and `usage` on io.err. Help and version are answered before a command runs.
inline std::optional<int> ParseCommandArguments(CLI::App& cli, const std::vector<std::string>& args, BatchIo& io,
                                                const std::string& command, const char* usage) {
  cli.set_help_flag();
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
  try {
    cli.parse(reversed);
  } catch (const CLI::ParseError& e) {
    io.err << "talbatch " << command << ": " << e.what() << "\n" << usage;
    return 2;
  }
  return std::nullopt;
}

}  // namespace tal::batch
