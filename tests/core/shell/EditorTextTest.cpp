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

TEST(EditorText, EveryLineKeepsTheEndItWasReadAndNotTextIsTold) {
  for (const std::string& bytes : std::vector<std::string>{"a\r\nb\nc\rd", "x\r\r\n", "\r\n\r", "p\rq\r"})
    EXPECT_EQ(EditorFileBytes(EditorTextOf(bytes).text, EditorTextOf(bytes).ends), bytes) << bytes;
  EditorFileText text = EditorTextOf("a\r\nb\nc\r\nd");  // an added line takes the usual end
  EXPECT_EQ(EditorFileBytes(text.text + "\nnew", text.ends), "a\r\nb\nc\r\nd\r\nnew");
  EXPECT_NE(NotTextReason("\x01\x02\x03 abc"), std::nullopt);
  EXPECT_EQ(NotTextReason("tab\there\r\n\x0c\x1a\xe9t\xe9\n"), std::nullopt);
}
