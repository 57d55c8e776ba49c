#include "shell/RecentFiles.h"

#include <algorithm>

#include "support/Files.h"
#include "support/Text.h"

namespace tal {

void RecentFiles::add(const std::string& name) {
  std::erase_if(entries_, [&](const std::string& entry) { return EqualNoCase(entry, name); });
  if (name.size() >= MinNameLength) entries_.push_back(name);
  while (entries_.size() > MaxEntries) entries_.erase(entries_.begin());
}

bool RecentFiles::removeAt(std::size_t index) {
  if (index >= entries_.size()) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

bool RecentFiles::load(const std::string& programDir) {
  entries_.clear();
  auto found = FindFileNoCase(programDir, RecentFilesFileName);
  if (!found) return false;
  auto bytes = ReadWholeFile(*found);
  if (!bytes) return false;
  for (auto& line : SplitLines(*bytes)) {
    // No file name ends in a carriage return: those are line ends of another platform's editor.
    while (!line.empty() && line.back() == '\r') line.pop_back();
    if (!TrimShort(line).empty()) entries_.push_back(line);
  }
  return true;
}

std::string RecentFiles::save(const std::string& programDir) const {
  std::string bytes;
  for (const auto& entry : entries_) bytes += entry + "\n";
  auto existing = FindFileNoCase(programDir, RecentFilesFileName);
  return WriteFileAtomically(existing ? *existing : JoinPath(programDir, RecentFilesFileName), bytes);
}

}  // namespace tal
