// "Select Project", the help text window, the Help menu and the help browser.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <filesystem>

#include "../shell/ShellTestSupport.h"
#include "help/HelpBrowser.h"
#include "help/IndexDlg.h"

using namespace tal;
using namespace taltest;

namespace {

// Records the title and text of every modal window that opens while it lives, then closes it.
struct ModalWatcher {
  ModalWatcher() {
    QObject::connect(&timer, &QTimer::timeout, [this] {
      auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!modal) return;
      auto* text = modal->findChild<QPlainTextEdit*>();
      shown.push_back(modal->windowTitle() + "|" + (text ? text->toPlainText() : ""));
      if (onShown) onShown(modal);
      modal->reject();
    });
    timer.start(10);
  }
  QTimer timer;
  QStringList shown;
  std::function<void(QDialog*)> onShown;
};

class HelpWindows : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    dir.write("projects/HOUSE.TKD", "*TALKIT\n");
    dir.write("projects/HOUSE.TXT", "A house\nwith heating.\n");
    dir.write("projects/VIEWER.HLP", std::string("?_\x03\x00", 4));
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.save(QString::fromStdString(dir.file("projects/HOUSE.BMP")), "BMP");
    absolute = dir.write("elsewhere/ABS.TKD", "*TALKIT\n");
    index = dir.write("projects/DEMO.IDX", "Demo projects\r\nFirst\r\nSecond\r\nHouse\r\nHOUSE.TKD, HOUSE.BMP, HOUSE.TXT\r\n"
                                           "Missing deck\r\nNONE.TKD HOUSE.BMP HOUSE.TXT\r\nDeck only\r\nhouse.tkd\r\n"
                                           "Absolute\r\n" + absolute + "\r\nForeign help\r\nHOUSE.TKD HOUSE.BMP VIEWER.HLP\r\n");
    std::filesystem::current_path(dir.file("elsewhere"));  // not the index file's folder
  }
  std::unique_ptr<TIndexDlg> dialog() {
    return std::make_unique<TIndexDlg>(index, [this](const std::string& deck) { opened.push_back(deck); });
  }
  std::string index, absolute;
  std::vector<std::string> opened;
};

TEST_F(HelpWindows, IndexEntriesEnableOkHelpAndPictureAndOpenTheirDecksFromTheIndexFolder) {
  auto d = dialog();
  EXPECT_EQ(d->Label1->text() + d->Label3->text(), "Demo projectsSecond");
  ASSERT_EQ(d->theList->count(), 5);
  struct Case {
    int row;
    bool ok, help, picture;
  } cases[] = {{0, true, true, true}, {1, false, false, false}, {2, true, false, false}, {3, true, false, false}};
  for (const Case& c : cases) {
    d->theList->setCurrentRow(c.row);
    EXPECT_EQ(d->OKBtn->isEnabled(), c.ok) << c.row;
    EXPECT_EQ(d->HelpBtn->isEnabled(), c.help) << c.row;
    EXPECT_EQ(!d->Image1->pixmap().isNull(), c.picture) << c.row;
    // The picture fills its square as far as its proportions allow.
    if (c.picture) {
      EXPECT_EQ(d->Image1->pixmap().size(), QSize(160, 80));
    }
  }
  for (int row : {0, 3}) {
    d = dialog();
    d->theList->setCurrentRow(row);
    d->OKBtnClick();
    EXPECT_EQ(d->result(), QDialog::Accepted);
  }
  EXPECT_EQ(opened, (std::vector<std::string>{dir.file("projects/HOUSE.TKD"), absolute}));
}

TEST_F(HelpWindows, ActivationWhileOpeningADeckDoesNotReloadTheList) {
  std::unique_ptr<TIndexDlg> d;
  int rowsDuringOpen = -1;
  d = std::make_unique<TIndexDlg>(index, [&](const std::string&) {
    dir.write("projects/DEMO.IDX", "New\r\nA\r\nB\r\nOnly entry\r\nHOUSE.TKD\r\n");
    d->FormActivate();  // the dialog becomes active again after the opened windows
    rowsDuringOpen = d->theList->count();
  });
  d->theList->setCurrentRow(0);
  d->theListDblClick();
  EXPECT_EQ(rowsDuringOpen, 5);
  d->FormActivate();
  EXPECT_EQ(d->theList->count(), 1);
}

TEST_F(HelpWindows, EntryHelpShowsPlainTextAndNeverAForeignHelpFile) {
  auto d = dialog();
  ModalWatcher watcher;
  d->theList->setCurrentRow(4);
  d->HelpBtnClick();
  EXPECT_TRUE(watcher.shown.empty());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].find("VIEWER.HLP is written for the help viewer of another system"), std::string::npos);
  d->theList->setCurrentRow(0);
  d->HelpBtnClick();
  EXPECT_EQ(watcher.shown, QStringList{"Help for House|A house with heating.  "});
}

