#include <gtest/gtest.h>

#include "FormDecks.h"
#include "forms/DeckReader.h"
#include "forms/ErrorState.h"
#include "support/ScriptedInteraction.h"

using namespace tal;
using formtest::FindItem;
using formtest::JoinLines;

namespace {

FormModel ReadForm(const taltest::TempDir& dir, const std::vector<std::string>& lines,
                   UnitSystem units = UnitSystem::Primary) {
  formtest::WriteCompanions(dir);
  std::string path = dir.write("M.TKD", JoinLines(lines));
  ScriptedInteraction ui;
  ReadResult r = ReadDeck(path, {units, nullptr});
  EXPECT_EQ(r.outcome, ReadOutcome::Complete) << (ui.messages().empty() ? "" : ui.messages()[0]);
  return std::move(r.form);
}

// Two plain groups called TWIN, one called OTHER, and switches for them.
std::vector<std::string> TwinDeck() {
  return {"*|[TWIN|First", "*|*a", "*|<BEFORE> ./first.sh", "*|]",
          "*|[OTHER|Other", "*|*b", "*|]",
          "*|[twin|Second", "*|*c", "*|<AFTER> ./second.sh", "*|]"};
}

struct Switches {
  std::vector<std::pair<std::size_t, bool>> seen;
  void Attach(FormModel& form) {
    form.SetGroupObserver([this](std::size_t item, bool visible) { seen.emplace_back(item, visible); });
  }
};

}  // namespace

TEST(SwitchGroup, EveryGroupOfTheNameInListOrder) {
  taltest::TempDir dir;
  FormModel form = ReadForm(dir, TwinDeck());
  Switches s;
  s.Attach(form);
  form.SwitchGroup("Twin", false);
  EXPECT_EQ(s.seen, (std::vector<std::pair<std::size_t, bool>>{{0, false}, {4, false}}));
  EXPECT_FALSE(form.IsShown(1));
  EXPECT_TRUE(form.IsShown(3));
  // Switching off cleared the commands the groups carried.
  EXPECT_EQ(form.beforeCommand, "");
  EXPECT_EQ(form.afterCommand, "");
  s.seen.clear();
  form.SwitchGroup("TWIN", true);
  EXPECT_EQ(s.seen, (std::vector<std::pair<std::size_t, bool>>{{0, true}, {4, true}}));
  EXPECT_EQ(form.beforeCommand, "./first.sh");
  EXPECT_EQ(form.afterCommand, "./second.sh");
}

TEST(SwitchGroup, StopsAtAGroupAlreadyInThatState) {
  taltest::TempDir dir;
  FormModel form = ReadForm(dir, TwinDeck());
  form.items[4].group.visible = false;  // the second TWIN alone is off
  Switches s;
  s.Attach(form);
  // The first TWIN is already on: nothing further happens, also not to the second one.
  form.SwitchGroup("TWIN", true);
  EXPECT_TRUE(s.seen.empty());
  EXPECT_FALSE(form.items[4].group.visible);
  // Switching off: the first goes off, and the hidden second one ends the walk.
  form.SwitchGroup("TWIN", false);
  EXPECT_EQ(s.seen, (std::vector<std::pair<std::size_t, bool>>{{0, false}}));
  // Names that no group has change nothing.
  form.SwitchGroup("NOWHERE", true);
  EXPECT_EQ(s.seen.size(), 1u);
}

TEST(SwitchGroup, ShortCommandsDoNotCount) {
  taltest::TempDir dir;
  FormModel form = ReadForm(dir, {"*|<BEFORE> ./keep.sh", "*|[G", "*|*a", "*|<BEFORE> ab", "*|]"});
  // Read order: the group's short command was the last one read.
  EXPECT_EQ(form.beforeCommand, "ab");
  form.beforeCommand = "./keep.sh";
  form.SwitchGroup("G", false);
  EXPECT_EQ(form.beforeCommand, "./keep.sh");
  form.SwitchGroup("G", true);
  EXPECT_EQ(form.beforeCommand, "./keep.sh");
}

