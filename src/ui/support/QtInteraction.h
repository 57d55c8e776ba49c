#pragma once
#include "support/Interaction.h"

namespace tal {

// The program's real dialogs: QMessageBox with the kind's caption and buttons, QFileDialog,
// the folder chooser and QInputDialog. Strings cross into Qt as Latin-1.
class QtInteraction : public Interaction {
 public:
  Button message(const std::string& text, int kind) override;
  Button messageWithLook(const std::string& text, int kind, const MessageLook& look) override;
  void beep() override;
  std::optional<FileChoice> openFile(const FileDialogRequest& request) override;
  std::optional<FileChoice> saveFile(const FileDialogRequest& request) override;
  std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override;
  std::optional<std::string> inputText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
  void setBusy(bool busy) override;
};

}  // namespace tal
