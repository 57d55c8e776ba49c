// Reading files whole: only regular files are read, and only up to a limit, so that a FIFO, a
// device or a huge file named where a deck, list or settings file belongs gives a message instead
// of a program that waits for ever or runs out of memory.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "TestSupport.h"
#include "shell/TextFileIndex.h"
#include "support/Files.h"

using namespace tal;
using taltest::TempDir;

TEST(FileReading, OnlyRegularFilesBelowTheLimitAreRead) {
  TempDir dir;
  dir.write("A.DCK", "0123456789");
  ASSERT_EQ(::mkfifo(dir.file("PIPE.LST").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.file("FOLDER"));
  struct Case {
    std::string path;
    std::uintmax_t limit;
    const char* reason;  // nullptr: read
  } cases[] = {
      {dir.file("A.DCK"), 10, nullptr},
      {dir.file("A.DCK"), 9, "it holds 10 bytes, more than the 9 bytes read at most"},
      {dir.file("PIPE.LST"), WholeFileLimit, "it is not a regular file"},
      {"/dev/zero", WholeFileLimit, "it is not a regular file"},
      {dir.file("FOLDER"), WholeFileLimit, "it is a folder"},
      {dir.file("GONE.DCK"), WholeFileLimit, "No such file or directory (Error #2)"},
  };
  for (const Case& c : cases) {
    std::string whyNot;
    auto bytes = ReadWholeFile(c.path, &whyNot, c.limit);
    if (!c.reason) {
      EXPECT_EQ(bytes.value_or("(none)"), "0123456789") << c.path;
      EXPECT_EQ(whyNot, "") << c.path;
      continue;
    }
    EXPECT_FALSE(bytes) << c.path;
    EXPECT_EQ(whyNot, "Cannot read " + c.path + ": " + c.reason);
    bool regular = c.path == dir.file("A.DCK");
    EXPECT_EQ(IsRegularFile(c.path), regular) << c.path;
    EXPECT_EQ(FileReadable(c.path), regular) << c.path;
  }
  // The viewers read result files in place rather than whole, with the same refusal.
  EXPECT_EQ(TextFileIndex().Open(dir.file("PIPE.LST")), "Cannot open " + dir.file("PIPE.LST") + ": not a plain file");
}

TEST(FilePaths, FolderAndNameOfAPath) {
  struct Case {
    std::string path, folder, name;
  } cases[] = {
      {"/x.DCK", "/", "x.DCK"},  // the root folder
      {"/work/x.DCK", "/work", "x.DCK"},
      {"work/runs/x.DCK", "work/runs", "x.DCK"},
      {"x.DCK", "", "x.DCK"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
    EXPECT_EQ(JoinPath(FolderOf(c.path), FileNameOf(c.path)), c.path) << c.path;
  }
}