TEST(CheckBoxes, InvertedNameHidesItsGroupWhenChecked) {
  taltest::TempDir dir;
  FormModel form = ReadForm(dir, {"*|[SIMPLE", "*|*a", "*|]", "*|[DETAIL", "*|*b", "*|]", "*|{B|Boxes",
                                  "*|Detailed model|DETAIL|_SIMPLE", "*|Plain only|_SIMPLE", "*|}"});
  std::size_t boxes = static_cast<std::size_t>(FindItem(form, FormItemKind::CheckBoxGroup));
  // Initial states: the first box shows DETAIL (checked) and so hides SIMPLE; the second box is
  // unchecked, showing SIMPLE again. Its click ran last.
  EXPECT_TRUE(form.items[boxes].group.choices[0].checked);
  EXPECT_FALSE(form.items[boxes].group.choices[1].checked);
  EXPECT_TRUE(form.IsShown(1));
  form.SetCheckBox(boxes, 1, true);
  EXPECT_FALSE(form.IsShown(1));
  EXPECT_TRUE(form.changedByClick);
  form.SetCheckBox(boxes, 0, false);
  EXPECT_FALSE(form.IsShown(3));
  EXPECT_TRUE(form.IsShown(1));
}

TEST(RadioButtons, ClickSwitchesTheWholeRadioGroup) {
  taltest::TempDir dir;
  FormModel form = ReadForm(dir, {"*|[GAS", "*|*a", "*|]", "*|[OIL", "*|*b", "*|]", "*|[WOOD", "*|*c", "*|]",
                                  "*|(FUEL|Fuel", "*|Gas|GAS", "*|Oil|OIL", "*|Wood|WOOD|_GAS", "*|)"});
  std::size_t radio = static_cast<std::size_t>(FindItem(form, FormItemKind::RadioGroup));
  auto shown = [&] {
    return std::vector<bool>{form.IsShown(1), form.IsShown(3), form.IsShown(5)};
  };
  // Each button was checked in turn; the last one's click decides.
  EXPECT_TRUE(form.items[radio].group.choices[2].checked);
  EXPECT_EQ(shown(), (std::vector<bool>{false, false, true}));
  form.ChooseRadioButton(radio, 1);
  EXPECT_EQ(shown(), (std::vector<bool>{false, true, false}));
  EXPECT_FALSE(form.items[radio].group.choices[2].checked);
  EXPECT_TRUE(form.items[radio].group.choices[1].checked);
  form.ChooseRadioButton(radio, 0);
  EXPECT_EQ(shown(), (std::vector<bool>{true, false, false}));
}

TEST(ExitCheck, NumbersRangesAndMessages) {
  taltest::TempDir dir;
  FormModel form = ReadForm(dir, {"X=5", "*|X|u|v|0|1|0|20", "Y=5", "*|Y|u|v|0|1|-1.5|100.00"});
  struct Case {
    std::size_t item;
    const char* text;
    const char* message;  // "" when accepted
  } cases[] = {
      {0, "12.", ""},
      {0, "0", ""},
      {0, "20", ""},
      {0, "1e1", ""},
      {0, "", "The input field is empty"},
      {0, " ", "Illegal character in input"},
      {0, "12a", "Illegal character in input"},
      {0, "20.5", "This parameter must be >= 0 and <= 20"},
      {0, "-0.001", "This parameter must be >= 0 and <= 20"},
      {1, "-1.5", ""},
      {1, "100.01", "This parameter must be >= -1.50 and <= 100.00"},
  };
  for (const auto& c : cases) {
    ScriptedInteraction ui;
    ErrorState() = 7;
    form.SetFieldText(c.item, c.text);
    bool ok = form.CheckNumericField(c.item);
    EXPECT_EQ(ok, std::string(c.message).empty()) << c.text;
    if (ok) {
      EXPECT_TRUE(ui.messages().empty()) << c.text;
      EXPECT_EQ(ErrorState(), ErrorStateClear);
    } else {
      EXPECT_EQ(ui.messages(), std::vector<std::string>{c.message}) << c.text;
      EXPECT_EQ(ui.prompts()[0].kind, ErrorOk);
      EXPECT_EQ(ui.beeps(), 1);
      EXPECT_EQ(ErrorState(), ErrorStateSet);
    }
  }
}

