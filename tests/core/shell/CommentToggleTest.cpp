#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "GuiApp.h"
#include "shell/CommentToggle.h"

using namespace tal;
using CommentToggle = taltest::GuiTest;

namespace {

QTextCursor Select(QTextDocument& doc, int fromLine, int fromColumn, int toLine, int toColumn) {
  QTextCursor cursor(&doc);
  cursor.setPosition(doc.findBlockByNumber(fromLine).position() + fromColumn);
  cursor.setPosition(doc.findBlockByNumber(toLine).position() + toColumn, QTextCursor::KeepAnchor);
  return cursor;
}

}  // namespace

TEST_F(CommentToggle, ThreeLinesOfWhichTheSecondIsCommented) {
  QTextDocument doc("UNIT 1 TYPE 1\n*\\PARAMETERS 2\nAREA 0.8\nEND");
  ASSERT_TRUE(ToggleCommentLines(doc, Select(doc, 0, 3, 2, 4)));
  EXPECT_EQ(doc.toPlainText(), "*\\UNIT 1 TYPE 1\nPARAMETERS 2\n*\\AREA 0.8\nEND");
}

TEST_F(CommentToggle, ASelectionEndingAtTheStartOfALineLeavesThatLine) {
  QTextDocument doc("a\nb\nc");
  ASSERT_TRUE(ToggleCommentLines(doc, Select(doc, 0, 0, 2, 0)));
  EXPECT_EQ(doc.toPlainText(), "*\\a\n*\\b\nc");
  // Selected backwards (from below), the same lines.
  QTextDocument up("a\nb\nc");
  ASSERT_TRUE(ToggleCommentLines(up, Select(up, 2, 0, 0, 1)));
  EXPECT_EQ(up.toPlainText(), "*\\a\n*\\b\nc");
}

TEST_F(CommentToggle, NothingWithoutALineToToggle) {
  QTextDocument doc("a\nb");
  EXPECT_FALSE(ToggleCommentLines(doc, Select(doc, 1, 0, 1, 0))) << "no selection";
  EXPECT_EQ(doc.toPlainText(), "a\nb");
  ASSERT_TRUE(ToggleCommentLines(doc, Select(doc, 0, 1, 1, 0))) << "from inside the first line to the start of the next";
  EXPECT_EQ(doc.toPlainText(), "*\\a\nb");
  EXPECT_FALSE(CommentToggleSpan(3, 3, 0).has_value());
  EXPECT_EQ(CommentToggleSpan(2, 5, 1)->last, 5);
}

TEST_F(CommentToggle, OnlyTheFullMarkerIsRemovedAndOneUndoRestores) {
  EXPECT_EQ(ToggleCommentMarker("*comment"), "*\\*comment");
  EXPECT_EQ(ToggleCommentMarker("*\\*comment"), "*comment");
  EXPECT_EQ(ToggleCommentMarker(""), "*\\");
  QTextDocument doc("x\n*\\y\n");
  ASSERT_TRUE(ToggleCommentLines(doc, Select(doc, 0, 0, 1, 2)));
  EXPECT_EQ(doc.toPlainText(), "*\\x\ny\n");
  doc.undo();
  EXPECT_EQ(doc.toPlainText(), "x\n*\\y\n");
}
