// Layout of the form window with fixed font metrics, so that every position can be worked out
// by hand from the placement rules: W = 6 (width of "8"), line height 18, left margin 12,
// average character width 6 for 10-point fonts and 7 for 12-point ones.
#include <gtest/gtest.h>

#include "FormDecks.h"
#include "forms/FormLayout.h"
#include "support/ScriptedInteraction.h"

using namespace tal;
using formtest::FindItem;

namespace {

class FixedMetrics : public FormMetrics {
 public:
  int GetHeight(const FontSlot& font) const override { return font.size + 6; }
  int TextWidth(const FontSlot& font, std::string_view text) const override {
    return static_cast<int>(text.size()) * (font.size * 6 / 10);
  }
  int PixelHeight(const FontSlot& font) const override { return (font.size * 96 + 36) / 72; }
  LayoutSize PictureSize(const PictureData& picture) const override {
    return picture.isCaption ? CaptionPictureSize(*this, picture.caption) : pictureSize;
  }
  LayoutSize pictureSize{120, 60};
};

struct ReadForm {
  ReadResult result;
  FormLayout layout;
};

ReadForm LayOut(const std::string& path) {
  ScriptedInteraction answers;
  ReadResult result = ReadDeck(path);
  FixedMetrics metrics;
  FormLayout layout = FormLayout::Build(result.form, metrics, result.outcome == ReadOutcome::Complete);
  return {std::move(result), std::move(layout)};
}

ReadForm LayOutLines(const taltest::TempDir& dir, const std::vector<std::string>& lines) {
  formtest::WriteCompanions(dir);
  return LayOut(dir.write("FORM.TKD", formtest::JoinLines(lines)));
}

std::size_t Index(const FormModel& form, FormItemKind kind, const std::string& label = "") {
  int index = FindItem(form, kind, label);
  EXPECT_GE(index, 0) << "no item " << label;
  return static_cast<std::size_t>(index);
}

}  // namespace

TEST(FormLayoutTest, MetricsDerivedFromTheCanvasFont) {
  FixedMetrics metrics;
  EXPECT_EQ(metrics.CharWidth(), 6);
  EXPECT_EQ(metrics.LineHeight(), 18);
  EXPECT_EQ(metrics.aveCharWidth(FormMetrics::CanvasFont()), 6);
  EXPECT_EQ(metrics.GetWidth(FormMetrics::CanvasFont(), "abc"), 30);  // the text and two blanks
}

TEST(FormLayoutTest, WorkedExamplePlacesEveryItemByTheRules) {
  taltest::TempDir dir;
  ReadForm read = LayOut(formtest::WriteExample(dir));
  const FormModel& form = read.result.form;
  const FormLayout& layout = read.layout;
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);

  // Heading: font slot 1 (Arial 12 bold) at the left margin, 80 columns wide, first top 10.
  const ItemGeometry& heading = layout.item(Index(form, FormItemKind::Text, "Building data"));
  EXPECT_EQ(heading.label, (LayoutRect{12, 10, 480 - 12, 18}));

  // The group frame: 1.5 line heights below the heading, as wide as the widest group.
  std::size_t heating = Index(form, FormItemKind::Group);
  EXPECT_EQ(layout.item(heating).field, (LayoutRect{12, 37, 480, 24 + 22 + 24 + 5}));

  // Floor area lies in the frame at the frame's empty height, its field at tab stop 2 (227).
  const ItemGeometry& area = layout.item(Index(form, FormItemKind::Numeric, "Floor area"));
  EXPECT_TRUE(area.inFrame);
  EXPECT_EQ(area.label, (LayoutRect{12, 24, 60, 18}));
  EXPECT_EQ(area.field, (LayoutRect{227, 24, 60, 18}));
  EXPECT_EQ(area.unit, (LayoutRect{227 + 60 + 6, 24, 12, 18}));

  // The list below it: the frame grew by 5/4 of a line; the list is 4 pixels above its label
  // and as wide as its widest row text with two blanks, plus 20.
  const ItemGeometry& heater = layout.item(Index(form, FormItemKind::List, "Heater type"));
  EXPECT_EQ(heater.label, (LayoutRect{12, 24 + 22, 66, 20}));
  EXPECT_EQ(heater.field, (LayoutRect{227, 42, 12 * 6 + 20, 16}));

  // The check-box group follows the last item of the frame: its label top in the frame, the
  // frame's top and half a line; its box lies 20 + (16 - 18) below the frame's top.
  std::size_t options = Index(form, FormItemKind::CheckBoxGroup);
  EXPECT_EQ(layout.item(options).field, (LayoutRect{12, 46 + 27 + 37 + 9, 480, 20 - 2 + 24}));
  ASSERT_EQ(layout.item(options).choices.size(), 1u);
  EXPECT_EQ(layout.item(options).choices[0], (LayoutRect{10, 18, (11 + 5) * 6, 18}));

  // The file field: below the group's hidden label. (label length + 2) columns would put it at
  // the end of the label's text, so it starts one character after it; it is as wide as the
  // name with the edit field's frame, more than (name length + 1) average characters.
  const ItemGeometry& weather = layout.item(Index(form, FormItemKind::File, "Weather file"));
  EXPECT_EQ(weather.label, (LayoutRect{12, 119 + 42 - 18 + 20, 13 * 6, 18}));
  EXPECT_EQ(weather.field, (LayoutRect{12 + 12 * 6 + 6, 163, 11 * 6 + FormLayout::EditFrame, 18}));
  EXPECT_EQ(layout.widestGroup(), 480);
}

