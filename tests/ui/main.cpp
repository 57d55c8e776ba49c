// Window tests run headless on the offscreen platform with scripted answers.
#include <clocale>
#include <QApplication>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "forms/TalkitForm.h"
#include "shell/EditForm.h"

namespace {
template <typename Function>
std::string Installed(const Function& handler) {
  return handler ? handler.target_type().name() : "nothing";
}
}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // as the program does after creating its application
  ::testing::InitGoogleTest(&argc, argv);
  taltest::AddProcessStateCheck("the editors' Save as handler", [] { return Installed(tal::TEditForm::SaveAsHandler()); });
  taltest::AddProcessStateCheck("the forms' help handler", [] { return Installed(tal::FormHelpHandler()); });
  return RUN_ALL_TESTS();
}
