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
