#include <gtest/gtest.h>

#include <filesystem>

#include "FormDecks.h"
#include "forms/DeckReader.h"
#include "forms/DeckWriter.h"
#include "support/ScriptedInteraction.h"

using namespace tal;
using formtest::ExampleLines;
using formtest::FileLines;
using formtest::FindItem;
using formtest::JoinLines;

namespace {

FormModel ReadOk(const std::string& path, UnitSystem units = UnitSystem::Primary) {
  ScriptedInteraction ui;
  ReadResult r = ReadDeck(path, {units, nullptr});
  EXPECT_EQ(r.outcome, ReadOutcome::Complete) << path << (ui.messages().empty() ? "" : ": " + ui.messages()[0]);
  return std::move(r.form);
}

// What a user sees of every item: enough to tell whether a round trip changed anything.
std::vector<std::string> Summary(const FormModel& form) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < form.items.size(); ++i) {
    const FormItem& item = form.items[i];
    std::string s = std::string(KindName(item.kind)) + " " + std::to_string(item.lineNumber) + " " + item.label + " " +
                    item.variable + " shown=" + (form.IsShown(i) ? "1" : "0");
    switch (item.kind) {
      case FormItemKind::Text: s += " [" + item.textField.text + "]"; break;
      case FormItemKind::Numeric:
        // The value as a fresh form shows it (a typed text stays as typed until the form is read again).
        s += " " + FormatReal(item.numeric.format, item.numeric.value) + " " + FormatReal({false, 17}, item.numeric.value);
        break;
      case FormItemKind::List: s += " " + form.ListDisplayText(i) + " " + item.list.value; break;
      case FormItemKind::File: s += " " + item.file.fileName; break;
      default:
        for (const auto& c : item.group.choices) s += std::string(" ") + (c.checked ? "[x]" : "[ ]") + c.caption;
        break;
    }
    lines.push_back(s);
  }
  return lines;
}

std::size_t CheckBoxItem(const FormModel& form) { return static_cast<std::size_t>(FindItem(form, FormItemKind::CheckBoxGroup)); }

}  // namespace

TEST(WriteDeck, UncheckingUseHeatingMarksTheGroupAndRewritesItsFields) {
  taltest::TempDir dir;
  std::string path = formtest::WriteExample(dir);
  FormModel form = ReadOk(path);
  form.SetCheckBox(CheckBoxItem(form), 0, false);
  EXPECT_FALSE(form.IsShown(2));
  EXPECT_TRUE(form.DCKChanged());
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_TRUE(ui.messages().empty());
  EXPECT_EQ(FileLines(path), (std::vector<std::string>{
                                 "*TALKIT",
                                 "*|<FONT1 ARIAL 12",
                                 "*|<COLOR2 NAVY",
                                 "*|<TAB2 6 CM",
                                 "*|*Building data",
                                 "*|#*|[HEATING|Heating system",
                                 "*|#AREA= 2.5000000000000E+01",
                                 "*|#*|Floor area|m2|ft2|0|10.7639|1|1000|3",
                                 "*|#KIND= 1",
                                 "*|#*|<Heater type|HEATERS.DAT|2|1",
                                 "*|#*|]",
                                 "*|{OPTIONS|Options",
                                 "*|Use heating|HEATING",
                                 "*|}",
                                 "ASSIGN WEATHER.DAT 10",
                                 "*|?Weather file|4",
                             }));
  EXPECT_FALSE(form.DCKChanged());
  // The previous contents stay in the back-up beside it.
  EXPECT_EQ(taltest::ReadFile(dir.file("HOUSE.BAK")), JoinLines(ExampleLines()));

  // Read again: the group starts off and its check box unchecked; checking it and saving removes the markers.
  FormModel again = ReadOk(path);
  EXPECT_FALSE(again.items[CheckBoxItem(again)].group.choices[0].checked);
  EXPECT_FALSE(again.IsShown(2));
  again.SetCheckBox(CheckBoxItem(again), 0, true);
  ASSERT_TRUE(WriteDeck(again, path));
  auto lines = FileLines(path);
  for (int n = 6; n <= 11; ++n) EXPECT_NE(lines[n - 1].substr(0, 3), "*|#") << n;
  EXPECT_EQ(lines[5], "*|[HEATING|Heating system");
  EXPECT_EQ(lines[6], "AREA= 2.5000000000000E+01");
}

