#include "support/Interaction.h"

namespace tal {
namespace {

class SilentInteraction final : public Interaction {
 public:
  Button message(const std::string&, int kind) override {
    auto buttons = ButtonsOfKind(kind);
    return buttons.empty() ? Button::None : buttons.front();
  }
  void beep() override {}
  std::optional<FileChoice> openFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<FileChoice> saveFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
  std::optional<std::string> inputText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void setBusy(bool) override {}
};

SilentInteraction silentInteraction;
Interaction* installed = &silentInteraction;

}  // namespace

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
