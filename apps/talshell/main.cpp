#include <clocale>
#include <QApplication>
#include <QDir>

#include "shell/Startup.h"
#include "support/QtInteraction.h"
#include "support/QtStrings.h"

int main(int argc, char** argv) {
  std::string startDir = tal::FromQt(QDir::currentPath());
  QApplication app(argc, argv);
  // Qt adopts the desktop locale; number texts in decks and files always use a decimal point.
  std::setlocale(LC_NUMERIC, "C");
  tal::QtInteraction dialogs;
  tal::setInteraction(&dialogs);

  tal::StartupArguments start;
  start.argv0 = argc > 0 ? argv[0] : "talshell";
  for (int i = 1; i < argc; ++i) start.arguments.emplace_back(argv[i]);
  start.startDir = startDir;
  start.pathVariable = qEnvironmentVariable("PATH").toStdString();

  std::unique_ptr<tal::TTALSHELLFORM> frame;
  if (int status = tal::StartTalshell(start, frame)) return status;
  return app.exec();
}
