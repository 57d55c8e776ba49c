#include "forms/FormGroups.h"

#include <QPainter>

#include "forms/TalkitForm.h"

namespace tal {

Tmygroupbox::Tmygroupbox(std::size_t item, const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), item_(item), captionFont_(font()), captionColour_(palette().color(QPalette::WindowText)) {}

void Tmygroupbox::setCaptionStyle(const QFont& font, const QColor& colour) {
  captionFont_ = font;
  captionColour_ = colour;
  update();
}

void Tmygroupbox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QFontMetrics metrics(captionFont_);
  int line = metrics.height() / 2;
  // An etched line: dark, with a light line inside it.
  QRect frame(0, line, width() - 1, height() - line - 1);
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(frame.adjusted(0, 0, -1, -1));
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(frame.adjusted(1, 1, 0, 0));
  if (title().isEmpty()) return;
  QRect caption(8, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
  painter.fillRect(caption, palette().color(QPalette::Window));
  painter.setFont(captionFont_);
  painter.setPen(captionColour_);
  painter.drawText(caption.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, title());
}

TGCheckBox::TGCheckBox(TTALKITForm* form, std::size_t item, std::size_t choice, const QString& caption,
                       QWidget* parent)
    : QCheckBox(caption, parent), item_(item), choice_(choice) {
  connect(this, &QCheckBox::clicked, form, [form, this](bool checked) { form->CheckBoxClicked(*this, checked); });
}

TGRadioButton::TGRadioButton(TTALKITForm* form, std::size_t item, std::size_t choice, const QString& caption,
                             QWidget* parent)
    : QRadioButton(caption, parent), item_(item), choice_(choice) {
  setAutoExclusive(false);
  connect(this, &QRadioButton::clicked, form, [form, this] { form->RadioButtonClicked(*this); });
}

}  // namespace tal
