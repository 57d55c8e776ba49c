// After a command's dialogs close, the keyboard is back in the active child window, so that the
// frame's keys reach it without a click.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

#include "ShellTestSupport.h"

using namespace tal;
using namespace taltest;

namespace {

// Answers like the scripted answers underneath it, but first shows a real modal dialog for every
// question and closes it, as the desktop's dialogs come and go.
class ShowingInteraction : public Interaction {
 public:
  explicit ShowingInteraction(ScriptedInteraction& answers) : answers_(answers), previous_(setInteraction(this)) {}
  ~ShowingInteraction() override { setInteraction(previous_); }
  int shown = 0;

  Button message(const std::string& text, int kind) override {
    Show();
    return answers_.message(text, kind);
  }
  void beep() override {}
  std::optional<FileChoice> openFile(const FileDialogRequest& request) override {
    Show();
    return answers_.openFile(request);
  }
  std::optional<FileChoice> saveFile(const FileDialogRequest& request) override {
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
    dialog.setWindowTitle("question");
    QLineEdit answer(&dialog);  // the dialog's own control takes the keyboard while it is up
    QTimer::singleShot(30, &dialog, &QDialog::accept);
    dialog.exec();
    ++shown;
  }
  ScriptedInteraction& answers_;
  Interaction* previous_;
};

class FocusAfterDialogs : public ShellTest {};

}  // namespace

TEST_F(FocusAfterDialogs, TheKeyboardGoesBackToTheActiveChildWindowAfterACommandsDialogs) {
  struct Case {
    const char* command;
    std::function<void(TTALSHELLFORM&)> run;
    bool chooseName;  // the chooser is given a name, else cancelled
    int dialogs;
  };
  const Case cases[] = {
      {"Save as, then the window's message", [](TTALSHELLFORM& f) { f.Saveas1Click(); }, true, 2},
      {"Open, cancelled", [](TTALSHELLFORM& f) { f.Open1Click(); }, false, 1},
  };
  makeFrame();
  frame->show();
  frame->activateWindow();
  TestChild* child = addChild(KindCode::TextEditor, dir.file("A.TXT"));
  auto* field = new QLineEdit(child);
  field->show();
  for (const Case& c : cases) {
    child->setFileName(dir.file("A.TXT"));
    frame->BringToFront(child);
    field->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), field) << c.command;
    dialogs.clear();
    c.chooseName ? dialogs.answerText(dir.file("B.TXT")) : dialogs.answerCancel();
    ShowingInteraction showing(dialogs);
    c.run(*frame);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(showing.shown, c.dialogs) << c.command;
    EXPECT_EQ(QApplication::activeWindow(), frame.get()) << c.command;
    EXPECT_EQ(QApplication::focusWidget(), field) << c.command;
  }
}
