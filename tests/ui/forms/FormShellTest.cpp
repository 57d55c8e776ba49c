// Form windows in the main window: opening through the Input entry, the window's placement,
// the units commands of TALKIT mode and of the settings dialog, and Calculate with the form's
// before and after commands.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QPlainTextEdit>
#include <QTimer>

#include "../shell/ShellTestSupport.h"
#include "FormWindowTestSupport.h"
#include "forms/AnnotationLine.h"
#include "forms/FormImages.h"
#include "forms/TalkitForm.h"
#include "runs/SetupDialog.h"
#include "shell/OpenSaveRules.h"
#include "support/Files.h"
#include "support/Numbers.h"
#include "support/Text.h"

using namespace tal;

namespace {

class FormShell : public taltest::ShellTest {
 protected:
  TTALKITForm* openForm(const std::vector<std::string>& lines, const std::string& name = "HOUSE.TKD") {
    std::string deck = formwindowtest::WriteDeck(dir, lines, "work/" + name);
    frame->setCurrentInputDeck(deck);
    frame->Input1Click();
    return qobject_cast<TTALKITForm*>(frame->FirstChildOfKind(KindCode::TalkitForm));
  }
  int formCount() const {
    int count = 0;
    for (TChildForm* child : frame->children()) count += child->kind() == KindCode::TalkitForm;
    return count;
  }
  QLineEdit* areaField(TTALKITForm& form) {
    for (std::size_t i = 0; i < form.model().items.size(); ++i)
      if (form.model().items[i].kind == FormItemKind::Numeric) return qobject_cast<QLineEdit*>(form.fieldOf(i));
    return nullptr;
  }
};

}  // namespace

TEST_F(FormShell, InputEntryOpensTheFormDeckAsAFormAndThenBringsItForward) {
  makeFrame();
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->model().items.size(), 6u);
  EXPECT_EQ(frame->activeChild(), form);
  frame->Input1Click();
  EXPECT_EQ(formCount(), 1);
}

TEST_F(FormShell, DiscardedFormDeckLeavesNoWindow) {
  makeFrame();
  std::string deck = dir.write("work/BAD.TKD", "X=1\n*|Value|m|ft|0|1|zero|10\n");
  EXPECT_EQ(frame->NewFormWindow(deck), nullptr);
  EXPECT_EQ(formCount(), 0);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"****Input Error****\nX=1\n*|Value|m|ft|0|1|zero|10"});
}

TEST_F(FormShell, FormWindowTakesTheWidthOfItsGroupsAtTheTopLeft) {
  makeFrame();
  frame->resize(1000, 700);
  frame->show();
  QApplication::processEvents();
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  QMdiSubWindow* window = form->subWindow();
  ASSERT_NE(window, nullptr);
  QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  ASSERT_GE(screen.width(), 641);
  EXPECT_FALSE(window->isMaximized());
  EXPECT_EQ(window->pos(), QPoint(0, 0));
  const FormLayout& layout = form->layout();
  ASSERT_GT(layout.widestGroup(), 100);
  EXPECT_EQ(form->width(), layout.widestGroup() + 2 * layout.charWidth() + 30);
  EXPECT_EQ(window->height(), std::min(screen.height() - 70, frame->mdiArea()->viewport()->height()));
}

TEST_F(FormShell, AnEmptyFormDeckOpensAnEmptyWindowAtTheTopLeft) {
  makeFrame();
  frame->resize(1000, 700);
  frame->show();
  QApplication::processEvents();
  auto* form = qobject_cast<TTALKITForm*>(frame->NewFormWindow(dir.write("work/EMPTY.TKD", "")));
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->model().items.empty());
  for (QWidget* control : form->area()->findChildren<QWidget*>()) EXPECT_FALSE(control->isVisible());
  QMdiSubWindow* window = form->subWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->isMaximized());
  EXPECT_EQ(window->pos(), QPoint(0, 0));
  // No group frame: the window keeps the width it was given.
  EXPECT_EQ(form->layout().widestGroup(), -1);
  EXPECT_GT(window->width(), 100);
}