TEST(WriteDeck, RoundTripsGiveTheSameItems) {
  for (const std::string name : {"HOUSE.TKD", "HOUSE.TKX"}) {
    for (bool inPlace : {true, false}) {
      SCOPED_TRACE(name + (inPlace ? " in place" : " to a new name"));
      taltest::TempDir dir;
      formtest::WriteCompanions(dir);
      std::string text;
      for (const auto& line : ExampleLines()) text += (name == "HOUSE.TKX" ? EncodeLine(line) : line) + "\n";
      std::string path = dir.write(name, text);
      FormModel form = ReadOk(path);
      // Change something of every kind.
      form.SetFieldText(2, "31.5");
      form.SelectListRow(3, 2);
      form.SetFileName(5, "OTHER.DAT");
      dir.write("OTHER.DAT", "x");
      std::string target = inPlace ? path : dir.file(name == "HOUSE.TKX" ? "COPY.TKX" : "COPY.TKD");
      ScriptedInteraction ui;
      ASSERT_TRUE(WriteDeck(form, target));
      EXPECT_EQ(form.fileName, target);
      FormModel again = ReadOk(target);
      EXPECT_EQ(Summary(again), Summary(form));
      EXPECT_EQ(again.items[2].numeric.value, 31.5L);
      EXPECT_EQ(again.ListDisplayText(3), "Wood stove");
      EXPECT_EQ(again.items[5].file.fileName, "OTHER.DAT");
      // A second write changes no byte.
      std::string first = taltest::ReadFile(target);
      ASSERT_TRUE(WriteDeck(again, target));
      EXPECT_EQ(taltest::ReadFile(target), first);
      if (inPlace) {
        EXPECT_TRUE(taltest::Exists(dir.file("HOUSE.BAK")));
      } else {
        // The old file is untouched and no back-up is made.
        EXPECT_EQ(taltest::ReadFile(path), text);
        EXPECT_FALSE(taltest::Exists(dir.file("HOUSE.BAK")));
      }
      if (name == "HOUSE.TKX") {
        // Stored encoded: the plain text is nowhere in the file.
        EXPECT_EQ(taltest::ReadFile(target).find("AREA"), std::string::npos);
        EXPECT_EQ(DecodeLine(FileLines(target)[6]), "AREA= 3.1500000000000E+01");
      }
    }
  }
}

TEST(WriteDeck, NumbersAreWrittenInExponentialForm) {
  taltest::TempDir dir;
  // Whatever the display format, the deck gets 13 decimals.
  std::string path = dir.write("N.TKD", "X=1\n*|X|u|v|0|1|0|100.00\nT=20\n*|Temperature|C|F|0|1.8|-50|200\n");
  FormModel form = ReadOk(path);
  EXPECT_EQ(form.items[0].numeric.text, "1.00");
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path)[0], "X= 1.0000000000000E+00");

  // 68 typed in secondary units with factor 1.8 is written as 68 / 1.8.
  ConvertUnits(form, UnitSystem::Primary, UnitSystem::Secondary);
  EXPECT_EQ(form.items[1].numeric.text, "36");
  form.SetFieldText(1, "68");
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path)[2], "T= 3.7777777777778E+01");
}

TEST(WriteDeck, UntouchedValuesKeepTheirDigits) {
  taltest::TempDir dir;
  // Shown with no decimals, and in a unit system that rounds: neither changes the deck.
  std::string path = dir.write("N.TKD", "AREA=25.4\n*|Floor area|m2|ft2|0|10.7639|1|1000|3\nB=-3\n*|B|u|v|0|1|-10|10\n");
  FormModel form = ReadOk(path);
  EXPECT_EQ(form.items[0].numeric.text, "25");
  ConvertUnits(form, UnitSystem::Primary, UnitSystem::Secondary);
  EXPECT_EQ(form.items[0].numeric.text, "273");
  ConvertUnits(form, UnitSystem::Secondary, UnitSystem::Primary);
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path)[0], "AREA= 2.5400000000000E+01");
  EXPECT_EQ(FileLines(path)[2], "B= -3.0000000000000E+00");
  // A text the user typed is what is written.
  form.SetFieldText(0, "30.");
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path)[0], "AREA= 3.0000000000000E+01");
}

