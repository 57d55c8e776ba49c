#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

#include "GuiApp.h"
#include "shell/EditorSearch.h"

using namespace tal;
using EditorSearch = taltest::GuiTest;

TEST_F(EditorSearch, FindsDownAndUpFromTheCaretWithCaseAndWholeWord) {
  QTextDocument doc("Area AREA area areal");
  QTextCursor caret(&doc);
  SearchOptions options{"area", "", false, false, true};
  QTextCursor first = FindInDocument(doc, caret, options);
  ASSERT_FALSE(first.isNull());
  EXPECT_EQ(first.selectionStart(), 0);
  EXPECT_EQ(FindInDocument(doc, first, options).selectionStart(), 5) << "the next one after the found one";

  options.matchCase = true;
  EXPECT_EQ(FindInDocument(doc, caret, options).selectionStart(), 10);
  options.wholeWord = true;
  QTextCursor third = FindInDocument(doc, caret, options);
  EXPECT_EQ(third.selectionStart(), 10);
  EXPECT_TRUE(FindInDocument(doc, third, options).isNull()) << "areal is not the whole word";

  options = {"area", "", false, false, false};
  QTextCursor end(&doc);
  end.movePosition(QTextCursor::End);
  EXPECT_EQ(FindInDocument(doc, end, options).selectionStart(), 15);
  EXPECT_TRUE(FindInDocument(doc, caret, options).isNull()) << "nothing above the start";
  options.findText.clear();
  EXPECT_TRUE(FindInDocument(doc, caret, options).isNull());
}

TEST_F(EditorSearch, ReplaceNextReplacesTheSelectedOccurrenceThenTheFollowing) {
  QTextDocument doc("TIN = 20\nTIN2 = TIN");
  SearchOptions options{"TIN", "TOUT", true, true, true};
  QTextCursor caret(&doc);
  QTextCursor done = ReplaceNext(doc, caret, options);
  ASSERT_FALSE(done.isNull());
  EXPECT_EQ(done.selectedText(), "TOUT");
  done = ReplaceNext(doc, done, options);
  EXPECT_EQ(doc.toPlainText(), "TOUT = 20\nTIN2 = TOUT") << "TIN2 is not the whole word";
  EXPECT_TRUE(ReplaceNext(doc, done, options).isNull());
}

TEST_F(EditorSearch, ReplaceAllIsOneUndoStepAndDoesNotChaseItsOwnText) {
  QTextDocument doc("x x\nx");
  SearchOptions options{"x", "xx", false, false, true};
  EXPECT_EQ(ReplaceAll(doc, options), 3);
  EXPECT_EQ(doc.toPlainText(), "xx xx\nxx");
  doc.undo();
  EXPECT_EQ(doc.toPlainText(), "x x\nx");
  options.findText = "absent";
  EXPECT_EQ(ReplaceAll(doc, options), 0);
}
