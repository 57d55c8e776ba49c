#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "TestSupport.h"
#include "runs/SettingsFile.h"

using namespace tal;
using taltest::ReadFile;
using taltest::TempDir;

namespace {

std::int32_t Int32At(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes.at(at + i));
  return static_cast<std::int32_t>(v);
}

void PutInt32(std::string& bytes, std::size_t at, std::int32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

// The text held by the 256-byte block at `at`: its length byte, then that many characters.
std::string TextAt(const std::string& bytes, std::size_t at) {
  return bytes.substr(at + 1, static_cast<unsigned char>(bytes.at(at)));
}

void PutText(std::string& bytes, std::size_t at, const std::string& text) {
  bytes[at] = static_cast<char>(text.size());
  bytes.replace(at + 1, text.size(), text);
}

bool AllZero(const std::string& bytes, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i)
    if (bytes.at(i) != '\0') return false;
  return true;
}

SettingsRecord SampleSettings() {
  SettingsRecord s;
  s.units = 2;
  s.includeHeader = 1;
  s.includeSimulationCard = 1;
  s.version32 = 1;
  s.compileCommand = "gfortran -c";
  s.rebuildCommand = "make -f MAKTAL.DAT UPDATE";
  s.userCommand = "echo done";
  s.talpixDir = "/opt/talpix";
  s.voxenDir = "/opt/talpix/voxen";
  s.lumetDir = "/opt/talpix/lumet";
  s.orvaDir = "/opt/talpix/orva";
  s.kantoDir = "/opt/talpix/kanto";
  s.mirellDir = "/opt/talpix/mirell";
  s.linkEntries = {"/usr/bin/app1", "/usr/bin/app2", "", "/usr/bin/app4", ""};
  return s;
}

// A file of the first three blocks only (4116 bytes) built from the bytes WriteDFT writes.
std::string ShortFileBytes(const SettingsRecord& s) { return EncodeSettings(s).substr(0, 4116); }

}  // namespace

TEST(SettingsFile, WrittenBytesSitAtTheirOffsets) {
  TempDir dir;
  SettingsRecord s = SampleSettings();
  s.reservedIntegers[0] = 7;
  s.reservedIntegers[9] = -3;
  s.reservedBytes[4] = 0xAB;
  ASSERT_EQ(WriteDFT(dir.path(), s), "");
  std::string bytes = ReadFile(dir.file("TALSHELL.DFT"));
  ASSERT_EQ(bytes.size(), 5452u);
  EXPECT_EQ(Int32At(bytes, 0), 2);
  EXPECT_EQ(Int32At(bytes, 4), 1);
  EXPECT_EQ(Int32At(bytes, 8), 1);
  EXPECT_EQ(bytes[12], 1);
  EXPECT_TRUE(AllZero(bytes, 13, 20));
  EXPECT_EQ(TextAt(bytes, 20), "gfortran -c");
  EXPECT_EQ(TextAt(bytes, 276), "make -f MAKTAL.DAT UPDATE");
  EXPECT_EQ(TextAt(bytes, 532), "echo done");
  EXPECT_TRUE(AllZero(bytes, 788, 2324)) << "reserved texts are written empty";
  EXPECT_EQ(TextAt(bytes, 2324), "/opt/talpix");
  EXPECT_EQ(TextAt(bytes, 2580), "/opt/talpix/voxen");
  EXPECT_EQ(TextAt(bytes, 2836), "/opt/talpix/lumet");
  EXPECT_EQ(TextAt(bytes, 3092), "/opt/talpix/orva");
  EXPECT_EQ(TextAt(bytes, 3348), "/opt/talpix/kanto");
  EXPECT_EQ(TextAt(bytes, 3604), "/opt/talpix/mirell");
  EXPECT_TRUE(AllZero(bytes, 3860, 4116));
  EXPECT_EQ(Int32At(bytes, 4116), 5);
  EXPECT_EQ(TextAt(bytes, 4120), "/usr/bin/app1");
  EXPECT_EQ(TextAt(bytes, 4376), "/usr/bin/app2");
  EXPECT_EQ(TextAt(bytes, 4632), "");
  EXPECT_EQ(TextAt(bytes, 4888), "/usr/bin/app4");
  EXPECT_EQ(TextAt(bytes, 5144), "");
  EXPECT_EQ(Int32At(bytes, 5400), 7);
  EXPECT_EQ(Int32At(bytes, 5436), -3);
  EXPECT_EQ(static_cast<unsigned char>(bytes[5444]), 0xAB);
  EXPECT_TRUE(AllZero(bytes, 5450, 5452));
}

