#include "shell/EditorText.h"

#include "support/Files.h"

namespace tal {

EditorFileText EditorTextOf(const std::string& bytes) {
  EditorFileText out;
  std::size_t firstFeed = bytes.find('\n');
  out.lineEnd = (firstFeed != std::string::npos && firstFeed > 0 && bytes[firstFeed - 1] == '\r') ? "\r\n" : "\n";
  bool first = true;
  for (const std::string& line : SplitLines(bytes)) {
    if (!first) out.text += '\n';
    out.text += line;
    first = false;
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

}  // namespace tal
