#include <gtest/gtest.h>

#include <sys/stat.h>

#include "FormDecks.h"
#include "forms/DeckReader.h"
#include "forms/DeckWriter.h"
#include "forms/ErrorState.h"
#include "support/Files.h"
#include "support/ScriptedInteraction.h"

using namespace tal;
using formtest::ExampleLines;
using formtest::FindItem;
using formtest::JoinLines;

namespace {

struct Read {
  ReadResult result;
  std::vector<std::string> messages;
  int beeps = 0;
};

Read ReadText(const taltest::TempDir& dir, const std::string& text, const std::string& name = "FORM.TKD",
              UnitSystem units = UnitSystem::Primary) {
  formtest::WriteCompanions(dir);
  std::string path = dir.write(name, text);
  ScriptedInteraction ui;
  ErrorState() = 12345;  // whatever came before
  Read read{ReadDeck(path, {units, nullptr}), ui.messages(), ui.beeps()};
  return read;
}

Read ReadLines(const taltest::TempDir& dir, const std::vector<std::string>& lines) {
  return ReadText(dir, JoinLines(lines));
}

}  // namespace

TEST(ReadDeck, ExampleDeckBuildsEveryItem) {
  taltest::TempDir dir;
  Read read = ReadLines(dir, ExampleLines());
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  EXPECT_TRUE(read.messages.empty());
  EXPECT_EQ(ErrorState(), ErrorStateClear);
  EXPECT_EQ(read.result.linesRead, 16);
  const FormModel& form = read.result.form;
  ASSERT_EQ(form.items.size(), 6u);

  const FormItem& heading = form.items[0];
  EXPECT_EQ(heading.kind, FormItemKind::Text);
  EXPECT_EQ(heading.lineNumber, 5);
  EXPECT_EQ(heading.label, "Building data");
  EXPECT_FALSE(heading.textField.present);
  // Fonts, colours and tabs set before the item are its slots.
  const FormStyle& style = form.StyleOf(heading);
  EXPECT_EQ(style.font(1).name, "ARIAL");
  EXPECT_EQ(style.font(1).size, 12);
  EXPECT_EQ(style.font(2).colour, (Rgb{0, 0, 128}));
  EXPECT_EQ(style.tabs[2], 227);

  const FormItem& group = form.items[1];
  EXPECT_EQ(group.kind, FormItemKind::Group);
  EXPECT_EQ(group.lineNumber, 6);
  EXPECT_EQ(group.group.name, "HEATING");
  EXPECT_EQ(group.group.caption, "Heating system");
  EXPECT_TRUE(group.group.startsOn);
  EXPECT_TRUE(group.group.visible);

  const FormItem& area = form.items[2];
  EXPECT_EQ(area.kind, FormItemKind::Numeric);
  EXPECT_EQ(area.lineNumber, 7);
  EXPECT_EQ(area.variable, "AREA");
  EXPECT_EQ(area.label, "Floor area");
  EXPECT_EQ(area.helpTopic, 3);
  EXPECT_TRUE(area.inGroup);
  EXPECT_EQ(area.enclosingGroup, 1);
  EXPECT_EQ(area.numeric.value, 25);
  EXPECT_EQ(area.numeric.text, "25");
  EXPECT_EQ(area.numeric.format, (RealFormat{true, 0}));
  EXPECT_EQ(form.UnitCaption(2), "m2");

  const FormItem& kind = form.items[3];
  EXPECT_EQ(kind.kind, FormItemKind::List);
  EXPECT_EQ(kind.lineNumber, 9);
  EXPECT_EQ(kind.variable, "KIND");
  EXPECT_EQ(kind.list.value, "1");
  EXPECT_EQ(form.ListChoices(3), (std::vector<std::string>{"Gas boiler", "Heat pump", "Wood stove"}));
  EXPECT_EQ(form.ListDisplayText(3), "Gas boiler");

  const FormItem& options = form.items[4];
  EXPECT_EQ(options.kind, FormItemKind::CheckBoxGroup);
  EXPECT_EQ(options.lineNumber, 12);
  ASSERT_EQ(options.group.choices.size(), 1u);
  EXPECT_EQ(options.group.choices[0].caption, "Use heating");
  EXPECT_TRUE(options.group.choices[0].checked);
  EXPECT_EQ(options.group.choices[0].lineNumber, 13);

  const FormItem& weather = form.items[5];
  EXPECT_EQ(weather.kind, FormItemKind::File);
  EXPECT_EQ(weather.lineNumber, 15);
  EXPECT_EQ(weather.variable, "ASSIGN");
  EXPECT_EQ(weather.file.fileName, "WEATHER.DAT");
  EXPECT_EQ(weather.file.unitNumber, 10);
  EXPECT_EQ(weather.helpTopic, 4);

  // A form just read is unchanged, although the initial states ran the check box's click.
  EXPECT_FALSE(form.DCKChanged());
}

