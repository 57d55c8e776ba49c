#pragma once
// The fonts, colours and pictures of a form as the window and the printer draw them, and the
// layout metrics measured with them.
//
// Font sizes are points at 96 pixels per inch: a 10-point slot is a 13-pixel font (10 x 96 / 72,
// rounded), whatever the desktop's resolution, so a form lays out the same everywhere.
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

#include "forms/FormLayout.h"

namespace tal {

// A form's pixels: its fonts, tab stops and positions count 96 of them to the inch.
inline constexpr int FormPixelsPerInch = 96;

// Pixel size of a font of `points` points at 96 pixels per inch.
int PixelSizeOfPoints(int points);
// The screen font of a slot (name, size, style; the colour is separate).
QFont FontOfSlot(const FontSlot& slot);
// The printer font of a slot: the same name, size in points and style.
QFont PrinterFontOfSlot(const FontSlot& slot);
QColor ColourOf(Rgb colour);

// The bitmaps of a form's pictures: the file read once, or a caption drawn in blue italics on a
// white picture of its own. A file that cannot be shown (no reader for its format) gives a
// grey placeholder of 32 by 32 pixels with a cross, so the form still opens.
class FormPictures {
 public:
  const QImage& Picture(const PictureData& picture);

 private:
  std::map<std::string, QImage> files_;
  std::map<std::string, QImage> captions_;
};

// Draws a caption picture: white, the caption at (5, 5) in blue italics.
QImage CaptionPicture(const std::string& caption);

// Layout metrics measured with the real fonts (needs a Qt GUI application).
class QtFormMetrics : public FormMetrics {
 public:
  explicit QtFormMetrics(std::shared_ptr<FormPictures> pictures = nullptr);

  int GetHeight(const FontSlot& font) const override;
  int TextWidth(const FontSlot& font, std::string_view text) const override;
  int PixelHeight(const FontSlot& font) const override;
  int aveCharWidth(const FontSlot& font) const override;
  LayoutSize PictureSize(const PictureData& picture) const override;

  FormPictures& pictures() const { return *pictures_; }

 private:
  // A font's metrics and its average letter width, measured once, and the widths of the texts
  // measured in it (a list's rows are measured for every list field of the same data file).
  struct Measured {
    QFontMetrics metrics;
    int aveCharWidth;
    std::unordered_map<std::string, int> widths;
  };
  Measured& MeasuredOf(const FontSlot& font) const;

  using FontKey = std::tuple<std::string, int, bool, bool, bool>;
  mutable std::map<FontKey, std::unique_ptr<Measured>> measured_;
  std::shared_ptr<FormPictures> pictures_;
};

}  // namespace tal
