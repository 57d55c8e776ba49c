#include "shell/AboutBox.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "shell/TalshellForm.h"
#include "support/Program.h"

namespace tal {

TAboutBox::TAboutBox(bool talkitMode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle("About TALSHELL");
  setObjectName("AboutBox");
  auto* layout = new QVBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
  layout->addWidget(picture, 0, Qt::AlignLeft);
  auto* title = new QLabel(talkitMode ? "TALKIT" : "TALSHELL", this);
  QFont big = title->font();
  big.setPointSize(big.pointSize() + 8);
  big.setBold(true);
  title->setFont(big);
  layout->addWidget(title);
  layout->addWidget(new QLabel(talkitMode ? "An Editor Program for TALPIX" : "An Environment Program for TALPIX", this));
  layout->addWidget(new QLabel("32-bit", this));
  layout->addWidget(new QLabel("Version 2.015    06/09/99", this));
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignCenter);
  adjustSize();
  if (QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void TTALSHELLFORM::ShowAboutBox() {
  if (!aboutBox_) aboutBox_ = new TAboutBox(Program().talkitMode, this);
  aboutBox_->exec();
}

}  // namespace tal
