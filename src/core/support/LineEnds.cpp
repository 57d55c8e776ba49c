#include "support/LineEnds.h"

#include <array>

namespace tal {

std::string_view LineEndBytes(LineEnd end) {
  switch (end) {
    case LineEnd::Lf: return "\n";
    case LineEnd::CrLf: return "\r\n";
    case LineEnd::Cr: return "\r";
    case LineEnd::None: break;
  }
  return {};
}

LinesWithEnds SplitLinesWithEnds(std::string_view bytes, bool loneCr) {
  LinesWithEnds out;
  std::size_t start = 0;
  std::size_t scan = 0;
  while (start < bytes.size()) {
    std::size_t at = bytes.find_first_of(loneCr ? std::string_view("\r\n") : std::string_view("\n"), scan);
    if (at == std::string_view::npos) {
      out.lines.emplace_back(bytes.substr(start));
      out.ends.push_back(LineEnd::None);
      break;
    }
    LineEnd end = LineEnd::Lf;
    std::size_t stop = at, next = at + 1;
    if (bytes[at] == '\r') {
      if (next < bytes.size() && bytes[next] == '\n') {
        end = LineEnd::CrLf;
        ++next;
      } else {
        end = LineEnd::Cr;
      }
    } else if (at > start && bytes[at - 1] == '\r') {
      end = LineEnd::CrLf;  // only reached without `loneCr`
      stop = at - 1;
    }
    out.lines.emplace_back(bytes.substr(start, stop - start));
    out.ends.push_back(end);
    start = scan = next;
  }
  return out;
}

LineEnd MostCommonEnd(const std::vector<LineEnd>& ends) {
  std::array<std::size_t, 4> counts{};
  for (LineEnd end : ends) ++counts[static_cast<std::size_t>(end)];
  LineEnd best = LineEnd::Lf;
  for (LineEnd end : {LineEnd::CrLf, LineEnd::Cr})
    if (counts[static_cast<std::size_t>(end)] > counts[static_cast<std::size_t>(best)]) best = end;
  return best;
}

}  // namespace tal
