// The Print command: the selection dialog, and printing editors, viewers and diagrams into one
// job, here into a PDF file as on a machine without a printer.
#include <QApplication>
#include <QBuffer>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include "ShellTestSupport.h"
#include "shell/AboutBox.h"
#include "shell/DiagramForm.h"
#include "shell/EditForm.h"
#include "shell/PrintCommand.h"
#include "shell/PrintDlg.h"

using namespace tal;

namespace {

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

std::string RunTool(const QString& tool, const QStringList& args) {
  QProcess process;
  process.start(tool, args);
  process.waitForFinished(30000);
  return process.readAllStandardOutput().toStdString();
}

}  // namespace

class PrintTest : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    makeFrame();
    savedCheck_ = PrinterInstalledCheck();
    PrinterInstalledCheck() = [] { return false; };  // as on a machine without a printer
  }
  void TearDown() override {
    PrinterInstalledCheck() = savedCheck_;
    ShellTest::TearDown();
  }
  TEditForm* editorWith(const std::string& name, int lines) {
    std::string bytes;
    for (int i = 1; i <= lines; ++i) bytes += "deck line " + std::to_string(i) + "\n";
    return qobject_cast<TEditForm*>(frame->NewEditorWindow(dir.write(name, bytes)));
  }
  TPrintDlg* dialog() { return frame->findChild<TPrintDlg*>(); }
  std::function<bool()> savedCheck_;
  // Runs the Print command; `inDialog` acts on the selection dialog while it is shown.
  void print(std::function<void(TPrintDlg&)> inDialog) {
    QTimer::singleShot(0, [&] {
      TPrintDlg* dlg = dialog();
      ASSERT_NE(dlg, nullptr);
      inDialog(*dlg);
      if (dlg->isVisible()) dlg->reject();
    });
    frame->Print1Click();
  }
};

TEST_F(PrintTest, TheDialogStartsWithTheActiveWindowOnTheRight) {
  print([](TPrintDlg& dlg) {
    EXPECT_EQ(dlg.windowTitle(), "Select Windows to Print");
    EXPECT_FALSE(dlg.okButton()->isEnabled()) << "no window: nothing to print";
  });
  addChild(KindCode::Plot, "")->setCaption("Plot 2: " + dir.file("A.PLT"));
  addChild(KindCode::Listing, dir.file("A.LST"));
  addChild(KindCode::DeckEditor, dir.file("WORK/A.DCK"));
  print([](TPrintDlg& dlg) {
    EXPECT_EQ(Items(dlg.printList()), QStringList{"A.DCK"});
    EXPECT_EQ(Items(dlg.windowsList()), (QStringList{"A.LST", "Plot 2"}));
    EXPECT_TRUE(dlg.okButton()->isEnabled());
    EXPECT_TRUE(dlg.includeButton()->isEnabled());
    dlg.excludeAllButton()->click();
    EXPECT_FALSE(dlg.okButton()->isEnabled());
    EXPECT_FALSE(dlg.excludeButton()->isEnabled());
    EXPECT_EQ(Items(dlg.windowsList()), (QStringList{"A.DCK", "A.LST", "Plot 2"}));
    dlg.windowsList()->item(2)->setSelected(true);
    dlg.includeButton()->click();
    EXPECT_EQ(Items(dlg.printList()), QStringList{"Plot 2"});
    EXPECT_TRUE(dlg.windowsList()->item(1)->isSelected()) << "the entry at the moved one's place, or the last";
    EXPECT_TRUE(dlg.okButton()->isEnabled());
    dlg.includeAllButton()->click();
    EXPECT_FALSE(dlg.includeButton()->isEnabled());
    EXPECT_FALSE(dlg.includeAllButton()->isEnabled());
  });
  EXPECT_TRUE(dialogs.prompts().empty()) << "cancelled: nothing printed";
}

