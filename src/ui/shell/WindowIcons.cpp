#include "shell/WindowIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tal {

namespace {

// What a child window's sheet shows below its coloured band.
enum class Content { TextLines, NumberedLines, Columns, Fields, Curve, Grid, Picture };

struct ChildLook {
  QColor band;
  Content content;
};

ChildLook LookOf(KindCode kind) {
  switch (kind) {
    case KindCode::DeckEditor: return {QColor(0x1f, 0x4e, 0x79), Content::TextLines};
    case KindCode::TalkitForm: return {QColor(0x2b, 0x7a, 0x3d), Content::Fields};
    case KindCode::TalkitText: return {QColor(0x2b, 0x7a, 0x3d), Content::TextLines};
    case KindCode::Listing: return {QColor(0x5b, 0x6b, 0x7c), Content::NumberedLines};
    case KindCode::Plot: return {QColor(0xd9, 0x48, 0x0f), Content::Curve};
    case KindCode::Table: return {QColor(0x6f, 0x42, 0xc1), Content::Grid};
    case KindCode::Output: return {QColor(0x8a, 0x5a, 0x14), Content::Columns};
    case KindCode::Diagram: return {QColor(0x0b, 0x7a, 0x83), Content::Picture};
    case KindCode::TextEditor:
    case KindCode::None: break;
  }
  return {QColor(0x70, 0x70, 0x70), Content::TextLines};
}

void DrawContent(QPainter& p, Content content, const QColor& band) {
  const QColor ink(0x40, 0x48, 0x50);
  switch (content) {
    case Content::TextLines:
      for (int y = 14; y <= 26; y += 4) p.fillRect(8, y, y == 22 ? 10 : 16, 2, ink);
      break;
    case Content::NumberedLines:
      for (int y = 14; y <= 26; y += 4) {
        p.fillRect(8, y, 3, 2, band);
        p.fillRect(13, y, y == 18 ? 8 : 12, 2, ink);
      }
      break;
    case Content::Columns:
      for (int y = 14; y <= 26; y += 4)
        for (int x : {8, 15, 21}) p.fillRect(x, y, 4, 2, ink);
      break;
    case Content::Fields:
      p.setPen(QPen(band, 1.5));
      for (int y : {13, 20}) {
        p.fillRect(8, y + 2, 5, 2, ink);
        p.drawRect(QRectF(15.5, y + 0.5, 9, 5));
      }
      p.fillRect(15, 27, 10, 2, band);
      break;
    case Content::Curve: {
      QPainterPath curve(QPointF(7, 26));
      curve.cubicTo(11, 26, 12, 15, 16, 17);
      curve.cubicTo(20, 19, 21, 13, 25, 12);
      p.setPen(QPen(band, 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawPath(curve);
      break;
    }
    case Content::Grid:
      p.setPen(QPen(band, 1));
      for (int y = 12; y <= 28; y += 4) p.drawLine(QPointF(6.5, y + 0.5), QPointF(25.5, y + 0.5));
      for (int x = 6; x <= 26; x += 6) p.drawLine(QPointF(x + 0.5, 12.5), QPointF(x + 0.5, 28.5));
      break;
    case Content::Picture:
      p.setBrush(QColor(0xff, 0xc2, 0x33));
      p.setPen(Qt::NoPen);
      p.drawEllipse(QPointF(21, 15), 3, 3);
      p.setBrush(band);
      p.drawPolygon(QPolygonF({QPointF(6, 28), QPointF(13, 17), QPointF(19, 28)}));
      break;
  }
}

QPixmap ChildPixmap(KindCode kind) {
  const ChildLook look = LookOf(kind);
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  // A sheet with a folded top right corner and the kind's colour along its top.
  QPainterPath sheet;
  sheet.moveTo(4.5, 1.5);
  sheet.lineTo(21.5, 1.5);
  sheet.lineTo(28.5, 8.5);
  sheet.lineTo(28.5, 30.5);
  sheet.lineTo(4.5, 30.5);
  sheet.closeSubpath();
  p.setPen(QPen(QColor(0x50, 0x58, 0x60), 1));
  p.setBrush(Qt::white);
  p.drawPath(sheet);
  p.fillRect(QRectF(5, 2, 16, 7), look.band);
  DrawContent(p, look.content, look.band);
  return pixmap;
}

}  // namespace

QIcon ProgramIcon(bool talkitMode) {
  return QIcon(talkitMode ? QStringLiteral(":/icons/talkit.svg") : QStringLiteral(":/icons/talshell.svg"));
}

QIcon ChildWindowIcon(KindCode kind) { return QIcon(ChildPixmap(kind)); }

}  // namespace tal
