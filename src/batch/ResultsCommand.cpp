// talbatch results DECK: the result files the shell attaches to the Windows menu for DECK.
#include <ostream>

#include "BatchCommand.h"
#include "CliArguments.h"
#include "shell/ResultFiles.h"
#include "support/Files.h"

namespace tal::batch {
namespace {

constexpr const char* Usage = "usage: talbatch results DECK\n";

int RunResults(const std::vector<std::string>& args, BatchIo& io) {
  CLI::App cli;
  std::string named;
  cli.add_option("DECK", named);
  if (auto status = ParseCommandArguments(cli, args, io, "results", Usage)) return *status;
  if (named.empty()) {
    io.err << Usage;
    return 2;
  }
  // The shell works on full names; a relative "./A.DCK" would otherwise have an empty base name.
  std::string deck = AbsolutePath(named);
  if (!FileReadable(deck)) {
    io.err << "talbatch results: " << named << " cannot be opened for reading\n";
    return 2;
  }
  for (const auto& result : FindResultFiles(deck)) io.out << ResultKindName(result.kind) << ' ' << result.path << '\n';
  return 0;
}

const bool registered = RegisterBatchCommand(
    {"results", "results DECK        list the listing, output, plot, table and diagram files of DECK", RunResults});

}  // namespace
}  // namespace tal::batch
