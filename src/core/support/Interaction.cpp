#include "support/Interaction.h"

namespace tal {
namespace {
DefaultAnswers silentInteraction;
Interaction* installed = &silentInteraction;
}  // namespace

Button DefaultAnswers::message(const std::string&, int kind) {
  auto buttons = ButtonsOfKind(kind);
  return buttons.empty() ? Button::None : buttons.front();
}

Interaction& interaction() { return *installed; }

Interaction* setInteraction(Interaction* implementation) {
  Interaction* previous = installed;
  installed = implementation ? implementation : &silentInteraction;
  return previous;
}

std::vector<Button> ButtonsOfKind(int kind) {
  switch (kind) {
    case 0: case 1: case 4: return {Button::Ok};
    case 2: return {Button::Ok, Button::Cancel};
    case 3: case 5: case 6: return {Button::Yes, Button::No};
    case 7: return {Button::Yes, Button::No, Button::Cancel};
    default: return {};
  }
}

std::string CaptionOfKind(int kind) {
  switch (kind) {
    case 0: case 3: case 4: return "Error";
    case 1: return "Information";
    case 2: case 5: case 6: case 7: return "Warning";
    default: return {};
  }
}

}  // namespace tal
