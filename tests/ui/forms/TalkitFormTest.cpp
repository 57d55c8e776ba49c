// The form window on the example house deck and on small decks: placement with the fonts in use,
// group switching, the exit check, list and file fields, the close question, saving and units.
#include <QAbstractButton>
#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "../ShowingInteraction.h"
#include "FormWindowTestSupport.h"
#include "forms/ErrorState.h"
#include "runs/CompilingWindow.h"
#include "forms/FormGroups.h"
#include "forms/FormLabels.h"
#include "support/Files.h"
#include "support/Numbers.h"
#include "support/Text.h"

using namespace tal;
using namespace formwindowtest;

namespace {

// The canvas font as the layout rules name it: Arial, 10 points at 96 pixels per inch.
QFont Arial(int pixels, bool bold = false) {
  QFont font("Arial");
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLineEdit* Edit(TTALKITForm& form, std::size_t item) { return qobject_cast<QLineEdit*>(form.fieldOf(item)); }

void Type(QLineEdit* edit, const QString& text) {
  edit->setFocus(Qt::MouseFocusReason);
  edit->selectAll();
  edit->insert(text);  // as typed: the text changes through the user's path
}

// Whether an edit field shows its whole text: moving the cursor from the first character to
// the end goes the text's full width without scrolling it out of the field.
bool ShowsWholeText(QLineEdit* edit) {
  auto cursorX = [edit] { return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(); };
  edit->setCursorPosition(0);
  int start = cursorX();
  edit->setCursorPosition(static_cast<int>(edit->text().size()));
  int end = cursorX();
  edit->setCursorPosition(0);
  return end - start == edit->fontMetrics().horizontalAdvance(edit->text()) && end < edit->width();
}

class HouseForm : public FormWindowTest {
 protected:
  void SetUp() override {
    FormWindowTest::SetUp();
    path = WriteDeck(dir, HouseLines());
    open(path);
  }
  std::vector<std::string> savedLines() { return SplitLines(taltest::ReadFile(path)); }
  std::string path;
};

}  // namespace

TEST_F(HouseForm, FirstItemsArePlacedByTheRulesWithTheFontsInUse) {
  QFontMetrics canvas(Arial(13));
  const int W = canvas.horizontalAdvance("8");
  const int LH = canvas.height() + 2;
  const int margin = 2 * W;

  TDescriptor* heading = form->labelOf(item(FormItemKind::Text, "Building data"));
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(form->PositionOnArea(heading), QPoint(margin, 10));
  EXPECT_EQ(heading->width(), 80 * W - margin);
  EXPECT_EQ(heading->height(), QFontMetrics(Arial(16, true)).height());  // ARIAL 12, bold
  EXPECT_EQ(heading->font().pixelSize(), 16);

  Tmygroupbox* heating = form->frameOf(item(FormItemKind::Group));
  ASSERT_NE(heating, nullptr);
  EXPECT_EQ(form->PositionOnArea(heating), QPoint(margin, 10 + LH + LH / 2));

  // Floor area: at the top of the empty frame (24), its field at tab stop 2 (6 cm = 227 pixels).
  std::size_t area = item(FormItemKind::Numeric, "Floor area");
  QPoint frame = form->PositionOnArea(heating);
  const ItemGeometry& floor = form->layout().item(area);
  EXPECT_EQ(QPoint(floor.label.left, floor.label.top), QPoint(margin, 24));
  EXPECT_EQ(QPoint(floor.field.left, floor.field.top), QPoint(227, 24));
  EXPECT_EQ(form->PositionOnArea(form->fieldOf(area)).x(), frame.x() + 227);
  int ave = QFontMetrics(Arial(13)).horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52;
  EXPECT_EQ(form->fieldOf(area)->width(), 10 * ave);
  EXPECT_EQ(form->PositionOnArea(form->unitOf(area)).x(), frame.x() + 227 + 10 * ave + ave);

  // The heater list: the frame grew by 5/4 of a line for the numeric field above it.
  std::size_t heater = item(FormItemKind::List, "Heater type");
  // Lines of fields lie as far apart as the text needs, or the fields as drawn when they are taller.
  const ItemGeometry& list = form->layout().item(heater);
  const int pitch = std::max(LH * 5 / 4, form->fieldOf(area)->sizeHint().height() + 2);
  EXPECT_EQ(QPoint(list.label.left, list.label.top), QPoint(margin, 24 + pitch));
  EXPECT_EQ(list.field.top, 24 + pitch - 4);
  // On the screen each field is as tall as its style needs for its font (the list's text keeps
  // its descenders), grown about the middle the layout gave it, and its label is centred on it.
  for (std::size_t i : {area, heater}) {
    QWidget* field = form->fieldOf(i);
    const LayoutRect& laid = form->layout().item(i).field;
    EXPECT_GE(field->height(), field->sizeHint().height());
    auto middle = [&form = this->form](QWidget* w) { return form->PositionOnArea(w).y() + w->height() / 2; };
    EXPECT_EQ(field->x(), laid.left);
    EXPECT_NEAR(middle(form->labelOf(i)), middle(field), 1);
  }
  // Fields as drawn do not overlap.
  QRect upper(form->PositionOnArea(form->fieldOf(area)), form->fieldOf(area)->size());
  QRect lower(form->PositionOnArea(form->fieldOf(heater)), form->fieldOf(heater)->size());
  EXPECT_FALSE(upper.intersects(lower));

  // The label colours of the slots: navy for slot 2, blue for units, red for the heading.
  EXPECT_EQ(form->labelOf(area)->palette().color(QPalette::WindowText), QColor(0, 0, 128));
  EXPECT_EQ(form->unitOf(area)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_EQ(heading->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(HouseForm, ShowsTheDeckValues) {
  EXPECT_EQ(Edit(*form, item(FormItemKind::Numeric))->text(), "25");
  EXPECT_EQ(form->unitOf(item(FormItemKind::Numeric))->text(), "m2");
  auto* heater = qobject_cast<QComboBox*>(form->fieldOf(item(FormItemKind::List)));
  ASSERT_NE(heater, nullptr);
  EXPECT_EQ(heater->count(), 3);
  EXPECT_EQ(heater->currentText(), "Gas boiler");
  EXPECT_EQ(Edit(*form, item(FormItemKind::File))->text(), "WEATHER.DAT");
  EXPECT_TRUE(form->choiceOf(item(FormItemKind::CheckBoxGroup), 0)->isChecked());
  EXPECT_FALSE(form->DCKChanged());
  EXPECT_EQ(form->kind(), KindCode::TalkitForm);
  EXPECT_EQ(form->caption(), path);
  // The progress window counted lines while reading and is gone again.
  EXPECT_EQ(CompilingWindow().labelText(), "Reading line ");
  EXPECT_GE(CompilingWindow().numberText().toInt(), 1);
  EXPECT_FALSE(CompilingWindow().isVisible());
}

// Unchecking hides the group and moves everything below up. The clicked box stays under the
// pointer: the form scrolls (or gains blank room above it) by what the group above it took away,
// and everything goes back when the box is checked again.
TEST_F(HouseForm, UncheckingHidesTheGroupAndMovesEverythingBelowUp) {
  Tmygroupbox* heating = form->frameOf(item(FormItemKind::Group));
  Tmygroupbox* options = form->frameOf(item(FormItemKind::CheckBoxGroup));
  QWidget* weather = form->fieldOf(item(FormItemKind::File));
  QWidget* heading = form->labelOf(0);
  int height = heating->height();
  int optionsTop = topOf(options), weatherTop = topOf(weather), headingTop = topOf(heading);
  int areaHeight = form->area()->height();
  QAbstractButton* box = form->choiceOf(item(FormItemKind::CheckBoxGroup), 0);
  auto inWindow = [&] { return box->mapTo(form->scrollArea()->viewport(), QPoint(0, 0)); };
  const QPoint before = inWindow();

  box->click();
  EXPECT_FALSE(box->isChecked());
  EXPECT_EQ(inWindow(), before);
  EXPECT_FALSE(form->ShownOnArea(heating));
  EXPECT_FALSE(form->ShownOnArea(form->fieldOf(item(FormItemKind::Numeric))));
  EXPECT_EQ(topOf(options), optionsTop - height);
  EXPECT_EQ(topOf(weather), weatherTop - height);
  EXPECT_EQ(topOf(heading), headingTop);
  EXPECT_EQ(form->area()->height(), areaHeight - height);
  EXPECT_TRUE(form->DCKChanged());

  box->click();
  EXPECT_TRUE(form->ShownOnArea(heating));
  EXPECT_EQ(topOf(weather), weatherTop);
  EXPECT_EQ(inWindow(), before);
  EXPECT_EQ(form->scrollArea()->verticalScrollBar()->value(), 0);
}

TEST_F(HouseForm, SaveWritesTheSwitchedOffGroupAsComments) {
  form->choiceOf(item(FormItemKind::CheckBoxGroup), 0)->click();
  ASSERT_TRUE(form->SaveDeck());
  std::vector<std::string> lines = savedLines();
  ASSERT_EQ(lines.size(), 16u);
  for (std::size_t n = 6; n <= 11; ++n) EXPECT_TRUE(lines[n - 1].starts_with("*|#")) << "line " << n;
  for (std::size_t n : {5u, 12u, 13u, 14u, 15u, 16u}) EXPECT_FALSE(lines[n - 1].starts_with("*|#")) << "line " << n;
  ASSERT_TRUE(lines[6].starts_with("*|#AREA= "));
  ParsedReal value = ParseReal(TrimShort(lines[6].substr(9)));
  EXPECT_TRUE(value.ok);
  EXPECT_EQ(value.value, 25);
  EXPECT_NE(lines[6].find('E'), std::string::npos);  // exponential form
  // The old deck stays beside it; the form is unchanged after saving.
  EXPECT_EQ(taltest::ReadFile(dir.file("HOUSE.BAK")), Joined(HouseLines()));
  EXPECT_FALSE(form->DCKChanged());
}

TEST_F(HouseForm, ExitCheckMessagesRefocusAndSelectTheField) {
  std::size_t area = item(FormItemKind::Numeric);
  QLineEdit* field = Edit(*form, area);
  QWidget* list = form->fieldOf(item(FormItemKind::List));
  struct Case {
    QString typed;
    std::string message;  // "" = accepted
  };
  const Case cases[] = {
      {"abc", "Illegal character in input"},
      {"", "The input field is empty"},
      {"1000.5", "This parameter must be >= 1 and <= 1000"},
      {"0.99", "This parameter must be >= 1 and <= 1000"},
      {"12.", ""},
      {"1", ""},
      {"1000", ""},
  };
  for (const Case& c : cases) {
    dialogs.clear();
    Type(field, c.typed);
    PressKey(field, Qt::Key_Down);  // leaves the field for the next one
    if (c.message.empty()) {
      EXPECT_TRUE(dialogs.messages().empty()) << c.typed.toStdString();
      EXPECT_EQ(QApplication::focusWidget(), list) << c.typed.toStdString();
      EXPECT_EQ(ErrorState(), ErrorStateClear);
    } else {
      ASSERT_EQ(dialogs.messages(), std::vector<std::string>{c.message}) << c.typed.toStdString();
      EXPECT_EQ(dialogs.prompts()[0].kind, ErrorOk);
      EXPECT_EQ(dialogs.beeps(), 1);
      EXPECT_EQ(QApplication::focusWidget(), field);
      EXPECT_EQ(field->selectedText(), c.typed);
      EXPECT_EQ(ErrorState(), ErrorStateSet);
    }
  }
}

TEST_F(FormWindowTest, AFieldsMessageIsTitledWithItsLabelAndOnlyThatFieldKeepsASelection) {
  open(WriteDeck(dir, {"*TALKIT", "AREA=25", "*|Floor area        |m2|ft2|0|10.7639|1|1000|3", "CAP=5",
                       "*|Heat capacity|kJ/K|kJ/K|0|1|0.001|10000.000|4"}, "TWO.TKD"));
  QLineEdit* area = Edit(*form, item(FormItemKind::Numeric));
  QLineEdit* capacity = Edit(*form, item(FormItemKind::Numeric, "Heat capacity"));
  for (auto [typed, message] : {std::pair{"5000", "This parameter must be >= 1 and <= 1000"},
                                std::pair{"x", "Illegal character in input"}}) {
    ShowActive(*form);  // the box of the case before took the activation away
    // A real box: the field the focus went to loses the focus to it, not to the failing field.
    taltest::ShowingInteraction showing;
    Type(area, typed);
    PressKey(area, Qt::Key_Down);  // to the other field, its text selected
    ASSERT_TRUE(QTest::qWaitFor([&] { return showing.shown == 1; })) << message;
    Settle();
    ASSERT_EQ(showing.messages(), std::vector<std::string>{message});
    EXPECT_EQ(showing.prompts()[0].look.caption, "Floor area");
    EXPECT_EQ(area->selectedText(), typed);
    EXPECT_FALSE(capacity->hasSelectedText());
    Type(area, "10");
  }
}

TEST_F(HouseForm, SaveStopsAtAFieldThatFailsItsCheck) {
  QLineEdit* field = Edit(*form, item(FormItemKind::Numeric));
  Type(field, "5000");
  EXPECT_FALSE(form->CheckactiveInput());
  EXPECT_FALSE(form->SaveDeck());
  EXPECT_EQ(taltest::ReadFile(path), Joined(HouseLines()));
  EXPECT_FALSE(taltest::Exists(dir.file("HOUSE.BAK")));
  EXPECT_TRUE(form->DCKChanged());
  // Once corrected, the same command saves under the form's own name.
  Type(field, "40");
  EXPECT_TRUE(form->SaveDeck());
  EXPECT_EQ(savedLines()[6].substr(0, 6), "AREA= ");
  EXPECT_EQ(ParseReal(TrimShort(savedLines()[6].substr(6))).value, 40);
}

TEST_F(HouseForm, SaveChecksAChangedFieldWhoseExitCheckHasNotRun) {
  QLineEdit* field = Edit(*form, item(FormItemKind::Numeric));
  Type(field, "5000");
  // The focus moves on before the field's exit check could run (a message box had it).
  form->fieldOf(item(FormItemKind::List))->setFocus();
  EXPECT_FALSE(form->SaveDeck());
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"This parameter must be >= 1 and <= 1000"});
  EXPECT_EQ(taltest::ReadFile(path), Joined(HouseLines()));
  EXPECT_EQ(QApplication::focusWidget(), field);
  EXPECT_EQ(field->selectedText(), "5000");
  form->fieldOf(item(FormItemKind::List))->setFocus();
  dialogs.answer(Button::Yes);
  EXPECT_FALSE(form->closeQuery()) << "nor does the close question's Yes";
}

TEST_F(HouseForm, AnOldErrorDoesNotStopSaving) {
  ErrorState() = ErrorStateSet;  // left by another window's reading or check
  form->fieldOf(item(FormItemKind::List))->setFocus();
  EXPECT_TRUE(form->SaveDeck());
  EXPECT_TRUE(taltest::Exists(dir.file("HOUSE.BAK")));
}

TEST_F(HouseForm, ListChoiceIsWrittenAsItsValueColumn) {
  auto* heater = qobject_cast<QComboBox*>(form->fieldOf(item(FormItemKind::List)));
  heater->setCurrentIndex(2);
  emit heater->activated(2);  // the user's pick
  EXPECT_TRUE(form->DCKChanged());
  ASSERT_TRUE(form->SaveDeck());
  EXPECT_EQ(savedLines()[8], "KIND= 3");
}

TEST_F(HouseForm, FileFieldBrowsesWithTheDataFilter) {
  std::size_t weather = item(FormItemKind::File);
  QLineEdit* field = Edit(*form, weather);
  dialogs.answerCancel();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), field->mapToGlobal(QPointF(3, 3)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(field, &press);
  ASSERT_EQ(dialogs.prompts().size(), 1u);
  EXPECT_EQ(dialogs.prompts()[0].type, Prompt::Type::OpenFile);
  EXPECT_EQ(dialogs.prompts()[0].request.filters, (std::vector<std::string>{"Data Files (*.DAT *.dat)", "All Files (*)"}));
  // Cancelled, but browsed: the form counts as changed and the name stays.
  EXPECT_TRUE(form->DCKChanged());
  EXPECT_EQ(field->text(), "WEATHER.DAT");

  std::string other = dir.write("sub/OTHER.DAT", "x\n");
  dialogs.answerText(other);
  QApplication::sendEvent(field, &press);
  EXPECT_EQ(field->text().toStdString(), other);
  ASSERT_TRUE(form->SaveDeck());
  EXPECT_EQ(savedLines()[14], "ASSIGN " + other + " 10");
  // Typing into the field does nothing: the name changes only through the dialog.
  EXPECT_TRUE(field->isReadOnly());
}

TEST_F(HouseForm, CloseQuestionOfAChangedForm) {
  form->choiceOf(item(FormItemKind::CheckBoxGroup), 0)->click();
  const std::string question = path + " has been changed.  Save it?";

  dialogs.answer(Button::Cancel);
  EXPECT_FALSE(form->closeQuery());
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{question});
  EXPECT_EQ(dialogs.prompts()[0].kind, WarningYesNoCancel);
  EXPECT_EQ(taltest::ReadFile(path), Joined(HouseLines()));

  dialogs.clear();
  dialogs.answer(Button::No);
  EXPECT_TRUE(form->closeQuery());
  EXPECT_EQ(taltest::ReadFile(path), Joined(HouseLines()));

  dialogs.clear();
  dialogs.answer(Button::Yes);
  EXPECT_TRUE(form->closeQuery());
  EXPECT_TRUE(savedLines()[5].starts_with("*|#"));
  EXPECT_FALSE(form->DCKChanged());

  dialogs.clear();
  EXPECT_TRUE(form->closeQuery());  // unchanged now: nothing is asked
  EXPECT_TRUE(dialogs.prompts().empty());
}

TEST_F(HouseForm, SavingOnCloseChecksTheFieldBeingEdited) {
  QLineEdit* field = Edit(*form, item(FormItemKind::Numeric));
  Type(field, "5000");
  dialogs.answer(Button::Yes);
  EXPECT_FALSE(form->closeQuery());
  EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{path + " has been changed.  Save it?",
                                                          "This parameter must be >= 1 and <= 1000"}));
  EXPECT_EQ(taltest::ReadFile(path), Joined(HouseLines()));
  EXPECT_EQ(QApplication::focusWidget(), field);
  EXPECT_TRUE(form->DCKChanged());

  Type(field, "500");
  dialogs.clear();
  dialogs.answer(Button::Yes);
  EXPECT_TRUE(form->closeQuery());
  EXPECT_EQ(ParseReal(TrimShort(savedLines()[6].substr(6))).value, 500);
}

