#include "generator/DeckWords.h"

#include <algorithm>
#include <charconv>

namespace tal {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string TrimLeft(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return std::string(text.substr(i));
}

std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.emplace_back(line.substr(start, i - start));
  }
  return words;
}

std::string WordAt(std::string_view line, std::size_t index) {
  auto words = SplitWords(line);
  return index < words.size() ? words[index] : std::string();
}

int IntOf(std::string_view word) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  int value = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size()) return 0;
  return value;
}

int CountOf(std::string_view word) { return std::clamp(IntOf(word), 0, 100000); }

std::vector<std::string> JoinConnectionWords(const std::vector<std::string>& words) {
  std::vector<std::string> joined;
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::string word = words[i];
    while (word.ends_with(",") && i + 1 < words.size()) word += words[++i];
    joined.push_back(std::move(word));
  }
  return joined;
}

}  // namespace tal
