#include "shell/EditorSearch.h"

#include <QTextDocument>
#include <vector>

#include "shell/LongLines.h"

namespace tal {

namespace {

QString Latin1(const std::string& s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

QTextDocument::FindFlags FlagsOf(const SearchOptions& options, bool down) {
  QTextDocument::FindFlags flags;
  if (options.matchCase) flags |= QTextDocument::FindCaseSensitively;
  if (options.wholeWord) flags |= QTextDocument::FindWholeWords;
  if (!down) flags |= QTextDocument::FindBackward;
  return flags;
}

// A line held in pieces (LongLines.h), searched whole as the document's own search searches a
// block: no-break spaces match blanks; a whole word touches no letter or digit, and a rejected
// occurrence is passed by to its end (down) or to the column before it (up).
class LineSearch {
 public:
  LineSearch(const QTextBlock& first, const QString& text, QTextDocument::FindFlags flags)
      : first_(first), pieces_(first), line_(LineText(first).replace(QChar::Nbsp, QLatin1Char(' '))), text_(text),
        flags_(flags) {}

  int length() const { return static_cast<int>(line_.size()); }
  // Down, the first occurrence from column `offset` on; up, the last one starting at or before it.
  int find(int offset) const {
    const bool down = !(flags_ & QTextDocument::FindBackward);
    const auto cs = flags_ & QTextDocument::FindCaseSensitively ? Qt::CaseSensitive : Qt::CaseInsensitive;
    while (offset >= 0 && offset <= length()) {
      const int at = static_cast<int>(down ? line_.indexOf(text_, offset, cs) : line_.lastIndexOf(text_, offset, cs));
      if (at < 0) return -1;
      const int end = at + static_cast<int>(text_.size());
      const QChar before = at == replacedEnd_ ? replacedBefore_ : at > 0 ? line_[at - 1] : QChar();
      if (!(flags_ & QTextDocument::FindWholeWords) ||
          !(before.isLetterOrNumber() || (end < length() && line_[end].isLetterOrNumber())))
        return at;
      offset = down ? end + 1 : at - 1;
    }
    return -1;
  }
  // After [start, end) was replaced by `replacement`: the character now before column `end`.
  void replaced(int start, int end, const QString& replacement) {
    replacedBefore_ = !replacement.isEmpty() ? replacement.back()
                      : start == replacedEnd_ ? replacedBefore_
                      : start > 0             ? line_[start - 1]
                                              : QChar();
    replacedEnd_ = end;
  }
  // A cursor selecting columns [start, end) of the line in the document (as it was, or edited
  // after `end` only).
  QTextCursor select(int start, int end) const {
    QTextCursor cursor(first_);
    cursor.setPosition(pieces_.position(start, true));
    cursor.setPosition(pieces_.position(end, false), QTextCursor::KeepAnchor);
    return cursor;
  }
  // The column of a document position, clamped to the line.
  int column(int position) const {
    if (position < first_.position()) return 0;
    const QTextBlock b = first_.document()->findBlock(position);
    return b.isValid() && FirstBlockOfLine(b) == first_ ? ColumnInLine(b, position - b.position()) : length();
  }

 private:
  QTextBlock first_;
  LinePieces pieces_;
  QString line_;
  QString text_;
  QTextDocument::FindFlags flags_;
  int replacedEnd_ = -1;
  QChar replacedBefore_;
};

QTextCursor FindInPieces(const QTextBlock& first, const QTextCursor& from, const QString& text,
                         QTextDocument::FindFlags flags) {
  LineSearch line(first, text, flags);
  const int at = flags & QTextDocument::FindBackward ? line.find(line.column(from.selectionStart()) - 1)
                                                     : line.find(line.column(from.selectionEnd()));
  return at < 0 ? QTextCursor() : line.select(at, at + static_cast<int>(text.size()));
}

// The document's own search, which keeps to blocks, for runs of ordinary lines; FindInPieces for
// lines held in pieces (`pieces`: the document may hold some).
QTextCursor FindAcrossPieces(const QTextDocument& document, const QTextCursor& from, const QString& text,
                             QTextDocument::FindFlags flags, bool pieces) {
  if (from.isNull() || !pieces) return document.find(text, from, flags);
  const bool down = !(flags & QTextDocument::FindBackward);
  QTextCursor at = from;
  for (QTextBlock block = document.findBlock(down ? from.selectionEnd() : from.selectionStart()); block.isValid();) {
    QTextBlock next;
    if (InLinePieces(block)) {
      QTextCursor found = FindInPieces(FirstBlockOfLine(block), at, text, flags);
      if (!found.isNull()) return found;
      next = down ? LastBlockOfLine(block).next() : FirstBlockOfLine(block).previous();
    } else {
      // The run of ordinary lines ends before the next line in pieces: a match beyond is found there.
      next = block;
      while (next.isValid() && !InLinePieces(next)) next = down ? next.next() : next.previous();
      QTextCursor found = document.find(text, at, flags);
      if (!found.isNull() && (!next.isValid() || (down ? found.selectionStart() < next.position()
                                                       : found.selectionStart() >= next.position() + next.length())))
        return found;
    }
    if (!next.isValid()) break;
    at = QTextCursor(next);
    if (!down) at.setPosition(next.position() + next.length() - 1);
    block = next;
  }
  return {};
}

// Replaces every occurrence in the line held in pieces from `first` as ReplaceAll does in an
// ordinary line; returns how many.
int ReplaceInPieces(QTextCursor& edit, const QTextBlock& first, const QString& text, const QString& replacement,
                    QTextDocument::FindFlags flags) {
  LineSearch line(first, text, flags);
  std::vector<int> starts;
  for (int at = line.find(0); at >= 0; at = line.find(starts.back() + static_cast<int>(text.size()))) {
    starts.push_back(at);
    line.replaced(at, at + static_cast<int>(text.size()), replacement);
  }
  // From the end of the line, so the columns before each replacement keep their places.
  for (auto at = starts.rbegin(); at != starts.rend(); ++at) {
    QTextCursor span = line.select(*at, *at + static_cast<int>(text.size()));
    edit.setPosition(span.anchor());
    edit.setPosition(span.position(), QTextCursor::KeepAnchor);
    edit.insertText(replacement);
  }
  return static_cast<int>(starts.size());
}

}  // namespace

QTextCursor FindInDocument(const QTextDocument& document, const QTextCursor& from, const SearchOptions& options) {
  if (options.findText.empty()) return {};
  return FindAcrossPieces(document, from, Latin1(options.findText), FlagsOf(options, options.down),
                          HoldsLinePieces(document));
}

QTextCursor ReplaceNext(QTextDocument& document, const QTextCursor& from, const SearchOptions& options) {
  if (options.findText.empty()) return {};
  QTextCursor start(&document);
  start.setPosition(from.isNull() ? 0 : from.selectionStart());
  QTextCursor found = FindAcrossPieces(document, start, Latin1(options.findText), FlagsOf(options, true),
                                       HoldsLinePieces(document));
  if (found.isNull()) return {};
  QString replacement = Latin1(options.replaceText);
  found.insertText(replacement);
  int end = found.position();
  found.setPosition(end - static_cast<int>(replacement.size()));
  found.setPosition(end, QTextCursor::KeepAnchor);
  return found;
}

int ReplaceAll(QTextDocument& document, const SearchOptions& options) {
  if (options.findText.empty()) return 0;
  QString text = Latin1(options.findText);
  QString replacement = Latin1(options.replaceText);
  QTextCursor edit(&document);
  edit.beginEditBlock();
  int count = 0;
  const bool pieces = HoldsLinePieces(document);
  QTextCursor at(&document);
  for (;;) {
    QTextCursor found = FindAcrossPieces(document, at, text, FlagsOf(options, true), pieces);
    if (found.isNull()) break;
    if (QTextBlock block = document.findBlock(found.selectionStart()); InLinePieces(block)) {
      // A line in pieces is done whole at once: searching it again for each occurrence would take
      // as long as the line each time.
      const QTextBlock first = FirstBlockOfLine(block);
      count += ReplaceInPieces(edit, first, text, replacement, FlagsOf(options, true));
      const QTextBlock last = LastBlockOfLine(first);
      at = QTextCursor(last);
      at.setPosition(last.position() + last.length() - 1);
      continue;
    }
    edit.setPosition(found.selectionStart());
    edit.setPosition(found.selectionEnd(), QTextCursor::KeepAnchor);
    edit.insertText(replacement);
    ++count;
    at = edit;  // go on after the new text, so a replacement holding the find text is not found again
  }
  edit.endEditBlock();
  return count;
}

}  // namespace tal
