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
  // `inherited`: the slot the parent's font and colour are those of (ApplySlot).
  TDescriptor(QWidget* parent, const FontSlot& font, const QString& text, bool inLayout,
              const FontSlot* inherited = nullptr);

  bool inLayout() const { return inLayout_; }
  const FontSlot& slot() const { return slot_; }

 private:
  FontSlot slot_;
  bool inLayout_;
};

// Applies a slot's font and text colour to any control. A control takes its parent's font and
// colours unless given its own: where the parent carries those of `inherited`, the control is
// left to inherit what is the same (setting a font or palette on each of thousands of controls
// is much of the cost of making a large form).
void ApplySlot(QWidget& widget, const FontSlot& font, const FontSlot* inherited = nullptr);

}  // namespace tal
