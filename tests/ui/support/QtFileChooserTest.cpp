// The program's real file chooser: a name typed without extension gets the default extension
// before the chooser decides whether it would overwrite a file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "TestSupport.h"
#include "support/FileChooser.h"
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

namespace {

// Plays the user at the Open chooser: types `typed`, notes whether Open is enabled and presses
// Return; when the chooser stays open, notes what it lists (once the folder is read) and cancels.
struct OpenChooserUser {
  explicit OpenChooserUser(QString typed) : typed(std::move(typed)) {
    QObject::connect(&poll, &QTimer::timeout, [this] { Step(); });
    poll.start(20);
  }
  void Step() {
    if (auto* box = VisibleTopLevel<QMessageBox>()) {
      complaint = box->text();
      return box->accept();
    }
    auto* dialog = VisibleTopLevel<TFileChooser>();
    if (!dialog) return;
    QLineEdit* edit = dialog->nameField();
    if (!typed.isNull()) {
      width = dialog->width();
      QTest::keyClicks(edit, typed);
      openEnabled = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->isEnabled();
      typed = QString();
      // Once this step is over: a box the chooser shows runs its own loop.
      return QTimer::singleShot(0, edit, [edit] { QTest::keyClick(edit, Qt::Key_Return); });
    }
    auto* details = dialog->findChild<QTreeView*>("treeView");
    listed.clear();
    for (int i = 0; i < details->model()->rowCount(details->rootIndex()); ++i)
      listed << details->model()->index(i, 0, details->rootIndex()).data().toString();
    if (++waited < 25 && listed.isEmpty()) return;
    poll.stop();
    dialog->reject();
  }
  QString typed, complaint;
  QStringList listed;
  bool openEnabled = false;
  int width = 0, waited = 0;
  QTimer poll;
};

}  // namespace

TEST(QtFileChooser, OpenTakesATypedExistingNameWhateverTheFilterAndFiltersByATypedPattern) {
  struct Case {
    const char* typed;
    bool openEnabled;
    const char* opened;  // "" when the chooser is cancelled after Return
    QStringList listed;  // what the chooser lists after Return when it stays open
    const char* complaint;
  } const cases[] = {
      {"HOUSE.DCK", true, "HOUSE.DCK", {}, ""},
      {"*.DCK", false, "", {"HOUSE.DCK", "PUMP.DCK"}, ""},
      {"*.TKD;*.DCK", false, "", {"HOUSE.DCK", "HOUSE.TKD", "PUMP.DCK"}, ""},
      {"MISSING.DCK", false, "", {"DEMO.IDX"}, "MISSING.DCK\nFile not found."},
  };
  taltest::TempDir dir;
  for (const char* name : {"DEMO.IDX", "HOUSE.DCK", "PUMP.DCK", "HOUSE.TKD"}) dir.write(name, "*\n");
  for (const Case& c : cases) {
    QtInteraction chooser;
    OpenChooserUser user(c.typed);
    std::optional<FileChoice> choice = chooser.openFile(
        {"Open", dir.path(), "", {"TALPIX files (*.DCK)", "TALKIT files (*.TKD)", "Index files (*.IDX)"}, 2, ""});
    EXPECT_EQ(user.openEnabled, c.openEnabled) << c.typed;
    EXPECT_EQ(choice ? choice->path : "", *c.opened ? dir.file(c.opened) : "") << c.typed;
    user.listed.sort();
    EXPECT_EQ(user.listed, c.listed) << c.typed;
    EXPECT_EQ(user.complaint.section('\n', 0, 1), c.complaint) << c.typed;
    EXPECT_GE(user.width, 800) << "Size, Type and Date columns shown whole";
  }
}
