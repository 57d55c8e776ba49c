// Writing a file safely: the old file stays whole until the new one is complete, and the file
// keeps what the user set up around it (its permissions, the link that leads to it).
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestSupport.h"
#include "support/Files.h"

using namespace tal;
using taltest::ReadFile;
using taltest::TempDir;

namespace fs = std::filesystem;

TEST(FileWriting, ALinkedFileIsReplacedThroughItsLink) {
  TempDir dir;
  std::string shared = dir.write("shared/A.DCK", "old deck\n");
  fs::create_directory(dir.file("work"));
  fs::create_symlink(shared, dir.file("work/A.DCK"));
  ASSERT_EQ(WriteFileAtomically(dir.file("work/A.DCK"), "new deck\n"), "");
  EXPECT_TRUE(fs::is_symlink(dir.file("work/A.DCK"))) << "the link is kept";
  EXPECT_EQ(ReadFile(shared), "new deck\n") << "the file it leads to has the new bytes";
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.file("shared"))) ++entries;
  EXPECT_EQ(entries, 1u) << "no temporary file is left beside the target";
}

TEST(FileWriting, ARelativeLinkAndADanglingLink) {
  TempDir dir;
  dir.write("A.DCK", "old\n");
  fs::create_symlink("A.DCK", dir.file("B.DCK"));
  ASSERT_EQ(WriteFileAtomically(dir.file("B.DCK"), "through a relative link\n"), "");
  EXPECT_TRUE(fs::is_symlink(dir.file("B.DCK")));
  EXPECT_EQ(ReadFile(dir.file("A.DCK")), "through a relative link\n");

  fs::create_symlink(dir.file("GONE.DCK"), dir.file("C.DCK"));
  ASSERT_EQ(WriteFileAtomically(dir.file("C.DCK"), "written\n"), "");
  EXPECT_EQ(ReadFile(dir.file("C.DCK")), "written\n") << "a link to nothing is replaced by the file";
}

TEST(FileWriting, TheReplacedFileKeepsItsPermissions) {
  TempDir dir;
  std::string deck = dir.write("A.DCK", "old\n");
  ::chmod(deck.c_str(), 0640);
  ASSERT_EQ(WriteFileAtomically(deck, "new\n"), "");
  struct stat st {};
  ASSERT_EQ(::stat(deck.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(ReadFile(deck), "new\n");
}

TEST(FileWriting, AFolderThatDoesNotExistIsNamedInTheMessage) {
  TempDir dir;
  std::string missing = dir.file("no/such/A.DCK");
  std::string message = WriteFileAtomically(missing, "x\n");
  EXPECT_NE(message.find("Could not write " + missing), std::string::npos) << message;
  EXPECT_NE(message.find("Error #"), std::string::npos) << message;
}

// A save killed half-way leaves its temporary file behind. It is named after its target and its
// process, so the next save of the same target removes it once that process is gone, and leaves
// alone the files of other targets and of saves still running.
TEST(FileWriting, TheNextSaveRemovesTheTemporaryFilesOfKilledSaves) {
  TempDir dir;
  std::string deck = dir.write("A.DCK", "old\n");
  pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ::waitpid(gone, nullptr, 0);
  std::string dead = ".A.DCK.talsave-" + std::to_string(gone) + "-abcdef";
  std::string running = ".A.DCK.talsave-" + std::to_string(::getppid()) + "-abcdef";
  std::string other = ".B.DCK.talsave-" + std::to_string(gone) + "-abcdef";
  for (const auto& name : {dead, running, other}) dir.write(name, "half");
  ASSERT_EQ(WriteFileAtomically(deck, "new\n"), "");
  EXPECT_EQ(ReadFile(deck), "new\n");
  EXPECT_FALSE(fs::exists(dir.file(dead))) << "the killed save's file is removed";
  EXPECT_TRUE(fs::exists(dir.file(running))) << "a save still running keeps its file";
  EXPECT_TRUE(fs::exists(dir.file(other))) << "another target's file waits for that target's save";
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);
}

TEST(FileWriting, ATargetWithTheLongestNameIsSaved) {
  TempDir dir;
  std::string deck = dir.file(std::string(251, 'L') + ".DCK");
  ASSERT_EQ(WriteFileAtomically(deck, "x\n"), "");
  EXPECT_EQ(ReadFile(deck), "x\n");
}
