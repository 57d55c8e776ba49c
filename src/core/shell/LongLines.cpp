#include "shell/LongLines.h"

#include <QTextDocument>

namespace tal {

bool IsContinuation(const QTextBlock& block) {
  return block.isValid() && dynamic_cast<ContinuationMark*>(block.userData()) != nullptr;
}

QString SplitLongLines(const QString& text, std::vector<int>& continuations) {
  continuations.clear();
  QString out;
  out.reserve(text.size() + text.size() / LinePieceLength + 1);
  int block = 0;
  qsizetype start = 0;
  while (start <= text.size()) {
    qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    if (end < 0) end = text.size();
    const qsizetype length = end - start;
    if (length > LongLineLimit) {
      for (qsizetype piece = 0; piece < length; piece += LinePieceLength) {
        if (piece > 0) {
          out += QLatin1Char('\n');
          continuations.push_back(++block);
        }
        out += QStringView(text).mid(start + piece, std::min(LinePieceLength, length - piece));
      }
    } else {
      out += QStringView(text).mid(start, length);
    }
    if (end == text.size()) break;
    out += QLatin1Char('\n');
    ++block;
    start = end + 1;
  }
  return out;
}

void MarkContinuations(QTextDocument& document, const std::vector<int>& continuations) {
  for (int number : continuations) document.findBlockByNumber(number).setUserData(new ContinuationMark);
}

QTextBlock FirstBlockOfLine(QTextBlock block) {
  while (IsContinuation(block) && block.previous().isValid()) block = block.previous();
  return block;
}

QTextBlock LastBlockOfLine(QTextBlock block) {
  while (IsContinuation(block.next())) block = block.next();
  return block;
}

int LineOfBlock(const QTextBlock& block) {
  int line = 0;
  for (QTextBlock b = block.document() ? block.document()->begin() : QTextBlock(); b.isValid() && b != block; b = b.next())
    if (!IsContinuation(b.next())) ++line;
  return line;
}

int ColumnInLine(const QTextBlock& block, int positionInBlock) {
  int column = positionInBlock;
  for (QTextBlock b = block; IsContinuation(b); ) {
    b = b.previous();
    column += static_cast<int>(b.length()) - 1;  // a block's length counts its separator
  }
  return column;
}

int LineCount(const QTextDocument& document) {
  int lines = 0;
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
    if (!IsContinuation(b)) ++lines;
  return lines;
}

QTextBlock BlockOfLine(const QTextDocument& document, int line) {
  int at = -1;
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
    if (!IsContinuation(b)) ++at;
    if (at == line) return b;
  }
  return {};
}

}  // namespace tal
