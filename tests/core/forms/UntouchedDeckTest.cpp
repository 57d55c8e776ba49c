// What the user did not change stays as it was: line ends, untouched lines and list rows, the
// back-up, and the deck lines fields belong to; and what the user typed is checked before it is
// written.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "FormDecks.h"
#include "forms/DeckReader.h"
#include "forms/DeckWriter.h"
#include "support/ScriptedInteraction.h"

using namespace tal;

namespace {

struct Read {
  ReadResult result;
  std::vector<std::string> messages;
};

Read ReadDeckText(const taltest::TempDir& dir, const std::string& name, const std::string& text,
                  UnitSystem units = UnitSystem::Primary) {
  std::string path = dir.write(name, text);
  ScriptedInteraction ui;
  Read read{ReadDeck(path, {units, nullptr}), {}};
  read.messages = ui.messages();
  return read;
}

}  // namespace

TEST(UntouchedDeck, LineEndsAreWrittenAsTheyWereRead) {
  // Carriage returns alone, mixed ends and no end at the close: the deck reads line by line and
  // only the changed field's line changes.
  for (const std::string& eol : {"\r", "\r\n", "\n"}) {
    const std::string before = "* head" + eol + "X=1\r\n*|X|u|v|0|1|0|10" + eol + "* tail\r* last";
    SCOPED_TRACE(before);
    taltest::TempDir dir;
    Read read = ReadDeckText(dir, "R.TKD", before);
    ASSERT_EQ(read.result.outcome, ReadOutcome::Complete) << (read.messages.empty() ? "" : read.messages[0]);
    FormModel& form = read.result.form;
    ASSERT_EQ(form.items.size(), 1u);
    EXPECT_EQ(form.items[0].lineNumber, 2);
    form.SetFieldText(0, "5");
    ScriptedInteraction ui;
    ASSERT_TRUE(WriteDeck(form, form.fileName));
    EXPECT_EQ(taltest::ReadFile(dir.file("R.TKD")),
              "* head" + eol + "X= 5.0000000000000E+00\r\n*|X|u|v|0|1|0|10" + eol + "* tail\r* last");
  }
}

TEST(UntouchedDeck, UntouchedTextLinesAndListRowsStay) {
  taltest::TempDir dir;
  // Two rows show the same text; the deck holds the second.
  dir.write("DUP.DAT", "2\n1,Same\n2,Same\n");
  const std::string longLine = "*|*" + std::string(300, 'L') + "|field|7";
  const std::string lines = longLine + "\n*|*  Heading with blanks|  free  \nDUPV=2\n*|<Dup|DUP.DAT|2|1\nX=1\n*|X|u|v|0|1|0|10\n";
  Read read = ReadDeckText(dir, "T.TKD", lines);
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  FormModel& form = read.result.form;
  form.SetFieldText(3, "2");  // a change elsewhere, so that the deck is written
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(form, form.fileName));
  EXPECT_EQ(taltest::ReadFile(form.fileName), longLine +
                                                  "\n*|*  Heading with blanks|  free  \nDUPV= 2\n*|<Dup|DUP.DAT|2|1\n"
                                                  "X= 2.0000000000000E+00\n*|X|u|v|0|1|0|10\n");
  // A row the user picks is written by its value; a changed text field rewrites its line.
  form.SelectListRow(2, 0);
  form.SetFieldText(1, "new");
  ASSERT_TRUE(WriteDeck(form, form.fileName));
  std::vector<std::string> written = formtest::FileLines(form.fileName);
  EXPECT_EQ(written[1], "*|*  Heading with blanks|new");
  EXPECT_EQ(written[2], "DUPV= 1");
}

TEST(UntouchedDeck, AValueAnnotationAfterAGroupCloseHasNoDeckLine) {
  taltest::TempDir dir;
  Read read = ReadDeckText(dir, "G.TKD", "*|{B|Boxes=5\n*|Box one|G\n*|}\n*|Count|u|v|0|1|0|10\n*|[G|Group\n*|*x\n*|]\n");
  EXPECT_EQ(read.result.outcome, ReadOutcome::Discarded);
  EXPECT_EQ(read.messages, (std::vector<std::string>{"****Input Error****\n*|}\n*|Count|u|v|0|1|0|10"}));
  // Limits the wrong way round are refused the same way.
  read = ReadDeckText(dir, "M.TKD", "X=5\n*|X|u|v|0|1|10|1\n");
  EXPECT_EQ(read.result.outcome, ReadOutcome::Discarded);
  EXPECT_EQ(read.messages, (std::vector<std::string>{"****Input Error****\nX=5\n*|X|u|v|0|1|10|1"}));
}

TEST(UntouchedDeck, SecondaryLimitsAreRoundedInwardAndChangedFieldsAreChecked) {
  taltest::TempDir dir;
  Read read = ReadDeckText(dir, "S.TKD", "AREA=25\n*|Floor area|m2|ft2|0|10.7639|1|1000\nP=1\n*|Power|kW|hp|0|1.341|0.5|500.0\n",
                           UnitSystem::Secondary);
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  FormModel& form = read.result.form;
  ScriptedInteraction ui;
  // 10.7639 to 10763.9 shown with no decimals: 11 to 10763, both of which are accepted.
  for (const auto& [text, ok] : std::vector<std::pair<std::string, bool>>{
           {"10764", false}, {"10763", true}, {"11", true}, {"10.76", false}}) {
    form.SetFieldText(0, text);
    EXPECT_EQ(form.CheckNumericField(0), ok) << text;
  }
  EXPECT_EQ(ui.messages(), (std::vector<std::string>{"This parameter must be >= 11 and <= 10763",
                                                     "This parameter must be >= 11 and <= 10763"}));
  // Every changed field is checked, not only one: the first that fails is named.
  form.SetFieldText(0, "100");
  form.SetFieldText(1, "9999");
  EXPECT_EQ(form.CheckChangedNumericFields(), std::optional<std::size_t>(1));
  EXPECT_EQ(ui.messages().back(), "This parameter must be >= 0.7 and <= 670.5");
  form.SetFieldText(1, "670.5");
  EXPECT_EQ(form.CheckChangedNumericFields(), std::nullopt);
}

TEST(UntouchedDeck, AKilledBackUpWriteLeavesTheOldBackUp) {
  taltest::TempDir dir;
  std::string deck = "X=1\n*|X|u|v|0|1|0|10\n* " + std::string(20000, 'p') + "\n";
  std::string path = dir.write("K.TKD", deck);
  dir.write("K.BAK", "old back-up\n");
  Read read = ReadDeckText(dir, "K.TKD", deck);
  ASSERT_EQ(read.result.outcome, ReadOutcome::Complete);
  read.result.form.SetFieldText(0, "2");
  // A child that may write no file above 8 KB fails while writing the new back-up.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &limit);
    ScriptedInteraction ui;
    _exit(WriteDeck(read.result.form, path) ? 0 : 3);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(taltest::ReadFile(dir.file("K.BAK")), "old back-up\n");
  EXPECT_EQ(taltest::ReadFile(path), deck);
  // Without the limit the new back-up replaces the old one.
  ScriptedInteraction ui;
  ASSERT_TRUE(WriteDeck(read.result.form, path));
  EXPECT_EQ(taltest::ReadFile(dir.file("K.BAK")), deck);
}