TEST(WriteDeck, FieldTextThatIsNotANumberKeepsTheLastValue) {
  taltest::TempDir dir;
  std::string path = dir.write("N.TKD", "X=7\n*|X|u|v|0|1|0|100\n");
  FormModel form = ReadOk(path);
  form.SetFieldText(0, "7x");
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(ui.beeps(), 1);
  EXPECT_EQ(FileLines(path)[0], "X= 7.0000000000000E+00");
  EXPECT_EQ(form.items[0].numeric.text, "7");
}

TEST(WriteDeck, TextFieldsListsAndFiles) {
  taltest::TempDir dir;
  dir.write("PUMPS.DAT", "2\nP1,Small pump,0.5\nP2,Large pump,2.0\n");
  dir.write("FILES.DAT", "2\nin.dat,Input\nout.dat,Output\n");
  dir.write("in.dat", "x");
  std::string path = dir.write("T.TKD",
                               "*|*Project|Villa|7\n"
                               "*|*Note|\n"
                               "PUMP=P1\n*|<Pump|PUMPS.DAT|2|1\n"
                               "POWER=0.5\n*|<Power|pumps.dat|0|3\n"
                               "ASSIGN in.dat 11\n*|<Data file|FILES.DAT|2|1\n"
                               "assign in.dat 12\n*|?Input|\n");
  FormModel form = ReadOk(path);
  form.SetFieldText(0, "Villa Nova");
  form.SetFieldText(1, "check roof");
  form.SelectListRow(2, 1);
  form.SelectListRow(4, 1);
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path), (std::vector<std::string>{
                                 "*|*Project|Villa Nova|7",
                                 "*|*Note|check roof",
                                 "PUMP= P2",
                                 "*|<Pump|PUMPS.DAT|2|1",
                                 // The hidden field follows the visible field of its data file.
                                 "POWER= 2.0",
                                 "*|<Power|pumps.dat|0|3",
                                 "ASSIGN out.dat 11",
                                 "*|<Data file|FILES.DAT|2|1",
                                 "assign in.dat 12",
                                 "*|?Input|",
                             }));
}

TEST(WriteDeck, ListWithoutRowsKeepsTheDeckValue) {
  taltest::TempDir dir;
  dir.write("EMPTY.DAT", "0\n");
  std::string path = dir.write("L.TKD", "KIND=7\n*|<Kind|EMPTY.DAT|2|1\n");
  FormModel form = ReadOk(path);
  EXPECT_EQ(form.items[0].list.selectedRow, -1);
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path)[0], "KIND= 7");
}

TEST(WriteDeck, UnmatchedListValueBecomesTheFirstRow) {
  taltest::TempDir dir;
  formtest::WriteCompanions(dir);
  std::string path = dir.write("L.TKD", "KIND=9\n*|<Kind|HEATERS.DAT|2|1\n");
  FormModel form = ReadOk(path);
  EXPECT_EQ(form.ListDisplayText(0), "Gas boiler");
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path)[0], "KIND= 1");
}

TEST(WriteDeck, LinesOfNoItemAreCopiedWhole) {
  taltest::TempDir dir;
  std::string longComment = "* " + std::string(600, 'c');
  std::string longDeck = "EQUATIONS " + std::string(300, 'e');
  std::string path = dir.write("W.TKD", longComment + "\r\nX=2\r\n*|X|u|v|0|1|0|10\r\n" + longDeck + "\r\n");
  FormModel form = ReadOk(path);
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, dir.file("OUT.TKD")));
  // Line ends follow the source.
  EXPECT_EQ(taltest::ReadFile(dir.file("OUT.TKD")),
            longComment + "\r\nX= 2.0000000000000E+00\r\n*|X|u|v|0|1|0|10\r\n" + longDeck + "\r\n");
}

