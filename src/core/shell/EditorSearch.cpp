#include "shell/EditorSearch.h"

#include <QTextDocument>

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

}  // namespace

QTextCursor FindInDocument(const QTextDocument& document, const QTextCursor& from, const SearchOptions& options) {
  if (options.findText.empty()) return {};
  return document.find(Latin1(options.findText), from, FlagsOf(options, options.down));
}

QTextCursor ReplaceNext(QTextDocument& document, const QTextCursor& from, const SearchOptions& options) {
  if (options.findText.empty()) return {};
  QTextCursor start(&document);
  start.setPosition(from.isNull() ? 0 : from.selectionStart());
  QTextCursor found = document.find(Latin1(options.findText), start, FlagsOf(options, true));
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
  QTextCursor at(&document);
  for (;;) {
    QTextCursor found = document.find(text, at, FlagsOf(options, true));
    if (found.isNull()) break;
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
