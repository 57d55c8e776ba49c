// After a command's dialogs close, the keyboard is back in the active child window, so that the
// frame's keys reach it without a click.
#include <QApplication>
#include <QLineEdit>

#include "../ShowingInteraction.h"
#include "ShellTestSupport.h"

using namespace tal;
using FocusAfterDialogs = taltest::ShellTest;

TEST_F(FocusAfterDialogs, TheKeyboardGoesBackToTheActiveChildWindowAfterACommandsDialogs) {
  struct Case {
    void (TTALSHELLFORM::*command)();
    bool chooseName;  // the chooser is given a name (then the window says it cannot save), else cancelled
    int dialogs;
  };
  const Case cases[] = {{&TTALSHELLFORM::Saveas1Click, true, 2}, {&TTALSHELLFORM::Open1Click, false, 1}};
  makeFrame();
  frame->show();
  frame->activateWindow();
  taltest::TestChild* child = addChild(KindCode::TextEditor, dir.file("A.TXT"));
  auto* field = new QLineEdit(child);
  field->show();
  for (const Case& c : cases) {
    frame->BringToFront(child);
    field->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), field);
    taltest::ShowingInteraction showing;
    c.chooseName ? showing.answerText(dir.file("B.TXT")) : showing.answerCancel();
    (frame.get()->*c.command)();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(showing.shown, c.dialogs);
    EXPECT_EQ(QApplication::activeWindow(), frame.get());
    EXPECT_EQ(QApplication::focusWidget(), field);
  }
}