TEST_F(PrintTest, AnEditorLongerThanAPagePrintsToAPdfWithPageHeaders) {
  editorWith("LONG.DCK", 140);
  std::string pdf = dir.file("out.pdf");
  dialogs.answerText(pdf);
  print([](TPrintDlg& dlg) { dlg.okButton()->click(); });
  ASSERT_EQ(dialogs.prompts().size(), 1u);
  EXPECT_EQ(dialogs.prompts()[0].type, Prompt::Type::SaveFile);
  EXPECT_EQ(dialogs.prompts()[0].request.defaultExtension, "pdf") << "a name typed without extension";
  std::string text = RunTool("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
  EXPECT_NE(text.find("TALSHELL Ver. 2.015"), std::string::npos);
  EXPECT_NE(text.find("Page 2"), std::string::npos);
  EXPECT_NE(text.find("deck line 1\n"), std::string::npos);
  EXPECT_NE(text.find("deck line 140\n"), std::string::npos);
  std::size_t pageBreak = text.find('\f');
  ASSERT_NE(pageBreak, std::string::npos);
  EXPECT_LT(text.find("deck line 40\n"), pageBreak);
  EXPECT_GT(text.find("Page 2"), pageBreak);
}

TEST_F(PrintTest, EditorViewerAndDiagramPrintInTheOrderChosen) {
  editorWith("A.DCK", 3);
  frame->NewViewerWindow(dir.write("A.LST", "listing row\n"), KindCode::Listing);
  QImage picture(96, 96, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "BMP");
  auto* diagram = new TDiagramForm(frame.get());
  diagram->LoadPicture(dir.write("A.BMP", bmp.toStdString()));
  frame->AddChild(diagram);
  std::string pdf = dir.file("all.pdf");
  dialogs.answerText(pdf);
  print([](TPrintDlg& dlg) {
    dlg.excludeAllButton()->click();
    for (const char* name : {"A.LST", "A.DCK", "A.BMP"}) {
      auto found = dlg.windowsList()->findItems(name, Qt::MatchExactly);
      ASSERT_EQ(found.size(), 1);
      found[0]->setSelected(true);
      dlg.includeButton()->click();
    }
    EXPECT_EQ(Items(dlg.printList()), (QStringList{"A.LST", "A.DCK", "A.BMP"}));
    dlg.okButton()->click();
  });
  std::string text = RunTool("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
  ASSERT_NE(text.find("listing row"), std::string::npos);
  ASSERT_NE(text.find("deck line 3"), std::string::npos);
  EXPECT_LT(text.find("listing row"), text.find("deck line 1"));
  std::string images = RunTool("pdfimages", {"-list", QString::fromStdString(pdf)});
  EXPECT_NE(images.find("image"), std::string::npos) << images;
}

TEST_F(PrintTest, CancellingThePdfFileChooserPrintsNothing) {
  editorWith("A.DCK", 3);
  dialogs.answerCancel();
  print([](TPrintDlg& dlg) { dlg.okButton()->click(); });
  EXPECT_EQ(dialogs.prompts().size(), 1u);
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(PrintTest, APdfFileThatCannotBeWrittenIsReported) {
  TEditForm* editor = editorWith("A.DCK", 3);
  std::string pdf = dir.file("no/such/folder/out.pdf");
  dialogs.answerText(pdf);
  EXPECT_FALSE(PrintWindows({editor}, frame.get()));
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].find(pdf), std::string::npos);
}

TEST(AboutBox, TextsOfBothModesAndNoSystemButtons) {
  for (bool talkit : {false, true}) {
    TAboutBox box(talkit);
    EXPECT_EQ(box.windowTitle(), talkit ? "About TALKIT" : "About TALSHELL");
    auto text = [&](const char* name) { return box.findChild<QLabel*>(name)->text().toStdString(); };
    EXPECT_EQ(text("title"), talkit ? "TALKIT" : "TALSHELL");
    EXPECT_EQ(text("subtitle"), talkit ? "An Editor Program for TALPIX" : "An Environment Program for TALPIX");
    EXPECT_EQ(text("bits"), "32-bit");
    EXPECT_EQ(text("version"), "Version 2.015    06/09/99");
    EXPECT_FALSE(box.windowFlags() & Qt::WindowCloseButtonHint);
    auto* ok = box.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
  }
}