// A deck without annotation lines opens as an empty form, and the user is told why and what to do.
TEST_F(FormShell, AFormDeckWithoutAnnotationsSaysWhyItsFormIsEmpty) {
  for (bool talkit : {false, true}) {
    dialogs.clear();
    makeFrame(talkit);
    std::string deck = dir.write("work/PLAIN.TKD", "*TALKIT\nX= 1.0\n* a comment\n");
    ASSERT_NE(frame->NewFormWindow(deck), nullptr);
    ASSERT_EQ(dialogs.messages(), std::vector<std::string>{NoFormAnnotationsMessage(deck, talkit)});
    EXPECT_NE(dialogs.messages()[0].find(deck + " holds no form annotations"), std::string::npos);
  }
}

TEST_F(FormShell, UnitsCommandsConvertEveryOpenForm) {
  makeFrame(true);
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(areaField(*form)->text(), "25");
  frame->action(MenuItem::SecondaryUnits)->trigger();
  EXPECT_EQ(CurrentSettings().units, 2);
  EXPECT_EQ(areaField(*form)->text(), "269");
  frame->action(MenuItem::PrimaryUnits)->trigger();
  EXPECT_EQ(areaField(*form)->text(), "25");
}

TEST_F(FormShell, SetupDialogUnitsChangeConvertsTheOpenForm) {
  dir.write("CNFGTL.TAL", "engine\nY\nY\nY\nY\nY\nY\nY\n");
  makeFrame();
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  ASSERT_EQ(areaField(*form)->text(), "25");
  auto chooseUnits = [&](bool secondary) {
    QTimer::singleShot(0, [&, secondary] {
      auto* dialog = frame->findChild<TSetupDlg*>();
      ASSERT_NE(dialog, nullptr);
      (secondary ? dialog->secondaryUnits : dialog->primaryUnits)->setChecked(true);
      dialog->okButton->click();
    });
    frame->action(MenuItem::Setup)->trigger();
  };
  chooseUnits(true);
  EXPECT_EQ(CurrentSettings().units, 2);
  EXPECT_EQ(areaField(*form)->text(), "269");
  chooseUnits(true);  // OK without a change converts nothing again
  EXPECT_EQ(areaField(*form)->text(), "269");
  chooseUnits(false);
  EXPECT_EQ(CurrentSettings().units, 1);
  EXPECT_EQ(areaField(*form)->text(), "25");
  EXPECT_TRUE(dialogs.messages().empty());
}

namespace {

class FormCalculate : public FormShell {
 protected:
  void SetUp() override {
    FormShell::SetUp();
    CurrentSettings().talpixDir = dir.file("engine");
    // Each program appends what it saw to order.txt in the program directory.
    dir.writeScript("engine/TALPIX32", "echo \"engine $*\" >> \"" + dir.file("order.txt") + "\"\n");
    dir.writeScript("BIN/BEFORE.SH", "echo \"before $(sed -n 7p \"$1\")\" >> \"" + dir.file("order.txt") + "\"\n");
    dir.writeScript("BIN/AFTER.SH", "echo after >> \"" + dir.file("order.txt") + "\"\n");
  }
  std::vector<std::string> order() { return SplitLines(taltest::ReadFile(dir.file("order.txt"))); }
  std::vector<std::string> linesWithCommands(const std::string& deckPath) {
    std::vector<std::string> lines = formwindowtest::HouseLines();
    lines.push_back("*|<BEFORE> BIN/BEFORE.SH " + deckPath);
    lines.push_back("*|<AFTER> BIN/AFTER.SH");
    return lines;
  }
};

}  // namespace

