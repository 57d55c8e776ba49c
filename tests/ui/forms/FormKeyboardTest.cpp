// The keyboard table of a form window and F1.
#include <QAbstractButton>
#include <QComboBox>
#include <QScrollArea>

#include "FormWindowTestSupport.h"

using namespace tal;
using namespace formwindowtest;

namespace {

// Twenty numeric fields (help topics 1 to 20), a list, and a check box that hides the group of
// the last two fields.
std::vector<std::string> LongFormLines() {
  std::vector<std::string> lines{"KIND=2", "*|<Heater type|HEATERS.DAT|2|1|30"};
  for (int n = 1; n <= 18; ++n) {
    lines.push_back("V" + std::to_string(n) + "=1");
    // Generated forms pad their labels with blanks; F1's window title leaves them out.
    std::string padding(n == 5 ? 9 : 0, ' ');
    lines.push_back("*|Field " + std::to_string(n) + padding + "|m|ft|0|1|0|10|" + std::to_string(n));
  }
  lines.insert(lines.end(), {"*|{SW|Switches", "*|Show last|LAST", "*|}", "*|[LAST|Last fields", "V19=1",
                             "*|Field 19|m|ft|0|1|0|10|19", "V20=1", "*|Field 20|m|ft|0|1|0|10|20", "*|]"});
  return lines;
}

class FormKeyboard : public FormWindowTest {
 protected:
  void SetUp() override {
    FormWindowTest::SetUp();
    open(WriteDeck(dir, LongFormLines(), "LONG.TKD"));
    form->resize(500, 220);
    Settle();
    order = form->FocusOrder();
    ASSERT_EQ(order.size(), 1u + 18 + 1 + 2);
    order.front()->setFocus();
    Settle();
  }
  QWidget* focused() const { return QApplication::focusWidget(); }
  std::vector<QWidget*> order;
};

}  // namespace

TEST_F(FormKeyboard, DownAndUpArrowsMoveThroughTheTabOrder) {
  PressKey(nullptr, Qt::Key_Down);
  EXPECT_EQ(focused(), order[1]);
  PressKey(nullptr, Qt::Key_Down, Qt::ShiftModifier);  // any modifiers
  EXPECT_EQ(focused(), order[2]);
  PressKey(nullptr, Qt::Key_Up);
  EXPECT_EQ(focused(), order[1]);
  PressKey(nullptr, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(focused(), order[0]);
  // From the first control Up goes round to the last, and Down from the last to the first.
  PressKey(nullptr, Qt::Key_Up);
  EXPECT_EQ(focused(), order.back());
  PressKey(nullptr, Qt::Key_Down);
  EXPECT_EQ(focused(), order.front());
}

TEST_F(FormKeyboard, DownArrowOnAListMovesOnInsteadOfChoosing) {
  auto* list = qobject_cast<QComboBox*>(order.front());
  ASSERT_NE(list, nullptr);
  int row = list->currentIndex();
  PressKey(list, Qt::Key_Down);
  EXPECT_EQ(list->currentIndex(), row);
  EXPECT_EQ(focused(), order[1]);
  EXPECT_FALSE(form->DCKChanged());
}

TEST_F(FormKeyboard, FirstAndLastControl) {
  PressKey(nullptr, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(focused(), order.back());
  PressKey(nullptr, Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(focused(), order.front());
  PressKey(nullptr, Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(focused(), order.back());
  PressKey(nullptr, Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(focused(), order.front());
}

TEST_F(FormKeyboard, PageKeysMoveOneClientHeight) {
  int client = form->scrollArea()->viewport()->height();
  ASSERT_LT(client, form->PositionOnArea(order[18]).y());  // the form is longer than the window
  int start = form->PositionOnArea(order[0]).y();
  // The last control whose top lies within one client height below the current one.
  std::size_t expected = 0;
  while (expected + 1 < order.size() && form->PositionOnArea(order[expected + 1]).y() <= start + client) ++expected;
  ASSERT_GT(expected, 1u);
  PressKey(nullptr, Qt::Key_PageDown);
  EXPECT_EQ(focused(), order[expected]);

  int now = form->PositionOnArea(order[expected]).y();
  std::size_t back = expected;
  while (back > 0 && form->PositionOnArea(order[back - 1]).y() >= now - client) --back;
  PressKey(nullptr, Qt::Key_PageUp);
  EXPECT_EQ(focused(), order[back]);
}

TEST_F(FormKeyboard, PageKeysWithOtherModifiersDoNothing) {
  order[3]->setFocus();
  Settle();
  PressKey(nullptr, Qt::Key_PageDown, Qt::AltModifier);
  EXPECT_EQ(focused(), order[3]);
  PressKey(nullptr, Qt::Key_PageUp, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(focused(), order[3]);
}

TEST_F(FormKeyboard, SwitchedOffFieldsAreSkipped) {
  std::size_t box = item(FormItemKind::CheckBoxGroup);
  QAbstractButton* show = form->choiceOf(box, 0);
  ASSERT_TRUE(show->isChecked());
  show->click();
  std::vector<QWidget*> shown = form->FocusOrder();
  ASSERT_EQ(shown.size(), order.size() - 2);
  EXPECT_EQ(shown.back(), show);
  show->setFocus();
  Settle();
  PressKey(nullptr, Qt::Key_Down);
  EXPECT_EQ(focused(), order.front());
}

TEST_F(FormKeyboard, F1OpensTheHelpOfTheFocusedField) {
  std::vector<FormHelpRequest> requests;
  auto saved = FormHelpHandler();
  FormHelpHandler() = [&](const FormHelpRequest& request) { requests.push_back(request); };
  order[5]->setFocus();  // Field 5
  Settle();
  PressKey(nullptr, Qt::Key_F1);
  order.front()->setFocus();  // the list, topic 30
  Settle();
  PressKey(nullptr, Qt::Key_F1);
  form->choiceOf(item(FormItemKind::CheckBoxGroup), 0)->setFocus();  // not a field
  Settle();
  PressKey(nullptr, Qt::Key_F1);
  FormHelpHandler() = saved;
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].topic, 5);
  EXPECT_EQ(requests[0].caption, "Field 5");
  EXPECT_EQ(requests[0].deckName, form->fileName());
  EXPECT_EQ(requests[1].topic, 30);
  EXPECT_EQ(requests[1].caption, "Heater type");
  EXPECT_EQ(requests[2].topic, 0);
  EXPECT_EQ(requests[2].caption, "Dialog");
}
