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

// Draws the metafile `bytes` at its own size for a screen of `dpi` pixels per inch.
WmfRendering RenderWmf(const std::string& bytes, double dpi = 96.0);

}  // namespace tal
