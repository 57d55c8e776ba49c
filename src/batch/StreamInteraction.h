#pragma once
#include <optional>
#include <ostream>
#include <string>

#include "support/Interaction.h"

namespace tal::batch {

// Installed while a batch command runs: every message goes to standard error (counted), questions
// take their default answer and choosers are cancelled, since nobody is there to answer.
class StreamInteraction final : public Interaction {
 public:
  explicit StreamInteraction(std::ostream& err) : err_(err), previous_(setInteraction(this)) {}
  ~StreamInteraction() override { setInteraction(previous_); }
  StreamInteraction(const StreamInteraction&) = delete;
  StreamInteraction& operator=(const StreamInteraction&) = delete;

  int messages() const { return messages_; }

  Button message(const std::string& text, int kind) override {
    ++messages_;
    err_ << text << "\n";
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

 private:
  std::ostream& err_;
  Interaction* previous_;
  int messages_ = 0;
};

}  // namespace tal::batch
