#include "plot/PlotExport.h"

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "support/Files.h"
#include "support/Text.h"

namespace tal {

PlotPictureFormat PictureFormatOf(const std::string& fileName) {
  std::string name = UpperShort(FileNameOf(fileName));
  auto endsWith = [&](const std::string& suffix) {
    return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
  };
  if (endsWith(".PNG")) return PlotPictureFormat::Png;
  if (endsWith(".SVG")) return PlotPictureFormat::Svg;
  if (endsWith(".PDF")) return PlotPictureFormat::Pdf;
  return PlotPictureFormat::None;
}

namespace {
constexpr int Margin = 20;

void Draw(QPainter& painter, const TPlotInfo& info, PlotFrame frame, QPoint origin) {
  painter.translate(-origin);
  TPlotDrawing drawing(painter, info, frame);
  drawing.DisplayPlot();
}
}  // namespace

std::string PlotPictureBytes(const TPlotInfo& info, PlotFrame frame, PlotPictureFormat format) {
  const QRect extent = MeasurePlotExtent(info, frame);
  const QPoint origin(std::min(0, extent.left() - Margin), std::min(0, extent.top() - Margin));
  const QSize size(extent.right() + Margin - origin.x(), extent.bottom() + Margin - origin.y());
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  switch (format) {
    case PlotPictureFormat::Png: {
      QImage image(size, QImage::Format_RGB32);
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        Draw(painter, info, frame, origin);
      }
      image.save(&buffer, "PNG");
      break;
    }
    case PlotPictureFormat::Svg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(size);
      svg.setViewBox(QRect(QPoint(0, 0), size));
      svg.setTitle(QStringLiteral("TALSHELL plot"));
      QPainter painter(&svg);
      painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
      Draw(painter, info, frame, origin);
      break;
    }
    case PlotPictureFormat::Pdf: {
      QPdfWriter pdf(&buffer);
      pdf.setResolution(96);  // one pixel of the window is one pixel of the page
      pdf.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / 96, size.height() * 72.0 / 96), QPageSize::Point));
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setCreator(QStringLiteral("TALSHELL"));
      QPainter painter(&pdf);
      Draw(painter, info, frame, origin);
      break;
    }
    case PlotPictureFormat::None: break;
  }
  return bytes.toStdString();
}

std::string ExportPlot(const std::string& fileName, const TPlotInfo& info, PlotFrame frame) {
  PlotPictureFormat format = PictureFormatOf(fileName);
  if (format == PlotPictureFormat::None) return fileName + " is not a PNG, SVG or PDF file name.";
  std::string bytes = PlotPictureBytes(info, frame, format);
  if (bytes.empty()) return fileName + " could not be drawn.";
  return WriteFileAtomically(fileName, bytes);
}

}  // namespace tal