TEST_F(HelpWindows, TalkitModesFirstOpenShowsTheProgramDirectorysIndexAndOpensTheChosenForm) {
  dir.write("DEMO.IDX", "Title\r\nA\r\nB\r\nHouse\r\nprojects/HOUSE.TKD\r\n");
  makeFrame(true);
  frame->setFirstStart(true);
  ModalWatcher watcher;
  watcher.onShown = [](QDialog* modal) {
    // A double click makes its row the current one first; focus alone would do so only once the
    // dialog's focus event has come, which a loaded machine may deliver after this timer.
    if (auto* index = qobject_cast<TIndexDlg*>(modal)) {
      index->theList->setCurrentRow(0);
      index->theListDblClick();
    }
  };
  frame->Open1Click();
  ASSERT_FALSE(watcher.shown.empty());
  EXPECT_EQ(watcher.shown[0], "Select Project|");
  EXPECT_EQ(frame->currentInputDeck(), dir.file("projects/HOUSE.TKD"));
  EXPECT_NE(frame->FirstChildOfKind(KindCode::TalkitForm), nullptr);
}

TEST_F(HelpWindows, HelpMenuShowsManualPlainForeignAndMissingFilesOfTheProgramDirectory) {
  dir.write("talkit.HTML", "<html><head><title>Form help</title></head><body><a href=\"p/one.html\">One</a> "
                           "<a href=\"#end\">End</a><p>text</p><h2 id=\"end\">End</h2></body></html>");
  dir.write("p/one.html", "<html><body>first page, first word</body></html>");
  dir.write("error.hlp", "Error 12\nmeans a unit\n\nwithout inputs.\n");
  dir.write("TYPES.HLP", std::string("?_\x03\x00", 4));
  makeFrame(true);
  frame->action(MenuItem::TalshellIndex)->trigger();
  auto* help = frame->findChild<THelpBrowser*>();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->windowTitle(), "Help - Form help");
  ASSERT_EQ(help->contents()->count(), 3);
  emit help->contents()->itemClicked(help->contents()->item(2));
  EXPECT_EQ(help->contents()->currentRow(), 2);  // a section of the page is its own entry
  emit help->contents()->itemClicked(help->contents()->item(1));
  EXPECT_TRUE(help->FindText("first") && help->FindText("first") && help->FindText("first"));  // starts over
  EXPECT_FALSE(help->FindText("absent"));
  help->backAction()->trigger();
  EXPECT_TRUE(help->browser()->toPlainText().startsWith("One"));

  makeFrame();
  ModalWatcher watcher;
  frame->action(MenuItem::TalpixErrorMessages)->trigger();
  frame->action(MenuItem::TypesIndex)->trigger();
  frame->action(MenuItem::TalpixIndex)->trigger();
  EXPECT_EQ(watcher.shown, QStringList{"Help for TALPIX Error Messages|Error 12 means a unit \n\nwithout inputs.  "});
  ASSERT_EQ(dialogs.messages().size(), 2u);
  EXPECT_NE(dialogs.messages()[0].find(dir.file("TYPES.HLP") + " is written for"), std::string::npos);
  EXPECT_EQ(dialogs.messages()[1], "File " + dir.file("Typeindx.Hlp") + " was not found.");
  EXPECT_EQ(dialogs.beeps(), 3);
}

TEST_F(HelpWindows, FindSaysWhenNothingMatchesAndAnotherHelpFileKeepsTheBackHistory) {
  dir.write("TALSHELL.html", "<html><head><title>Shell</title></head><body><a href=\"p/one.html\">One</a></body></html>");
  dir.write("p/one.html", "<html><body>first page, first word</body></html>");
  dir.write("Types.html", "<html><head><title>Types</title></head><body><a href=\"t.html\">Type 1</a></body></html>");
  makeFrame();
  frame->action(MenuItem::TalshellIndex)->trigger();
  auto* help = frame->findChild<THelpBrowser*>();
  ASSERT_NE(help, nullptr);
  emit help->contents()->itemClicked(help->contents()->item(1));
  struct {
    const char *text, *status, *selected;  // the status beside the find field, the match highlighted
    bool found;
  } const finds[] = {{"first", "", "first", true}, {"absent", "Not found", "", false}, {"word", "", "word", true}};
  for (const auto& f : finds) {
    EXPECT_EQ(help->FindText(f.text), f.found) << f.text;
    EXPECT_EQ(help->findStatus()->text(), f.status) << f.text;
    EXPECT_EQ(help->browser()->textCursor().selectedText(), f.selected) << f.text;
  }
  help->findField()->setText("wor");
  EXPECT_EQ(help->findStatus()->text(), "") << "a new text has not been looked for yet";

  frame->action(MenuItem::TypesIndex)->trigger();
  EXPECT_EQ(help->contents()->item(1)->text(), "  Type 1");
  help->backAction()->trigger();
  EXPECT_TRUE(help->browser()->toPlainText().startsWith("first page"));
  help->backAction()->trigger();
  EXPECT_EQ(help->windowTitle(), "Help - Shell");
  EXPECT_EQ(help->contents()->item(1)->text(), "  One") << "the contents of the file shown again";
}

}  // namespace
