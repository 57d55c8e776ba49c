#include "help/FormHelp.h"

#include "support/Files.h"
#include "support/Text.h"

namespace tal {
namespace {

constexpr std::string_view TopicMark = ".TOPIC";

// Position of the next ".TOPIC" (any case) at or after `from`, or npos.
std::size_t FindTopicMark(std::string_view text, std::size_t from) {
  while (from + TopicMark.size() <= text.size()) {
    if (StartsWithNoCase(text.substr(from), TopicMark)) return from;
    ++from;
  }
  return std::string_view::npos;
}

std::size_t LineStart(std::string_view text, std::size_t pos) {
  std::size_t nl = text.rfind('\n', pos == 0 ? 0 : pos - 1);
  return (nl == std::string_view::npos || pos == 0) ? 0 : nl + 1;
}

std::size_t NextLineStart(std::string_view text, std::size_t pos) {
  std::size_t nl = text.find('\n', pos);
  return nl == std::string_view::npos ? text.size() : nl + 1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string FormHelpFileName(std::string_view deck) {
  std::size_t nameStart = deck.rfind('/');
  nameStart = nameStart == std::string_view::npos ? 0 : nameStart + 1;
  std::size_t dot = deck.find('.', nameStart);
  return std::string(deck.substr(0, dot)) + ".HLP";
}

std::string GetHelpText(std::string_view text, int topic) {
  const std::string key = std::to_string(topic);
  // Headers only: an "=" in the text of a section (AREA=25) never counts as a topic number.
  for (std::size_t mark = FindTopicMark(text, 0); mark != std::string_view::npos;) {
    std::size_t lineEnd = NextLineStart(text, mark);
    for (std::size_t p = mark + TopicMark.size(); p < lineEnd; ++p) {
      if (text[p] != '=' || !StartsWithNoCase(text.substr(p + 1, lineEnd - p - 1), key)) continue;
      std::size_t start = lineEnd;
      std::size_t next = FindTopicMark(text, start);
      std::size_t end = next == std::string_view::npos ? text.size() : LineStart(text, next);
      return ReflowHelpSection(text.substr(start, end - start));
    }
    mark = FindTopicMark(text, lineEnd);
  }
  return "Help is not available for this topic";
}

std::string ReflowHelpSection(std::string_view section) {
  std::string out;
  out.reserve(section.size());
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < section.size(); ++i) {
    char c = section[i];
    if (c == '\r') continue;  // a line ends at its line feed; a stray carriage return is dropped
    if (c != '\n') {
      out += c;
      continue;
    }
    bool currentEmpty = true;
    for (std::size_t j = lineStart; j < i; ++j)
      if (section[j] != '\r') currentEmpty = false;
    std::size_t next = i + 1;
    bool nextEmpty = next >= section.size() || section[next] == '\n' || section[next] == '\r';
    bool nextIndented = next < section.size() && IsBlank(section[next]);
    out += (currentEmpty || nextEmpty || nextIndented) ? "\r\n" : " ";
    lineStart = next;
  }
  return out;
}

std::string FormHelpText(const std::string& deck, int topic) {
  const std::string name = FormHelpFileName(deck);
  auto found = ResolveNoCase(name);
  if (!found) return "File " + name + " was not found.";
  auto text = ReadWholeFile(*found);
  if (!text) {
    topic = -1;  // an unreadable file holds no section
    text = "IO error";
  }
  if (topic == 0) return "Help is not available for this entry.";
  return GetHelpText(*text, topic);
}

}  // namespace tal
