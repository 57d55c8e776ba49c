#include <gtest/gtest.h>

#include <vector>

#include "shell/EditorText.h"

using namespace tal;

TEST(EditorText, LongLinesAndTheLineEndSurviveARoundTrip) {
  std::string longLine(300, 'x');
  for (const std::string& bytes : std::vector<std::string>{"a\nb\n", "a\r\nb\r\n", longLine + "\n*short\n", std::string("a\n\nb\n"), std::string("\n\n")}) {
    EditorFileText text = EditorTextOf(bytes);
    EXPECT_EQ(EditorFileBytes(text.text, text.lineEnd), bytes);
  }
  EXPECT_EQ(EditorTextOf(longLine + "\n").text.size(), 300u) << "nothing is cut";
}

TEST(EditorText, EveryLineEndsWithALineEndAndAnEmptyTextWritesNothing) {
  EXPECT_EQ(EditorFileBytes("last line without end", "\n"), "last line without end\n");
  EXPECT_EQ(EditorFileBytes("a\nb", "\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(EditorFileBytes("", "\n"), "");
  EXPECT_EQ(EditorTextOf("x\r\ny").lineEnd, "\r\n");
  EXPECT_EQ(EditorTextOf("x").lineEnd, "\n");
}

TEST(EditorText, EveryLineKeepsTheEndItWasRead) {
  // Mixed ends, a carriage return alone, no end at the close: written back byte for byte.
  for (const std::string& bytes : std::vector<std::string>{"a\r\nb\nc\rd", "a\nb", "x\r\r\n", "\r\n\r", "a\r\nb\r\nc\n", "p\rq\r"}) {
    EditorFileText text = EditorTextOf(bytes);
    EXPECT_EQ(EditorFileBytes(text.text, text.ends), bytes) << bytes;
  }
  EXPECT_EQ(EditorTextOf("c\rd").text, "c\nd") << "a carriage return alone ends a line";
  // Lines added later take the usual end; the close keeps having none.
  EditorFileText text = EditorTextOf("a\r\nb\nc\r\nd");
  EXPECT_EQ(EditorFileBytes(text.text + "\nnew", text.ends), "a\r\nb\nc\r\nd\r\nnew");
}

TEST(EditorText, FilesThatAreNotText) {
  EXPECT_EQ(NotTextReason(std::string("ab\0cd", 5)), std::optional<std::string>("it holds NUL bytes"));
  EXPECT_EQ(NotTextReason("\x01\x02\x03 abc"), std::optional<std::string>("it holds control characters that text does not hold"));
  EXPECT_EQ(NotTextReason("tab\there\r\n\x0c\x1a\xe9t\xe9\n"), std::nullopt);
  EXPECT_EQ(NotTextReason(""), std::nullopt);
}
