#include <unistd.h>

#include <clocale>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "BatchCommand.h"
#include "support/Program.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // Commands that draw need fonts, which need a GUI application; it runs without a display.
  std::unique_ptr<QCoreApplication> app;
  if (tal::batch::CommandNeedsGui(args)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  // Qt adopts the desktop locale; number texts in decks and files always use a decimal point.
  std::setlocale(LC_NUMERIC, "C");
  // Where talbatch was started from tells whether it is an installed program (ProgramDirectory.h).
  const char* path = std::getenv("PATH");
  tal::Program() = tal::DetermineProgramInfo(argc > 0 ? argv[0] : "talbatch",
                                             QDir::currentPath().toStdString(), path ? path : "");
  tal::batch::BatchIo io{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1};
  return tal::batch::RunBatch(args, io);
}