TEST(FormLayoutTest, SwitchingAGroupOffMovesEverythingBelowUpByItsHeight) {
  taltest::TempDir dir;
  ReadForm read = LayOut(formtest::WriteExample(dir));
  FormModel& form = read.result.form;
  const FormLayout& layout = read.layout;
  std::size_t heating = Index(form, FormItemKind::Group);
  std::size_t options = Index(form, FormItemKind::CheckBoxGroup);
  std::size_t weather = Index(form, FormItemKind::File);
  std::size_t area = Index(form, FormItemKind::Numeric);
  LayoutSize before = layout.Extent(form);

  form.SwitchGroup("heating", false);
  int height = layout.item(heating).field.height;
  EXPECT_EQ(layout.ShiftOf(form, heating), -height);
  EXPECT_EQ(layout.AreaRect(form, options, layout.item(options).field).top, 119 - height);
  EXPECT_EQ(layout.AreaRect(form, weather, layout.item(weather).field).top, 163 - height);
  // The heading above does not move; the items in the frame go with their frame.
  EXPECT_EQ(layout.ShiftOf(form, 0), 0);
  EXPECT_EQ(layout.AreaRect(form, area, layout.item(area).field).top, 37 - height + 24);
  EXPECT_EQ(layout.Extent(form).height, before.height - height);

  form.SwitchGroup("HEATING", true);
  EXPECT_EQ(layout.AreaRect(form, weather, layout.item(weather).field).top, 163);
}

TEST(FormLayoutTest, GroupWithoutItemsIsHiddenAndTakesNoHeight) {
  taltest::TempDir dir;
  ReadForm read = LayOutLines(dir, {"*|[EMPTY|Nothing here", "*|]", "X=1", "*|Value|m|ft|0|1|0|10"});
  const FormModel& form = read.result.form;
  std::size_t empty = Index(form, FormItemKind::Group);
  std::size_t value = Index(form, FormItemKind::Numeric);
  EXPECT_FALSE(form.items[empty].group.visible);
  EXPECT_EQ(read.layout.item(empty).field.height, 0);
  // The field still goes below where the frame's hidden label was put.
  EXPECT_EQ(read.layout.AreaRect(form, value, read.layout.item(value).label).top, 10 + 24 - 18 + 20);
}

