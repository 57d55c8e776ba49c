#pragma once
// A command's arguments read by a CLI11 parser: the command declares its options and operands on
// a CLI::App, ParseCommandArguments reads `args` into them.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
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

// The parts of a comma-separated list such as "A,B,C", empty ones included ("A,,B" has three).
inline std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
    parts.push_back(text.substr(start, comma - start));
  parts.push_back(text.substr(start));
  return parts;
}

// `args` with each of `options` and the value after it joined as "OPTION=VALUE", so that a value
// such as "-.5" is taken as the option's number rather than as an unknown option.
inline std::vector<std::string> JoinNumberOptions(const std::vector<std::string>& args,
                                                  std::initializer_list<std::string_view> options) {
  std::vector<std::string> joined;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool takesValue = std::find(options.begin(), options.end(), args[i]) != options.end();
    if (takesValue && i + 1 < args.size()) {
      joined.push_back(args[i] + "=" + args[i + 1]);
      ++i;
    } else {
      joined.push_back(args[i]);
    }
  }
  return joined;
}

}  // namespace tal::batch
