#include <gtest/gtest.h>

#include <sstream>

#include "BatchCommand.h"
#include "TestSupport.h"
#include "runs/SettingsFile.h"

using namespace tal;
using taltest::ReadFile;
using taltest::RunTalbatch;
using taltest::TempDir;

namespace {

struct InProcess {
  int status = -1;
  std::string out, err;
};

InProcess RunInProcess(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  batch::BatchIo io{out, err};
  InProcess r;
  r.status = batch::RunBatch(args, io);
  r.out = out.str();
  r.err = err.str();
  return r;
}

SettingsRecord Read(const std::string& dir) {
  SettingsRecord s;
  DftReadResult r = ReadDFT(dir, s);
  EXPECT_TRUE(r.ok) << r.message;
  return s;
}

}  // namespace

TEST(SettingsCommand, ShowPrintsEveryFieldInOrder) {
  TempDir dir;
  std::string bitmap = dir.write("b1.bmp", "BM");
  SettingsRecord s;
  s.units = 2;
  s.includeHeader = 1;
  s.version32 = 1;
  s.compileCommand = "gfortran -c";
  s.rebuildCommand = "make UPDATE";
  s.userCommand = "ls -l";
  s.talpixDir = "/t";
  s.voxenDir = "/v";
  s.lumetDir = "/l";
  s.orvaDir = "/o";
  s.kantoDir = "/k";
  s.mirellDir = "/m";
  s.linkEntries = {"/bin/a", "", "/bin/c", "/bin/d", "/bin/fifth"};
  s.linkBitmaps[0] = bitmap;
  ASSERT_EQ(WriteDFT(dir.path(), s), "");
  auto r = RunTalbatch({"settings", "show", dir.path()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "units=2\ninclude_header=1\ninclude_simulation_card=0\nversion32=1\n"
            "compile_command=gfortran -c\nrebuild_command=make UPDATE\nuser_command=ls -l\n"
            "talpix_dir=/t\nvoxen_dir=/v\nlumet_dir=/l\norva_dir=/o\nkanto_dir=/k\nmirell_dir=/m\n"
            "link1=/bin/a\nlink2=\nlink3=/bin/c\nlink4=/bin/d\n"
            "link1_bitmap=" + bitmap + "\nlink2_bitmap=\nlink3_bitmap=\nlink4_bitmap=\n");
}

TEST(SettingsCommand, ShowUsesTheCurrentFolderByDefault) {
  TempDir dir;
  SettingsRecord s;
  s.talpixDir = "/here";
  ASSERT_EQ(WriteDFT(dir.path(), s), "");
  auto r = RunTalbatch({"settings", "show"}, dir.path());
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("\ntalpix_dir=/here\n"), std::string::npos) << r.out;
}

