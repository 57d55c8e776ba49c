#include <gtest/gtest.h>

#include "forms/AnnotationLine.h"

using namespace tal;

TEST(EncodedLines, EachCharacterShiftsByItsPosition) {
  // A, B and C at positions 1 to 3 are stored as "=", "?" and "A".
  EXPECT_EQ(EncodeLine("ABC"), "=?A");
  EXPECT_EQ(DecodeLine("=?A"), "ABC");
  // The fifth character is stored unchanged and the sixth one higher.
  std::string stored = EncodeLine("XXXXXX");
  EXPECT_EQ(stored[4], 'X');
  EXPECT_EQ(stored[5], 'Y');
  // The shift wraps around: byte 2 at position 1 becomes 254, and back.
  EXPECT_EQ(static_cast<unsigned char>(EncodeLine(std::string(1, '\x02'))[0]), 254);
}

TEST(EncodedLines, EveryByteAtEveryPositionComesBack) {
  std::string plain;
  for (int i = 0; i < 600; ++i) plain += static_cast<char>(i % 256);
  EXPECT_EQ(DecodeLine(EncodeLine(plain)), plain);
}

TEST(EncodedLines, DecidedByTheExtension) {
  EXPECT_TRUE(IsEncodedDeckName("/x/FORM.TKX"));
  EXPECT_TRUE(IsEncodedDeckName("form.tkx"));
  EXPECT_FALSE(IsEncodedDeckName("FORM.TKD"));
  // A folder name does not make a deck encoded, nor a ".TKX" that is not the extension.
  EXPECT_FALSE(IsEncodedDeckName("/data.tkx/FORM.TKD"));
  EXPECT_FALSE(IsEncodedDeckName("FORM.TKX.TKD"));
}

TEST(HiddenGroupMarker, RemovedOnlyAtTheStart) {
  std::string line = "*|#*|[HEATING";
  EXPECT_TRUE(RemoveHiddenGroupMarker(line));
  EXPECT_EQ(line, "*|[HEATING");
  std::string deck = "AREA=25 *|#";
  EXPECT_FALSE(RemoveHiddenGroupMarker(deck));
  EXPECT_EQ(deck, "AREA=25 *|#");
}

TEST(ClassifyLine, EveryKindInTheOrderOfTheTable) {
  struct Case {
    const char* line;
    LineKind kind;
  } cases[] = {
      {"AREA=25", LineKind::Deck},
      {"*", LineKind::Deck},
      {"*TALKIT", LineKind::Deck},
      {"", LineKind::Deck},
      {"*|{OPTIONS|Options", LineKind::CheckBoxGroup},
      {"*|(MODE|Mode", LineKind::RadioGroup},
      {"*|[HEATING|Heating system", LineKind::Group},
      {"*|]", LineKind::GroupClose},
      {"*|<FONT1 ARIAL 12", LineKind::Font},
      {"*|<font1 arial 12", LineKind::Font},
      {"*|<TAB2 6 CM", LineKind::Tab},
      {"*|<ALIGN1 RIGHT", LineKind::Align},
      {"*|<SIZE1 12", LineKind::Size},
      {"*|<STYLE1 BOLD", LineKind::Style},
      {"*|<COLOR2 NAVY", LineKind::Colour},
      {"*|<APPLINK2 CALC.BMP ARG", LineKind::AppLink},
      {"*|<PICTURE> HOUSE.BMP", LineKind::Picture},
      {"*|*Building data", LineKind::Text},
      {"*|<BACKGROUND> SILVER", LineKind::Background},
      {"*|<before> prepare.sh", LineKind::Before},
      {"*|<AFTER> report.sh", LineKind::After},
      {"*|Floor area|m2|ft2|0|10.7639|1|1000|3", LineKind::Value},
      {"*|<Heater type|HEATERS.DAT|2|1", LineKind::Value},
      {"*|?Weather file|4", LineKind::Value},
      {"*|", LineKind::Value},
      // Contained directives win over what the line begins with.
      {"*|*Options *|{X", LineKind::CheckBoxGroup},
      {"*|Label with *|[ inside", LineKind::Group},
      // A list label that begins with a directive word is that directive.
      {"*|<Size of pipe|PIPES.DAT|2|1", LineKind::Size},
      // "*|]" must begin the line; elsewhere it is an ordinary annotation.
      {"*|Closing *|] later|a|b|0|1|0|1", LineKind::Value},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyLine(c.line), c.kind) << c.line;
}

