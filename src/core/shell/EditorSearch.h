#pragma once
// Find and replace in an editor's text. The options are those of the find and replace dialogs;
// the functions only move cursors and change text, the window beeps when nothing is found.
#include <QTextCursor>
#include <string>

class QTextDocument;

namespace tal {

struct SearchOptions {
  std::string findText;
  std::string replaceText;
  bool matchCase = false;
  bool wholeWord = false;
  bool down = true;  // find only; replacing always goes down
};

// The next occurrence after the selection of `from` (down) or before it (up); a null cursor when
// there is none or the find text is empty.
QTextCursor FindInDocument(const QTextDocument& document, const QTextCursor& from, const SearchOptions& options);

// Replaces the next occurrence at or after the start of the selection of `from` (so a found
// occurrence that is selected is the one replaced) and returns a cursor selecting the new text;
// a null cursor when there was nothing to replace.
QTextCursor ReplaceNext(QTextDocument& document, const QTextCursor& from, const SearchOptions& options);

// Replaces every occurrence in the document as one undo step; returns how many.
int ReplaceAll(QTextDocument& document, const SearchOptions& options);

}  // namespace tal