TEST(SettingsFile, ReadsBackWhatItWrote) {
  TempDir dir;
  std::string bitmap = dir.write("btn.bmp", "BM");
  SettingsRecord s = SampleSettings();
  s.linkBitmaps[1] = bitmap;
  s.reservedIntegers[3] = 123456;
  s.reservedBytes[9] = 9;
  ASSERT_EQ(WriteDFT(dir.path(), s), "");
  SettingsRecord read;
  DftReadResult r = ReadDFT(dir.path(), read);
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(read, s);
}

TEST(SettingsFile, FileWithoutLinkBlockReadsEmptyLinksAndIsWrittenWhole) {
  TempDir dir;
  SettingsRecord original = SampleSettings();
  dir.write("TALSHELL.DFT", ShortFileBytes(original));
  SettingsRecord read;
  read.linkEntries[0] = "left over from before";
  read.linkBitmaps[2] = "old.bmp";
  read.reservedIntegers[0] = 5;
  DftReadResult r = ReadDFT(dir.path(), read);
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(read.talpixDir, "/opt/talpix");
  EXPECT_EQ(read.units, 2);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(read.linkEntries[i], "") << i;
    EXPECT_EQ(read.linkBitmaps[i], "") << i;
  }
  EXPECT_EQ(read.reservedIntegers[0], 0);
  ASSERT_EQ(WriteDFT(dir.path(), read), "");
  EXPECT_EQ(ReadFile(dir.file("TALSHELL.DFT")).size(), 5452u);
}

TEST(SettingsFile, LinkBitmapIsSplitOffAndKeptOnlyWhenReadable) {
  TempDir dir;
  std::string bitmap = dir.write("pics/tool.bmp", "BM");
  std::string bytes = EncodeSettings(SampleSettings());
  PutText(bytes, 4120, "/usr/bin/app1\x01" + bitmap);
  PutText(bytes, 4376, "/usr/bin/app2\x01" + dir.file("gone.bmp"));
  dir.write("TALSHELL.DFT", bytes);

  SettingsRecord read;
  ASSERT_TRUE(ReadDFT(dir.path(), read).ok);
  EXPECT_EQ(read.linkEntries[0], "/usr/bin/app1");
  EXPECT_EQ(read.linkBitmaps[0], bitmap);
  EXPECT_EQ(read.linkEntries[1], "/usr/bin/app2");
  EXPECT_EQ(read.linkBitmaps[1], "") << "a missing bitmap is dropped";

  // Written back: the readable bitmap keeps its place after code 1, the missing one is gone.
  ASSERT_EQ(WriteDFT(dir.path(), read), "");
  std::string written = ReadFile(dir.file("TALSHELL.DFT"));
  EXPECT_EQ(TextAt(written, 4120), "/usr/bin/app1\x01" + bitmap);
  EXPECT_EQ(TextAt(written, 4376), "/usr/bin/app2");
}

TEST(SettingsFile, EntryHoldingAnOldBitmapPartIsWrittenWithTheCurrentBitmap) {
  SettingsRecord s = SampleSettings();
  s.linkEntries[0] = "/usr/bin/app1\x01/old.bmp";
  s.linkBitmaps[0] = "/new.bmp";
  s.linkEntries[1] = "/usr/bin/app2\x01/old.bmp";
  std::string bytes = EncodeSettings(s);
  EXPECT_EQ(TextAt(bytes, 4120), "/usr/bin/app1\x01/new.bmp");
  EXPECT_EQ(TextAt(bytes, 4376), "/usr/bin/app2");
}

