#pragma once
// Colours of a deck in its editor: comment lines ("*"), annotation lines of form decks ("*|")
// and the deck's keywords. Each line is coloured on its own, so typing re-colours one line only.
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <string_view>

namespace tal {

enum class DeckLineKind { Plain, Comment, Annotation };

// What a deck line is: its first non-blank character "*" makes a comment, "*|" an annotation.
DeckLineKind ClassifyDeckLine(std::u16string_view line);
// True for the statement words of a deck (UNIT, PARAMETERS, INPUTS, ...), in any letter case.
bool IsDeckKeyword(std::u16string_view word);

class DeckHighlighter : public QSyntaxHighlighter {
  Q_OBJECT

 public:
  explicit DeckHighlighter(QTextDocument* document);

  const QTextCharFormat& commentFormat() const { return comment_; }
  const QTextCharFormat& annotationFormat() const { return annotation_; }
  const QTextCharFormat& keywordFormat() const { return keyword_; }

 protected:
  void highlightBlock(const QString& text) override;

 private:
  QTextCharFormat comment_;
  QTextCharFormat annotation_;
  QTextCharFormat keyword_;
};

}  // namespace tal
