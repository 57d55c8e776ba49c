#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "support/CheckRealField.h"
#include "support/ScriptedInteraction.h"

using namespace tal;

namespace {

// A window with two fields, shown and active, so that focus can move between them.
struct TwoFields {
  QWidget window;
  QLineEdit* first = new QLineEdit(&window);
  QLineEdit* second = new QLineEdit(&window);
  TwoFields() {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    second->setFocus();
    QApplication::processEvents();
  }
};

}  // namespace

TEST(CheckRealField, ValidFieldIsLeftAlone) {
  ScriptedInteraction ui;
  TwoFields w;
  w.first->setText("7.5");
  CheckedReal r = CheckRealField(*w.first, 3, 0, 10);
  QApplication::processEvents();
  EXPECT_TRUE(r.valid);
  EXPECT_EQ(r.value, 7.5L);
  EXPECT_EQ(ui.beeps(), 0);
  EXPECT_FALSE(w.first->hasSelectedText());
  EXPECT_TRUE(w.second->hasFocus()) << "the focus stays where it was";
}

TEST(CheckRealField, FailureBeepsFocusesAndSelectsTheWholeText) {
  struct Case {
    const char* text;
    int kind;
  };
  const Case cases[] = {{"10", 65}, {"12,5", 0}, {"", 0}, {"5", -1}, {"-3", 2}};
  for (const auto& c : cases) {
    ScriptedInteraction ui;
    TwoFields w;
    w.first->setText(c.text);
    w.first->setCursorPosition(0);
    CheckedReal r = CheckRealField(*w.first, c.kind, 0, 10);
    QApplication::processEvents();
    EXPECT_FALSE(r.valid) << c.text;
    EXPECT_EQ(r.value, 0) << c.text;
    EXPECT_EQ(ui.beeps(), 1) << c.text;
    EXPECT_TRUE(ui.prompts().empty()) << "no message box, " << c.text;
    EXPECT_TRUE(w.first->hasFocus()) << c.text;
    EXPECT_EQ(w.first->selectedText(), w.first->text()) << c.text;
  }
}

TEST(CheckRealField, UpperBoundIsAcceptedByKindSixOnly) {
  ScriptedInteraction ui;
  TwoFields w;
  w.first->setText("10");
  EXPECT_TRUE(CheckRealField(*w.first, 6, 0, 10).valid);
  EXPECT_FALSE(CheckRealField(*w.first, 65, 0, 10).valid);
  EXPECT_EQ(ui.beeps(), 1);
}
