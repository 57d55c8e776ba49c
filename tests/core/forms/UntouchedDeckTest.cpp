// What the user did not change stays as it was.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include "FormDecks.h"
#include "forms/DeckWriter.h"
#include "support/ScriptedInteraction.h"

using namespace tal;
TEST(UntouchedDeck, LineEndsUntouchedLinesAndListRowsStay) {
  taltest::TempDir dir;
  dir.write("DUP.DAT", "2\n1,Same\n2,Same\n");  // two rows show the same text; the deck holds the second
  const std::string longLine = "*|*Label|" + std::string(260, 'f') + "|7";  // parsed cut: the topic is lost
  for (const std::string eol : {"\r", "\r\n", "\n"}) {
    const std::string head = longLine + eol + "*|*  Heading|  free  \r\nDUPV=2" + eol + "*|<Dup|DUP.DAT|2|1\r";
    ScriptedInteraction ui;
    FormModel form = ReadDeck(dir.write("T.TKD", head + "X=1" + eol + "*|X|u|v|0|1|0|10")).form;
    form.SetFieldText(3, "2");
    ASSERT_TRUE(WriteDeck(form, form.fileName));
    std::string changed = "DUPV= 2" + eol + "*|<Dup|DUP.DAT|2|1\rX= 2.0000000000000E+00" + eol + "*|X|u|v|0|1|0|10";
    EXPECT_EQ(taltest::ReadFile(form.fileName), longLine + eol + "*|*  Heading|  free  \r\n" + changed);
    // A row the user picks is written by its value; a changed text field replaces its field only.
    form.SelectListRow(2, 0);
    form.SetFieldText(1, "new");
    ASSERT_TRUE(WriteDeck(form, form.fileName));
    EXPECT_NE(taltest::ReadFile(form.fileName).find(eol + "*|*  Heading|new\r\nDUPV= 1" + eol), std::string::npos);
  }
}

TEST(UntouchedDeck, AKilledBackUpWriteLeavesTheOldBackUp) {
  taltest::TempDir dir;
  std::string deck = "X=1\n*|X|u|v|0|1|0|10\n* " + std::string(20000, 'p') + "\n";
  dir.write("K.BAK", "old\n");
  FormModel form = ReadDeck(dir.write("K.TKD", deck)).form;
  form.SetFieldText(0, "2");
  if (pid_t child = fork(); child == 0) {  // a child that may write no file above 8 KB
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &limit);
    ScriptedInteraction ui;
    _exit(WriteDeck(form, form.fileName) ? 0 : 3);
  } else {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3);
  }
  EXPECT_EQ(taltest::ReadFile(dir.file("K.BAK")), "old\n");
  EXPECT_EQ(taltest::ReadFile(dir.file("K.TKD")), deck);
}
