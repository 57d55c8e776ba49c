#pragma once
// The recent-file list of the File menu: full file names, oldest first. It lives in
// "TALSHELL.FNL" in the program directory, one name per line, oldest first.
#include <cstddef>
#include <string>
#include <vector>

namespace tal {

inline constexpr const char* RecentFilesFileName = "TALSHELL.FNL";

class RecentFiles {
 public:
  static constexpr std::size_t MaxEntries = 8;
  // Names this short are never remembered (they cannot be a full path).
  static constexpr std::size_t MinNameLength = 4;

  // Moves `name` to the newest place: an entry equal to it without regard to case is removed,
  // the name is appended when it is at least MinNameLength long, and the oldest entries are
  // dropped while more than MaxEntries remain.
  void add(const std::string& name);
  // Removes the entry at `index` (0 = oldest); false when there is none.
  bool removeAt(std::size_t index);
  void clear() { entries_.clear(); }

  const std::vector<std::string>& entries() const { return entries_; }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

  // Replaces the list with the one in `programDir` (file name matched without regard to case).
  // Blank lines are skipped. Returns false, leaving the list empty, when there is no list file:
  // that is not an error, the list just starts empty.
  bool load(const std::string& programDir);
  // Writes the list to `programDir` (replacing the existing file whatever its case) through a
  // temporary file. Returns "" on success, else a message naming the file.
  std::string save(const std::string& programDir) const;

 private:
  std::vector<std::string> entries_;
};

}  // namespace tal
