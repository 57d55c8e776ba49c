#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

#include "GuiApp.h"
#include "shell/EditorSearch.h"
#include "shell/LongLines.h"

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

// A line held in pieces is searched and replaced exactly as the same line held whole. Its pieces
// join at columns 2000, 4000, 6000: in "HEAT AREA", between "AREA" and "x", in "Heat<nbsp>area".
TEST_F(EditorSearch, ALineInPiecesIsSearchedAsTheSameLineWhole) {
  const QString text = QString(1997, '.') + "HEAT AREA" + QString(1990, '.') + "AREAx" + QString(1991, '.') + "Heat" +
                       QChar(0xA0) + "area" + QString(20000, '.') + "heat area.";
  std::vector<int> continuations;
  QTextDocument whole(text), pieces(SplitLongLines(text, continuations));
  MarkContinuations(pieces, continuations);
  ASSERT_EQ(pieces.blockCount(), 14);
  auto columns = [](const QTextCursor& found) {
    auto column = [&](int at) { QTextBlock b = found.document()->findBlock(at); return ColumnInLine(b, at - b.position()); };
    return found.isNull() ? std::pair(-1, -1) : std::pair(column(found.selectionStart()), column(found.selectionEnd()));
  };
  auto from = [&text](QTextDocument& doc, int column) {  // columns [column, column + 3) selected
    QTextCursor at(&doc);
    const auto clamped = [&](int c) { return std::min(c, static_cast<int>(text.size())); };
    at.setPosition(LinePieces(doc.begin()).position(clamped(column), true));
    at.setPosition(LinePieces(doc.begin()).position(clamped(column + 3), false), QTextCursor::KeepAnchor);
    return at;
  };
  const SearchOptions cases[] = {{"heat area", "", false, false, true},  {"HEAT AREA", "", true, false, false},
                                 {"AREA", "", false, true, true},        {"area", "", false, true, false},
                                 {"T\xA0" "A", "", false, false, true},  {"eat ar", "", false, false, false}};
  for (int start : {0, 1999, 2006, 4001, 30000})
    for (const SearchOptions& options : cases)
      EXPECT_EQ(columns(FindInDocument(pieces, from(pieces, start), options)), columns(FindInDocument(whole, from(whole, start), options)))
          << options.findText << " from " << start;
  EXPECT_EQ(columns(FindInDocument(pieces, from(pieces, 0), cases[0])), std::pair(1997, 2006));

  for (const SearchOptions& options : {SearchOptions{"heat area", "<>", false, false}, SearchOptions{"area", "", false, true}}) {
    EXPECT_EQ(ReplaceAll(pieces, options), ReplaceAll(whole, options));
    EXPECT_EQ(LineText(pieces.begin()), whole.begin().text());
  }
  EXPECT_EQ(whole.begin().text().count("<>"), 3);
}
