#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>

#include "TestSupport.h"
#include "shell/TextFileIndex.h"
#include "support/Files.h"

using namespace tal;

namespace {

// Indexes `bytes` in slices of `slice` bytes and returns every line the index gives.
std::vector<std::string> IndexedLines(const std::string& bytes, std::size_t slice) {
  taltest::TempDir dir;
  std::string path = dir.write("F.OUT", bytes);
  TextFileIndex index;
  EXPECT_EQ(index.Open(path), "");
  while (!index.IndexMore(slice)) {
  }
  return index.Lines(0, index.lineCount() + 5);
}

}  // namespace

TEST(TextFileIndex, LinesMatchTheFileWhateverTheSliceSize) {
  const std::vector<std::string> files = {
      "", "\n", "one", "one\n", "one\ntwo", "one\r\ntwo\r\n", "\n\n\nlast", "a\r\n\r\nb\n",
  };
  for (const std::string& bytes : files) {
    for (std::size_t slice : {1u, 2u, 3u, 7u, 1000u}) {
      EXPECT_EQ(IndexedLines(bytes, slice), SplitLines(bytes)) << "file \"" << bytes << "\" slice " << slice;
    }
  }
}

TEST(TextFileIndex, FindsAnyLineOfALargeFileWithLongAndShortLines) {
  std::mt19937 random(7);
  std::vector<std::string> lines;
  std::string bytes;
  for (int i = 0; i < 20000; ++i) {
    std::size_t length = random() % 90;
    if (i == 777) length = 200000;  // one line longer than a checkpoint block
    std::string line = std::to_string(i) + ":" + std::string(length, static_cast<char>('a' + i % 26));
    lines.push_back(line);
    bytes += line + "\n";
  }
  taltest::TempDir dir;
  TextFileIndex index;
  ASSERT_EQ(index.Open(dir.write("BIG.OUT", bytes)), "");
  while (!index.IndexMore(64 * 1024)) {
  }
  ASSERT_EQ(index.lineCount(), lines.size());
  EXPECT_EQ(index.longestLine(), lines[777].size());
  std::uint64_t offset = 0;
  std::vector<std::uint64_t> starts;
  for (const std::string& line : lines) {
    starts.push_back(offset);
    offset += line.size() + 1;
  }
  for (std::size_t n : {0u, 1u, 63u, 64u, 65u, 776u, 778u, 779u, 12345u, 19999u}) {
    EXPECT_EQ(index.Line(n), lines[n].substr(0, TextFileIndex::MaxShownLine)) << "line " << n;
    EXPECT_EQ(index.LineStart(n), starts[n]) << "line " << n;
    EXPECT_EQ(index.LineAt(starts[n]), n);
    EXPECT_EQ(index.LineAt(starts[n] + lines[n].size()), n) << "the line feed belongs to its line";
  }
  std::vector<std::string> screen = index.Lines(770, 12);
  ASSERT_EQ(screen.size(), 12u);
  EXPECT_EQ(screen[0], lines[770]);
  EXPECT_EQ(screen[11], lines[781]);
  EXPECT_EQ(screen[7].size(), TextFileIndex::MaxShownLine) << "a huge line is shown cut";
}

TEST(TextFileIndex, ShowsTheFirstLinesBeforeTheIndexIsComplete) {
  std::string bytes;
  for (int i = 0; i < 100000; ++i) bytes += "line " + std::to_string(i) + "\n";
  taltest::TempDir dir;
  TextFileIndex index;
  ASSERT_EQ(index.Open(dir.write("A.LST", bytes)), "");
  EXPECT_FALSE(index.IndexMore(4096));
  EXPECT_FALSE(index.complete());
  ASSERT_GE(index.lineCount(), 50u);
  EXPECT_LT(index.lineCount(), 100000u);
  EXPECT_EQ(index.Line(49), "line 49");
  index.IndexThrough(bytes.size() / 2);
  EXPECT_GT(index.indexedBytes(), bytes.size() / 2);
}

TEST(TextFileIndex, AFileShortenedWhileShownGivesFewerLinesNotACrash) {
  std::string bytes;
  for (int i = 0; i < 50000; ++i) bytes += "output row " + std::to_string(i) + "\n";
  taltest::TempDir dir;
  std::string path = dir.write("A.OUT", bytes);
  TextFileIndex index;
  ASSERT_EQ(index.Open(path), "");
  index.IndexMore(1000);
  ASSERT_EQ(::truncate(path.c_str(), 5000), 0);  // the engine rewrites the file meanwhile
  while (!index.IndexMore(100000)) {
  }
  EXPECT_EQ(index.size(), 5000u);
  std::size_t count = index.lineCount();
  EXPECT_LE(count, 5000u / 12 + 1);
  std::vector<std::string> all = index.Lines(0, count);
  EXPECT_EQ(all.front(), "output row 0");
}

