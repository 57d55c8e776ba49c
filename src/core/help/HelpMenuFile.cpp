#include "help/HelpMenuFile.h"

#include "help/HelpText.h"
#include "support/Files.h"

namespace tal {

HelpMenuFile FindHelpMenuFile(const std::string& programDir, const std::string& name) {
  std::string stem = name.substr(0, name.rfind('.'));
  if (auto manual = FindFileNoCase(programDir, stem + ".html"))
    return {HelpMenuFile::Kind::Manual, *manual};
  auto help = FindFileNoCase(programDir, name);
  if (!help) return {HelpMenuFile::Kind::Missing, JoinPath(programDir, name)};
  const std::string& path = *help;
  return {IsForeignHelpFile(path) ? HelpMenuFile::Kind::Foreign : HelpMenuFile::Kind::Text, path};
}

std::string HelpFileNotFoundMessage(const std::string& path) { return "File " + path + " was not found."; }

}  // namespace tal
