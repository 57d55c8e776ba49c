// A form far taller than its window: the controls below the view are made when they come near
// it, and then show what they would have shown had they been made with the rest (place, text,
// font, colour, units), and the keyboard walks the whole form in item order.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>

#include "FormWindowTestSupport.h"
#include "forms/FormFields.h"
#include "forms/FormGroups.h"
#include "forms/FormLabels.h"

using namespace tal;
using namespace formwindowtest;

namespace {

// A check box switching the first group, then 40 groups of 10 numeric fields, the second font
// slot in navy and the third in bold.
std::string LongDeck() {
  std::string deck = "*TALKIT\n*|<COLOR2 NAVY\n*|<FONT3 ARIAL 11\n*|<STYLE3 BOLD\n*|{TOP|Top\n*|Show group 0|G0\n*|}\n";
  for (int g = 0; g < 40; ++g) {
    deck += "*|[G" + std::to_string(g) + "|Group " + std::to_string(g) + "\n";
    for (int k = 0; k < 10; ++k)
      deck += "X" + std::to_string(g) + "_" + std::to_string(k) + "=" + std::to_string(k) + ".5\n*|Value " +
              std::to_string(k) + "|m|ft|0|3.28084|0|100|2\n";
    deck += "*|]\n";
  }
  return deck;
}

// What a control shows (place, size, text, font, colour, shown), to compare one made late with
// one made at once.
using Shown = std::tuple<QPoint, QSize, QString, QFont, QColor, bool>;

std::vector<Shown> Everything(const TTALKITForm& form) {
  std::vector<Shown> shown;
  for (std::size_t i = 0; i < form.model().items.size(); ++i)
    for (QWidget* c : std::initializer_list<QWidget*>{form.labelOf(i), form.fieldOf(i), form.unitOf(i), form.frameOf(i)}) {
      if (!c) continue;
      auto* edit = qobject_cast<QLineEdit*>(c);
      auto* label = qobject_cast<QLabel*>(c);
      shown.emplace_back(form.PositionOnArea(c), c->size(), edit ? edit->text() : label ? label->text() : QString(),
                         c->font(), c->palette().color(QPalette::WindowText), form.ShownOnArea(c));
    }
  return shown;
}

class LongForm : public FormWindowTest {
 protected:
  void SetUp() override {
    FormWindowTest::SetUp();
    path = dir.write("LONG.TKD", LongDeck());
  }
  std::string path;
};

}  // namespace

TEST_F(LongForm, ControlsMadeLateShowWhatControlsMadeAtOnceShow) {
  struct Case {
    const char* change;
    std::function<void(TTALKITForm&)> apply;
  };
  const Case cases[] = {
      {"nothing", [](TTALKITForm&) {}},
      {"the first group switched off", [](TTALKITForm& f) { f.choiceOf(0, 0)->click(); }},
      {"secondary units", [](TTALKITForm& f) { f.ConvertUnits(1, 2); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    open(path);
    ASSERT_LT(form->builtBands(), form->bandCount()) << "the bottom of the form is not made before it is seen";
    auto whole = std::make_unique<TTALKITForm>(nullptr);  // a second window, every control made at once
    ASSERT_TRUE(whole->ReadDeck(path));
    whole->FocusOrder();
    whole->resize(700, 500);
    whole->show();
    c.apply(*form);
    c.apply(*whole);
    QScrollBar* bar = form->scrollArea()->verticalScrollBar();
    bar->setValue(bar->maximum());
    Settle();
    EXPECT_EQ(form->builtBands(), form->bandCount()) << "the end of the form is made once it is scrolled to";
    const std::vector<Shown> late = Everything(*form), atOnce = Everything(*whole);
    ASSERT_EQ(late.size(), atOnce.size());
    for (std::size_t k = 0; k < late.size(); ++k) ASSERT_EQ(late[k], atOnce[k]) << "control " << k;
    // The slots' fonts and colours come through the bands and frames the controls lie on.
    const std::size_t last = form->model().items.size() - 2;  // the last field before the last group's close
    EXPECT_EQ(form->labelOf(last)->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_TRUE(form->unitOf(last)->font().bold());
    EXPECT_EQ(form->unitOf(last)->text(), c.change == std::string("secondary units") ? "ft" : "m");
  }
}

TEST_F(LongForm, TheKeyboardWalksTheWholeFormInItemOrder) {
  struct Case {
    const char* what;
    int key;
    Qt::KeyboardModifiers modifiers;
    bool fromFirst;  // from the first control to the last of the form, else from the last field made to the next
  };
  const Case cases[] = {
      {"Down from the last field made", Qt::Key_Down, Qt::NoModifier, false},
      {"Tab from the last field made", Qt::Key_Tab, Qt::NoModifier, false},
      {"Up from the first control", Qt::Key_Up, Qt::NoModifier, true},
      {"Shift+End", Qt::Key_End, Qt::ShiftModifier, true},
      {"Ctrl+Page Down", Qt::Key_PageDown, Qt::ControlModifier, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    open(path);
    ASSERT_LT(form->builtBands(), form->bandCount());
    // The last field made at opening, found without asking the form (which would make more).
    TInput* lastMade = nullptr;
    for (TInput* input : form->area()->findChildren<TInput*>())
      if (!lastMade || input->item() > lastMade->item()) lastMade = input;
    ASSERT_NE(lastMade, nullptr);
    ASSERT_LT(lastMade->item() + 2, form->model().items.size());
    QWidget* start = c.fromFirst ? static_cast<QWidget*>(form->choiceOf(0, 0)) : lastMade;
    start->setFocus(Qt::OtherFocusReason);
    Settle();
    PressKey(start, c.key, c.modifiers);
    const std::vector<QWidget*> whole = form->FocusOrder();
    EXPECT_EQ(QApplication::focusWidget(), c.fromFirst ? whole.back() : *(std::find(whole.begin(), whole.end(), start) + 1));
  }
}