TEST(Colours, MatchedByContainmentInTableOrder) {
  EXPECT_EQ(ColourByName("LIGHT RED"), (Rgb{255, 0, 0}));
  EXPECT_EQ(ColourByName("REDDISH"), (Rgb{255, 0, 0}));
  EXPECT_EQ(ColourByName("navy"), (Rgb{0, 0, 128}));
  EXPECT_EQ(ColourByName("DEF"), (Rgb{255, 255, 255}));
  // BLACK comes before BLUE in the table.
  EXPECT_EQ(ColourByName("BLUEBLACK"), (Rgb{0, 0, 0}));
  EXPECT_EQ(ColourByName("GREEN"), (Rgb{0, 128, 0}));
  EXPECT_FALSE(ColourByName("PINK").has_value());
  EXPECT_FALSE(ColourByName("").has_value());
}

TEST(TabStops, UnitsAndRounding) {
  EXPECT_EQ(TabStopPixels("2.5CM"), 94);
  EXPECT_EQ(TabStopPixels("1IN"), 96);
  EXPECT_EQ(TabStopPixels("120"), 120);
  EXPECT_EQ(TabStopPixels("6 CM"), 227);
  EXPECT_EQ(TabStopPixels("DEF"), -1);
  EXPECT_EQ(TabStopPixels("-5"), -5);
  // Halves go to the even neighbour.
  EXPECT_EQ(TabStopPixels("2.5"), 2);
  EXPECT_EQ(TabStopPixels("3.5"), 4);
  // Not a number, or too large to be a position.
  EXPECT_FALSE(TabStopPixels("CM").has_value());
  EXPECT_FALSE(TabStopPixels("").has_value());
  EXPECT_FALSE(TabStopPixels("1-2").has_value());
  EXPECT_FALSE(TabStopPixels("99999999999999999999 IN").has_value());
}

TEST(StyleDirectives, FontNameAndSize) {
  FormStyle style;
  EXPECT_EQ(ApplyStyleDirective(LineKind::Font, "*|<FONT1 ARIAL 12", style), DirectiveError::None);
  EXPECT_EQ(style.font(1).name, "ARIAL");
  EXPECT_EQ(style.font(1).size, 12);
  EXPECT_EQ(ApplyStyleDirective(LineKind::Font, "*|<font2 times new roman 14", style), DirectiveError::None);
  EXPECT_EQ(style.font(2).name, "TIMES NEW ROMAN");
  EXPECT_EQ(style.font(2).size, 14);
  // Without a digit the whole argument is the name and the size stays.
  EXPECT_EQ(ApplyStyleDirective(LineKind::Font, "*|<FONT3 Courier", style), DirectiveError::None);
  EXPECT_EQ(style.font(3).name, "COURIER");
  EXPECT_EQ(style.font(3).size, 10);
  // A digit that does not follow a blank changes nothing.
  FormStyle before = style;
  EXPECT_EQ(ApplyStyleDirective(LineKind::Font, "*|<FONT1 ARIAL12", style), DirectiveError::None);
  EXPECT_EQ(style, before);
  // Names are kept to 30 characters.
  ApplyStyleDirective(LineKind::Font, "*|<FONT1 " + std::string(40, 'A') + " 9", style);
  EXPECT_EQ(style.font(1).name, std::string(30, 'A'));
}

TEST(StyleDirectives, InputErrorsLeaveTheStyleAlone) {
  FormStyle style;
  const FormStyle original;
  for (const char* line : {"*|<FONT4 ARIAL 12", "*|<FONT1 ARIAL 12.5", "*|<FONT ARIAL", "*|<TAB4 10", "*|<TAB1 CM",
                           "*|<ALIGN0 LEFT", "*|<SIZE1 big", "*|<SIZE1 0", "*|<SIZE1 99999999999", "*|<SIZE",
                           "*|<STYLE5 BOLD", "*|<COLOR0 RED"}) {
    LineKind kind = ClassifyLine(line);
    EXPECT_EQ(ApplyStyleDirective(kind, line, style), DirectiveError::InputError) << line;
    EXPECT_EQ(style, original) << line;
  }
  EXPECT_EQ(ApplyStyleDirective(LineKind::Colour, "*|<COLOR2 PINK", style), DirectiveError::UnrecognizedColour);
  EXPECT_EQ(style, original);
}

