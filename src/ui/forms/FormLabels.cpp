#include "forms/FormLabels.h"

#include <QPalette>

#include "forms/FormFonts.h"

namespace tal {

namespace {
bool SameFont(const FontSlot& a, const FontSlot& b) {
  return a.name == b.name && a.size == b.size && a.bold == b.bold && a.italic == b.italic && a.underline == b.underline;
}
}  // namespace

void ApplySlot(QWidget& widget, const FontSlot& font, const FontSlot* inherited) {
  if (!inherited || !SameFont(font, *inherited)) widget.setFont(FontOfSlot(font));
  if (inherited && font.colour == inherited->colour) return;
  QPalette palette = widget.palette();
  QColor colour = ColourOf(font.colour);
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  palette.setColor(QPalette::ButtonText, colour);
  widget.setPalette(palette);
}

TDescriptor::TDescriptor(QWidget* parent, const FontSlot& font, const QString& text, bool inLayout,
                         const FontSlot* inherited)
    : QLabel(text, parent), slot_(font), inLayout_(inLayout) {
  ApplySlot(*this, font, inherited);
  setTextFormat(Qt::PlainText);
  // Labels are measured by the layout; none wraps or grows by itself.
  setWordWrap(false);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace tal