TEST_F(HouseForm, FailedWriteOnCloseKeepsTheWindowAndItsChanges) {
  form->choiceOf(item(FormItemKind::CheckBoxGroup), 0)->click();
  // The back-up cannot be made: a folder stands where it would go.
  std::filesystem::create_directories(dir.file("HOUSE.BAK/x"));
  dialogs.answer(Button::Yes);
  EXPECT_FALSE(form->closeQuery());
  EXPECT_GE(dialogs.messages().size(), 2u);  // the question, then the failure
  EXPECT_TRUE(form->DCKChanged());
  EXPECT_EQ(taltest::ReadFile(path), Joined(HouseLines()));
}

TEST_F(HouseForm, ConvertingUnitsShowsSecondaryValuesAndCaptions) {
  std::size_t area = item(FormItemKind::Numeric);
  form->ConvertUnits(1, 2);
  EXPECT_EQ(Edit(*form, area)->text(), "269");  // 25 x 10.7639, no decimals
  EXPECT_EQ(form->unitOf(area)->text(), "ft2");
  EXPECT_FALSE(form->DCKChanged());
  form->ConvertUnits(2, 1);
  EXPECT_EQ(Edit(*form, area)->text(), "25");
  EXPECT_EQ(form->unitOf(area)->text(), "m2");
}