TEST(WriteDeck, FieldAfterAnEmptyLineRewritesItsOwnLine) {
  taltest::TempDir dir;
  std::string path = dir.write("E.TKD", "AREA=25\n\n*|Floor area|m2|ft2|0|10.7639|1|1000|3\n");
  FormModel form = ReadOk(path);
  form.SetFieldText(0, "40");
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path), (std::vector<std::string>{"AREA= 4.0000000000000E+01", "",
                                                       "*|Floor area|m2|ft2|0|10.7639|1|1000|3"}));
}

TEST(WriteDeck, OnlyGroupsThatAreSwitchedOffGetTheMarker) {
  taltest::TempDir dir;
  // EMPTY holds deck lines but no field, so its frame is hidden although it is on. OFF starts
  // off and no check box names it. Saving another field changes neither.
  std::string text =
      "*|[EMPTY|Deck lines only\nX=1\n*|]\n"
      "*|#*|[OFF|Switched off\n*|#*|<BEFORE> ./prepare.sh\n*|#Z=3\n*|#*|Z|u|v|0|1|0|10\n*|#*|]\n"
      "W=4\n*|W|u|v|0|1|0|10\n";
  std::string path = dir.write("G.TKD", text);
  FormModel form = ReadOk(path);
  EXPECT_FALSE(form.IsShown(static_cast<std::size_t>(form.FindGroup("EMPTY"))));
  EXPECT_FALSE(form.IsShown(static_cast<std::size_t>(form.FindGroup("OFF"))));
  EXPECT_FALSE(form.IsShown(static_cast<std::size_t>(FindItem(form, FormItemKind::Numeric, "Z"))));
  // The command of a group that is off is not the form's.
  EXPECT_EQ(form.beforeCommand, "");
  std::size_t w = static_cast<std::size_t>(FindItem(form, FormItemKind::Numeric, "W"));
  form.SetFieldText(w, "5");
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path), (std::vector<std::string>{"*|[EMPTY|Deck lines only", "X=1", "*|]",
                                                       "*|#*|[OFF|Switched off", "*|#*|<BEFORE> ./prepare.sh",
                                                       "*|#Z= 3.0000000000000E+00", "*|#*|Z|u|v|0|1|0|10", "*|#*|]",
                                                       "W= 5.0000000000000E+00", "*|W|u|v|0|1|0|10"}));

  // A check box switches the group without fields like any other.
  path = dir.write("B.TKD", "*|[EMPTY\nX=1\n*|]\n*|{B|Boxes\n*|Use empty|EMPTY\n*|}\n");
  form = ReadOk(path);
  std::size_t boxes = CheckBoxItem(form);
  EXPECT_TRUE(form.items[boxes].group.choices[0].checked);
  form.SetCheckBox(boxes, 0, false);
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path), (std::vector<std::string>{"*|#*|[EMPTY", "*|#X=1", "*|#*|]", "*|{B|Boxes",
                                                       "*|Use empty|EMPTY", "*|}"}));
  form = ReadOk(path);
  EXPECT_FALSE(form.items[boxes].group.choices[0].checked);
  form.SetCheckBox(boxes, 0, true);
  ASSERT_TRUE(WriteDeck(form, path));
  EXPECT_EQ(FileLines(path)[1], "X=1");
}

TEST(WriteDeck, LinesAfterASwitchedOffGroupStayAsTheyAre) {
  const std::vector<std::string> head{"*|{B|Boxes", "*|Use it|G", "*|}", "*|[G|Group", "X=1", "*|]"};
  // Whatever follows the group's closing line: the end of the deck, comments and text lines, a
  // group that is on, a field outside any group (fields written as the form writes them).
  const std::vector<std::vector<std::string>> tails{
      {"SIMULATION 0 24 1"},
      {"SIMULATION 0 24 1", "* a comment", "*|*A note", "END"},
      {"SIMULATION 0 24 1", "*|[H|Other", "Y= 2.0000000000000E+00", "*|Y|u|v|0|1|0|10", "*|]", "END"},
      {"SIMULATION 0 24 1", "W= 4.0000000000000E+00", "*|W|u|v|0|1|0|10"},
  };
  for (const auto& tail : tails) {
    taltest::TempDir dir;
    std::vector<std::string> lines = head;
    lines.insert(lines.end(), tail.begin(), tail.end());
    std::string path = dir.write("G.TKD", JoinLines(lines));
    FormModel form = ReadOk(path);
    form.SetCheckBox(CheckBoxItem(form), 0, false);
    ScriptedInteraction ui;
    ASSERT_TRUE(WriteDeck(form, path));
    std::vector<std::string> expected{"*|{B|Boxes", "*|Use it|G", "*|}", "*|#*|[G|Group", "*|#X=1", "*|#*|]"};
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(FileLines(path), expected) << tail.back();
  }
}

