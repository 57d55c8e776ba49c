#pragma once
// The one QApplication of the benchmark program, shared by every benchmark that needs windows or
// text drawing. Runs on the offscreen platform unless another is set.
#include <QApplication>

namespace bench {

inline QApplication& Application() {
  static int argc = 1;
  static char name[] = "talbench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: windows that live for the whole run (the progress window) would otherwise be
  // torn down after the thread data Qt needs for it is gone.
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

}  // namespace bench
