// After a command's dialogs close, the keyboard is back in the active child window, so that the
// frame's keys reach it without a click.
#include <QApplication>
#include <QLineEdit>

#include "../ShowingInteraction.h"
#include "ShellTestSupport.h"

using namespace tal;
using namespace taltest;

namespace {

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