TEST(StyleDirectives, TabsAlignmentStyleAndColour) {
  FormStyle style;
  ASSERT_EQ(ApplyStyleDirective(LineKind::Tab, "*|<TAB2 6 CM", style), DirectiveError::None);
  EXPECT_EQ(style.tabs[2], 227);
  // DEF gives automatic placement; a negative label indent becomes 0.
  for (const char* line : {"*|<TAB1 DEF", "*|<TAB2 DEF", "*|<TAB3 def", "*|<TAB0 DEF"})
    ASSERT_EQ(ApplyStyleDirective(LineKind::Tab, line, style), DirectiveError::None) << line;
  EXPECT_EQ(style.tabs, (std::array<int, 4>{0, -1, -1, -1}));
  ASSERT_EQ(ApplyStyleDirective(LineKind::Tab, "*|<TAB0 -30", style), DirectiveError::None);
  EXPECT_EQ(style.tabs[0], 0);

  ApplyStyleDirective(LineKind::Align, "*|<ALIGN1 RIGHT", style);
  EXPECT_EQ(style.alignment(1), Alignment::Right);
  // Every word found sets the slot; CENTER is tested last.
  ApplyStyleDirective(LineKind::Align, "*|<ALIGN1 CENTER LEFT", style);
  EXPECT_EQ(style.alignment(1), Alignment::Center);
  ApplyStyleDirective(LineKind::Align, "*|<ALIGN2 nothing", style);
  EXPECT_EQ(style.alignment(2), Alignment::Left);

  ApplyStyleDirective(LineKind::Style, "*|<STYLE2 ITALIC UNDERLINE", style);
  EXPECT_TRUE(style.font(2).italic && style.font(2).underline && !style.font(2).bold);
  // The slot is emptied first, and NONE empties it again.
  ApplyStyleDirective(LineKind::Style, "*|<STYLE2 BOLD NONE", style);
  EXPECT_FALSE(style.font(2).bold || style.font(2).italic || style.font(2).underline);
  ApplyStyleDirective(LineKind::Style, "*|<STYLE1 UNDERLINE", style);
  EXPECT_FALSE(style.font(1).bold);
  EXPECT_TRUE(style.font(1).underline);

  ApplyStyleDirective(LineKind::Size, "*|<SIZE3 14", style);
  EXPECT_EQ(style.font(3).size, 14);
  ApplyStyleDirective(LineKind::Colour, "*|<COLOR2 LIGHT NAVY", style);
  EXPECT_EQ(style.font(2).colour, (Rgb{0, 0, 128}));
}

TEST(OtherDirectives, BackgroundAndCommands) {
  EXPECT_EQ(BackgroundColour("*|<BACKGROUND> silver"), (Rgb{192, 192, 192}));
  EXPECT_FALSE(BackgroundColour("*|<BACKGROUND> PINK").has_value());
  EXPECT_EQ(CommandOfLine("*|<BEFORE>  ./prepare.sh in.dat "), "./prepare.sh in.dat");
  EXPECT_EQ(CommandOfLine("*|<after>"), "");
}

TEST(GroupLines, HeadersAndChoices) {
  GroupHeader h = ParseGroupHeader("*|[HEATING|Heating system");
  EXPECT_EQ(h.name, "HEATING");
  EXPECT_EQ(h.caption, "Heating system");
  h = ParseGroupHeader("*|{ OPTIONS ");
  EXPECT_EQ(h.name, "OPTIONS");
  EXPECT_EQ(h.caption, "");

  EXPECT_EQ(ClassifyChoiceLine("*|}", '}'), ChoiceLineKind::Close);
  EXPECT_EQ(ClassifyChoiceLine("*|)", ')'), ChoiceLineKind::Close);
  EXPECT_EQ(ClassifyChoiceLine("*|)", '}'), ChoiceLineKind::Skip);
  EXPECT_EQ(ClassifyChoiceLine("", '}'), ChoiceLineKind::Skip);
  EXPECT_EQ(ClassifyChoiceLine("** a comment", '}'), ChoiceLineKind::Skip);
  EXPECT_EQ(ClassifyChoiceLine("*|no bar here", '}'), ChoiceLineKind::Skip);
  EXPECT_EQ(ClassifyChoiceLine("AREA=25", '}'), ChoiceLineKind::NotCommand);
  EXPECT_EQ(ClassifyChoiceLine("* comment", '}'), ChoiceLineKind::NotCommand);
  EXPECT_EQ(ClassifyChoiceLine("*|[G|x", '}'), ChoiceLineKind::Nested);
  EXPECT_EQ(ClassifyChoiceLine("*|[G", '}'), ChoiceLineKind::Nested);
  EXPECT_EQ(ClassifyChoiceLine("*|(G|x", '}'), ChoiceLineKind::Nested);
  EXPECT_EQ(ClassifyChoiceLine("*|Use heating|HEATING", '}'), ChoiceLineKind::Item);

  ChoiceLine c = ParseChoiceLine("*|Use heating|HEATING|_COOLING| extras |");
  EXPECT_EQ(c.caption, "Use heating");
  ASSERT_EQ(c.groups.size(), 3u);
  EXPECT_EQ(c.groups[0], (GroupRef{"HEATING", false}));
  EXPECT_EQ(c.groups[1], (GroupRef{"COOLING", true}));
  EXPECT_EQ(c.groups[2], (GroupRef{"extras", false}));

  std::string many = "*|Many";
  for (int i = 0; i < 12; ++i) many += "|G" + std::to_string(i);
  EXPECT_EQ(ParseChoiceLine(many).groups.size(), 10u);
}

