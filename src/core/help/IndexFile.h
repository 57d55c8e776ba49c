#pragma once
// Index files (".IDX"): a catalogue of projects. Three header lines (title and two subtitles),
// then pairs of lines: the entry's text as the list shows it, and its data line naming the
// deck, a picture and a help file.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tal {

struct IndexEntryFiles {
  std::string deck;
  std::string picture;  // "" when the entry has none
  std::string help;     // "" when the entry has none
};

struct IndexEntry {
  std::string text;
  IndexEntryFiles files;
};

struct IndexFile {
  std::string title;
  std::string subtitle1;
  std::string subtitle2;
  std::vector<IndexEntry> entries;
};

// An entry data line: leading blanks removed, every "," read as a blank; the deck up to the
// first blank, then (after further blanks) the picture up to the next blank, then the trimmed rest
// as the help file. Names are kept as written, at most 255 characters each.
IndexEntryFiles ParseEntryData(std::string_view line);

// The index file's bytes. Entries are read in pairs to the end; a pair with neither text nor data
// (an empty line at the end of the file) is no entry.
IndexFile ParseIndexFile(std::string_view bytes);
// nullopt when the file cannot be read.
std::optional<IndexFile> ReadIndexFile(const std::string& path);

// Where a name of an entry lies: a name beginning with "/" as written, any other relative to the
// index file's folder; "\" separators of index files written elsewhere count as "/". The file is
// found without regard to the case of its name; the joined name is returned when there is none.
std::string IndexEntryPath(const std::string& indexFile, std::string_view name);

}  // namespace tal
