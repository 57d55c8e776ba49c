#include "BatchCommand.h"

#include <algorithm>
#include <ostream>

#include "support/Version.h"

namespace tal::batch {

namespace {
std::vector<BatchCommand>& Registry() {
  static std::vector<BatchCommand> commands;
  return commands;
}

void PrintUsage(std::ostream& os) {
  os << "usage: talbatch COMMAND [ARGUMENTS]\ncommands:\n";
  auto commands = Registry();
  std::sort(commands.begin(), commands.end(), [](auto& a, auto& b) { return a.name < b.name; });
  for (const auto& c : commands) os << "  " << c.summary << "\n";
}
}  // namespace

bool RegisterBatchCommand(BatchCommand command) {
  Registry().push_back(std::move(command));
  return true;
}

const std::vector<BatchCommand>& BatchCommands() { return Registry(); }

bool CommandNeedsGui(const std::vector<std::string>& args) {
  for (const auto& c : Registry())
    if (!args.empty() && c.name == args[0]) return c.needsGui;
  return false;
}

int RunBatch(const std::vector<std::string>& args, BatchIo& io) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(args.empty() ? io.err : io.out);
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    io.out << "talbatch " << ProgramVersion() << "\n";
    return 0;
  }
  for (const auto& c : Registry())
    if (c.name == args[0]) return c.handler(std::vector<std::string>(args.begin() + 1, args.end()), io);
  io.err << "talbatch: unknown command \"" << args[0] << "\"\n";
  PrintUsage(io.err);
  return 2;
}

}  // namespace tal::batch
