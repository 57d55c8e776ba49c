#include "support/Program.h"

#include <unistd.h>

#include "support/Files.h"
#include "support/Text.h"

namespace tal {

ProgramInfo& Program() {
  static ProgramInfo info;
  return info;
}

namespace {

std::string FindOnPath(const std::string& name, const std::string& pathVariable) {
  std::size_t start = 0;
  while (start <= pathVariable.size()) {
    std::size_t colon = pathVariable.find(':', start);
    std::string dir = pathVariable.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    std::string candidate = JoinPath(dir.empty() ? "." : dir, name);
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return name;
}

// Removes "." segments and doubled separators without resolving links: a link named "talkit"
// must keep its own folder and name.
std::string Tidy(const std::string& path) {
  std::string out;
  std::size_t i = 0;
  while (i < path.size()) {
    std::size_t slash = path.find('/', i);
    std::string part = path.substr(i, slash == std::string::npos ? std::string::npos : slash - i);
    if (!part.empty() && part != ".") out += "/" + part;
    if (slash == std::string::npos) break;
    i = slash + 1;
  }
  return out.empty() ? "/" : out;
}

}  // namespace

ProgramInfo DetermineProgramInfo(const std::string& argv0, const std::string& currentDir,
                                 const std::string& pathVariable) {
  std::string path = HasFolder(argv0) ? argv0 : FindOnPath(argv0, pathVariable);
  if (path.empty() || path.front() != '/') path = JoinPath(currentDir, path);
  ProgramInfo info;
  info.path = Tidy(path);
  info.directory = FolderOf(info.path);
  info.talkitMode = UpperShort(info.path).find("TALKIT") != std::string::npos;
  return info;
}

}  // namespace tal
