#pragma once
// The one seam through which the program asks the user anything: message boxes, questions,
// file and folder choosers, input boxes, the beep and the wait cursor. The program installs the
// Qt implementation (ui/support/QtInteraction); tests install ScriptedInteraction.
#include <optional>
#include <string>
#include <vector>

namespace tal {

enum class Button { None, Ok, Cancel, Yes, No };

// Box kinds of ShowMessageKind (0..7); the numbers are the ones callers pass.
enum MessageKind : int {
  ErrorOk = 0,
  InformationOk = 1,
  WarningOkCancel = 2,
  ErrorYesNo = 3,
  ErrorOk2 = 4,
  WarningYesNo = 5,
  WarningYesNo2 = 6,
  WarningYesNoCancel = 7,
};

struct FileDialogRequest {
  std::string title;
  std::string directory;             // folder the dialog starts in ("" = current)
  std::string fileName;              // proposed file name
  std::vector<std::string> filters;  // "Decks (*.dck *.dek)" ...
  int filterIndex = 0;               // 0-based index of the filter shown first
  // Saving: added (after a ".") to a name typed without extension before the chooser asks about
  // overwriting, so the question is asked about the file that will be written.
  std::string defaultExtension;
};

// How one message box may differ from the look of its kind; its buttons are the kind's.
struct MessageLook {
  std::string caption;    // the box's title; "" = the kind's caption
  bool question = false;  // the question icon: the box asks, it does not warn
};

struct FileChoice {
  std::string path;
  int filterIndex = 0;  // 0-based index of the filter in use when the user accepted
};

class Interaction {
 public:
  virtual ~Interaction() = default;
  // Shows a message box of the given kind; returns the button pressed (None for unknown kinds).
  virtual Button message(const std::string& text, int kind) = 0;
  // The same box with the caption or icon of `look`; an implementation without its own shows
  // the kind's box.
  virtual Button messageWithLook(const std::string& text, int kind, const MessageLook& look) {
    return message(text, kind);
  }
  virtual void beep() = 0;
  virtual std::optional<FileChoice> openFile(const FileDialogRequest& request) = 0;
  virtual std::optional<FileChoice> saveFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) = 0;
  virtual std::optional<std::string> inputText(const std::string& title, const std::string& prompt,
                                               const std::string& initial) = 0;
  // Wait cursor on or off; calls nest.
  virtual void setBusy(bool busy) = 0;
};

// Nobody to ask: every box is answered with its first (default) button, every chooser and input
// box is cancelled, beeps and the wait cursor do nothing.
class DefaultAnswers : public Interaction {
 public:
  Button message(const std::string& text, int kind) override;
  void beep() override {}
  std::optional<FileChoice> openFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<FileChoice> saveFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
  std::optional<std::string> inputText(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void setBusy(bool) override {}
};

// The installed implementation; DefaultAnswers until one is installed.
Interaction& interaction();
// Installs `implementation` (not owned); nullptr restores the silent one. Returns the previous one.
Interaction* setInteraction(Interaction* implementation);

// Shows the wait cursor for the lifetime of the object.
class BusyScope {
 public:
  BusyScope() { interaction().setBusy(true); }
  ~BusyScope() { interaction().setBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};

// The buttons a box of `kind` shows, first = default; empty for unknown kinds.
std::vector<Button> ButtonsOfKind(int kind);
// "Error", "Information" or "Warning" by kind; empty for unknown kinds.
std::string CaptionOfKind(int kind);

}  // namespace tal
