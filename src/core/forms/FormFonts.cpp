#include "forms/FormFonts.h"

#include <QPainter>
#include <QString>

#include "shell/ProgramFonts.h"

namespace tal {

namespace {

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void SetStyle(QFont& font, const FontSlot& slot) {
  font.setBold(slot.bold);
  font.setItalic(slot.italic);
  font.setUnderline(slot.underline);
}

QImage Placeholder() {
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(QColor(192, 192, 192));
  QPainter painter(&image);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, 31, 31);
  painter.drawLine(0, 0, 31, 31);
  painter.drawLine(0, 31, 31, 0);
  return image;
}

}  // namespace

int PixelSizeOfPoints(int points) { return (points * FormPixelsPerInch + 36) / 72; }

QFont FontOfSlot(const FontSlot& slot) {
  QFont font = ProgramFont(Latin1(slot.name), std::max(1, slot.size));
  font.setPixelSize(std::max(1, PixelSizeOfPoints(slot.size)));
  SetStyle(font, slot);
  return font;
}

QFont PrinterFontOfSlot(const FontSlot& slot) {
  QFont font = ProgramFont(Latin1(slot.name), std::max(1, slot.size));
  SetStyle(font, slot);
  return font;
}

QColor ColourOf(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

QImage CaptionPicture(const std::string& caption) {
  FontSlot slot = CaptionFont();
  QFont font = FontOfSlot(slot);
  QFontMetrics metrics(font);
  QString text = Latin1(caption);
  QImage image(std::max(1, metrics.horizontalAdvance(text + "  ")), metrics.height() + 5, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(ColourOf(slot.colour));
  painter.drawText(5, 5 + metrics.ascent(), text);
  return image;
}

const QImage& FormPictures::Picture(const PictureData& picture) {
  if (picture.isCaption) {
    auto found = captions_.find(picture.caption);
    if (found == captions_.end()) found = captions_.emplace(picture.caption, CaptionPicture(picture.caption)).first;
    return found->second;
  }
  auto found = files_.find(picture.path);
  if (found == files_.end()) {
    QImage image(Latin1(picture.path));
    if (image.isNull()) image = Placeholder();
    found = files_.emplace(picture.path, std::move(image)).first;
  }
  return found->second;
}

QtFormMetrics::QtFormMetrics(std::shared_ptr<FormPictures> pictures)
    : pictures_(pictures ? std::move(pictures) : std::make_shared<FormPictures>()) {}

QtFormMetrics::Measured& QtFormMetrics::MeasuredOf(const FontSlot& slot) const {
  FontKey key{slot.name, slot.size, slot.bold, slot.italic, slot.underline};
  auto found = measured_.find(key);
  if (found == measured_.end()) {
    QFontMetrics metrics(FontOfSlot(slot));
    const int average = metrics.horizontalAdvance(Latin1(AverageWidthLetters)) / 52;
    found = measured_.emplace(key, std::make_unique<Measured>(Measured{metrics, average, {}})).first;
  }
  return *found->second;
}

int QtFormMetrics::GetHeight(const FontSlot& font) const { return MeasuredOf(font).metrics.height(); }

int QtFormMetrics::TextWidth(const FontSlot& font, std::string_view text) const {
  Measured& measured = MeasuredOf(font);
  auto found = measured.widths.find(std::string(text));
  if (found == measured.widths.end())
    found = measured.widths.emplace(text, measured.metrics.horizontalAdvance(Latin1(text))).first;
  return found->second;
}

int QtFormMetrics::aveCharWidth(const FontSlot& font) const { return MeasuredOf(font).aveCharWidth; }

int QtFormMetrics::PixelHeight(const FontSlot& font) const { return PixelSizeOfPoints(font.size); }

LayoutSize QtFormMetrics::PictureSize(const PictureData& picture) const {
  const QImage& image = pictures_->Picture(picture);
  return {image.width(), image.height()};
}

}  // namespace tal
