#pragma once
// The static labels of a form: item labels, unit captions and text lines.
#include <QLabel>

#include "forms/FormStyle.h"

namespace tal {

// A label drawn in the font and colour of a style slot. Its layout flag says whether it takes
// part in the vertical placement of the items below it (a hidden list field's label does not).
class TDescriptor : public QLabel {
  Q_OBJECT

 public:
  TDescriptor(QWidget* parent, const FontSlot& font, const QString& text, bool inLayout);

  bool inLayout() const { return inLayout_; }
  const FontSlot& slot() const { return slot_; }

 private:
  FontSlot slot_;
  bool inLayout_;
};

// Applies a slot's font and text colour to any control.
void ApplySlot(QWidget& widget, const FontSlot& font);

}  // namespace tal
