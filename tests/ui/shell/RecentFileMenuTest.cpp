// The recent-file items of the File menu, and Exit writing the list.
#include "ShellTestSupport.h"

using namespace tal;
using taltest::Captions;

class RecentFileMenu : public taltest::ShellTest {
 protected:
  QStringList recentItems() {
    QStringList captions = Captions(frame->menu(Menu::File));
    return captions.mid(frame->fileMenuHeadSize());
  }
};

TEST_F(RecentFileMenu, ListFileIsLoadedAtCreationNewestFirst) {
  dir.write("TALSHELL.FNL", "/w/OLD.DCK\n/w/NEW.TKD\n");
  makeFrame();
  EXPECT_EQ(recentItems(), (QStringList{"-", "1. /w/NEW.TKD", "2. /w/OLD.DCK"}));
}

TEST_F(RecentFileMenu, WithoutListFileTheMenuEndsWithExit) {
  makeFrame();
  EXPECT_TRUE(recentItems().isEmpty());
  EXPECT_TRUE(frame->recentFiles().empty());
  EXPECT_TRUE(dialogs.prompts().empty());
}

TEST_F(RecentFileMenu, TalkitModeKeepsItsShorterHead) {
  dir.write("TALSHELL.FNL", "/w/A.TKD\n");
  makeFrame(true);
  EXPECT_EQ(Captions(frame->menu(Menu::File)),
            (QStringList{"&Open", "&Save", "Save &as", "-", "&Print", "Print Setup", "-", "E&xit", "-", "1. /w/A.TKD"}));
}

TEST_F(RecentFileMenu, OpeningFilesRebuildsTheItemsWithoutDuplicates) {
  makeFrame();
  std::vector<std::string> names;
  for (int i = 1; i <= 9; ++i) names.push_back(dir.write("D" + std::to_string(i) + ".DCK", "x\n"));
  for (const auto& name : names) frame->ReadaFile(name);
  QStringList items = recentItems();
  ASSERT_EQ(items.size(), 9);  // separator and 8 files: the first one dropped
  EXPECT_EQ(items[1], QString::fromStdString("1. " + names[8]));
  EXPECT_EQ(items[8], QString::fromStdString("8. " + names[1]));

  frame->ReadaFile(names[4]);  // reopened: moves to number 1, still 8 entries
  items = recentItems();
  ASSERT_EQ(items.size(), 9);
  EXPECT_EQ(items[1], QString::fromStdString("1. " + names[4]));
  EXPECT_EQ(items.filter(QString::fromStdString(names[4])).size(), 1);
}

TEST_F(RecentFileMenu, ClickingAnItemOpensTheFileAndMovesItToTheTop) {
  std::string older = dir.write("sub/A.DCK", "A\n");
  std::string newer = dir.write("B.DCK", "B\n");
  dir.write("TALSHELL.FNL", older + "\n" + newer + "\n");
  makeFrame();
  QAction* second = frame->menu(Menu::File)->actions()[frame->fileMenuHeadSize() + 2];
  ASSERT_EQ(second->text(), QString::fromStdString("2. " + older));
  second->trigger();
  ASSERT_NE(frame->activeChild(), nullptr);
  EXPECT_EQ(frame->activeChild()->fileName(), older);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.file("sub")));
  EXPECT_EQ(recentItems(), (QStringList{"-", QString::fromStdString("1. " + older),
                                        QString::fromStdString("2. " + newer)}));
  EXPECT_TRUE(enabled(MenuItem::Save));
}

TEST_F(RecentFileMenu, VanishedFileIsReportedAndDropped) {
  std::string kept = dir.write("KEEP.DCK", "x\n");
  std::string gone = dir.file("GONE.DCK");
  dir.write("TALSHELL.FNL", gone + "\n" + kept + "\n");
  makeFrame();
  frame->menu(Menu::File)->actions()[frame->fileMenuHeadSize() + 2]->trigger();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{gone + " no longer exists"});
  EXPECT_EQ(dialogs.prompts()[0].kind, WarningOkCancel);
  EXPECT_EQ(dialogs.beeps(), 1);
  EXPECT_EQ(recentItems(), (QStringList{"-", QString::fromStdString("1. " + kept)}));
  EXPECT_TRUE(frame->children().empty());
}

TEST_F(RecentFileMenu, StalePositionDoesNothing) {
  makeFrame();
  frame->OpenFileItem(3);
  EXPECT_TRUE(dialogs.prompts().empty());
  EXPECT_TRUE(frame->children().empty());
}

TEST_F(RecentFileMenu, ExitWritesTheListIntoTheProgramDirectory) {
  std::string a = dir.write("work/A.DCK", "x\n");
  std::string b = dir.write("work/B.DCK", "x\n");
  makeFrame();
  frame->show();
  frame->ReadaFile(a);
  frame->ReadaFile(b);
  std::filesystem::current_path(dir.file("work"));
  frame->action(MenuItem::Exit)->trigger();
  EXPECT_FALSE(frame->isVisible());
  EXPECT_EQ(taltest::ReadFile(dir.file("TALSHELL.FNL")), a + "\n" + b + "\n");
  EXPECT_FALSE(taltest::Exists(dir.file("work/TALSHELL.FNL")));
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.path()));
}

TEST_F(RecentFileMenu, ClosingTheFrameAnotherWayDoesNotWriteTheList) {
  makeFrame();
  frame->show();
  frame->ReadaFile(dir.write("A.DCK", "x\n"));
  EXPECT_TRUE(frame->close());
  EXPECT_FALSE(taltest::Exists(dir.file("TALSHELL.FNL")));
}

TEST_F(RecentFileMenu, ExitStaysOpenWhenAChildCancelsItsCloseQuestion) {
  makeFrame();
  frame->show();
  auto* changed = addChild(KindCode::DeckEditor, dir.file("A.DCK"));
  auto* other = addChild(KindCode::TextEditor, dir.file("B.TXT"));
  changed->allowClose = false;
  frame->action(MenuItem::Exit)->trigger();
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->children().size(), 2u);
  EXPECT_EQ(changed->closeQuestions + other->closeQuestions, 2);
}

TEST_F(RecentFileMenu, FailedListWriteIsReported) {
  makeFrame();
  frame->ReadaFile(dir.write("A.DCK", "x\n"));
  tal::Program().directory = dir.file("missing-folder");
  frame->action(MenuItem::Exit)->trigger();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].find("TALSHELL.FNL"), std::string::npos);
  EXPECT_EQ(dialogs.prompts()[0].kind, ErrorOk);
}
