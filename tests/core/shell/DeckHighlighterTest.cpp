#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "GuiApp.h"
#include "shell/DeckHighlighter.h"

using namespace tal;
using DeckHighlighterLayout = taltest::GuiTest;

namespace {

// The format ranges the highlighter gave line `n`.
QList<QTextLayout::FormatRange> FormatsOf(QTextDocument& doc, int n) { return doc.findBlockByNumber(n).layout()->formats(); }

}  // namespace

TEST(DeckHighlighter, ClassifiesCommentAndAnnotationLines) {
  EXPECT_EQ(ClassifyDeckLine(u"* a comment"), DeckLineKind::Comment);
  EXPECT_EQ(ClassifyDeckLine(u"   *indented comment"), DeckLineKind::Comment);
  EXPECT_EQ(ClassifyDeckLine(u"*|<TEXT> Area"), DeckLineKind::Annotation);
  EXPECT_EQ(ClassifyDeckLine(u"  *|annotation"), DeckLineKind::Annotation);
  EXPECT_EQ(ClassifyDeckLine(u"AREA = 2 * 3"), DeckLineKind::Plain);
  EXPECT_EQ(ClassifyDeckLine(u""), DeckLineKind::Plain);
}

TEST(DeckHighlighter, KeywordsInAnyCaseAsWholeWordsOnly) {
  EXPECT_TRUE(IsDeckKeyword(u"UNIT"));
  EXPECT_TRUE(IsDeckKeyword(u"parameters"));
  EXPECT_TRUE(IsDeckKeyword(u"Simulation"));
  EXPECT_FALSE(IsDeckKeyword(u"UNITS"));
  EXPECT_FALSE(IsDeckKeyword(u"AREA"));
  EXPECT_FALSE(IsDeckKeyword(u""));
}

TEST_F(DeckHighlighterLayout, ColoursEachLineByWhatItIs) {
  QTextDocument doc("* comment with UNIT\n*|<TEXT> Area\nUNIT 1 TYPE 1 Collector\nAREA 0.8");
  DeckHighlighter highlighter(&doc);
  highlighter.rehighlight();

  auto comment = FormatsOf(doc, 0);
  ASSERT_EQ(comment.size(), 1);
  EXPECT_EQ(comment[0].length, 19);
  EXPECT_EQ(comment[0].format.foreground(), highlighter.commentFormat().foreground());

  auto annotation = FormatsOf(doc, 1);
  ASSERT_EQ(annotation.size(), 1);
  EXPECT_EQ(annotation[0].format.foreground(), highlighter.annotationFormat().foreground());

  auto unit = FormatsOf(doc, 2);
  ASSERT_EQ(unit.size(), 2);  // UNIT and TYPE, not "Collector"
  EXPECT_EQ(unit[0].start, 0);
  EXPECT_EQ(unit[0].length, 4);
  EXPECT_EQ(unit[1].start, 7);
  EXPECT_EQ(unit[1].format.fontWeight(), QFont::Bold);

  EXPECT_TRUE(FormatsOf(doc, 3).isEmpty());
}
