#pragma once
// Scripted answers behind real modal dialogs: every box and chooser first shows a modal dialog
// and closes it, as the desktop's do, so window tests see what that does to focus and activation.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include "support/ScriptedInteraction.h"

namespace taltest {

class ShowingInteraction : public tal::ScriptedInteraction {
 public:
  int shown = 0;
  tal::Button message(const std::string& text, int kind) override {
    Show();
    return ScriptedInteraction::message(text, kind);
  }
  std::optional<tal::FileChoice> openFile(const tal::FileDialogRequest& r) override {
    Show();
    return ScriptedInteraction::openFile(r);
  }
  std::optional<tal::FileChoice> saveFile(const tal::FileDialogRequest& r) override {
    Show();
    return ScriptedInteraction::saveFile(r);
  }

 private:
  void Show() {
    QDialog dialog(QApplication::activeWindow());
    QLineEdit answer(&dialog);  // the dialog's own control takes the keyboard while it is up
    QTimer::singleShot(30, &dialog, &QDialog::accept);
    dialog.exec();
    ++shown;
  }
};

}  // namespace taltest