TEST(WriteDeck, FailuresLeaveTheFilesAndTheForm) {
  taltest::TempDir dir;
  std::string path = formtest::WriteExample(dir);
  FormModel form = ReadOk(path);
  form.SetFieldText(2, "30");
  std::string original = taltest::ReadFile(path);

  // A back-up that cannot be replaced (a folder of that name with something in it).
  dir.write("HOUSE.BAK/keep", "x");
  {
    ScriptedInteraction ui;
    EXPECT_FALSE(WriteDeck(form, path));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0], "Unable to rename " + path + " to " + dir.file("HOUSE.BAK"));
    EXPECT_EQ(ui.beeps(), 1);
  }
  EXPECT_EQ(taltest::ReadFile(path), original);
  EXPECT_TRUE(form.DCKChanged());
  std::filesystem::remove_all(dir.file("HOUSE.BAK"));

  // A target in a folder that does not exist.
  {
    ScriptedInteraction ui;
    EXPECT_FALSE(WriteDeck(form, dir.file("nowhere/COPY.TKD")));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_NE(ui.messages()[0].find(dir.file("nowhere/COPY.TKD")), std::string::npos);
  }
  EXPECT_EQ(form.fileName, path);
  EXPECT_TRUE(form.DCKChanged());

  // The form's own file has gone: nothing to copy the other lines from.
  std::filesystem::rename(path, dir.file("MOVED.TKD"));
  {
    ScriptedInteraction ui;
    EXPECT_FALSE(WriteDeck(form, dir.file("COPY.TKD")));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Error #" + std::to_string(ENOENT) + ".  Could not read " + path}));
  }
  EXPECT_FALSE(taltest::Exists(dir.file("COPY.TKD")));

  // A folder has taken the place of the form's file: it cannot be copied to the back-up.
  std::filesystem::create_directory(path);
  {
    ScriptedInteraction ui;
    EXPECT_FALSE(WriteDeck(form, path));
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Unable to rename " + path + " to " + dir.file("HOUSE.BAK")}));
  }
  EXPECT_FALSE(taltest::Exists(dir.file("HOUSE.BAK")));
  EXPECT_TRUE(form.DCKChanged());
}

TEST(WriteDeck, ADeckNamedLikeItsBackUpIsNotErased) {
  // A back-up opened as a form and saved: its back-up name is its own name (found without
  // regard to case), so there is no older copy to erase or keep; the deck is written in place.
  for (const std::string name : {"HOUSE.BAK", "house.bak"}) {
    SCOPED_TRACE(name);
    taltest::TempDir dir;
    std::string path = dir.write(name, "*TALKIT\nX=1\n*|X|u|v|0|1|0|10\n");
    FormModel form = ReadOk(path);
    form.SetFieldText(0, "2");
    ScriptedInteraction ui;
    ASSERT_TRUE(WriteDeck(form, path));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(FileLines(path), (std::vector<std::string>{"*TALKIT", "X= 2.0000000000000E+00", "*|X|u|v|0|1|0|10"}));
  }
}

