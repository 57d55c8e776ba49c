#pragma once
// The shell plot file (".SPF"): a plot saved whole, its curves' values included. Little-endian,
// no header: the window caption (256 bytes), the plot description (8220 bytes), then for every
// curve its record again (156 bytes) followed by its X and its Y values as 6-byte reals.
#include <string>
#include <string_view>

#include "plot/PlotInfo.h"

namespace tal {

inline constexpr std::size_t SpfCaptionSize = 256;
inline constexpr std::size_t PlotInfoSize = 8220;
inline constexpr std::size_t PlotLineSize = 156;

// The bytes of a plot file for `caption` (cut to 255 characters) and `info`.
std::string EncodeSpf(const std::string& caption, const TPlotInfo& info);

struct SpfContent {
  std::string caption;
  TPlotInfo info;
  std::string error;  // "" when the file was read; else a message naming the file
};
// Reads the bytes of the plot file `fileName`. A damaged file (a short file, more than 50 curves,
// a text longer than its field, point counts that its length cannot hold, bytes beyond the last
// curve) is refused with a message naming the file; nothing is allocated before its length
// has been checked against the counts.
SpfContent DecodeSpf(std::string_view bytes, const std::string& fileName);

// Reads and writes plot files on disk; writing goes through a temporary file (a failed write
// leaves the old file whole). Both return "" or a message naming the file.
SpfContent ReadSpfFile(const std::string& fileName);
std::string WriteSpfFile(const std::string& fileName, const std::string& caption, const TPlotInfo& info);

}  // namespace tal
