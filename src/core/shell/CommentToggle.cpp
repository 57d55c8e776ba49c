#include "shell/CommentToggle.h"

#include <QTextBlock>
#include <QTextDocument>
#include <cstring>

#include "shell/LongLines.h"

namespace tal {

std::optional<LineSpan> CommentToggleSpan(int startLine, int endLine, int endColumn) {
  LineSpan span{startLine, endColumn == 0 ? endLine - 1 : endLine};
  if (span.last < span.first) return std::nullopt;
  return span;
}

std::string ToggleCommentMarker(const std::string& line) {
  if (line.rfind(CommentMarker, 0) == 0) return line.substr(std::strlen(CommentMarker));
  return CommentMarker + line;
}

bool ToggleCommentLines(QTextDocument& document, const QTextCursor& selection) {
  if (!selection.hasSelection()) return false;
  // Lines, not blocks: a very long line is held in several blocks (LongLines.h) and takes the
  // marker at its start only.
  QTextBlock startBlock = FirstBlockOfLine(document.findBlock(selection.selectionStart()));
  QTextBlock endBlock = document.findBlock(selection.selectionEnd());
  int endColumn = ColumnInLine(endBlock, selection.selectionEnd() - endBlock.position());
  endBlock = FirstBlockOfLine(endBlock);
  std::optional<LineSpan> span = CommentToggleSpan(startBlock.blockNumber(), endBlock.blockNumber(), endColumn);
  if (!span) return false;

  const QString marker = QString::fromLatin1(CommentMarker);
  QTextCursor edit(&document);
  edit.beginEditBlock();
  for (int number = span->first; number <= span->last; ++number) {
    QTextBlock block = document.findBlockByNumber(number);
    if (IsContinuation(block)) continue;
    edit.setPosition(block.position());
    if (block.text().startsWith(marker)) {
      edit.setPosition(block.position() + static_cast<int>(marker.size()), QTextCursor::KeepAnchor);
      edit.removeSelectedText();
    } else {
      edit.insertText(marker);
    }
  }
  edit.endEditBlock();
  return true;
}

}  // namespace tal