TEST(SettingsFile, LongTextsAreCutAt255AndStayInTheirBlock) {
  SettingsRecord s = SampleSettings();
  s.compileCommand = std::string(300, 'c');
  s.linkEntries[0] = std::string(250, 'a');
  s.linkBitmaps[0] = std::string(20, 'b');
  std::string bytes = EncodeSettings(s);
  ASSERT_EQ(bytes.size(), 5452u);
  EXPECT_EQ(TextAt(bytes, 20), std::string(255, 'c'));
  EXPECT_EQ(TextAt(bytes, 276), "make -f MAKTAL.DAT UPDATE") << "the next block is untouched";
  EXPECT_EQ(TextAt(bytes, 4120), std::string(250, 'a') + "\x01" + std::string(4, 'b'));
  EXPECT_EQ(TextAt(bytes, 4376), "/usr/bin/app2");
}

TEST(SettingsFile, FullLengthTextDoesNotReadIntoTheNextBlock) {
  TempDir dir;
  std::string bytes = EncodeSettings(SampleSettings());
  bytes[3604] = static_cast<char>(255);
  for (std::size_t i = 3605; i < 3860; ++i) bytes[i] = 'm';
  bytes[3860] = 'X';  // first byte of the reserved block after the MIRELL folder
  dir.write("TALSHELL.DFT", bytes);
  SettingsRecord read;
  ASSERT_TRUE(ReadDFT(dir.path(), read).ok);
  EXPECT_EQ(read.mirellDir, std::string(255, 'm'));
}

TEST(SettingsFile, FewerLinkEntriesReadTheRestEmpty) {
  TempDir dir;
  std::string bytes = EncodeSettings(SampleSettings());
  PutInt32(bytes, 4116, 2);
  // Two entries, then the reserved integers and bytes straight after them.
  std::string file = bytes.substr(0, 4120 + 2 * 256) + std::string(50, '\0');
  PutInt32(file, 4120 + 512, 42);
  dir.write("TALSHELL.DFT", file);
  SettingsRecord read;
  DftReadResult r = ReadDFT(dir.path(), read);
  ASSERT_TRUE(r.ok) << r.message;
  EXPECT_EQ(read.linkEntries[0], "/usr/bin/app1");
  EXPECT_EQ(read.linkEntries[1], "/usr/bin/app2");
  EXPECT_EQ(read.linkEntries[3], "");
  EXPECT_EQ(read.reservedIntegers[0], 42);
}

// A units value other than 1 shows as secondary units in the menu and the settings dialog; the
// forms must then be in secondary units too, or picking primary units converts them twice.
TEST(SettingsFile, AnyUnitsValueButOneReadsAsSecondary) {
  for (std::int32_t stored : {1, 2, 0, 3, -1}) {
    TempDir dir;
    std::string bytes = EncodeSettings(SampleSettings());
    PutInt32(bytes, 0, stored);
    dir.write("TALSHELL.DFT", bytes);
    SettingsRecord read;
    ASSERT_TRUE(ReadDFT(dir.path(), read).ok) << stored;
    EXPECT_EQ(read.units, stored == 1 ? 1 : 2) << stored;
  }
}

TEST(SettingsFile, MissingFileGivesTheCopyMessageAndLeavesTheRecord) {
  TempDir dir;
  SettingsRecord s = SampleSettings();
  DftReadResult r = ReadDFT(dir.path(), s);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "Please copy the TALSHELL.DFT file into the " + dir.path() + " directory.");
  EXPECT_EQ(r.message, MissingDftMessage(dir.path()));
  EXPECT_EQ(s, SampleSettings());

  std::filesystem::create_directory(dir.file("TALSHELL.DFT"));
  EXPECT_EQ(ReadDFT(dir.path(), s).message, MissingDftMessage(dir.path())) << "a folder is not a settings file";
}

