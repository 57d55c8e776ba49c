// The installed program: `cmake --install` into a DESTDIR, then the installed talbatch and engine
// started by a user whose home is empty.
#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>
#include <map>

#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

using taltest::TempDir;

taltest::ProcessResult Start(const std::string& program, const std::vector<std::string>& args,
                             const std::string& workingDir, const std::map<QString, QString>& environment) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("XDG_DATA_HOME");
  for (const auto& [name, value] : environment) env.insert(name, value);
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(QString::fromStdString(workingDir));
  QStringList list;
  for (const auto& a : args) list << QString::fromStdString(a);
  p.start(QString::fromStdString(program), list);
  p.waitForFinished(300000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
          p.readAllStandardError().toStdString()};
}

// Every file of the tree with its size and time, to see that nothing in it was written.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> Snapshot(const std::string& tree) {
  std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
  for (const auto& e : fs::recursive_directory_iterator(tree)) {
    if (e.is_symlink() || !e.is_regular_file()) files[e.path()] = {0, fs::file_time_type{}};
    else files[e.path()] = {e.file_size(), e.last_write_time()};
  }
  return files;
}

TEST(InstalledProgram, FirstStartFromTheInstalledTreeMakesTheUsersDirectoryAndDemo) {
  TempDir destdir, home;
  auto installed = Start(TAL_CMAKE_COMMAND, {"--install", TAL_BINARY_DIR, "--prefix", "/usr"}, destdir.path(),
                         {{"DESTDIR", QString::fromStdString(destdir.path())}});
  ASSERT_EQ(installed.exitCode, 0) << installed.out << installed.err;
  const std::string bin = destdir.file("usr/bin");
  for (const char* program : {"talshell", "talbatch", "talpix-sample", "talkit"})
    EXPECT_TRUE(fs::exists(bin + "/" + program)) << program;
  EXPECT_EQ(fs::read_symlink(bin + "/talkit"), "talshell");
  EXPECT_TRUE(fs::exists(destdir.file("usr/share/doc/talshell/manual/getting-started.html")));
  const auto before = Snapshot(destdir.path());

  const std::map<QString, QString> user{{"HOME", QString::fromStdString(home.path())}};
  auto shown = Start(bin + "/talbatch", {"settings", "show"}, home.path(), user);
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  const std::string dir = home.file(".local/share/talshell");
  EXPECT_NE(shown.out.find("talpix_dir=" + dir + "\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("compile_command=gfortran -c\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.err.find("made the program directory " + dir), std::string::npos) << shown.err;
  EXPECT_EQ(fs::read_symlink(dir + "/TALPIX32"), fs::path(bin) / "talpix-sample");
  for (const char* file : {"CNFGTL.TAL", "Header.txt", "INFO/TYPE3.INF", "TALWIN/Month1.dat", "TALSHELL.html"})
    EXPECT_TRUE(fs::exists(dir + "/" + file)) << file;

  const std::string demo = home.file("TALSHELL-demo");
  for (const char* file : {"HOUSE.DCK", "HOUSE.TKD", "HOUSE.TBL", "WEATHER.DAT", "DEMO.IDX", "TALWIN/Length.dat"})
    EXPECT_TRUE(fs::exists(demo + "/" + file)) << file;
  EXPECT_FALSE(taltest::Exists(demo + "/TALSHELL.DFT"));  // the demo uses the user's program directory

  auto engine = Start(bin + "/talpix-sample", {"HOUSE.DCK"}, demo, user);
  ASSERT_EQ(engine.exitCode, 0) << engine.err;
  EXPECT_NE(taltest::ReadFile(demo + "/HOUSE.LST").find("The run ended normally."), std::string::npos);
  // A run in the demo finds the engine through the user's settings, which are made no second time.
  auto run = Start(bin + "/talbatch", {"run", "HOUSE.TKD"}, demo, user);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err.find("made the program directory"), std::string::npos) << run.err;

  EXPECT_EQ(Snapshot(destdir.path()), before) << "the installed tree was written";
}

}  // namespace