TEST(FormLayoutTest, TextLineFieldsFollowTheLabelAlignment) {
  taltest::TempDir dir;
  ReadForm read = LayOutLines(dir, {"*|*Left label|abc",        "*|<ALIGN1 RIGHT", "*|*Right label|abcd",
                                    "*|<ALIGN1 CENTER",          "*|*Centred|ab",  "*|<TAB1 100",
                                    "*|*Placed at tab 1|xyz|12"});
  const FormModel& form = read.result.form;
  const FormLayout& layout = read.layout;
  const int W = 6, columns = 80 * W, margin = 2 * W, ave = 6;

  const ItemGeometry& left = layout.item(Index(form, FormItemKind::Text, "Left label"));
  EXPECT_EQ(left.field.left, (10 + 1) * ave + margin);
  EXPECT_EQ(left.field.width, 5 * 6);

  // A right-aligned label shrinks to its text; the field ends one left margin past column 80.
  const ItemGeometry& right = layout.item(Index(form, FormItemKind::Text, "Right label"));
  EXPECT_EQ(right.labelAlignment, Alignment::Left);
  EXPECT_EQ(right.label.width, 13 * 6);
  EXPECT_EQ(right.field.right(), columns + margin);
  EXPECT_EQ(right.label.right() + margin, right.field.left);

  const ItemGeometry& centred = layout.item(Index(form, FormItemKind::Text, "Centred"));
  int free = columns - 9 * 6 - 4 * 6;
  EXPECT_EQ(centred.label.left, free / 2);
  EXPECT_EQ(centred.field.left, margin + free / 2 + 9 * 6);

  // Tab stop 1 places the field whatever the alignment; the label keeps its own.
  const ItemGeometry& tabbed = layout.item(Index(form, FormItemKind::Text, "Placed at tab 1"));
  EXPECT_EQ(tabbed.field.left, 100);
  EXPECT_EQ(tabbed.labelAlignment, Alignment::Center);
  EXPECT_EQ(tabbed.label.width, columns - margin);
}

TEST(FormLayoutTest, ApplicationButtonsFormAColumnAtTheGroupsRightEdge) {
  taltest::TempDir dir;
  ReadForm read = LayOutLines(dir, {"*|[G|Group", "A=1", "*|Alpha|m|ft|0|1|0|10|0|2|arg", "*|]", "B=1",
                                    "*|Beta|m|ft|0|1|0|10|0|1|other"});
  const FormModel& form = read.result.form;
  const FormLayout& layout = read.layout;
  int frames = 80 * 6;
  EXPECT_EQ(layout.widestGroup(), frames + 30 + 10);
  for (const char* label : {"Alpha", "Beta"}) {
    const ItemGeometry& g = layout.item(Index(form, FormItemKind::Numeric, label));
    ASSERT_TRUE(g.hasButton) << label;
    EXPECT_EQ(g.button.left, frames + 40 - 30 - 5) << label;
    EXPECT_EQ(g.button.top, g.unit.top - 1) << label;
  }
  // Every frame takes the widest width, the button column included.
  EXPECT_EQ(layout.item(Index(form, FormItemKind::Group)).field.width, frames + 40);
}

TEST(FormLayoutTest, WithoutGroupsApplicationButtonsStayBesideTheirFields) {
  taltest::TempDir dir;
  ReadForm read = LayOutLines(dir, {"A=1", "*|Alpha|m|ft|0|1|0|10|0|2|arg", "KIND=1",
                                    "*|<Heater|HEATERS.DAT|2|1|0|3|x"});
  const FormModel& form = read.result.form;
  const ItemGeometry& alpha = read.layout.item(Index(form, FormItemKind::Numeric));
  const ItemGeometry& heater = read.layout.item(Index(form, FormItemKind::List));
  EXPECT_EQ(read.layout.widestGroup(), -1);
  // Not moved to the left edge, where they would cover the labels.
  EXPECT_EQ(alpha.button.left, alpha.unit.right() + 10);
  EXPECT_EQ(heater.button.left, heater.field.right() + 10);
  EXPECT_EQ(heater.button.top, heater.field.top);
  EXPECT_GT(alpha.button.left, alpha.label.right());
}