TEST(ReadDeck, ProgressCountsEveryLine) {
  taltest::TempDir dir;
  std::string path = formtest::WriteExample(dir);
  std::vector<int> counts;
  ReadOptions options;
  options.progress = [&](int n) { counts.push_back(n); };
  ReadResult r = ReadDeck(path, options);
  ASSERT_EQ(r.outcome, ReadOutcome::Complete);
  ASSERT_EQ(counts.size(), 16u);
  EXPECT_EQ(counts.front(), 1);
  EXPECT_EQ(counts.back(), 16);
}

TEST(ReadDeck, HiddenMarkerOnHeaderStartsGroupOff) {
  taltest::TempDir dir;
  auto lines = ExampleLines();
  lines[5] = "*|#" + lines[5];
  Read read = ReadLines(dir, lines);
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  const FormModel& form = read.result.form;
  EXPECT_FALSE(form.items[1].group.startsOn);
  EXPECT_FALSE(form.items[1].group.visible);
  // Its check box starts in the state that hides it.
  EXPECT_FALSE(form.items[4].group.choices[0].checked);
  EXPECT_FALSE(form.IsShown(2));
  EXPECT_FALSE(form.DCKChanged());
}

TEST(ReadDeck, InitialStatesOfInvertedNamesAndRadioButtons) {
  taltest::TempDir dir;
  Read read = ReadLines(dir, {
                                 "*|[A|Group A", "X=1", "*|X|u|v|0|1|0|10", "*|]",
                                 "*|#*|[B|Group B", "Y=1", "*|Y|u|v|0|1|0|10", "*|]",
                                 "*|[C|Group C", "Z=1", "*|Z|u|v|0|1|0|10", "*|]",
                                 "*|{BOXES|Boxes",
                                 "*|Hide A|_A",        // A starts on: shown by an unchecked box
                                 "*|Hide B|_B",        // B starts off: hidden by a checked box
                                 "*|}",
                                 "*|(MODE|Mode",
                                 "*|Show B|B",        // B is off and named plainly: not checked
                                 "*|Show C|C",        // C is on: checked, which switches B off
                                 "*|)",
                             });
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete) << (read.messages.empty() ? "" : read.messages[0]);
  const FormModel& form = read.result.form;
  const auto& boxes = form.items[FindItem(form, FormItemKind::CheckBoxGroup)].group.choices;
  EXPECT_FALSE(boxes[0].checked);
  EXPECT_TRUE(boxes[1].checked);
  const auto& radios = form.items[FindItem(form, FormItemKind::RadioGroup)].group.choices;
  EXPECT_FALSE(radios[0].checked);
  EXPECT_TRUE(radios[1].checked);
  EXPECT_TRUE(form.items[form.FindGroup("A")].group.visible);
  EXPECT_FALSE(form.items[form.FindGroup("B")].group.visible);
  EXPECT_TRUE(form.items[form.FindGroup("c")].group.visible);
}

