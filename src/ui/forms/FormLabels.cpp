#include "forms/FormLabels.h"

#include <QPalette>

#include "forms/FormFonts.h"

namespace tal {

void ApplySlot(QWidget& widget, const FontSlot& font) {
  widget.setFont(FontOfSlot(font));
  QPalette palette = widget.palette();
  QColor colour = ColourOf(font.colour);
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  palette.setColor(QPalette::ButtonText, colour);
  widget.setPalette(palette);
}

TDescriptor::TDescriptor(QWidget* parent, const FontSlot& font, const QString& text, bool inLayout)
    : QLabel(text, parent), slot_(font), inLayout_(inLayout) {
  ApplySlot(*this, font);
  setTextFormat(Qt::PlainText);
  // Labels are measured by the layout; none wraps or grows by itself.
  setWordWrap(false);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace tal