TEST_F(FormCalculate, SavesTheChangedFormThenRunsBeforeEngineAndAfter) {
  makeFrame();
  std::string deck = dir.file("work/HOUSE.TKD");
  TTALKITForm* form = openForm(linesWithCommands(deck));
  ASSERT_NE(form, nullptr);
  QLineEdit* area = areaField(*form);
  area->setText("40");
  ASSERT_TRUE(form->DCKChanged());
  dialogs.answer(Button::Yes);
  frame->Calculate1Click();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Do you wish to save file " + deck + " before calling TALPIX?"});
  std::vector<std::string> ran = order();
  ASSERT_EQ(ran.size(), 3u) << taltest::ReadFile(dir.file("order.txt"));
  // The before command already sees the saved value.
  ASSERT_TRUE(ran[0].starts_with("before AREA= "));
  EXPECT_EQ(ParseReal(TrimShort(ran[0].substr(13))).value, 40);
  EXPECT_EQ(ran[1], "engine " + deck);
  EXPECT_EQ(ran[2], "after");
  EXPECT_FALSE(form->DCKChanged());
}

TEST_F(FormCalculate, CancelledSaveQuestionRunsNothing) {
  makeFrame();
  std::string deck = dir.file("work/HOUSE.TKD");
  TTALKITForm* form = openForm(linesWithCommands(deck));
  ASSERT_NE(form, nullptr);
  areaField(*form)->setText("40");
  dialogs.answer(Button::Cancel);
  frame->Calculate1Click();
  EXPECT_TRUE(order().empty());
  EXPECT_TRUE(form->DCKChanged());
  EXPECT_EQ(taltest::ReadFile(deck), formwindowtest::Joined(linesWithCommands(deck)));
}

TEST_F(FormCalculate, FieldThatFailsItsCheckStopsTheRun) {
  makeFrame();
  frame->show();
  std::string deck = dir.file("work/HOUSE.TKD");
  TTALKITForm* form = openForm(linesWithCommands(deck));
  ASSERT_NE(form, nullptr);
  formwindowtest::ShowActive(*frame);
  QLineEdit* area = areaField(*form);
  area->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(form->focusWidget(), area);
  area->setText("-5");
  dialogs.answer(Button::Yes);
  frame->Calculate1Click();
  EXPECT_EQ(dialogs.messages().back(), "This parameter must be >= 1 and <= 1000");
  EXPECT_TRUE(order().empty());
  EXPECT_EQ(taltest::ReadFile(deck), formwindowtest::Joined(linesWithCommands(deck)));
}

TEST_F(FormShell, EditMenuActsOnTheFocusedField) {
  makeFrame();
  frame->show();
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  formwindowtest::ShowActive(*frame);
  QLineEdit* area = areaField(*form);
  area->setFocus();
  area->selectAll();
  frame->action(MenuItem::Cut)->trigger();
  EXPECT_EQ(area->text(), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "25");
  EXPECT_TRUE(form->DCKChanged());
  frame->action(MenuItem::Paste)->trigger();
  EXPECT_EQ(area->text(), "25");
  area->setSelection(0, 1);
  frame->action(MenuItem::Clear)->trigger();
  EXPECT_EQ(area->text(), "5");
  // The list copies the row it shows.
  std::size_t list = 0;
  while (form->model().items[list].kind != FormItemKind::List) ++list;
  form->fieldOf(list)->setFocus();
  frame->action(MenuItem::Copy)->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "Gas boiler");
}

TEST_F(FormShell, ApplicationButtonLocatesAMissingProgramAndRunsIt) {
  makeFrame();
  std::string record = dir.file("args.txt");
  std::string program = dir.writeScript("apps/sheet", "printf '%s|' \"$@\" > \"" + record + "\"\n");
  CurrentSettings().linkEntries[1] = dir.file("apps/missing");
  TTALKITForm* form = openForm({"A=1", "*|Alpha|m|ft|0|1|0|10|0|2|DATA.XLS SHEET1"});
  ASSERT_NE(form, nullptr);
  TAppButton* button = form->buttonOf(0);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->toolTip(), "DATA.XLS SHEET1");

  dialogs.answer(Button::No);
  button->click();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Application link " + dir.file("apps/missing") +
                                                         " was not found.  Do you want to browse to locate this file?"});
  EXPECT_FALSE(taltest::Exists(record));

  dialogs.clear();
  dialogs.answer(Button::Yes).answerText(program);
  button->click();
  EXPECT_EQ(taltest::ReadFile(record), "DATA.XLS|SHEET1|");
  EXPECT_EQ(CurrentSettings().linkEntries[1], program);
}

