#pragma once
// Scripted answers behind real modal dialogs: every question first shows a modal dialog and
// closes it, as the desktop's boxes and choosers come and go, so that window tests see what they
// do to the focus and the active window.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include "support/ScriptedInteraction.h"

namespace taltest {

class ShowingInteraction : public tal::Interaction {
 public:
  explicit ShowingInteraction(tal::ScriptedInteraction& answers)
      : answers_(answers), previous_(tal::setInteraction(this)) {}
  ~ShowingInteraction() override { tal::setInteraction(previous_); }
  int shown = 0;

  tal::Button message(const std::string& text, int kind) override {
    Show();
    return answers_.message(text, kind);
  }
  tal::Button messageWithLook(const std::string& text, int kind, const tal::MessageLook& look) override {
    Show();
    return answers_.messageWithLook(text, kind, look);
  }
  void beep() override { answers_.beep(); }
  std::optional<tal::FileChoice> openFile(const tal::FileDialogRequest& request) override {
    Show();
    return answers_.openFile(request);
  }
  std::optional<tal::FileChoice> saveFile(const tal::FileDialogRequest& request) override {
    Show();
    return answers_.saveFile(request);
  }
  std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override {
    Show();
    return answers_.chooseFolder(title, start);
  }
  std::optional<std::string> inputText(const std::string& title, const std::string& prompt,
                                       const std::string& initial) override {
    Show();
    return answers_.inputText(title, prompt, initial);
  }
  void setBusy(bool) override {}

 private:
  void Show() {
    QDialog dialog(QApplication::activeWindow());
    QLineEdit answer(&dialog);  // the dialog's own control takes the keyboard while it is up
    QTimer::singleShot(30, &dialog, &QDialog::accept);
    dialog.exec();
    ++shown;
  }
  tal::ScriptedInteraction& answers_;
  tal::Interaction* previous_;
};

}  // namespace taltest