TEST_F(FormWindowTest, FormReadInSecondaryUnitsShowsThem) {
  CurrentSettings().units = 2;
  open(WriteDeck(dir, HouseLines()));
  std::size_t area = item(FormItemKind::Numeric);
  EXPECT_EQ(Edit(*form, area)->text(), "269");
  EXPECT_EQ(form->unitOf(area)->text(), "ft2");
}

TEST_F(FormWindowTest, StoppedReadingKeepsWhatWasBuilt) {
  open(WriteDeck(dir, {"*|*First line", "*|<SIZE2 big", "*|*Never read"}));
  EXPECT_EQ(form->outcome(), ReadOutcome::Stopped);
  ASSERT_EQ(form->model().items.size(), 1u);
  EXPECT_EQ(form->labelOf(0)->text(), "First line");
}

TEST_F(FormWindowTest, RadioButtonsSwitchTheirGroupsAndMoveWhatIsBelow) {
  std::vector<std::string> lines{"*|<PICTURE> \"Pump station\"", "*|(DRIVE|Drive", "*|Electric motor|MOTOR",
                                 "*|Diesel engine|DIESEL", "*|)",
                                 "*|[MOTOR|Electric motor", "POWER=15", "*|Rated power|kW|hp|0|1.341|0.5|500|5",
                                 "*|]", "*|[DIESEL|Diesel engine", "FUEL=2.5",
                                 "*|Fuel use|l/h|gal/h|0|0.264172|0|100.00|6", "VOL=3", "*|Tank|m3|gal|0|264|0|10",
                                 "*|]", "FLOW=12", "*|Flow rate|m3/h|gpm|0|4.40287|0|1E3|8"};
  open(WriteDeck(dir, lines, "PUMP.TKD"));
  std::size_t radio = item(FormItemKind::RadioGroup);
  Tmygroupbox* motor = form->frameOf(static_cast<std::size_t>(form->model().FindGroup("MOTOR")));
  Tmygroupbox* diesel = form->frameOf(static_cast<std::size_t>(form->model().FindGroup("diesel")));
  ASSERT_NE(motor, nullptr);
  ASSERT_NE(diesel, nullptr);
  QWidget* flow = form->fieldOf(item(FormItemKind::Numeric, "Flow rate"));
  // The last button of the group starts checked, so the diesel group shows.
  EXPECT_FALSE(form->choiceOf(radio, 0)->isChecked());
  EXPECT_TRUE(form->choiceOf(radio, 1)->isChecked());
  EXPECT_FALSE(form->ShownOnArea(motor));
  EXPECT_TRUE(form->ShownOnArea(diesel));
  EXPECT_EQ(Edit(*form, item(FormItemKind::Numeric, "Fuel use"))->text(), "2.50");
  EXPECT_EQ(Edit(*form, item(FormItemKind::Numeric, "Flow rate"))->text(), "1.2000E+01");
  int flowTop = topOf(flow);
  // The mouse reaches the buttons: nothing moved up over them catches it.
  auto reachable = [this](QWidget* control) {
    return form->area()->childAt(control->mapTo(form->area(), control->rect().center())) == control;
  };
  EXPECT_TRUE(reachable(form->choiceOf(radio, 0)));
  EXPECT_TRUE(reachable(form->choiceOf(radio, 1)));

  form->choiceOf(radio, 0)->click();
  EXPECT_TRUE(reachable(form->choiceOf(radio, 1)));
  EXPECT_TRUE(reachable(flow));
  EXPECT_TRUE(form->choiceOf(radio, 0)->isChecked());
  EXPECT_FALSE(form->choiceOf(radio, 1)->isChecked());
  EXPECT_TRUE(form->ShownOnArea(motor));
  EXPECT_FALSE(form->ShownOnArea(diesel));
  EXPECT_EQ(topOf(flow), flowTop + motor->height() - diesel->height());
  // Clicking the checked button again keeps it checked.
  form->choiceOf(radio, 0)->click();
  EXPECT_TRUE(form->choiceOf(radio, 0)->isChecked());
}

