#pragma once
// An Interaction that answers from a queue and records everything it was asked, for headless
// command tests. Each prompt takes the next answer; with the queue empty, a message gets its
// default button and a chooser is cancelled, and the prompt is counted as unanswered.
#include <deque>
#include <string>
#include <vector>

#include "support/Interaction.h"

namespace tal {

struct Prompt {
  enum class Type { Message, OpenFile, SaveFile, Folder, Input };
  Type type = Type::Message;
  std::string text;          // message text, dialog title or input prompt
  int kind = -1;             // message kind for messages
  // File dialogs: the request. Folder chooser: title and starting folder (directory).
  // Input box: caption (title) and pre-filled text (fileName).
  FileDialogRequest request;
  MessageLook look;  // messages: the caption and icon asked for ("" and false: the kind's)
};

class ScriptedInteraction : public Interaction {
 public:
  ScriptedInteraction();   // installs itself
  ~ScriptedInteraction() override;  // restores the previous implementation

  // Queue answers, in the order the prompts will come.
  ScriptedInteraction& answer(Button button);
  ScriptedInteraction& answerText(const std::string& text, int filterIndex = 0);  // file, folder or input
  ScriptedInteraction& answerCancel();  // cancels a chooser or input box

  const std::vector<Prompt>& prompts() const { return prompts_; }
  // Texts of the message boxes shown, in order.
  std::vector<std::string> messages() const;
  int beeps() const { return beeps_; }
  int unanswered() const { return unanswered_; }
  std::size_t pendingAnswers() const { return answers_.size(); }
  int busyDepth() const { return busy_; }
  void clear();

  Button message(const std::string& text, int kind) override;
  Button messageWithLook(const std::string& text, int kind, const MessageLook& look) override;
  void beep() override { ++beeps_; }
  std::optional<FileChoice> openFile(const FileDialogRequest& request) override;
  std::optional<FileChoice> saveFile(const FileDialogRequest& request) override;
  std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override;
  std::optional<std::string> inputText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override;
  void setBusy(bool busy) override { busy_ += busy ? 1 : -1; }

 private:
  struct Answer {
    enum class Type { Button, Text, Cancel } type;
    Button button = Button::None;
    std::string text;
    int filterIndex = 0;
  };
  std::optional<Answer> next();
  std::optional<FileChoice> fileAnswer();

  Interaction* previous_;
  std::deque<Answer> answers_;
  std::vector<Prompt> prompts_;
  int beeps_ = 0;
  int unanswered_ = 0;
  int busy_ = 0;
};

}  // namespace tal
