#include "forms/FormControlMetrics.h"

#include <QComboBox>
#include <QLineEdit>

namespace tal {

int WindowFormMetrics::ControlHeight(const FontSlot& font) const {
  auto key = std::make_tuple(font.name, font.size, font.bold, font.italic, font.underline);
  auto found = heights_.find(key);
  if (found != heights_.end()) return found->second;
  QLineEdit edit;
  QComboBox list;
  edit.setFont(FontOfSlot(font));
  list.setFont(FontOfSlot(font));
  list.addItem("Xg");
  int height = std::max(edit.sizeHint().height(), list.sizeHint().height());
  heights_.emplace(key, height);
  return height;
}

}  // namespace tal
