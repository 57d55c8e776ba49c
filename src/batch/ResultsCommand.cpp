// talbatch results DECK: the result files the shell attaches to the Windows menu for DECK.
#include <ostream>

#include "BatchCommand.h"
#include "shell/ResultFiles.h"
#include "support/Files.h"

namespace tal::batch {
namespace {

int RunResults(const std::vector<std::string>& args, BatchIo& io) {
  if (args.size() != 1 || args[0].empty()) {
    io.err << "usage: talbatch results DECK\n";
    return 2;
  }
  // The shell works on full names; a relative "./A.DCK" would otherwise have an empty base name.
  std::string deck = AbsolutePath(args[0]);
  if (!FileReadable(deck)) {
    io.err << "talbatch results: " << args[0] << " cannot be opened for reading\n";
    return 2;
  }
  for (const auto& result : FindResultFiles(deck)) io.out << ResultKindName(result.kind) << ' ' << result.path << '\n';
  return 0;
}

const bool registered = RegisterBatchCommand(
    {"results", "results DECK        list the listing, output, plot, table and diagram files of DECK", RunResults});

}  // namespace
}  // namespace tal::batch
