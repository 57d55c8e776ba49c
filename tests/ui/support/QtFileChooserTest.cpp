// The program's real file chooser: a name typed without extension gets the default extension
// before the chooser decides whether it would overwrite a file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "TestSupport.h"
#include "support/QtInteraction.h"

using namespace tal;

namespace {

template <typename T>
T* VisibleTopLevel() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<T*>(widget); found && found->isVisible()) return found;
  return nullptr;
}

// Plays the user at the chooser: types `typed` and accepts. An overwrite question that comes up is
// recorded and answered No, after which the chooser is cancelled.
class ChooserUser {
 public:
  explicit ChooserUser(QString typed) : typed_(std::move(typed)) {
    QObject::connect(&poll_, &QTimer::timeout, [this] { Step(); });
    poll_.start(20);
  }
  QString question;

 private:
  void Step() {
    if (auto* box = VisibleTopLevel<QMessageBox>()) {
      question = box->text();
      box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : box->reject();
      answered_ = true;
      return;
    }
    auto* dialog = VisibleTopLevel<QFileDialog>();
    if (!dialog) return;
    if (answered_) {
      poll_.stop();
      dialog->reject();
      return;
    }
    if (accepted_) return;
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!edit) return;
    edit->setText(typed_);
    accepted_ = true;
    QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
  }

  QString typed_;
  QTimer poll_;
  bool accepted_ = false;
  bool answered_ = false;
};

FileDialogRequest SaveRequest(const taltest::TempDir& dir) {
  FileDialogRequest request;
  request.title = "Save as";
  request.directory = dir.path();
  request.filters = {"TALPIX files (*.DCK *.dck)", "All files (*)"};
  request.defaultExtension = "DCK";
  return request;
}

}  // namespace

TEST(QtFileChooser, SavingAsksAboutTheFileWithItsDefaultExtension) {
  taltest::TempDir dir;
  dir.write("two.DCK", "a deck that must not be overwritten unasked\n");
  QtInteraction chooser;
  ChooserUser user("two");
  std::optional<FileChoice> choice = chooser.saveFile(SaveRequest(dir));
  EXPECT_FALSE(choice.has_value()) << "No to the overwrite question, then cancelled";
  EXPECT_NE(user.question.indexOf("two.DCK"), -1) << user.question.toStdString();
}

TEST(QtFileChooser, SavingANewNameReturnsItWithTheDefaultExtension) {
  taltest::TempDir dir;
  QtInteraction chooser;
  ChooserUser user("three");
  std::optional<FileChoice> choice = chooser.saveFile(SaveRequest(dir));
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->path, dir.file("three.DCK"));
  EXPECT_TRUE(user.question.isEmpty()) << "nothing to overwrite";
}
