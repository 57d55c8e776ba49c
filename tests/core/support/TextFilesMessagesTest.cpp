#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/ScriptedInteraction.h"
#include "support/Text.h"

using namespace tal;

TEST(SupportText, UpperShortChangesOnlyAsciiLetters) {
  EXPECT_EQ(UpperShort("abcXYZ 123 mixed.dck"), "ABCXYZ 123 MIXED.DCK");
  EXPECT_EQ(UpperShort("`az{"), "`AZ{") << "the neighbours of a and z stay";
  EXPECT_EQ(UpperShort("caf\xe9 \xe4\xf6\xfc \xff"), "CAF\xe9 \xe4\xf6\xfc \xff") << "Latin-1 accented bytes stay";
  EXPECT_EQ(UpperShort("stra\xc3\x9f" "e"), "STRA\xc3\x9f" "E") << "UTF-8 bytes stay";
  EXPECT_EQ(UpperShort(""), "");
  EXPECT_EQ(UpperShort(std::string(300, 'a')), std::string(300, 'A')) << "nothing is cut";
}

TEST(SupportText, TrimShortRemovesBlanksOnlyThenCuts) {
  struct Case {
    const char* text;
    std::size_t max;
    const char* result;
  };
  const Case cases[] = {
      {"  a b  ", 255, "a b"}, {"plain", 255, "plain"}, {"     ", 255, ""},      {"", 255, ""},
      {"\ta\t", 255, "\ta\t"}, {"  abcdef  ", 3, "abc"}, {" x ", 0, ""},       {"a  ", 1, "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(TrimShort(c.text, c.max), c.result) << '"' << c.text << '"';
  EXPECT_EQ(TrimShort(" " + std::string(300, 'x')).size(), 255u);
}

TEST(SupportFiles, FileReadable) {
  taltest::TempDir dir;
  std::string file = dir.write("deck.dck", "x");
  std::string empty = dir.write("empty.dck", "");
  EXPECT_TRUE(FileReadable(file));
  EXPECT_TRUE(FileReadable(empty));
  EXPECT_FALSE(FileReadable(""));
  EXPECT_FALSE(FileReadable(dir.path())) << "a folder is not a readable file";
  EXPECT_FALSE(FileReadable(dir.file("missing.dck")));
  EXPECT_FALSE(FileReadable(dir.file("deck.dck/inside")));
}

TEST(SupportFiles, ReportError) {
  EXPECT_EQ(ReportError(2), "Error #2");
  EXPECT_EQ(ReportError(0), "Error #0");
  EXPECT_EQ(ReportError(123), "Error #123");
  EXPECT_EQ(ReportError(-5), "Error #-5");
}

namespace {

struct KindCase {
  int kind;
  const char* caption;
  std::vector<Button> buttons;
};

const std::vector<KindCase>& Kinds() {
  static const std::vector<KindCase> kinds = {
      {0, "Error", {Button::Ok}},
      {1, "Information", {Button::Ok}},
      {2, "Warning", {Button::Ok, Button::Cancel}},
      {3, "Error", {Button::Yes, Button::No}},
      {4, "Error", {Button::Ok}},
      {5, "Warning", {Button::Yes, Button::No}},
      {6, "Warning", {Button::Yes, Button::No}},
      {7, "Warning", {Button::Yes, Button::No, Button::Cancel}},
  };
  return kinds;
}

}  // namespace

TEST(SupportMessages, KindsHaveTheirCaptionsAndButtons) {
  for (const auto& k : Kinds()) {
    EXPECT_EQ(CaptionOfKind(k.kind), k.caption) << k.kind;
    EXPECT_EQ(ButtonsOfKind(k.kind), k.buttons) << k.kind;
  }
}

TEST(SupportMessages, ShowMessageKindShowsTheTextAndReturnsTheButton) {
  for (const auto& k : Kinds()) {
    ScriptedInteraction ui;
    Button last = k.buttons.back();
    ui.answer(last);
    EXPECT_EQ(ShowMessageKind("File X.DCK not found", k.kind, true), last) << k.kind;
    ASSERT_EQ(ui.prompts().size(), 1u) << k.kind;
    EXPECT_EQ(ui.prompts()[0].text, "File X.DCK not found");
    EXPECT_EQ(ui.prompts()[0].kind, k.kind);
    EXPECT_EQ(ui.beeps(), 1) << k.kind;
    // Without an answer the box's first button is pressed.
    EXPECT_EQ(ShowMessageKind("again", k.kind, false), k.buttons.front()) << k.kind;
    EXPECT_EQ(ui.beeps(), 1) << "no beep without the flag, kind " << k.kind;
  }
}

TEST(SupportMessages, UnknownKindShowsNothing) {
  for (int kind : {-1, 8, 65, 100}) {
    ScriptedInteraction ui;
    ui.answer(Button::Yes);
    EXPECT_EQ(ShowMessageKind("text", kind, true), Button::None) << kind;
    EXPECT_TRUE(ui.prompts().empty()) << kind;
    EXPECT_EQ(ui.pendingAnswers(), 1u) << "no answer taken, kind " << kind;
    EXPECT_EQ(ui.beeps(), 1) << "the beep comes before the box is looked at, kind " << kind;
  }
}
