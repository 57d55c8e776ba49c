#pragma once
// Windows metafile pictures (".WMF") have no reader in Qt: they are drawn through libwmf when the
// program was built with it.
#include <QImage>
#include <string>

namespace tal {

struct WmfRendering {
  QImage image;         // null when the picture could not be drawn
  std::string problem;  // why not, for the note the diagram window shows
};

// The longest side a metafile is drawn with: more than a window shows or a printed page needs.
// A larger picture is drawn scaled down to it.
inline constexpr unsigned MaxMetafileSide = 3000;
// A metafile claiming a side longer than this (pixels at the screen's resolution) is refused.
inline constexpr unsigned AbsurdMetafileSide = 1000000;

// Draws the metafile `bytes` at its own size for a screen of `dpi` pixels per inch, scaled down
// to at most `maxSide` pixels on its longest side.
WmfRendering RenderWmf(const std::string& bytes, double dpi = 96.0, unsigned maxSide = MaxMetafileSide);

// The folder of the fonts libwmf draws text with (Debian's fonts-urw-base35).
inline constexpr const char* MetafileFontFolder = "/usr/share/fonts/type1/urw-base35";
// Why metafiles cannot be drawn for lack of fonts in `folder`, or "" when it holds fonts.
std::string MetafileFontProblem(const std::string& folder = MetafileFontFolder);

}  // namespace tal
