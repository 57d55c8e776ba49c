#pragma once
// Very long lines in an editor. The text layout lays a block out whole after every change, so a
// line of a megabyte held as one block makes End and every keystroke take seconds. Such a line is
// held instead as pieces in consecutive blocks, every piece after the first marked as the
// continuation of the block before: the editor shows them like wrapped text, and the pieces are
// joined again wherever the text leaves the editor (saving, printing, line numbers, the cursor's
// place, the comment toggle).
#include <QString>
#include <QTextBlock>
#include <QTextBlockUserData>
#include <QTextCursor>
#include <vector>

class QTextDocument;

namespace tal {

// Lines longer than this are held in pieces of LinePieceLength characters.
inline constexpr qsizetype LongLineLimit = 20000;
inline constexpr qsizetype LinePieceLength = 2000;

// The mark of a block that continues the line of the block before it.
class ContinuationMark : public QTextBlockUserData {};

bool IsContinuation(const QTextBlock& block);

// The editor's text for `text` ("\n"-separated lines): every line longer than LongLineLimit cut
// into pieces, one per block. `continuations` receives the block numbers of the pieces after the
// first of each line.
QString SplitLongLines(const QString& text, std::vector<int>& continuations);
// Marks exactly the given blocks (in increasing order) as continuations. Undo puts back a block
// that an edit joined to the one before it without its mark, so the editor keeps the numbers of
// each undo step (ContinuationBlocks) and marks them again. True when a mark changed.
bool MarkContinuations(QTextDocument& document, const std::vector<int>& continuations);
std::vector<int> ContinuationBlocks(const QTextDocument& document);
bool HoldsLinePieces(const QTextDocument& document);
// The block is a piece of a line held in pieces.
bool InLinePieces(const QTextBlock& block);

// The first and the last block of the line that `block` belongs to.
QTextBlock FirstBlockOfLine(QTextBlock block);
QTextBlock LastBlockOfLine(QTextBlock block);
// The line (from 0) that `block` belongs to, and the column (from 0) of a position in it.
int LineOfBlock(const QTextBlock& block);
int ColumnInLine(const QTextBlock& block, int positionInBlock);
// The number of lines, and the first block of line `line` (from 0; invalid past the end).
int LineCount(const QTextDocument& document);
QTextBlock BlockOfLine(const QTextDocument& document, int line);
// The line that starts at block `first`, its pieces joined.
QString LineText(const QTextBlock& first);
// The pieces of the line that starts at block `first`, for the document positions of its columns.
class LinePieces {
 public:
  explicit LinePieces(const QTextBlock& first);
  // Where two pieces join, the end of the piece before (`atStart` false) or the start of the piece
  // after (`atStart` true). Stays right for the columns before an edit of the line.
  int position(int column, bool atStart) const;

 private:
  struct Piece {
    QTextBlock block;
    int start;  // its first column
  };
  std::vector<Piece> pieces_;
};
// `plainText`, the plain text of the selection, without the line breaks where pieces join.
QString JoinPiecesOfSelection(const QTextCursor& selection, const QString& plainText);

}  // namespace tal
