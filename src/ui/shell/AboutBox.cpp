#include "shell/AboutBox.h"

#include <QApplication>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

#include "shell/AboutTexts.h"
#include "shell/TalshellForm.h"
#include "support/Program.h"
#include "support/QtStrings.h"

namespace tal {

namespace {

// The product picture: a plot of a simulated response over a grid, drawn rather than shipped.
QPixmap ProductPicture() {
  QPixmap picture(72, 72);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(0x1f, 0x4e, 0x8c));
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(2, 2, 68, 68, 10, 10);
  p.setPen(QPen(QColor(255, 255, 255, 70), 1));
  for (int i = 14; i < 70; i += 12) {
    p.drawLine(8, i, 64, i);
    p.drawLine(i, 8, i, 64);
  }
  QPainterPath curve(QPointF(8, 58));
  curve.cubicTo(24, 58, 26, 14, 40, 20);
  curve.cubicTo(52, 25, 54, 40, 64, 36);
  p.setPen(QPen(QColor(0xff, 0xc1, 0x07), 4, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(curve);
  return picture;
}

QLabel* AddLabel(QGridLayout* grid, const std::string& text, int row, QWidget* parent, int sizeStep = 0, bool bold = false) {
  auto* label = new QLabel(ToQt(text), parent);
  if (sizeStep || bold) {
    QFont font = label->font();
    font.setPointSize(font.pointSize() + sizeStep);
    font.setBold(bold);
    label->setFont(font);
  }
  grid->addWidget(label, row, 1);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(bool talkitMode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  AboutTexts texts = AboutTextsFor(talkitMode);
  setWindowTitle(ToQt(texts.caption));
  setObjectName("AboutBox");
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(18);
  auto* picture = new QLabel(this);
  picture->setPixmap(ProductPicture());
  grid->addWidget(picture, 0, 0, 4, 1, Qt::AlignLeft | Qt::AlignTop);
  AddLabel(grid, texts.title, 0, this, 10, true)->setObjectName("title");
  AddLabel(grid, texts.subtitle, 1, this, 1)->setObjectName("subtitle");
  AddLabel(grid, texts.bits, 2, this)->setObjectName("bits");
  AddLabel(grid, texts.version, 3, this)->setObjectName("version");
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  grid->addWidget(ok, 4, 0, 1, 2, Qt::AlignCenter);
  adjustSize();
  if (QScreen* screen = QApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
}

void TTALSHELLFORM::ShowAboutBox() {
  if (!aboutBox_) aboutBox_ = new TAboutBox(Program().talkitMode, this);
  aboutBox_->exec();
}

}  // namespace tal
