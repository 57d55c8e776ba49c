#pragma once
// Text split into lines with the end each line had, so that a file is written back with every
// line end as it was read: "\r\n", "\n" or a carriage return alone, and none after the last line
// when the file had none there.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tal {

enum class LineEnd : std::uint8_t { None, Lf, CrLf, Cr };

std::string_view LineEndBytes(LineEnd end);

struct LinesWithEnds {
  std::vector<std::string> lines;
  std::vector<LineEnd> ends;  // one per line; only the last may be None
};

// Lines end at "\r\n" and "\n", and, with `loneCr`, at a carriage return not followed by "\n"
// (otherwise such a carriage return stays in its line).
LinesWithEnds SplitLinesWithEnds(std::string_view bytes, bool loneCr = true);

// The end most lines have (Lf when there are none): the end given to lines added later.
LineEnd MostCommonEnd(const std::vector<LineEnd>& ends);

}  // namespace tal
