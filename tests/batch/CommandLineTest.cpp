// --help and --version of every program, answered without a display, and an unknown option refused
// by name with exit status 2.
#include <gtest/gtest.h>

#include <QProcess>

#include "TestSupport.h"

namespace {

taltest::ProcessResult Start(const std::string& program, const QStringList& args) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");  // help and version must not need a window system
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  p.setProcessEnvironment(env);
  p.start(QString::fromStdString(program), args);
  p.waitForFinished(60000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput().toStdString(),
          p.readAllStandardError().toStdString()};
}

struct Program {
  std::string name, path, helpMentions;
};

TEST(ProgramCommandLines, EveryProgramAnswersHelpAndVersionAndRefusesAnUnknownOption) {
  const std::string demo = std::string(TAL_BINARY_DIR) + "/demo/";
  const Program programs[] = {
      {"talshell", TAL_TALSHELL_PATH, "TALSHELL, the desktop environment"},
      {"talkit", demo + "talkit", "TALKIT, the form-only mode"},
      {"talbatch", TAL_TALBATCH_PATH, "settings show"},
      {"talpix-sample", TAL_ENGINE_PATH, "the listing .LST"},
  };
  for (const auto& program : programs) {
    SCOPED_TRACE(program.name);
    auto help = Start(program.path, {"--help"});
    EXPECT_EQ(help.exitCode, 0) << help.err;
    EXPECT_NE(help.out.find(program.helpMentions), std::string::npos) << help.out;
    auto version = Start(program.path, {"--version"});
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out.rfind(program.name + " " + TAL_VERSION, 0), 0u) << version.out;
    auto unknown = Start(program.path, {"--no-such-option"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("no-such-option"), std::string::npos) << unknown.err;
  }
}

}  // namespace
