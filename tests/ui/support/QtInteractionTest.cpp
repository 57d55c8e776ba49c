// The program's real message boxes: the caption, icon and buttons of each kind, the text as the
// program gave it, and the button that closed the box coming back to the caller.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "support/Messages.h"
#include "support/QtInteraction.h"

using namespace tal;

namespace {

struct SeenBox {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QList<QMessageBox::StandardButton> buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Shows the message of `kind` through the installed Qt dialogs; once the box is up, `seen` takes
// its look and `close` closes it.
Button ShowAndClose(const std::string& text, int kind, SeenBox& seen, std::function<void(QMessageBox&)> close) {
  QTimer::singleShot(0, [&seen, close] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;  // no box: the test fails on what it saw
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) seen.buttons << box->standardButton(b);
    if (box->defaultButton()) seen.defaultButton = box->standardButton(box->defaultButton());
    close(*box);
  });
  return ShowMessageKind(text, kind, false);
}

class QtMessages : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = setInteraction(&dialogs_); }
  void TearDown() override { setInteraction(previous_); }

 private:
  QtInteraction dialogs_;
  Interaction* previous_ = nullptr;
};

}  // namespace

TEST_F(QtMessages, EveryKindShowsItsCaptionIconAndButtons) {
  using SB = QMessageBox::StandardButton;
  const struct {
    int kind;
    const char* caption;
    QMessageBox::Icon icon;
    QList<SB> buttons;  // first = default
    Button last;
  } kinds[] = {
      {0, "Error", QMessageBox::Critical, {QMessageBox::Ok}, Button::Ok},
      {1, "Information", QMessageBox::Information, {QMessageBox::Ok}, Button::Ok},
      {2, "Warning", QMessageBox::Warning, {QMessageBox::Ok, QMessageBox::Cancel}, Button::Cancel},
      {3, "Error", QMessageBox::Critical, {QMessageBox::Yes, QMessageBox::No}, Button::No},
      {4, "Error", QMessageBox::Critical, {QMessageBox::Ok}, Button::Ok},
      {5, "Warning", QMessageBox::Warning, {QMessageBox::Yes, QMessageBox::No}, Button::No},
      {6, "Warning", QMessageBox::Warning, {QMessageBox::Yes, QMessageBox::No}, Button::No},
      {7, "Warning", QMessageBox::Warning, {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}, Button::Cancel},
  };
  // A Latin-1 file name must reach the box unchanged.
  const std::string text = "File /w/M\xfcller.DCK not found";
  for (const auto& k : kinds) {
    SeenBox seen;
    SB lastButton = k.buttons.back();
    Button pressed = ShowAndClose(text, k.kind, seen, [lastButton](QMessageBox& box) { box.button(lastButton)->click(); });
    EXPECT_EQ(pressed, k.last) << k.kind;
    EXPECT_EQ(seen.caption, k.caption) << k.kind;
    EXPECT_EQ(seen.text, QString::fromLatin1("File /w/M\xfcller.DCK not found")) << k.kind;
    EXPECT_EQ(seen.icon, k.icon) << k.kind;
    QList<SB> shown = seen.buttons;
    std::sort(shown.begin(), shown.end());
    QList<SB> expected = k.buttons;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected) << k.kind;
    EXPECT_EQ(seen.defaultButton, k.buttons.front()) << k.kind;
  }
}

TEST_F(QtMessages, EscapeCancelsTheBoxesThatHaveCancel) {
  for (int kind : {2, 7}) {
    SeenBox seen;
    Button pressed = ShowAndClose("Stop?", kind, seen, [](QMessageBox& box) {
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(&box, &escape);
    });
    EXPECT_EQ(pressed, Button::Cancel) << kind;
  }
}

TEST_F(QtMessages, UnknownKindShowsNoBox) {
  bool boxShown = false;
  QTimer::singleShot(0, [&boxShown] {
    if (QApplication::activeModalWidget()) {
      boxShown = true;
      QApplication::activeModalWidget()->close();
    }
  });
  EXPECT_EQ(ShowMessageKind("nothing", 8, false), Button::None);
  QApplication::processEvents();
  EXPECT_FALSE(boxShown);
}