TEST(ReadDeck, RadioButtonsOfANewGroupLeaveOnlyTheLastChecked) {
  taltest::TempDir dir;
  // With a missing group close the completion pass does not run, so the states are as made.
  Read read = ReadLines(dir, {"*|(MODE|Mode", "*|One|X", "*|Two|Y", "*|Three|Z", "*|)", "*|[OPEN"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::MissingGroupClose);
  const auto& radios = read.result.form.items[0].group.choices;
  ASSERT_EQ(radios.size(), 3u);
  EXPECT_FALSE(radios[0].checked);
  EXPECT_FALSE(radios[1].checked);
  EXPECT_TRUE(radios[2].checked);
}

// Reading chooses the buttons one by one; only the last chosen one may decide, as if each had been
// clicked: groups of the others off, its own on (every group of its name), its command the form's.
TEST(ReadDeck, OfTheRadioButtonsChosenWhileReadingTheLastDecides) {
  taltest::TempDir dir;
  Read read = ReadLines(dir, {"*|[A|Group A", "*|<BEFORE> ./a.sh", "X=1", "*|X|u|v|0|1|0|10", "*|]",
                              "*|[B|Group B", "*|<BEFORE> ./b.sh", "Y=1", "*|Y|u|v|0|1|0|10", "*|]",
                              "*|[b|Second B", "Z=1", "*|Z|u|v|0|1|0|10", "*|]",
                              "*|(MODE|Mode", "*|Use A|A", "*|Use B|B", "*|Not A|_A", "*|)"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete) << (read.messages.empty() ? "" : read.messages[0]);
  FormModel& form = read.result.form;
  const auto& radios = form.items[FindItem(form, FormItemKind::RadioGroup)].group.choices;
  EXPECT_EQ((std::vector<bool>{radios[0].checked, radios[1].checked, radios[2].checked}),
            (std::vector<bool>{false, true, false}));
  EXPECT_FALSE(form.items[form.FindGroup("A")].group.visible);
  EXPECT_TRUE(form.items[form.FindGroup("B")].group.visible);
  for (const FormItem& item : form.items)
    if (item.group.name == "b") {
      EXPECT_TRUE(item.group.visible) << "the second group named B";
    }
  EXPECT_EQ(form.beforeCommand, "./b.sh");
  // Groups are found by name also after the form has changed.
  FormItem added;
  added.kind = FormItemKind::Group;
  added.group.name = "Late";
  form.items.push_back(added);
  EXPECT_EQ(form.FindGroup("LATE"), static_cast<int>(form.items.size() - 1));
}

TEST(ReadDeck, BeforeAndAfterCommandsFollowTheirGroup) {
  taltest::TempDir dir;
  Read read = ReadLines(dir, {"*|<BEFORE> ./global.sh", "*|#*|[G|Group", "*|<AFTER> ./report.sh run", "X=1",
                              "*|X|u|v|0|1|0|10", "*|]", "*|{B|Boxes", "*|Use G|G", "*|}"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  FormModel form = std::move(read.result.form);
  EXPECT_EQ(form.beforeCommand, "./global.sh");
  // G starts off, so its check box switched it off and cleared the form's after command.
  EXPECT_EQ(form.afterCommand, "");
  EXPECT_EQ(form.items[form.FindGroup("G")].group.afterCommand, "./report.sh run");
  form.SetCheckBox(FindItem(form, FormItemKind::CheckBoxGroup), 0, true);
  EXPECT_EQ(form.afterCommand, "./report.sh run");
  EXPECT_TRUE(form.DCKChanged());
}

TEST(ReadDeck, EmptyGroupIsHidden) {
  taltest::TempDir dir;
  Read read = ReadLines(dir, {"*|[EMPTY|Nothing", "*|]", "*|[FULL", "*|*Inside", "*|]"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  EXPECT_FALSE(read.result.form.items[0].group.visible);
  EXPECT_TRUE(read.result.form.items[1].group.visible);
}

TEST(ReadDeck, EmptyDeckGivesAnEmptyForm) {
  taltest::TempDir dir;
  Read read = ReadText(dir, "");
  EXPECT_EQ(read.result.outcome, ReadOutcome::Complete);
  EXPECT_TRUE(read.result.form.items.empty());
  EXPECT_TRUE(read.messages.empty());
}

TEST(ReadDeck, EncodedDeckIsDecodedBeforeAnyTest) {
  taltest::TempDir dir;
  std::string text;
  auto lines = ExampleLines();
  lines[5] = "*|#" + lines[5];  // the marker is encoded with its line
  for (const auto& line : lines) text += EncodeLine(line) + "\n";
  Read read = ReadText(dir, text, "HOUSE.TKX");
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  ASSERT_EQ(read.result.form.items.size(), 6u);
  EXPECT_EQ(read.result.form.items[2].variable, "AREA");
  EXPECT_FALSE(read.result.form.items[1].group.startsOn);
}

TEST(ReadDeck, WindowsLineEndsAndLongLines) {
  taltest::TempDir dir;
  auto lines = ExampleLines();
  lines.insert(lines.begin() + 1, "* " + std::string(400, 'x'));
  Read read = ReadText(dir, JoinLines(lines, "\r\n"));
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  EXPECT_EQ(read.result.form.items[2].variable, "AREA");
  EXPECT_EQ(read.result.form.items[2].lineNumber, 8);
}

TEST(ReadDeck, ValueAnnotationAfterAnEmptyLineRewritesItsDeckLine) {
  taltest::TempDir dir;
  Read read = ReadLines(dir, {"AREA=25", "", "*|Floor area|m2|ft2|0|10.7639|1|1000|3"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  EXPECT_EQ(read.result.form.items[0].numeric.value, 25);
  // The field belongs to the line it was read from, not to the empty line before the annotation.
  EXPECT_EQ(read.result.form.items[0].lineNumber, 1);
}

TEST(ReadDeck, HiddenListFieldAndAssignMode) {
  taltest::TempDir dir;
  dir.write("PUMPS.DAT", "2\nP1,Small pump,0.5\nP2,Large pump,2.0\n");
  dir.write("P2", "data");
  Read read = ReadLines(dir, {"PUMP=p2", "*|<Pump|PUMPS.DAT|2|1", "POWER=2.0", "*|<Power|pumps.dat|0|3",
                              "ASSIGN P2 11", "*|<Pump file|PUMPS.DAT|2|1"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete) << read.messages[0];
  const FormModel& form = read.result.form;
  EXPECT_EQ(form.ListDisplayText(0), "Large pump");  // values match without regard to case
  EXPECT_FALSE(form.items[1].list.visible());
  EXPECT_FALSE(form.items[1].labelInLayout);
  EXPECT_FALSE(form.IsShown(1));
  EXPECT_TRUE(form.items[2].list.assignMode);
  EXPECT_EQ(form.items[2].list.unitNumber, 11);
  EXPECT_EQ(form.items[2].list.value, "P2");
  // Both fields share the rows read once.
  EXPECT_EQ(form.items[0].list.data, form.items[1].list.data);
}

TEST(ReadDeck, PicturesAndApplicationLinks) {
  taltest::TempDir dir;
  dir.write("house.bmp", "BM");
  Read read = ReadLines(dir, {"*|<PICTURE> HOUSE.BMP LEFT", "*|<APPLINK2 house.bmp RIGHT plan.dat",
                              "*|<PICTURE>\"Floor plan\"", "*|<BACKGROUND> SILVER"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete) << read.messages[0];
  const FormModel& form = read.result.form;
  ASSERT_EQ(form.items.size(), 3u);
  EXPECT_EQ(form.items[0].kind, FormItemKind::Picture);
  EXPECT_EQ(form.items[0].picture.path, dir.file("house.bmp"));  // found without regard to case
  EXPECT_EQ(form.items[0].picture.position, PicturePosition::Left);
  EXPECT_EQ(form.items[1].kind, FormItemKind::AppLinkPicture);
  EXPECT_EQ(form.items[1].picture.application, 2);
  EXPECT_EQ(form.items[1].picture.argument, "plan.dat");
  EXPECT_TRUE(form.items[2].picture.isCaption);
  EXPECT_EQ(form.background, (Rgb{192, 192, 192}));
}

// ---- Every diagnostic with its result -------------------------------------------------------------

struct Diagnostic {
  std::vector<std::string> lines;
  std::string message;
  ReadOutcome outcome;
  bool errorState;
  std::size_t itemsKept;  // what was built before the error
};

class ReadDiagnostics : public ::testing::TestWithParam<Diagnostic> {};

TEST_P(ReadDiagnostics, ShowsTheMessageAndEndsAsTheTableSays) {
  const Diagnostic& d = GetParam();
  taltest::TempDir dir;
  Read read = ReadLines(dir, d.lines);
  ASSERT_EQ(read.messages.size(), 1u);
  EXPECT_EQ(read.messages[0], d.message);
  EXPECT_EQ(read.result.outcome, d.outcome);
  EXPECT_EQ(ErrorState(), d.errorState ? ErrorStateSet : ErrorStateClear);
  EXPECT_EQ(read.result.form.items.size(), d.itemsKept);
  // Every diagnostic beeps except the missing group close.
  EXPECT_EQ(read.beeps, d.outcome == ReadOutcome::MissingGroupClose ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    FailureTable, ReadDiagnostics,
    ::testing::Values(
        Diagnostic{{"*|*Head", "*|[A", "*|[B"}, "Line 3.  Groups cannot be nested.", ReadOutcome::Stopped, true, 2},
        Diagnostic{{"*|*Head", "*|]"}, "Line 2.  Groups close command encountered with no open group.",
                   ReadOutcome::Stopped, true, 1},
        Diagnostic{{"*|*Head", "*|<FONT4 ARIAL 12"}, "***Input Error***   *|<FONT4 ARIAL 12", ReadOutcome::Stopped,
                   true, 1},
        Diagnostic{{"*|<SIZE2 huge"}, "***Input Error***   *|<SIZE2 huge", ReadOutcome::Stopped, true, 0},
        Diagnostic{{"*|<tab2 six cm"}, "***Input Error***   *|<tab2 six cm", ReadOutcome::Stopped, true, 0},
        Diagnostic{{"*|<FONT1 ARIAL 9.5"}, "***Input Error***   *|<FONT1 ARIAL 9.5", ReadOutcome::Stopped, true, 0},
        // A list label that begins with a directive word is that directive, with a bad slot.
        Diagnostic{{"SIZE=2", "*|<Size of pipe|PIPES.DAT|2|1"}, "***Input Error***   *|<Size of pipe|PIPES.DAT|2|1",
                   ReadOutcome::Stopped, true, 0},
        Diagnostic{{"*|*Head", "*|<COLOR1 PINK"}, "***Unrecognized color***   *|<COLOR1 PINK", ReadOutcome::Stopped,
                   false, 1},
        Diagnostic{{"*|<BACKGROUND> MAUVE"}, "***Unrecognized color***   *|<BACKGROUND> MAUVE", ReadOutcome::Stopped,
                   false, 0},
        Diagnostic{{"*|[A", "*|*Inside"}, "This file is missing a group close command.",
                   ReadOutcome::MissingGroupClose, false, 2},
        Diagnostic{{"*|{B|Boxes", "*|One|A", "AREA=1", "*|}"}, "Error in line 3.  Checkbox command expected.",
                   ReadOutcome::Discarded, true, 1},
        Diagnostic{{"*|(R|Radios", "", "*|[A|x"}, "Error in line 3.  Groups cannot be nested.",
                   ReadOutcome::Discarded, true, 1},
        Diagnostic{{"AREA=abc", "*|Floor area|m2|ft2|0|10.7639|1|1000|3"},
                   "****Input Error****\nAREA=abc\n*|Floor area|m2|ft2|0|10.7639|1|1000|3", ReadOutcome::Discarded,
                   true, 0},
        Diagnostic{{"AREA=25", "*|Floor area|m2|ft2|0|ten|1|1000|3"},
                   "****Input Error****\nAREA=25\n*|Floor area|m2|ft2|0|ten|1|1000|3", ReadOutcome::Discarded, true,
                   0},
        Diagnostic{{"X=5", "*|N|u|v|0|1|10|1"}, "****Input Error****\nX=5\n*|N|u|v|0|1|10|1", ReadOutcome::Discarded, true, 0},
        Diagnostic{{"*|{B|Boxes=5", "*|One|A", "*|}", "*|N|u|v|0|1|0|10"}, "****Input Error****\n*|}\n*|N|u|v|0|1|0|10",
                   ReadOutcome::Discarded, true, 1},  // a value after a group's close has no deck line
        Diagnostic{{"*|<FONT1 ARIAL W=12", "*|W|u|v|0|1|0|100"}, "****Input Error****\n*|<FONT1 ARIAL W=12\n*|W|u|v|0|1|0|100",
                   ReadOutcome::Discarded, true, 0},  // nor after a directive that holds a "="
        Diagnostic{{"*|*Ratio=3", "*|R|u|v|0|1|0|10"}, "****Input Error****\n*|*Ratio=3\n*|R|u|v|0|1|0|10",
                   ReadOutcome::Discarded, true, 1},  // nor after a text line that holds one
        Diagnostic{{"AREA 25", "*|Floor area|m2|ft2|0|1|1|1000"}, "****Input Error****\nAREA 25\n*|Floor area|m2|ft2|0|1|1|1000",
                   ReadOutcome::Discarded, true, 0},
        Diagnostic{{"KIND 1", "*|<Heater type|HEATERS.DAT|2|1"},
                   "****Input Error****\nKIND 1\n*|<Heater type|HEATERS.DAT|2|1", ReadOutcome::Discarded, true, 0},
        Diagnostic{{"ASSIGN WEATHER.DAT ten", "*|?Weather file|4"},
                   "****Input Error****\nASSIGN WEATHER.DAT ten\n*|?Weather file|4", ReadOutcome::Discarded, true, 0},
        Diagnostic{{"*|<PICTURE> \"Floor plan"}, "Missing quote character in Floor plan", ReadOutcome::Discarded, true,
                   0},
        Diagnostic{{"*|*Head", "*|<PICTURE> NOPE.BMP"}, "Figure file NOPE.BMP was not found", ReadOutcome::Discarded,
                   true, 1},
        Diagnostic{{"KIND=1", "*|<Heater type|NOPE.DAT|2|1"}, "NOPE.DAT was not found", ReadOutcome::Discarded, true,
                   0},
        Diagnostic{{"ASSIGN MISSING.DAT 10", "*|?Weather file|4"}, "MISSING.DAT was not found", ReadOutcome::Discarded,
                   true, 0},
        Diagnostic{{"*|{B|Boxes", "*|One|NOWHERE", "*|}"}, "Group NOWHERE is not defined.", ReadOutcome::Complete, true,
                   1}));

TEST(ReadDeck, ListDataFileThatIsNotAFileSaysSo) {
  taltest::TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("PIPE.DAT").c_str(), 0600), 0);
  Read read = ReadLines(dir, {"KIND=1", "*|<Heater type|PIPE.DAT|2|1"});
  EXPECT_EQ(read.result.outcome, ReadOutcome::Discarded);
  EXPECT_EQ(read.messages, (std::vector<std::string>{"Cannot read " + dir.file("PIPE.DAT") + ": it is not a regular file"}));
}

TEST(ReadDeck, CannotOpen) {
  taltest::TempDir dir;
  ScriptedInteraction ui;
  ErrorState() = ErrorStateClear;
  ReadResult r = ReadDeck(dir.file("NONE.TKD"));
  EXPECT_EQ(r.outcome, ReadOutcome::NotOpened);
  EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Cannot open file " + dir.file("NONE.TKD") + "."}));
  EXPECT_TRUE(r.form.items.empty());
  // A folder is not a deck either.
  ScriptedInteraction again;
  EXPECT_EQ(ReadDeck(dir.path()).outcome, ReadOutcome::NotOpened);
}

TEST(ReadDeck, UndefinedGroupEndsThePassAfterItsGroup) {
  taltest::TempDir dir;
  Read read = ReadLines(dir, {"*|[A", "*|*a", "*|]", "*|{ONE", "*|x|MISSING1", "*|y|MISSING2", "*|z|A", "*|}",
                              "*|{TWO", "*|w|MISSING3", "*|}"});
  EXPECT_EQ(read.result.outcome, ReadOutcome::Complete);
  // Both names of the first group are reported; the second group is not looked at.
  EXPECT_EQ(read.messages, (std::vector<std::string>{"Group MISSING1 is not defined.", "Group MISSING2 is not defined."}));
  EXPECT_EQ(ErrorState(), ErrorStateSet);
}

TEST(ReadDeck, MissingGroupCloseSkipsTheCompletionPass) {
  taltest::TempDir dir;
  Read read = ReadLines(dir, {"*|#*|[A", "*|*a", "*|]", "*|{B", "*|Use A|A", "*|Other|NOWHERE", "*|}", "*|[OPEN"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::MissingGroupClose);
  // No group-name check, and the check boxes keep the state they were made with.
  EXPECT_EQ(read.messages, (std::vector<std::string>{"This file is missing a group close command."}));
  ASSERT_EQ(read.result.form.items.size(), 4u);
  EXPECT_TRUE(read.result.form.items[2].group.choices[0].checked);
  EXPECT_TRUE(read.result.form.items[0].group.visible);
}

TEST(ReadDeck, CheckBoxGroupLinesInsideAHiddenGroupAreRead) {
  // What the writer leaves for a check-box group inside a switched-off plain group.
  taltest::TempDir dir;
  Read read = ReadLines(dir, {"*|[OUTER", "*|*x", "*|]", "*|#*|[INNER", "*|#*|*y", "*|#*|{B|Boxes", "*|#*|Use outer|OUTER",
                              "*|#*|}", "*|#*|]"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete) << read.messages[0];
  const auto& choices = read.result.form.items[FindItem(read.result.form, FormItemKind::CheckBoxGroup)].group.choices;
  ASSERT_EQ(choices.size(), 1u);
  EXPECT_EQ(choices[0].caption, "Use outer");
}

TEST(ReadDeck, HugeNumbersAreInputErrors) {
  taltest::TempDir dir;
  Read read = ReadLines(dir, {"X=1e99999", "*|X|u|v|0|1|0|10"});
  EXPECT_EQ(read.result.outcome, ReadOutcome::Discarded);
  read = ReadLines(dir, {"X=1", "*|X|u|v|0|1|0|1e99999"});
  EXPECT_EQ(read.result.outcome, ReadOutcome::Discarded);
  read = ReadLines(dir, {"*|<TAB2 99999999999999999999999 CM"});
  EXPECT_EQ(read.result.outcome, ReadOutcome::Stopped);
  // Large values that do fit are shown and kept.
  read = ReadLines(dir, {"X=1e4000", "*|X|u|v|0|1e900|0|1E4001"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  EXPECT_EQ(read.result.form.items[0].numeric.text, "1.0000E+4000");
}

TEST(ReadDeck, GarbageNeverCrashes) {
  // Lines of the example deck, cut, shuffled, doubled and sprinkled with random bytes: every
  // deck ends in one outcome, and the ones that keep a form have at most one message unless
  // group names are missing.
  taltest::TempDir dir;
  formtest::WriteCompanions(dir);
  std::vector<std::string> pieces = ExampleLines();
  for (const char* extra : {"*|[", "*|{", "*|(", "*|}", "*|)", "*|<", "*|?", "*|*|", "*|<APPLINK", "*|<PICTURE>\"",
                            "*|#", "=", "ASSIGN", "*|<TAB", "*|<FONT1 A 1", "*|a|b|c|1|2|3|4|5|6|7|8"})
    pieces.push_back(extra);
  std::uint32_t seed = 12345;
  auto random = [&seed](std::uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  int outcomes[5] = {};
  for (int round = 0; round < 400; ++round) {
    std::string text;
    std::uint32_t lines = random(30);
    for (std::uint32_t i = 0; i < lines; ++i) {
      std::string line = pieces[random(static_cast<std::uint32_t>(pieces.size()))];
      if (random(3) == 0) line = line.substr(0, random(static_cast<std::uint32_t>(line.size()) + 1));
      if (random(4) == 0)
        for (std::uint32_t k = random(8); k > 0; --k) line.insert(random(static_cast<std::uint32_t>(line.size()) + 1), 1, static_cast<char>(random(256)));
      text += line + "\n";
    }
    std::string name = round % 2 ? "G.TKX" : "G.TKD";
    std::string path = dir.write(name, text);
    ScriptedInteraction ui;
    ReadResult r = ReadDeck(path);
    ++outcomes[static_cast<int>(r.outcome)];
    if (r.outcome == ReadOutcome::Stopped || r.outcome == ReadOutcome::Discarded ||
        r.outcome == ReadOutcome::MissingGroupClose) {
      EXPECT_EQ(ui.messages().size(), 1u) << text;
    }
    for (const FormItem& item : r.form.items) EXPECT_GE(item.lineNumber, 1);
    // Whatever was kept can be written back, line for line.
    if (KeepsForm(r.outcome) && r.outcome != ReadOutcome::NotOpened) {
      auto source = SplitLines(text);
      EXPECT_EQ(DeckLines(r.form, source, false).size(), std::max<std::size_t>(source.size(), 1)) << text;
    }
  }
  // The mix reaches the kept and the failed ends alike.
  EXPECT_GT(outcomes[static_cast<int>(ReadOutcome::Complete)], 0);
  EXPECT_GT(outcomes[static_cast<int>(ReadOutcome::Discarded)] + outcomes[static_cast<int>(ReadOutcome::Stopped)], 0);
}
