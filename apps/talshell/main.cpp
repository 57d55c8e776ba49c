#include <clocale>
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "shell/Startup.h"
#include "shell/WindowCommandLine.h"
#include "support/Files.h"
#include "support/Program.h"
#include "support/QtInteraction.h"
#include "support/QtStrings.h"

namespace {
// Prints the help, version or error text of a command line that does not start the program.
int Answer(const tal::WindowCommandLine& line) {
  std::fputs(line.text.c_str(), line.exitStatus == 0 ? stdout : stderr);
  return line.exitStatus;
}

QStringList Arguments(int argc, char** argv) {
  QStringList list;
  for (int i = 0; i < argc; ++i) list << QString::fromLocal8Bit(argv[i]);
  return list;
}
}  // namespace

int main(int argc, char** argv) {
  std::string startDir = tal::FromQt(QDir::currentPath());
  const std::string program = tal::FileNameOf(argc > 0 ? argv[0] : "talshell");
  const bool talkit =
      tal::DetermineProgramInfo(argc > 0 ? argv[0] : "talshell", startDir, qEnvironmentVariable("PATH").toStdString())
          .talkitMode;
  // Help, version and a wrong option are answered before the window system is opened.
  const tal::WindowCommandLine line = tal::ParseWindowCommandLine(Arguments(argc, argv), program, talkit);
  if (line.outcome != tal::WindowCommandLine::Outcome::Start) return Answer(line);

  QApplication app(argc, argv);
  // Qt adopts the desktop locale; number texts in decks and files always use a decimal point.
  std::setlocale(LC_NUMERIC, "C");
  tal::QtInteraction dialogs;
  tal::setInteraction(&dialogs);

  tal::StartupArguments start;
  start.argv0 = argc > 0 ? argv[0] : "talshell";
  start.arguments = line.arguments;
  start.startDir = startDir;
  start.pathVariable = qEnvironmentVariable("PATH").toStdString();
  start.user = tal::UserFoldersFromEnvironment();

  std::unique_ptr<tal::TTALSHELLFORM> frame;
  if (int status = tal::StartTalshell(start, frame)) return status;
  return app.exec();
}
