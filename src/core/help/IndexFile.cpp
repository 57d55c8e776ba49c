#include "help/IndexFile.h"

#include <algorithm>

#include "support/Files.h"
#include "support/Text.h"

namespace tal {

IndexEntryFiles ParseEntryData(std::string_view line) {
  std::string data(line);
  std::replace(data.begin(), data.end(), ',', ' ');
  std::string_view rest(data);
  auto skipBlanks = [&rest] {
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  };
  auto takeWord = [&rest] {
    std::size_t blank = rest.find(' ');
    std::string_view word = rest.substr(0, blank);
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    return TrimShort(word);
  };
  IndexEntryFiles files;
  skipBlanks();
  files.deck = takeWord();
  skipBlanks();
  files.picture = takeWord();
  files.help = TrimShort(rest);
  return files;
}

IndexFile ParseIndexFile(std::string_view bytes) {
  std::vector<std::string> lines = SplitLines(bytes);
  auto line = [&lines](std::size_t i) { return i < lines.size() ? CutShort(lines[i]) : std::string(); };
  IndexFile index;
  index.title = line(0);
  index.subtitle1 = line(1);
  index.subtitle2 = line(2);
  for (std::size_t i = 3; i < lines.size(); i += 2) {
    IndexEntry entry{line(i), ParseEntryData(line(i + 1))};
    if (TrimShort(entry.text).empty() && entry.files.deck.empty()) continue;
    index.entries.push_back(std::move(entry));
  }
  return index;
}

std::optional<IndexFile> ReadIndexFile(const std::string& path) {
  auto bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return ParseIndexFile(*bytes);
}

std::string IndexEntryPath(const std::string& indexFile, std::string_view name) {
  std::string written(name);
  std::replace(written.begin(), written.end(), '\\', '/');
  std::string path = !written.empty() && written.front() == '/' ? written : JoinPath(FolderOf(indexFile), written);
  return ResolveNoCase(path).value_or(path);
}

}  // namespace tal
