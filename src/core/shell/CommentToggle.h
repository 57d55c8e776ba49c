#pragma once
// The right-click comment toggle of deck editors: every line of the selection gains the comment
// marker "*\" at its start, or loses it when it has it.
#include <QTextCursor>
#include <optional>
#include <string>

class QTextDocument;

namespace tal {

inline constexpr const char* CommentMarker = "*\\";

struct LineSpan {
  int first = 0;
  int last = 0;
};

// The lines a toggle acts on for a selection from line `startLine` to line `endLine`, column
// `endColumn` (0 = before the first character): a selection that ends at the start of a line
// leaves that line alone. Nothing when that leaves no line.
std::optional<LineSpan> CommentToggleSpan(int startLine, int endLine, int endColumn);

// One line toggled: "*\" removed when the line begins with it, else put in front.
std::string ToggleCommentMarker(const std::string& line);

// Toggles every line the selection of `selection` covers, as one undo step. Returns false (and
// changes nothing) when the cursor has no selection or the span is empty.
bool ToggleCommentLines(QTextDocument& document, const QTextCursor& selection);

}  // namespace tal
