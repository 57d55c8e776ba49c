#include "shell/LongLines.h"

#include <QTextDocument>
#include <algorithm>

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

bool MarkContinuations(QTextDocument& document, const std::vector<int>& continuations) {
  bool changed = false;
  auto next = continuations.begin();
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
    const bool wanted = next != continuations.end() && *next == b.blockNumber();
    if (wanted) ++next;
    if (wanted == IsContinuation(b)) continue;
    b.setUserData(wanted ? new ContinuationMark : nullptr);
    changed = true;
  }
  return changed;
}

std::vector<int> ContinuationBlocks(const QTextDocument& document) {
  std::vector<int> numbers;
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
    if (IsContinuation(b)) numbers.push_back(b.blockNumber());
  return numbers;
}

bool HoldsLinePieces(const QTextDocument& document) {
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
    if (IsContinuation(b)) return true;
  return false;
}

bool InLinePieces(const QTextBlock& block) { return IsContinuation(block) || IsContinuation(block.next()); }

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

QString LineText(const QTextBlock& first) {
  QString line = first.text();
  for (QTextBlock b = first.next(); IsContinuation(b); b = b.next()) line += b.text();
  return line;
}

LinePieces::LinePieces(const QTextBlock& first) {
  int start = 0;
  for (QTextBlock b = first; b == first || IsContinuation(b); b = b.next()) {
    pieces_.push_back({b, start});
    start += b.length() - 1;  // a block's length counts its separator
  }
}

int LinePieces::position(int column, bool atStart) const {
  // The last piece that starts before the column (or at it, from its start).
  auto after = std::upper_bound(pieces_.begin(), pieces_.end(), column, [atStart](int c, const Piece& piece) {
    return atStart ? c < piece.start : c <= piece.start;
  });
  const Piece& piece = after == pieces_.begin() ? *after : *std::prev(after);
  return piece.block.position() + column - piece.start;
}

QString JoinPiecesOfSelection(const QTextCursor& selection, const QString& plainText) {
  // The plain text has a "\n" for each block end in the selection, in order.
  QString text;
  qsizetype from = 0;
  const QTextBlock last = selection.document()->findBlock(selection.selectionEnd());
  for (QTextBlock b = selection.document()->findBlock(selection.selectionStart()); b.isValid() && b != last; b = b.next()) {
    const qsizetype end = plainText.indexOf(QLatin1Char('\n'), from);
    if (end < 0) break;
    text += QStringView(plainText).mid(from, end - from);
    if (!IsContinuation(b.next())) text += QLatin1Char('\n');
    from = end + 1;
  }
  text += QStringView(plainText).mid(from);
  return text;
}

}  // namespace tal
