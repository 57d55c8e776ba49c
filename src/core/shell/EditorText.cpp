#include "shell/EditorText.h"

#include <algorithm>
#include <cstring>

namespace tal {

EditorFileText EditorTextOf(const std::string& bytes) {
  EditorFileText out;
  LinesWithEnds split = SplitLinesWithEnds(bytes, true);
  out.ends.usual = MostCommonEnd(split.ends);
  out.ends.endsAtClose = split.ends.empty() || split.ends.back() != LineEnd::None;
  out.lineEnd = LineEndBytes(out.ends.usual);
  std::size_t size = 0;
  for (const std::string& line : split.lines) size += line.size() + 1;
  out.text.reserve(size);
  for (std::size_t i = 0; i < split.lines.size(); ++i) {
    if (i > 0) out.text += '\n';
    out.text += split.lines[i];
    LineEnd end = split.ends[i];
    bool own = end != out.ends.usual && end != LineEnd::None;
    if (own && out.ends.own.empty()) out.ends.own.assign(split.lines.size(), LineEnd::None);
    if (own) out.ends.own[i] = end;
  }
  return out;
}

std::string EditorFileBytes(const std::string& text, const std::string& lineEnd) {
  std::string out;
  if (text.empty()) return out;
  out.reserve(text.size() + text.size() / 16);
  std::size_t start = 0;
  for (;;) {
    std::size_t feed = text.find('\n', start);
    out.append(text, start, feed == std::string::npos ? std::string::npos : feed - start);
    out += lineEnd;
    if (feed == std::string::npos) break;
    start = feed + 1;
  }
  return out;
}

std::string EditorFileBytes(const std::string& text, const EditorLineEnds& ends) {
  std::string out;
  if (text.empty()) return out;
  out.reserve(text.size() + text.size() / 16);
  std::size_t start = 0;
  for (std::size_t line = 0;; ++line) {
    std::size_t feed = text.find('\n', start);
    out.append(text, start, feed == std::string::npos ? std::string::npos : feed - start);
    LineEnd own = line < ends.own.size() ? ends.own[line] : LineEnd::None;
    if (feed == std::string::npos) {
      if (own != LineEnd::None)
        out += LineEndBytes(own);
      else if (ends.endsAtClose)
        out += LineEndBytes(ends.usual);
      break;
    }
    out += LineEndBytes(own != LineEnd::None ? own : ends.usual);
    start = feed + 1;
  }
  return out;
}

std::optional<std::string> NotTextReason(std::string_view bytes) {
  if (std::memchr(bytes.data(), '\0', bytes.size())) return "it holds NUL bytes";
  // Tabs, line ends, form feeds, escapes and the end-of-file mark occur in text; a file of which
  // more than one byte in twenty is another control character is not text.
  std::size_t controls = std::count_if(bytes.begin(), bytes.end(), [](char c) {
    auto u = static_cast<unsigned char>(c);
    return (u < 0x20 && !std::strchr("\t\n\r\f\v\x1a\x1b", c)) || u == 0x7f;
  });
  if (controls * 20 > bytes.size()) return "it holds control characters that text does not hold";
  return std::nullopt;
}

std::string NotTextNote(const std::string& fileName, const std::string& reason) {
  return fileName + " is not a text file (" + reason + "), so it is shown read-only: an editor could not write it back unchanged.";
}

}  // namespace tal
