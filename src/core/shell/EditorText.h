#pragma once
// The bytes of a file shown in an editor window, and the bytes an editor writes back. Lines are
// kept whole whatever their length (a deck line longer than 255 characters is only cut where it
// is parsed, never when the text is written back), and every line keeps the end it was read
// with ("\r\n", "\n" or a carriage return alone), the last one none when the file had none.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/LineEnds.h"

namespace tal {

// How the lines of an editor end when they are written.
struct EditorLineEnds {
  LineEnd usual = LineEnd::Lf;  // the end of most lines: lines without their own get it
  bool endsAtClose = true;      // the last line is followed by a line end
  // Line i's own end when it differs from `usual` (None: it has none of its own). Lines beyond
  // the vector have none; the vector is empty when every line ends the usual way.
  std::vector<LineEnd> own;
};

struct EditorFileText {
  std::string text;     // the lines joined with "\n", without the line end after the last line
  std::string lineEnd;  // the usual line end's bytes
  EditorLineEnds ends;
};

// Splits file bytes into the editor's text; a carriage return alone ends a line too.
EditorFileText EditorTextOf(const std::string& bytes);
// The bytes to write for `text` ("\n"-separated lines): every line followed by `lineEnd`; an empty
// text writes nothing.
std::string EditorFileBytes(const std::string& text, const std::string& lineEnd);
// The same with the ends as read: each line its own end or the usual one; the last line its own,
// else the usual one only when the file ended so. An empty text writes nothing.
std::string EditorFileBytes(const std::string& text, const EditorLineEnds& ends);

// Why bytes are not text an editor can show and write back unchanged: "it holds NUL bytes" or
// "it holds control characters that text does not hold"; nullopt for text.
std::optional<std::string> NotTextReason(std::string_view bytes);
// The note of the read-only window such a file opens in.
std::string NotTextNote(const std::string& fileName, const std::string& reason);

}  // namespace tal
