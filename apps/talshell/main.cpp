#include <QApplication>
#include <QMainWindow>

#include "support/QtInteraction.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  tal::QtInteraction dialogs;
  tal::setInteraction(&dialogs);
  QMainWindow frame;
  frame.setWindowTitle("TALSHELL 32");
  frame.showMaximized();
  return app.exec();
}