TEST(WriteDeck, ALineThatCannotBeStoredEncodedStopsTheWrite) {
  taltest::TempDir dir;
  // Byte 233 at position 38 would be stored as a line feed.
  std::string label = std::string(34, 'a') + "\xE9";
  std::string path = dir.write("E.TKD", "*|*" + label + "\n");
  FormModel form = ReadOk(path);
  ScriptedInteraction ui;
  EXPECT_FALSE(WriteDeck(form, dir.file("E.TKX")));
  EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Line 1 cannot be stored in the encoded file " + dir.file("E.TKX") +
                                                     ": it would hold a line break."}));
  EXPECT_FALSE(taltest::Exists(dir.file("E.TKX")));
}

TEST(ConvertUnits, BothWaysWithTheDisplayFormats) {
  taltest::TempDir dir;
  std::string path = dir.write("C.TKD", "T=20\n*|T|C|F|32|1.8|-50|200.0\nP=1500\n*|P|Pa|psi|0|0.000145|0|1E6\n");
  FormModel form = ReadOk(path);
  ConvertUnits(form, UnitSystem::Primary, UnitSystem::Primary);
  EXPECT_EQ(form.items[0].numeric.text, "20.0");
  ConvertUnits(form, UnitSystem::Primary, UnitSystem::Secondary);
  EXPECT_EQ(form.units, UnitSystem::Secondary);
  EXPECT_EQ(form.items[0].numeric.text, "93.6");  // (20 + 32) * 1.8
  EXPECT_EQ(form.items[1].numeric.text, "2.1750E-01");
  EXPECT_EQ(form.UnitCaption(0), "F");
  form.SetFieldText(0, "104");
  ConvertUnits(form, UnitSystem::Secondary, UnitSystem::Primary);
  EXPECT_EQ(form.items[0].numeric.text, "25.8");  // 104 / 1.8 - 32
  EXPECT_EQ(form.items[1].numeric.text, "1.5000E+03");
  EXPECT_EQ(form.UnitCaption(0), "C");
  EXPECT_FALSE(form.items[0].numeric.edited);
}

TEST(ConvertUnits, ZeroFactorCannotBeUndone) {
  taltest::TempDir dir;
  std::string path = dir.write("Z.TKD", "X=5\n*|X|a|b|0|0|0|10\n");
  FormModel form = ReadOk(path, UnitSystem::Secondary);
  EXPECT_EQ(form.items[0].numeric.text, "0");
  form.SetFieldText(0, "3");
  ScriptedInteraction ui;
  ConvertUnits(form, UnitSystem::Secondary, UnitSystem::Primary);
  // The typed secondary value has no primary value; the field keeps the one it had.
  EXPECT_EQ(form.items[0].numeric.text, "5");
  EXPECT_EQ(ui.beeps(), 1);
}

TEST(WriteDeck, AValueLineKeepsItsNumberWithinTheCharactersReadOfALine) {
  // Only the first 255 characters of a line are read: a long name leaves the number less room,
  // and in a switched-off group the marker takes three of them. "" : the save is refused.
  struct Case { std::size_t nameLength; bool hidden; std::string written; } cases[] = {
      {234, false, "= 1.2500000000000E+01"}, {235, false, "=1.25E+01"}, {232, true, "=1.25E+01"},
      {246, false, "=1.25E+01"}, {247, false, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.nameLength) + (c.hidden ? " hidden" : ""));
    taltest::TempDir dir;
    std::string name(c.nameLength, 'N'), mark = c.hidden ? "*|#" : "";
    std::string body = (c.hidden ? mark + "*|[G|Group\n" : "") + mark + name + "=1\n" + mark + "*|Value|u|v|0|1|0|100\n" +
                       (c.hidden ? mark + "*|]\n" : "");
    std::string path = dir.write("L.TKD", body);
    FormModel form = ReadOk(path);
    std::size_t value = c.hidden ? 1 : 0;
    form.SetFieldText(value, "12.5");
    ScriptedInteraction ui;
    if (!WriteDeck(form, path)) {
      EXPECT_EQ(c.written, "");
      EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Line 1 cannot be stored in " + path +
                                                         ": it would be longer than the 255 characters read of a line."}));
      EXPECT_EQ(taltest::ReadFile(path), body);
      continue;
    }
    EXPECT_EQ(FileLines(path).at(value), mark + name + c.written);
    EXPECT_EQ(ReadOk(path).PrimaryValue(value), 12.5L);
  }
}
