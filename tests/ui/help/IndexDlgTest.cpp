// "Select Project" and the help text window of its entries.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "../shell/ShellTestSupport.h"
#include "HelpTestSupport.h"
#include "help/AddHelpDlg.h"
#include "help/IndexDlg.h"
#include "shell/ProgramFonts.h"

using namespace tal;
using namespace taltest;

namespace {

const char* const Index =
    "Demo projects\r\nFirst subtitle\r\nSecond subtitle\r\n"
    "House\r\nHOUSE.TKD, HOUSE.BMP, HOUSE.TXT\r\n"
    "Missing deck\r\nNONE.TKD PIC.BMP HOUSE.TXT\r\n"
    "Deck only\r\nhouse.tkd\r\n"
    "Absolute\r\nABSOLUTE\r\n"
    "Foreign help\r\nHOUSE.TKD HOUSE.BMP VIEWER.HLP\r\n";

class IndexDialog : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    dir.write("projects/HOUSE.TKD", "*TALKIT\n");
    dir.write("projects/HOUSE.TXT", "A house\nwith heating.\n");
    dir.write("projects/VIEWER.HLP", std::string("?_\x03\x00", 4));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(QString::fromStdString(dir.file("projects/HOUSE.BMP")), "BMP");
    absolute = dir.write("elsewhere/ABS.TKD", "*TALKIT\n");
    std::string text = Index;
    text.replace(text.find("ABSOLUTE"), 8, absolute);
    index = dir.write("projects/DEMO.IDX", text);
    std::filesystem::current_path(dir.file("elsewhere"));  // not the index file's folder
  }
  std::unique_ptr<TIndexDlg> dialog() {
    return std::make_unique<TIndexDlg>(index, [this](const std::string& deck) { opened.push_back(deck); });
  }
  std::string index, absolute;
  std::vector<std::string> opened;
};

TEST_F(IndexDialog, EntriesEnableOkHelpAndThePictureByTheFilesThatExist) {
  auto d = dialog();
  EXPECT_EQ(d->windowTitle(), "Select Project");
  EXPECT_EQ(d->Label1->text(), "Demo projects");
  EXPECT_EQ(d->Label3->text(), "Second subtitle");
  ASSERT_EQ(d->theList->count(), 5);
  EXPECT_FALSE(d->OKBtn->isEnabled());
  EXPECT_FALSE(d->HelpBtn->isEnabled());
  struct Case {
    int row;
    bool ok, help, picture;
  } cases[] = {{0, true, true, true}, {1, false, false, false}, {2, true, false, false}, {3, true, false, false}};
  for (const Case& c : cases) {
    d->theList->setCurrentRow(c.row);
    EXPECT_EQ(d->OKBtn->isEnabled(), c.ok) << c.row;
    EXPECT_EQ(d->HelpBtn->isEnabled(), c.help) << c.row;
    EXPECT_EQ(!d->Image1->pixmap().isNull(), c.picture) << c.row;
  }
}

TEST_F(IndexDialog, OkOpensRelativeDecksFromTheIndexFolderAndAbsoluteOnesAsWritten) {
  for (int row : {0, 3}) {
    auto d = dialog();
    d->theList->setCurrentRow(row);
    d->OKBtnClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
  }
  EXPECT_EQ(opened, (std::vector<std::string>{dir.file("projects/HOUSE.TKD"), absolute}));

  auto d = dialog();
  d->theList->setCurrentRow(2);
  std::filesystem::remove(dir.file("projects/HOUSE.TKD"));  // gone since it was clicked
  d->theListDblClick();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"File house.tkd was not found"});
  EXPECT_EQ(dialogs.beeps(), 1);
  EXPECT_NE(d->result(), QDialog::Accepted);
  EXPECT_EQ(opened.size(), 2u);
}

TEST_F(IndexDialog, ActivationWhileOpeningADeckDoesNotReloadTheList) {
  std::unique_ptr<TIndexDlg> d;
  int rowsDuringOpen = -1;
  d = std::make_unique<TIndexDlg>(index, [&](const std::string&) {
    dir.write("projects/DEMO.IDX", "New\r\nA\r\nB\r\nOnly entry\r\nHOUSE.TKD\r\n");
    d->FormActivate();  // the dialog becomes active again after the opened windows
    rowsDuringOpen = d->theList->count();
  });
  d->theList->setCurrentRow(0);
  d->OKBtnClick();
  EXPECT_EQ(rowsDuringOpen, 5);
  d->FormActivate();
  EXPECT_EQ(d->theList->count(), 1);

  TIndexDlg unreadable(dir.file("projects/NO.IDX"), nullptr);
  EXPECT_EQ(unreadable.theList->count(), 0);
  EXPECT_EQ(unreadable.Label1->text(), "");
}

TEST_F(IndexDialog, HelpShowsPlainTextAndNeverAForeignHelpFile) {
  auto d = dialog();
  helptest::ModalWatcher watcher;
  d->theList->setCurrentRow(4);
  ASSERT_TRUE(d->HelpBtn->isEnabled());
  d->HelpBtnClick();
  EXPECT_TRUE(watcher.titles.empty());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].find("VIEWER.HLP"), std::string::npos);

  d->theList->setCurrentRow(0);
  d->HelpBtnClick();
  ASSERT_EQ(watcher.titles.size(), 1u);
  EXPECT_EQ(watcher.titles[0], "Help for House");
  EXPECT_EQ(watcher.texts[0], "A house with heating.  ");
}

TEST_F(IndexDialog, CopyIsEnabledOnlyWithASelection) {
  TAddHelpDlg help;
  ASSERT_TRUE(help.Setup("House", dir.file("projects/HOUSE.TXT")));
  EXPECT_FALSE(help.CopyB->isEnabled());
  QTextCursor cursor = help.HelpMemo->textCursor();
  cursor.setPosition(2);
  cursor.setPosition(7, QTextCursor::KeepAnchor);
  help.HelpMemo->setTextCursor(cursor);
  ASSERT_TRUE(help.CopyB->isEnabled());
  help.CopyB->click();
  EXPECT_EQ(QApplication::clipboard()->text(), "house");
  cursor.clearSelection();
  help.HelpMemo->setTextCursor(cursor);
  EXPECT_FALSE(help.CopyB->isEnabled());
}

TEST_F(IndexDialog, TalkitModesFirstOpenShowsTheProgramDirectorysIndexAndOpensTheChosenForm) {
  dir.write("DEMO.IDX", "Title\r\nA\r\nB\r\nHouse\r\nprojects/HOUSE.TKD\r\n");
  makeFrame(true);
  frame->setFirstStart(true);
  helptest::ModalWatcher watcher;
  watcher.onShown = [](QWidget* modal) {
    auto* index = qobject_cast<TIndexDlg*>(modal);
    if (!index) return;
    index->theList->setCurrentRow(0);
    index->OKBtnClick();
  };
  frame->Open1Click();
  ASSERT_FALSE(watcher.titles.empty());
  EXPECT_EQ(watcher.titles[0], "Select Project");
  EXPECT_FALSE(frame->firstStart());
  EXPECT_EQ(frame->currentInputDeck(), dir.file("projects/HOUSE.TKD"));
  EXPECT_NE(frame->FirstChildOfKind(KindCode::TalkitForm), nullptr);
}

}  // namespace
