#pragma once
#include <string>

#include "support/Interaction.h"

namespace tal {

// Every message of the program goes through here: an optional beep, then a modal box of `kind`
// (see MessageKind). Returns the button that closed it; an unknown kind shows nothing (None).
Button ShowMessageKind(const std::string& text, int kind, bool beep);
// The same with a caption or icon of its own (a field's label as caption, a question's icon).
Button ShowMessageKind(const std::string& text, int kind, bool beep, const MessageLook& look);

}  // namespace tal
