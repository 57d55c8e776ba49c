#include "forms/FormImages.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPixmap>

#include "forms/TalkitForm.h"
#include "runs/SettingsFile.h"
#include "support/LinkBitmap.h"
#include "support/QtStrings.h"

namespace tal {

TmyImage::TmyImage(TTALKITForm* form, std::size_t item, int application, QWidget* parent)
    : QLabel(parent), form_(form), item_(item), application_(application) {
  if (application_ != 0) setCursor(Qt::PointingHandCursor);
}

void TmyImage::mousePressEvent(QMouseEvent* event) {
  QLabel::mousePressEvent(event);
  if (application_ != 0 && event->button() == Qt::LeftButton) form_->StartBrowser(*this);
}

TAppButton::TAppButton(TTALKITForm* form, std::size_t item, int application, const std::string& argument,
                       QWidget* parent)
    : QToolButton(parent), item_(item), application_(application), argument_(argument) {
  setAutoRaise(true);
  setToolTip(ToQt(argument));
  QIcon icon;
  if (application >= 1 && application <= 5)
    icon = LinkBitmapIcon(CurrentSettings().linkBitmaps[static_cast<std::size_t>(application - 1)]);
  // Without a bitmap the button shows the number of its link.
  if (icon.isNull())
    setText(QString::number(application));
  else
    setIcon(icon);
  connect(this, &QToolButton::clicked, form, [form, this] { form->AppButtonClicked(*this); });
}

}  // namespace tal