TEST_F(FormWindowTest, CaptionPicturesAndBackgroundColour) {
  open(WriteDeck(dir, {"*|<BACKGROUND> SILVER", "*|<PICTURE> \"Pump station\" RIGHT"}));
  auto* picture = qobject_cast<QLabel*>(form->fieldOf(0));
  ASSERT_NE(picture, nullptr);
  QImage image = picture->pixmap().toImage();
  ASSERT_FALSE(image.isNull());
  // White with blue text; as wide as the caption and two blanks.
  EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));
  QFont italic = Arial(13);
  italic.setItalic(true);
  EXPECT_EQ(image.width(), QFontMetrics(italic).horizontalAdvance("Pump station  "));
  bool blue = false;
  for (int x = 0; x < image.width() && !blue; ++x)
    for (int y = 0; y < image.height() && !blue; ++y) {
      QColor c = image.pixelColor(x, y);
      blue = c.blue() > 200 && c.red() < 100 && c.green() < 100;
    }
  EXPECT_TRUE(blue);
  EXPECT_EQ(form->area()->palette().color(QPalette::Window), QColor(192, 192, 192));
}

TEST_F(FormWindowTest, TextLineFieldCountsAsAChange) {
  open(WriteDeck(dir, {"*|*Station|Alpha|7", "*|*Plain label"}));
  QLineEdit* field = Edit(*form, 0);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), "Alpha");
  EXPECT_EQ(field->maxLength(), 10);
  EXPECT_EQ(form->fieldOf(1), nullptr);
  Type(field, "Beta");
  EXPECT_TRUE(form->DCKChanged());
  // A free-text field is never checked as a number.
  EXPECT_TRUE(form->CheckactiveInput());
  EXPECT_TRUE(dialogs.messages().empty());
  ASSERT_TRUE(form->SaveDeck());
  EXPECT_EQ(SplitLines(taltest::ReadFile(form->fileName()))[0], "*|*Station|Beta|7");
}