TEST(SettingsCommand, ShowOfAMissingFileFails) {
  TempDir dir;
  auto r = RunTalbatch({"settings", "show", dir.path()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(MissingDftMessage(dir.path())), std::string::npos) << r.err;
  // The folder is named as the program names its own: full and without a trailing "/".
  for (const std::string& given : {std::string("."), std::string("./"), dir.path() + "/"}) {
    auto fromInside = RunTalbatch({"settings", "show", given}, dir.path());
    EXPECT_EQ(fromInside.exitCode, 1) << given;
    EXPECT_EQ(fromInside.err, "talbatch: " + MissingDftMessage(dir.path()) + "\n") << given;
  }
}

TEST(SettingsCommand, SetCreatesTheFileWhenMissing) {
  TempDir dir;
  auto r = RunTalbatch({"settings", "set", dir.path(), "talpix_dir=" + dir.path(), "units=2",
                        "compile_command=gfortran -c -O2", "link2=/usr/bin/xterm", "link2_bitmap=/x.bmp"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadFile(dir.file("TALSHELL.DFT")).size(), 5452u);
  SettingsRecord s = Read(dir.path());
  EXPECT_EQ(s.talpixDir, dir.path());
  EXPECT_EQ(s.units, 2);
  EXPECT_EQ(s.includeHeader, 0);
  EXPECT_EQ(s.compileCommand, "gfortran -c -O2");
  EXPECT_EQ(s.linkEntries[1], "/usr/bin/xterm");
  EXPECT_NE(r.err.find("link2_bitmap /x.bmp cannot be read"), std::string::npos) << r.err;
}

TEST(SettingsCommand, SetChangesOnlyTheNamedFields) {
  TempDir dir;
  std::string bitmap = dir.write("b.bmp", "BM");
  SettingsRecord s;
  s.userCommand = "keep me";
  s.linkEntries[0] = "/bin/app";
  s.linkBitmaps[0] = bitmap;
  s.reservedIntegers[2] = 99;
  ASSERT_EQ(WriteDFT(dir.path(), s), "");
  auto r = RunInProcess({"settings", "set", dir.path(), "include_header=1", "mirell_dir=/opt/mirell dir", "link3=a=b"});
  EXPECT_EQ(r.status, 0) << r.err;
  SettingsRecord after = Read(dir.path());
  s.includeHeader = 1;
  s.mirellDir = "/opt/mirell dir";
  s.linkEntries[2] = "a=b";
  EXPECT_EQ(after, s) << "the link bitmap and the reserved integers survive";
}

TEST(SettingsCommand, BadInputIsRefusedAndTheFileIsUntouched) {
  TempDir dir;
  SettingsRecord s;
  s.userCommand = "original";
  ASSERT_EQ(WriteDFT(dir.path(), s), "");
  std::string before = ReadFile(dir.file("TALSHELL.DFT"));
  struct Case {
    std::string assignment;
    std::string message;
  };
  const Case cases[] = {
      {"colour=red", "unknown setting \"colour\""},
      {"units=3", "units must be 1 or 2"},
      {"units=", "units must be 1 or 2"},
      {"units=01", "units must be 1 or 2"},
      {"include_header=2", "include_header must be 0 or 1"},
      {"include_simulation_card=yes", "include_simulation_card must be 0 or 1"},
      {"version32=-1", "version32 must be 0 or 1"},
      {"compile_command=" + std::string(256, 'c'), "compile_command is 256 characters long, at most 255"},
      {"link5=/bin/x", "unknown setting \"link5\""},
      {"link1=" + std::string(200, 'a'), ""},  // fine alone, too long with the bitmap below
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"settings", "set", dir.path(), "user_command=changed", c.assignment};
    if (c.message.empty()) args.push_back("link1_bitmap=" + std::string(60, 'b'));
    auto r = RunTalbatch(args);
    EXPECT_EQ(r.exitCode, 2) << c.assignment;
    std::string expected = c.message.empty() ? "link1 and link1_bitmap together take 261 characters" : c.message;
    EXPECT_NE(r.err.find(expected), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(dir.file("TALSHELL.DFT")), before) << c.assignment;
  }
}

TEST(SettingsCommand, TextOfExactly255IsAccepted) {
  TempDir dir;
  auto r = RunInProcess({"settings", "set", dir.path(), "rebuild_command=" + std::string(255, 'r')});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Read(dir.path()).rebuildCommand, std::string(255, 'r'));
}

TEST(SettingsCommand, DamagedFileIsNotOverwritten) {
  TempDir dir;
  dir.write("TALSHELL.DFT", std::string(100, '\0'));
  auto r = RunInProcess({"settings", "set", dir.path(), "units=2"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("is damaged"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(dir.file("TALSHELL.DFT")), std::string(100, '\0'));
}

TEST(SettingsCommand, UsageErrors) {
  TempDir dir;
  for (std::vector<std::string> args : {std::vector<std::string>{"settings"},
                                        {"settings", "list"},
                                        {"settings", "set", dir.path()},
                                        {"settings", "set", dir.path(), "other", "units=1"},
                                        {"settings", "show", dir.path(), "units=1"}}) {
    auto r = RunInProcess(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_NE(r.err.find("usage: talbatch settings"), std::string::npos) << args.back();
  }
  EXPECT_FALSE(taltest::Exists(dir.file("TALSHELL.DFT")));
}

TEST(SettingsCommand, ShowEscapesControlCharactersOfStoredTexts) {
  TempDir dir;
  SettingsRecord s;
  s.talpixDir = "/a\nunits=1";
  ASSERT_EQ(WriteDFT(dir.path(), s), "");
  auto r = RunInProcess({"settings", "show", dir.path()});
  EXPECT_NE(r.out.find("\ntalpix_dir=/a\\x0Aunits=1\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("\nunits=1"), std::string::npos) << "no forged line";
}
