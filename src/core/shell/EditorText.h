#pragma once
// The bytes of a file shown in an editor window, and the bytes an editor writes back. Lines are
// kept whole whatever their length (a deck line longer than 255 characters is only cut where it
// is parsed, never when the text is written back), and the file keeps the line end it had.
#include <optional>
#include <string>

namespace tal {

struct EditorFileText {
  std::string text;     // the lines joined with "\n", without the line end after the last line
  std::string lineEnd;  // "\r\n" when the file's first line ends so, else "\n"
};

// Splits file bytes into the editor's text.
EditorFileText EditorTextOf(const std::string& bytes);
// The bytes to write for `text` ("\n"-separated lines): every line followed by `lineEnd`; an empty
// text writes nothing.
std::string EditorFileBytes(const std::string& text, const std::string& lineEnd);

}  // namespace tal