TEST_F(FormShell, SaveWritesTheFormsOwnDeckWithTheFieldBeingTyped) {
  makeFrame();
  frame->show();
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  formwindowtest::ShowActive(*frame);
  std::string deck = form->fileName();
  // Another deck has become the current input deck meanwhile.
  std::string other = dir.write("work/OTHER.DCK", "X=1\n");
  frame->setCurrentInputDeck(other);
  QLineEdit* area = areaField(*form);
  area->setFocus();
  QApplication::processEvents();
  area->setText("2000");  // out of range: the save stops at the field
  frame->action(MenuItem::Save)->trigger();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"This parameter must be >= 1 and <= 1000"});
  EXPECT_EQ(taltest::ReadFile(deck), formwindowtest::Joined(formwindowtest::HouseLines()));

  area->setText("40");
  frame->action(MenuItem::Save)->trigger();
  std::vector<std::string> lines = SplitLines(taltest::ReadFile(deck));
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(ParseReal(TrimShort(lines[6].substr(6))).value, 40);
  EXPECT_EQ(taltest::ReadFile(other), "X=1\n");
  EXPECT_FALSE(form->DCKChanged());
}

TEST_F(FormShell, SaveAsAnEncodedDeckWritesItEncodedAndTheWindowShowsIt) {
  makeFrame();
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  std::string original = form->fileName();
  std::string copy = dir.file("work/COPY.TKX");
  areaField(*form)->setText("30");
  dialogs.answerText(copy);
  frame->action(MenuItem::SaveAs)->trigger();
  EXPECT_EQ(dialogs.prompts().at(0).request.fileName, original);  // the form's own deck is proposed
  EXPECT_EQ(form->fileName(), copy);
  EXPECT_EQ(form->caption(), copy);
  EXPECT_FALSE(form->DCKChanged());
  // The original is untouched; the copy decodes line by line to the deck with the new value.
  EXPECT_EQ(taltest::ReadFile(original), formwindowtest::Joined(formwindowtest::HouseLines()));
  std::vector<std::string> stored = SplitLines(taltest::ReadFile(copy));
  ASSERT_EQ(stored.size(), 16u);
  EXPECT_NE(stored[0], "*TALKIT");
  EXPECT_EQ(DecodeLine(stored[0]), "*TALKIT");
  std::string area = DecodeLine(stored[6]);
  ASSERT_TRUE(area.starts_with("AREA= ")) << area;
  EXPECT_EQ(ParseReal(TrimShort(area.substr(6))).value, 30);
}

TEST_F(FormShell, HelpKeyShowsTheFieldsSectionOfTheFormsHelpFile) {
  makeFrame();
  frame->show();
  dir.write("work/house.hlp", ".topic=3\r\nFloor area\r\ninside the walls.\r\n  flat  60\r\n.TOPIC=4\r\nWeather\r\n");
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  formwindowtest::ShowActive(*frame);
  QLineEdit* area = areaField(*form);
  area->setFocus();
  QApplication::processEvents();
  QString title, text;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    text = dialog->findChild<QPlainTextEdit*>()->toPlainText();
    dialog->accept();
  });
  formwindowtest::PressKey(area, Qt::Key_F1);
  EXPECT_EQ(title, "Floor area");  // the label of the field with topic 3
  EXPECT_EQ(text, "Floor area inside the walls.\n  flat  60\n");
}