TEST(FormLayoutTest, CheckBoxFramesCountForTheCommonWidth) {
  taltest::TempDir dir;
  // Without any plain group the frames still keep a width (not the -1 of "no group").
  ReadForm alone = LayOutLines(dir, {"*|{CHOICE|Choose", "*|Short|X", "*|}"});
  EXPECT_EQ(alone.layout.item(0).field.width, 480);
  EXPECT_EQ(alone.layout.widestGroup(), 480);

  // A check box wider than the form widens its frame, and every other frame with it.
  std::string caption(80, 'c');
  ReadForm wide = LayOutLines(dir, {"*|[X|Switched", "V=1", "*|Value|m|ft|0|1|0|10", "*|]", "*|{CHOICE|Choose",
                                    "*|" + caption + "|X", "*|}"});
  int boxWidth = (80 + 5) * 6;
  EXPECT_EQ(wide.layout.item(Index(wide.result.form, FormItemKind::CheckBoxGroup)).field.width, boxWidth + 20);
  EXPECT_EQ(wide.layout.item(Index(wide.result.form, FormItemKind::Group)).field.width, boxWidth + 20);
}

TEST(FormLayoutTest, RadioGroupChoicesAreTwentyPixelsApart) {
  taltest::TempDir dir;
  ReadForm read = LayOutLines(dir, {"*|(DRIVE|Drive", "*|Motor|M", "*|Engine|E", "*|Hand|_M", "*|)",
                                    "*|[M|Motor", "P=1", "*|Power|kW|hp|0|1|0|10", "*|]",
                                    "*|[E|Engine", "F=1", "*|Fuel|l|gal|0|1|0|10", "*|]"});
  const ItemGeometry& radio = read.layout.item(Index(read.result.form, FormItemKind::RadioGroup));
  int D = 13 - 18;
  ASSERT_EQ(radio.choices.size(), 3u);
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(radio.choices[static_cast<std::size_t>(n - 1)].top, n * 20 + D);
  EXPECT_EQ(radio.field.height, 3 * 20 + D + 24);
}

TEST(FormLayoutTest, HiddenListFieldTakesNoRoom) {
  taltest::TempDir dir;
  ReadForm withHidden = LayOutLines(dir, {"A=1", "*|Alpha|m|ft|0|1|0|10", "K=1", "*|<Hidden|HEATERS.DAT|0|1",
                                          "B=1", "*|Beta|m|ft|0|1|0|10"});
  ReadForm without = LayOutLines(dir, {"A=1", "*|Alpha|m|ft|0|1|0|10", "B=1", "*|Beta|m|ft|0|1|0|10"});
  auto betaTop = [](const ReadForm& read) {
    return read.layout.item(Index(read.result.form, FormItemKind::Numeric, "Beta")).label.top;
  };
  EXPECT_EQ(betaTop(withHidden), betaTop(without));
  const ItemGeometry& hidden = withHidden.layout.item(Index(withHidden.result.form, FormItemKind::List));
  EXPECT_FALSE(hidden.labelInLayout);
  EXPECT_FALSE(hidden.hasField);
}

TEST(FormLayoutTest, PicturesArePlacedByPositionAndTheNextItemGoesBelow) {
  taltest::TempDir dir;
  dir.write("P.BMP", "not read by these metrics");
  ReadForm read = LayOutLines(dir, {"*|<PICTURE> P.BMP LEFT", "*|<PICTURE> P.BMP", "*|<PICTURE> P.BMP RIGHT",
                                    "*|<PICTURE> \"A caption\"", "X=1", "*|Below|m|ft|0|1|0|10"});
  const FormModel& form = read.result.form;
  const FormLayout& layout = read.layout;
  ASSERT_EQ(form.items.size(), 5u);
  EXPECT_EQ(layout.item(0).field, (LayoutRect{5, 10, 120, 60}));
  EXPECT_EQ(layout.item(1).field.left, (480 - 120) / 2 + 12);
  EXPECT_EQ(layout.item(2).field.left, 480 - 120 - 5);
  // The next picture starts one and a half lines below the previous one's hidden label, which
  // ends one line above the picture's bottom.
  EXPECT_EQ(layout.item(1).field.top, 10 + 60 - 18 + 27);
  EXPECT_EQ(layout.item(3).field.width, (9 + 2) * 6);
  EXPECT_EQ(layout.item(3).field.height, 16 + 5);
  const ItemGeometry& below = layout.item(4);
  EXPECT_GE(below.label.top, layout.item(3).field.bottom());

  // A picture wider than the form stays at the left edge, whatever its position.
  FixedMetrics wide;
  wide.pictureSize = {900, 40};
  FormLayout wider = FormLayout::Build(form, wide, true);
  EXPECT_EQ(wider.item(1).field.left, 0);
  EXPECT_EQ(wider.item(2).field.left, 0);
}