TEST_F(FormWindowTest, FieldsShowTheirWholeTextBesideTheirLabels) {
  // Capital file names and exponential numbers are wider than average characters.
  open(WriteDeck(dir, {"FLOW=12", "*|Rated power|m3/h|gpm|0|4.40287|0|1E3|8", "ASSIGN WEATHER.DAT 10",
                       "*|?WEATHER FILE|4", "KIND=2", "*|<MAXIMUM WATTAGE|HEATERS.DAT|2|1"}));
  QLineEdit* flow = Edit(*form, item(FormItemKind::Numeric));
  QLineEdit* weather = Edit(*form, item(FormItemKind::File));
  EXPECT_EQ(flow->text(), "1.2000E+01");
  EXPECT_TRUE(ShowsWholeText(flow));
  EXPECT_EQ(weather->text(), "WEATHER.DAT");
  EXPECT_TRUE(ShowsWholeText(weather));
  // No field lies over its label's text.
  for (FormItemKind kind : {FormItemKind::Numeric, FormItemKind::File, FormItemKind::List}) {
    std::size_t i = item(kind);
    TDescriptor* label = form->labelOf(i);
    int textEnd = form->PositionOnArea(label).x() + label->fontMetrics().horizontalAdvance(label->text());
    EXPECT_GT(form->PositionOnArea(form->fieldOf(i)).x(), textEnd) << label->text().toStdString();
  }
  // The check itself tells a cut text.
  weather->resize(weather->width() / 2, weather->height());
  EXPECT_FALSE(ShowsWholeText(weather));
}