TEST(TextLines, LabelFieldAndHelp) {
  TextLine t = ParseTextLine("*|*Building data");
  EXPECT_EQ(t.label, "Building data");
  EXPECT_FALSE(t.hasField);
  t = ParseTextLine("*|*Project|Villa Nova|12");
  EXPECT_EQ(t.label, "Project");
  EXPECT_TRUE(t.hasField);
  EXPECT_EQ(t.fieldText, "Villa Nova");
  EXPECT_TRUE(t.hasHelp);
  EXPECT_EQ(t.helpTopic, 12);
  t = ParseTextLine("*|*Note|");
  EXPECT_TRUE(t.hasField);
  EXPECT_EQ(t.fieldText, "");
  EXPECT_FALSE(t.hasHelp);
  t = ParseTextLine("*|*Note|x|seven");
  EXPECT_EQ(t.helpTopic, 0);
  EXPECT_EQ(t.helpText, "seven");
}

TEST(PictureLines, CaptionsFilesPositionsAndArguments) {
  PictureLine p = ParsePictureLine("*|<PICTURE> HOUSE.bmp RIGHT", false);
  EXPECT_FALSE(p.isCaption);
  EXPECT_EQ(p.fileName, "HOUSE.bmp");
  EXPECT_EQ(p.position, PicturePosition::Right);
  p = ParsePictureLine("*|<PICTURE>\"Floor plan\" left", false);
  EXPECT_TRUE(p.isCaption);
  EXPECT_EQ(p.caption, "Floor plan");
  EXPECT_EQ(p.position, PicturePosition::Left);
  p = ParsePictureLine("*|<PICTURE> HOUSE.BMP LEFT MORE", false);
  EXPECT_EQ(p.position, PicturePosition::Center);
  p = ParsePictureLine("*|<PICTURE> \"Floor plan", false);
  EXPECT_TRUE(p.missingQuote);
  EXPECT_EQ(p.quoteText, "Floor plan");

  p = ParsePictureLine("*|<APPLINK2 CALC.BMP RIGHT data.txt", true);
  EXPECT_EQ(p.application, 2);
  EXPECT_EQ(p.fileName, "CALC.BMP");
  EXPECT_EQ(p.position, PicturePosition::Right);
  EXPECT_EQ(p.argument, "data.txt");
  // A second word that is not a position joins the argument; a position after it still counts.
  p = ParsePictureLine("*|<APPLINK3 CALC.BMP -f data.txt LEFT", true);
  EXPECT_EQ(p.argument, "-f data.txt");
  EXPECT_EQ(p.position, PicturePosition::Left);
  p = ParsePictureLine("*|<APPLINK4 CALC.BMP data.txt RIGHT", true);
  EXPECT_EQ(p.argument, "data.txt");
  EXPECT_EQ(p.position, PicturePosition::Right);
  // Any other slot character counts as application 1.
  p = ParsePictureLine("*|<APPLINK9 \"Start\" arg", true);
  EXPECT_EQ(p.application, 1);
  EXPECT_TRUE(p.isCaption);
  EXPECT_EQ(p.caption, "Start");
  EXPECT_EQ(p.argument, "arg");
}

