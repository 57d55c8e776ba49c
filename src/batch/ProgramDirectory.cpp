#include "ProgramDirectory.h"

#include <ostream>

#include "runs/InstalledProgram.h"
#include "support/Files.h"
#include "support/Program.h"

namespace tal::batch {

namespace {
std::string FullName(const std::string& folder) {
  std::string full = AbsolutePath(folder);
  while (full.size() > 1 && full.back() == '/') full.pop_back();
  return full;
}
}  // namespace

std::optional<std::string> ProgramDirectoryOf(const std::string& named, BatchIo& io) {
  if (!named.empty()) return FullName(named);
  ProgramDirectory chosen =
      ChooseProgramDirectory(FullName("."), {Program().directory, ExecutableFileFolder()}, UserFoldersFromEnvironment());
  if (!chosen.problem.empty()) {
    io.err << "talbatch: " << chosen.problem << "\n";
    return std::nullopt;
  }
  if (!chosen.madeFrom.empty())
    io.err << "talbatch: made the program directory " << chosen.directory << " from " << chosen.madeFrom << "\n";
  if (!chosen.demoWorkspace.empty()) io.err << "talbatch: the demo workspace is " << chosen.demoWorkspace << "\n";
  if (!chosen.demoProblem.empty()) io.err << "talbatch: " << chosen.demoProblem << "\n";
  return chosen.directory;
}

}  // namespace tal::batch