TEST(FormLayoutTest, FramesWidenForItemsThatReachPastThem) {
  taltest::TempDir dir;
  ReadForm read = LayOutLines(dir, {"*|<TAB2 460", "*|[G|Group", "A=1", "*|Alpha|metres|feet|0|1|0|10", "*|]"});
  const FormModel& form = read.result.form;
  const ItemGeometry& alpha = read.layout.item(Index(form, FormItemKind::Numeric));
  int expected = alpha.unit.right() + 20;
  EXPECT_GT(expected, 480);
  EXPECT_EQ(read.layout.item(Index(form, FormItemKind::Group)).field.width, expected);
  EXPECT_EQ(read.layout.widestGroup(), expected);
}

TEST(FormLayoutTest, MissingGroupCloseSkipsTheCompletionPass) {
  taltest::TempDir dir;
  ReadForm read = LayOutLines(dir, {"*|[G|Group", "A=1", "*|Alpha|m|ft|0|1|0|10|0|2|arg"});
  ASSERT_EQ(read.result.outcome, ReadOutcome::MissingGroupClose);
  const FormModel& form = read.result.form;
  const ItemGeometry& alpha = read.layout.item(Index(form, FormItemKind::Numeric));
  // No button column, and the open frame neither gained its closing 5 pixels nor counted.
  EXPECT_EQ(alpha.button.left, alpha.unit.right() + 10);
  EXPECT_EQ(read.layout.item(Index(form, FormItemKind::Group)).field.height, 24 + 22);
  EXPECT_EQ(read.layout.widestGroup(), -1);
}

TEST(FormLayoutTest, WindowPlacementFollowsTheScreenAndTheWidestGroup) {
  EXPECT_TRUE(PlaceFormWindow(640, 480, 500, 7).maximised);
  FormWindowPlacement normal = PlaceFormWindow(641, 480, 500, 7);
  EXPECT_FALSE(normal.maximised);
  EXPECT_EQ(normal.left, 0);
  EXPECT_EQ(normal.top, 0);
  EXPECT_EQ(normal.height, 480 - 70);
  EXPECT_EQ(normal.clientWidth, 500 + 14 + 30);
  EXPECT_EQ(PlaceFormWindow(1024, 768, 100, 7).clientWidth, -1);
  EXPECT_EQ(PlaceFormWindow(1024, 768, 101, 7).clientWidth, 101 + 14 + 30);
  EXPECT_EQ(PlaceFormWindow(1024, 768, -1, 7).clientWidth, -1);
}