TEST(SettingsFile, NameIsMatchedWithoutRegardToCase) {
  TempDir dir;
  dir.write("Talshell.dft", EncodeSettings(SampleSettings()));
  SettingsRecord read;
  ASSERT_TRUE(ReadDFT(dir.path(), read).ok);
  EXPECT_EQ(read.compileCommand, "gfortran -c");

  read.userCommand = "changed";
  ASSERT_EQ(WriteDFT(dir.path(), read), "");
  EXPECT_FALSE(taltest::Exists(dir.file("TALSHELL.DFT"))) << "the existing file is replaced, no second one made";
  EXPECT_EQ(TextAt(ReadFile(dir.file("Talshell.dft")), 532), "changed");
}

TEST(SettingsFile, NewFileGetsTheUpperCaseName) {
  TempDir dir;
  ASSERT_EQ(WriteDFT(dir.path(), SettingsRecord{}), "");
  EXPECT_TRUE(taltest::Exists(dir.file("TALSHELL.DFT")));
  auto entries = std::distance(std::filesystem::directory_iterator(dir.path()), {});
  EXPECT_EQ(entries, 1) << "no temporary file is left behind";
}

TEST(SettingsFile, DamagedFilesAreRefusedNamingTheFile) {
  std::string good = EncodeSettings(SampleSettings());
  struct Case {
    const char* what;
    std::string bytes;
  };
  auto withCount = [&](std::int32_t n) {
    std::string b = good;
    PutInt32(b, 4116, n);
    return b;
  };
  std::vector<Case> cases = {
      {"empty", ""},
      {"shorter than the first blocks", good.substr(0, 4115)},
      {"count cut off", good.substr(0, 4118)},
      {"six entries", withCount(6)},
      {"huge count", withCount(0x7FFFFFFF)},
      {"negative count", withCount(-1)},
      {"entries past the end", good.substr(0, 4120 + 3 * 256)},
      {"reserved blocks cut off", good.substr(0, 5420)},
      {"bytes after the layout", good + std::string(10, 'z')},
      {"entries after the count", withCount(3)},
  };
  for (const auto& c : cases) {
    TempDir dir;
    std::string path = dir.write("TALSHELL.DFT", c.bytes);
    SettingsRecord s = SampleSettings();
    s.userCommand = "untouched";
    DftReadResult r = ReadDFT(dir.path(), s);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_NE(r.message.find(path), std::string::npos) << c.what << ": " << r.message;
    EXPECT_NE(r.message.find("damaged"), std::string::npos) << c.what << ": " << r.message;
    EXPECT_EQ(s.userCommand, "untouched") << c.what;
  }
}

TEST(SettingsFile, PaddingIsNotRequired) {
  TempDir dir;
  std::string good = EncodeSettings(SampleSettings());
  for (std::string bytes : {good.substr(0, 5450)}) {
    dir.write("TALSHELL.DFT", bytes);
    SettingsRecord read;
    DftReadResult r = ReadDFT(dir.path(), read);
    EXPECT_TRUE(r.ok) << bytes.size() << ": " << r.message;
    EXPECT_EQ(read.linkEntries[3], "/usr/bin/app4");
  }
}

TEST(SettingsFile, FailedWriteNamesTheFileAndKeepsTheOldOne) {
  TempDir dir;
  std::string missing = dir.file("no/such/folder");
  std::string message = WriteDFT(missing, SampleSettings());
  EXPECT_NE(message.find(missing + "/TALSHELL.DFT"), std::string::npos) << message;

  // A folder in the way of the rename: the write fails and the folder stays as it was.
  std::filesystem::create_directory(dir.file("TALSHELL.DFT"));
  dir.write("TALSHELL.DFT/keep", "x");
  message = WriteDFT(dir.path(), SampleSettings());
  EXPECT_NE(message.find(dir.file("TALSHELL.DFT")), std::string::npos) << message;
  EXPECT_EQ(ReadFile(dir.file("TALSHELL.DFT/keep")), "x");
}
