#include "shell/DeckHighlighter.h"

#include <QColor>
#include <QFont>
#include <algorithm>
#include <array>

#include "shell/LongLines.h"

namespace tal {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsWordChar(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_';
}

}  // namespace

DeckLineKind ClassifyDeckLine(std::u16string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i >= line.size() || line[i] != u'*') return DeckLineKind::Plain;
  if (i + 1 < line.size() && line[i + 1] == u'|') return DeckLineKind::Annotation;
  return DeckLineKind::Comment;
}

bool IsDeckKeyword(std::u16string_view word) {
  // The statements the program itself reads in a deck (the generator and the table scanner).
  static constexpr std::array<std::u16string_view, 11> keywords = {
      u"ASSIGN", u"CONSTANTS", u"DERIVATIVES", u"END", u"EQUATIONS", u"INPUTS",
      u"PARAMETERS", u"SIMULATION", u"TRACE", u"TYPE", u"UNIT"};
  if (word.size() < 3 || word.size() > 11) return false;
  std::array<char16_t, 11> upper{};
  for (std::size_t i = 0; i < word.size(); ++i)
    upper[i] = (word[i] >= u'a' && word[i] <= u'z') ? static_cast<char16_t>(word[i] - 32) : word[i];
  std::u16string_view key(upper.data(), word.size());
  return std::find(keywords.begin(), keywords.end(), key) != keywords.end();
}

DeckHighlighter::DeckHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
  comment_.setForeground(QColor(0x2e, 0x7d, 0x32));
  comment_.setFontItalic(true);
  annotation_.setForeground(QColor(0x8e, 0x24, 0xaa));
  keyword_.setForeground(QColor(0x15, 0x41, 0xa8));
  keyword_.setFontWeight(QFont::Bold);
}

void DeckHighlighter::highlightBlock(const QString& text) {
  std::u16string_view line(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
  // A piece of a very long line (LongLines.h) is coloured as the start of its line.
  DeckLineKind kind = ClassifyDeckLine(line);
  if (IsContinuation(currentBlock()) && previousBlockState() >= 0) kind = static_cast<DeckLineKind>(previousBlockState());
  setCurrentBlockState(static_cast<int>(kind));
  switch (kind) {
    case DeckLineKind::Comment:
      setFormat(0, static_cast<int>(text.size()), comment_);
      return;
    case DeckLineKind::Annotation:
      setFormat(0, static_cast<int>(text.size()), annotation_);
      return;
    case DeckLineKind::Plain:
      break;
  }
  std::size_t i = 0;
  while (i < line.size()) {
    if (!IsWordChar(line[i])) {
      ++i;
      continue;
    }
    std::size_t start = i;
    while (i < line.size() && IsWordChar(line[i])) ++i;
    if (IsDeckKeyword(line.substr(start, i - start)))
      setFormat(static_cast<int>(start), static_cast<int>(i - start), keyword_);
  }
}

}  // namespace tal
