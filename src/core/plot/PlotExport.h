#pragma once
// A plot written as a picture through the same drawing as the window: PNG, SVG or PDF, chosen by
// the file's extension.
#include <string>

#include "plot/PlotDrawing.h"

namespace tal {

enum class PlotPictureFormat { None, Png, Svg, Pdf };
// By the extension of `fileName` (any letter case); None for any other.
PlotPictureFormat PictureFormatOf(const std::string& fileName);

// The picture's bytes: the plot drawn at screen size, with a margin around what it covers.
std::string PlotPictureBytes(const TPlotInfo& info, PlotFrame frame, PlotPictureFormat format);
// Writes the picture through a temporary file; "" or a message naming the file.
std::string ExportPlot(const std::string& fileName, const TPlotInfo& info, PlotFrame frame);

}  // namespace tal