TEST(ExitCheck, FreeTextFieldsHaveNoNumberCheck) {
  taltest::TempDir dir;
  FormModel form = ReadForm(dir, {"*|*Project|"});
  ScriptedInteraction ui;
  form.SetFieldText(0, "not a number");
  EXPECT_TRUE(form.CheckNumericField(0));
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(ErrorState(), ErrorStateClear);
}

TEST(ExitCheck, LimitsInSecondaryUnits) {
  taltest::TempDir dir;
  // 0 to 100 degrees C are 32 to 212 degrees F.
  FormModel form = ReadForm(dir, {"T=20", "*|T|C|F|17.7777777777778|1.8|0|100"}, UnitSystem::Secondary);
  EXPECT_EQ(form.items[0].numeric.text, "68");
  ScriptedInteraction ui;
  form.SetFieldText(0, "150");
  EXPECT_TRUE(form.CheckNumericField(0));
  form.SetFieldText(0, "213");
  EXPECT_FALSE(form.CheckNumericField(0));
  EXPECT_EQ(ui.messages(), (std::vector<std::string>{"This parameter must be >= 32 and <= 212"}));
}

TEST(ExitCheck, AnUntouchedFieldIsCheckedByTheValueItStandsFor) {
  taltest::TempDir dir;
  // 1000 m2 shows as 10764 ft2, above the converted maximum of 10763.9; 0.004 shows as 0.00,
  // below its minimum. Both values lie in range, so leaving the fields untouched passes.
  FormModel form = ReadForm(dir, {"AREA=1000", "*|Floor area|m2|ft2|0|10.7639|1|1000", "D=0.004", "*|D|u|v|0|1|0.004|1.00",
                                  "E=1001", "*|E|u|v|0|1|0|1000"},
                            UnitSystem::Secondary);
  ASSERT_EQ(form.items[0].numeric.text, "10764");
  ASSERT_EQ(form.items[1].numeric.text, "0.00");
  ScriptedInteraction ui;
  EXPECT_TRUE(form.CheckNumericField(0));
  EXPECT_TRUE(form.CheckNumericField(1));
  EXPECT_TRUE(ui.messages().empty());
  // A deck value out of range is still refused, untouched or not.
  EXPECT_FALSE(form.CheckNumericField(2));
  EXPECT_EQ(ui.messages(), (std::vector<std::string>{"This parameter must be >= 0 and <= 1000"}));
  // A typed number is checked as typed against the converted limits.
  form.SetFieldText(0, "10765");
  EXPECT_FALSE(form.CheckNumericField(0));
  form.SetFieldText(0, "10763");
  EXPECT_TRUE(form.CheckNumericField(0));
}

TEST(ChangedState, EveryKindOfChangeAndItsClearing) {
  taltest::TempDir dir;
  auto lines = formtest::ExampleLines();
  lines.push_back("*|*Project|Villa");
  FormModel form = ReadForm(dir, lines);
  EXPECT_FALSE(form.DCKChanged());
  std::size_t text = static_cast<std::size_t>(FindItem(form, FormItemKind::Text, "Project"));

  form.SetFieldText(2, "25");  // the same text is no edit
  EXPECT_FALSE(form.DCKChanged());
  form.SetFieldText(2, "26");
  EXPECT_TRUE(form.DCKChanged());
  form.ClearModify();
  EXPECT_FALSE(form.DCKChanged());

  form.SetFieldText(text, "Villa Nova");
  EXPECT_TRUE(form.DCKChanged());
  form.ClearModify();

  form.SelectListRow(3, 1);
  EXPECT_TRUE(form.DCKChanged());
  form.SelectListRow(3, 0);  // back to the saved row
  EXPECT_FALSE(form.DCKChanged());
  form.SelectListRow(3, 7);  // not a row: ignored
  EXPECT_EQ(form.items[3].list.selectedRow, 0);

  // Opening the file dialog counts even when it was cancelled.
  form.MarkBrowsed(5);
  EXPECT_TRUE(form.DCKChanged());
  form.ClearModify();

  form.SetCheckBox(4, 0, true);  // already checked, but a click is a click
  EXPECT_TRUE(form.DCKChanged());
  form.ClearModify();
  EXPECT_FALSE(form.DCKChanged());
}
