#include "support/Messages.h"

namespace tal {

Button ShowMessageKind(const std::string& text, int kind, bool beep) {
  if (beep) interaction().beep();
  if (ButtonsOfKind(kind).empty()) return Button::None;
  return interaction().message(text, kind);
}

Button ShowMessageKind(const std::string& text, int kind, bool beep, const MessageLook& look) {
  if (beep) interaction().beep();
  if (ButtonsOfKind(kind).empty()) return Button::None;
  return interaction().messageWithLook(text, kind, look);
}

}  // namespace tal