TEST(FormLayoutTest, FieldsPlacedAfterTheirLabelsNeverCoverThem) {
  taltest::TempDir dir;
  // These metrics make every character 6 pixels wide, so counting (label length + 1) average
  // characters from the form's edge ends where a label that starts at the left margin ends.
  ReadForm read = LayOutLines(dir, {"A=1", "*|Rated power|kW|hp|0|1|0|10", "K=1", "*|<Heater|HEATERS.DAT|2|1",
                                    "ASSIGN WEATHER.DAT 10", "*|?Weather file|4", "*|<TAB0 40", "*|*Note|x",
                                    "B=1", "*|Indented|m|ft|0|1|0|10", "*|<TAB2 30", "C=1", "*|Tabbed|m|ft|0|1|0|10"});
  const FormModel& form = read.result.form;
  const FormLayout& layout = read.layout;
  const int gap = 6;  // one average character
  for (FormItemKind kind : {FormItemKind::Numeric, FormItemKind::List, FormItemKind::File, FormItemKind::Text}) {
    for (std::size_t i = 0; i < form.items.size(); ++i) {
      if (form.items[i].kind != kind || form.items[i].label == "Tabbed") continue;
      const ItemGeometry& g = layout.item(i);
      int labelEnd = g.label.left + static_cast<int>(form.items[i].label.size()) * 6;
      EXPECT_GE(g.field.left, labelEnd + gap) << form.items[i].label;
    }
  }
  // The text line's count already leaves one character after a label of average letters.
  EXPECT_EQ(layout.item(Index(form, FormItemKind::Text, "Note")).field.left, (4 + 1) * 6 + 12 + 40);
  // An indented label (tab stop 0) pushes its field along.
  const ItemGeometry& indented = layout.item(Index(form, FormItemKind::Numeric, "Indented"));
  EXPECT_EQ(indented.label.left, 12 + 40);
  EXPECT_EQ(indented.field.left, 12 + 40 + 8 * 6 + gap);
  // A tab stop the deck sets is kept as it is, even over the label.
  EXPECT_EQ(layout.item(Index(form, FormItemKind::Numeric, "Tabbed")).field.left, 30);
}

TEST(FormLayoutTest, NumericFieldsMakeRoomForTheNumbersTheyShow) {
  taltest::TempDir dir;
  ReadForm read = LayOutLines(dir, {"A=1", "*|Small|m|ft|0|1|0|10", "B=12", "*|Flow|m3/h|gpm|0|4.40287|0|1E3",
                                    "C=1", "*|Long|m|ft|0|1|0|100000000000000000000000000000"});
  const FormModel& form = read.result.form;
  const FormLayout& layout = read.layout;
  // 10 average characters hold small numbers.
  EXPECT_EQ(layout.item(Index(form, FormItemKind::Numeric, "Small")).field.width, 10 * 6);
  // "1.2000E+01" fills 10 characters: the edit field's frame comes on top.
  EXPECT_EQ(form.items[Index(form, FormItemKind::Numeric, "Flow")].numeric.text, "1.2000E+01");
  EXPECT_EQ(layout.item(Index(form, FormItemKind::Numeric, "Flow")).field.width, 10 * 6 + FormLayout::EditFrame);
  // No wider than the 25 characters the field takes.
  EXPECT_EQ(layout.item(Index(form, FormItemKind::Numeric, "Long")).field.width, 25 * 6 + FormLayout::EditFrame);
}

TEST(FormLayoutTest, PictureAfterAGroupGoesBelowTheGroupsLastItem) {
  taltest::TempDir dir;
  dir.write("P.BMP", "not read by these metrics");
  // The group starts far down the form, so counting its top twice would show.
  std::vector<std::string> lines;
  for (int n = 0; n < 10; ++n) lines.push_back("*|*Line " + std::to_string(n));
  lines.insert(lines.end(), {"*|[G|Group", "A=1", "*|Alpha|m|ft|0|1|0|10", "*|]", "*|<PICTURE> P.BMP"});
  ReadForm read = LayOutLines(dir, lines);
  const FormModel& form = read.result.form;
  const FormLayout& layout = read.layout;
  std::size_t group = Index(form, FormItemKind::Group);
  std::size_t alpha = Index(form, FormItemKind::Numeric);
  const LayoutRect& frame = layout.item(group).field;
  ASSERT_GT(frame.top, 200);
  const LayoutRect& picture = layout.item(Index(form, FormItemKind::Picture)).field;
  // One and a half lines below Alpha's label, and half a line for leaving the frame.
  EXPECT_EQ(picture.top, frame.top + layout.item(alpha).label.top + 18 + 9 + 9);
  EXPECT_GE(picture.top, frame.bottom());
}