TEST(ValueAnnotations, NumericFields) {
  ValueAnnotation a = ParseValueAnnotation("*|Floor area|m2|ft2|0|10.7639|1|1000|3");
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.kind, ValueKind::Numeric);
  EXPECT_EQ(a.label, "Floor area");
  EXPECT_EQ(a.primaryUnit, "m2");
  EXPECT_EQ(a.secondaryUnit, "ft2");
  EXPECT_EQ(a.offset, 0);
  EXPECT_EQ(a.factor, 10.7639L);
  EXPECT_EQ(a.minimum, 1);
  EXPECT_EQ(a.maximum, 1000);
  EXPECT_EQ(a.helpTopic, 3);
  EXPECT_EQ(a.format, (RealFormat{true, 0}));
  EXPECT_EQ(a.application, 0);

  a = ParseValueAnnotation("*|T|C|F|32|1.8|-50|100.00||x3|input.dat");
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.format, (RealFormat{true, 2}));
  EXPECT_EQ(a.helpTopic, 0);
  EXPECT_EQ(a.application, 3);
  EXPECT_EQ(a.applicationArgument, "input.dat");
  EXPECT_EQ(ParseValueAnnotation("*|P|Pa|psi|0|1|0|1E3").format, (RealFormat{false, 4}));
  EXPECT_EQ(ParseValueAnnotation("*|P|Pa|psi|0|1|0|2.5e+03").format, (RealFormat{false, 4}));

  for (const char* bad : {"*|Floor area|m2|ft2|0|x|1|1000", "*|Floor area|m2|ft2|0|1|1", "*|", "*|A|b|c|0|1|0|9|three",
                          "*|A|b|c|0|1|0|1e99999", "*|A|b|c|0|1|5|4.99"})
    EXPECT_FALSE(ParseValueAnnotation(bad).ok) << bad;
  // A range of one value is a field that takes exactly that value.
  for (const char* single : {"*|A|b|c|0|1|5|5", "*|A|b|c|0|1|-0|0", "*|A|b|c|0|1|2.5|2.50"}) {
    a = ParseValueAnnotation(single);
    EXPECT_TRUE(a.ok) << single;
    EXPECT_EQ(a.minimum, a.maximum) << single;
  }
}

TEST(ValueAnnotations, ListAndFileFields) {
  ValueAnnotation a = ParseValueAnnotation("*|<Heater type|HEATERS.DAT|2|1");
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.kind, ValueKind::List);
  EXPECT_EQ(a.label, "Heater type");
  EXPECT_EQ(a.dataFile, "HEATERS.DAT");
  EXPECT_EQ(a.displayColumn, 2);
  EXPECT_EQ(a.valueColumn, 1);
  a = ParseValueAnnotation("*|<Code|CODES.DAT|0|3|7|2|more");
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.displayColumn, 0);
  EXPECT_EQ(a.helpTopic, 7);
  EXPECT_EQ(a.application, 2);
  EXPECT_EQ(a.applicationArgument, "more");
  EXPECT_FALSE(ParseValueAnnotation("*|<Heater type|HEATERS.DAT|two|1").ok);
  EXPECT_FALSE(ParseValueAnnotation("*|<Heater type|HEATERS.DAT").ok);

  a = ParseValueAnnotation("*|?Weather file|4");
  ASSERT_TRUE(a.ok);
  EXPECT_EQ(a.kind, ValueKind::File);
  EXPECT_EQ(a.label, "Weather file");
  EXPECT_EQ(a.helpTopic, 4);
  EXPECT_TRUE(ParseValueAnnotation("*|?Weather file").ok);
  EXPECT_FALSE(ParseValueAnnotation("*|?Weather file|four").ok);
}

TEST(DeckLines, AssignmentsAndAssignLines) {
  auto nv = ParseNameValueLine("AREA = 25 ");
  ASSERT_TRUE(nv);
  EXPECT_EQ(nv->name, "AREA ");
  EXPECT_EQ(nv->value, "25");
  EXPECT_FALSE(ParseNameValueLine("ASSIGN X 10"));

  auto assign = ParseAssignLine("assign  WEATHER.DAT\t10");
  ASSERT_TRUE(assign);
  EXPECT_EQ(assign->word, "assign");
  EXPECT_EQ(assign->fileName, "WEATHER.DAT");
  EXPECT_EQ(assign->unit, 10);
  assign = ParseAssignLine("ASSIGN WEATHER.DAT ten");
  ASSERT_TRUE(assign);
  EXPECT_FALSE(assign->unit.has_value());
  EXPECT_FALSE(ParseAssignLine(" ASSIGN X 1"));
  EXPECT_FALSE(ParseAssignLine("ASSIG"));

  EXPECT_EQ(ParseWholeNumber(" 12 "), 12);
  EXPECT_EQ(ParseWholeNumber("-3"), -3);
  EXPECT_EQ(ParseWholeNumber("+3"), 3);
  for (const char* bad : {"", "1.0", "12a", "99999999999", "--1", " - 1", "+-5", "-", "+"})
    EXPECT_FALSE(ParseWholeNumber(bad).has_value()) << bad;
}