TEST(TextFileIndex, AMissingFileIsReportedByName) {
  TextFileIndex index;
  std::string message = index.Open("/nonexistent/folder/A.LST");
  EXPECT_NE(message.find("/nonexistent/folder/A.LST"), std::string::npos);
  EXPECT_FALSE(index.isOpen());
  EXPECT_TRUE(index.complete()) << "nothing is left to index";
  EXPECT_EQ(index.lineCount(), 0u);
  EXPECT_TRUE(index.Lines(0, 10).empty());
}

// Text appended to a shown file is taken in by extending the index; a file written anew (even
// longer), shortened or replaced by another file must be read again.
TEST(TextFileIndex, ExtendTakesInAppendsOnly) {
  struct Case {
    const char* before;
    const char* after;
    bool replaced;  // a new file renamed over the old one, else written in place
    bool extends;
  };
  const Case cases[] = {
      {"one\nThe run e", "one\nThe run ended.\nnext", false, true},
      {"one\nThe run e", "zero\nThe run ended.\n", false, false},
      {"head\nA\n", "head\nB\n", false, false},
      {"one\ntwo\n", "one\n", false, false},
      {"one\n", "one\ntwo\n", true, false},
  };
  for (const Case& c : cases) {
    taltest::TempDir dir;
    const std::string path = dir.write("RUN.LST", c.before);
    TextFileIndex index;
    ASSERT_EQ(index.Open(path), "");
    index.IndexThrough(index.size());
    std::ofstream(c.replaced ? path + ".new" : path, std::ios::binary | std::ios::trunc) << c.after;
    if (c.replaced) std::filesystem::rename(path + ".new", path);
    ASSERT_EQ(index.Extend(), c.extends) << c.after;
    if (!c.extends) continue;
    EXPECT_EQ(index.stamp(), StampOf(path));
    index.IndexThrough(index.size());
    EXPECT_EQ(index.Lines(0, 10), SplitLines(c.after));
  }
}

// A scan given the bytes in pieces of any size (down to one byte at a time), comparing 16 or 32
// bytes at once, counts the lines, the longest line and the checkpoints that the rules give line
// by line: feeds at every place within and across the 64-byte blocks a scan counts together,
// in files whose lines are all shorter than a block and in files with lines of many blocks.
TEST(TextFileIndex, ScanningInPiecesOfAnySizeGivesTheIndexOfTheRules) {
  std::mt19937 random(5);
  // Lines of `shortest` to `shortest + spread - 1` bytes, and some of 60,000 to 70,000 when `someLong`.
  auto file = [&](std::size_t shortest, std::size_t spread, bool someLong) {
    std::string bytes;
    while (bytes.size() < 300000) {
      const bool longLine = someLong && random() % 500 == 0;
      const std::size_t length = longLine ? 60000 + random() % 10000 : shortest + random() % spread;
      bytes += std::string(length, 'x') + (random() % 5 ? "\n" : "\r\n");
    }
    return bytes + "unended";
  };
  auto repeat = [](const std::string& line, int times) {
    std::string bytes;
    for (int i = 0; i < times; ++i) bytes += line;
    return bytes;
  };
  // The longest line (30 bytes) ends at the second feed of the block at 6,400, after a short one.
  const std::string innerLongest = repeat("abc\n", 1600) + "a\n" + std::string(30, 'x') + "\n" + repeat("abc\n", 2000);
  for (const std::string& bytes : {file(0, 130, true), file(0, 40, false), file(50, 30, false), innerLongest}) {
    LineScan rules;  // the checkpoint rules applied feed by feed
    std::vector<LineCheckpoint> ruled;
    for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1)) {
      rules.longest = std::max<std::size_t>(rules.longest, at - rules.lastLineStart);
      rules.lastLineStart = at + 1;
      if (++rules.lines - rules.lastCheckpoint.line >= LineScan::LinesPerBlock ||
          rules.lastLineStart - rules.lastCheckpoint.offset >= LineScan::BytesPerBlock)
        ruled.push_back(rules.lastCheckpoint = LineCheckpoint{rules.lines, rules.lastLineStart});
    }
    for (ByteLanes lanes : {ByteLanes::Baseline, ByteLanes::Avx2}) {
      for (std::size_t piece : {1u, 63u, 64u, 65u, 4096u, 131072u, 400000u}) {
        LineScan s;
        std::vector<LineCheckpoint> added;
        for (std::size_t at = 0; at < bytes.size(); at += piece)
          s.Scan(bytes.data() + at, std::min(piece, bytes.size() - at), added, lanes);
        const std::string where = "lanes " + std::to_string(static_cast<int>(lanes)) + " piece " + std::to_string(piece);
        EXPECT_EQ(s.indexed, bytes.size()) << where;
        EXPECT_EQ(s.lines, rules.lines) << where;
        EXPECT_EQ(s.longest, rules.longest) << where;
        EXPECT_EQ(s.lastLineStart, rules.lastLineStart) << where;
        ASSERT_EQ(added.size(), ruled.size()) << where;
        for (std::size_t k = 0; k < added.size(); ++k) {
          EXPECT_EQ(added[k].line, ruled[k].line) << where << " checkpoint " << k;
          EXPECT_EQ(added[k].offset, ruled[k].offset) << where << " checkpoint " << k;
        }
      }
    }
  }
}
