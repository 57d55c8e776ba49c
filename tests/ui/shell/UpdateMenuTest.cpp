// Which items the menu enables for each kind of active child.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "ShellTestSupport.h"

using namespace tal;
using M = MenuItem;

class UpdateMenuTest : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    makeFrame();
  }
  // The items of the kind table, in a fixed order, as a string of 1 (enabled) and 0.
  std::string row() {
    std::string bits;
    for (M item : {M::Find, M::SearchAgain, M::Replace, M::Copy, M::Cut, M::Undo, M::Paste, M::Clear,
                   M::MakeTalkitFile, M::NewTable, M::Calculate, M::RunTable, M::AlterTable, M::InsertDeleteRuns,
                   M::InsertDeleteVars, M::OverlayPlot, M::ModifyPlot})
      bits += enabled(item) ? '1' : '0';
    return bits;
  }
};

TEST_F(UpdateMenuTest, WithoutChildWindowsTheDocumentCommandsAreOff) {
  for (M item : {M::RunTable, M::Print, M::MakeTalkitFile, M::OverlayPlot, M::ModifyPlot, M::Save, M::SaveAs})
    EXPECT_FALSE(enabled(item)) << static_cast<int>(item);
  EXPECT_FALSE(menuEnabled(Menu::Edit));
  EXPECT_FALSE(menuEnabled(Menu::Parametrics));
  EXPECT_TRUE(enabled(M::Open));
  EXPECT_TRUE(enabled(M::NewPlot));
}

TEST_F(UpdateMenuTest, ClosingTheLastChildTurnsThemOffAgain) {
  auto* child = addChild(KindCode::Table, "/w/A.TBL");
  EXPECT_TRUE(enabled(M::Save));
  child->subWindow()->close();
  EXPECT_EQ(frame->activeChild(), nullptr);
  EXPECT_FALSE(enabled(M::Save));
  EXPECT_FALSE(enabled(M::RunTable));
  EXPECT_FALSE(menuEnabled(Menu::Edit));
}

TEST_F(UpdateMenuTest, AnyChildEnablesSavingPrintingAndTheMenus) {
  addChild(KindCode::Diagram, "/w/A.BMP");
  EXPECT_EQ(frame->activeChild()->kind(), KindCode::Diagram);
  for (M item : {M::Save, M::SaveAs, M::Print, M::RebuildTalpix}) EXPECT_TRUE(enabled(item));
  EXPECT_TRUE(menuEnabled(Menu::Edit));
  EXPECT_TRUE(menuEnabled(Menu::Parametrics));
  EXPECT_TRUE(menuEnabled(Menu::Talpix));
  EXPECT_FALSE(enabled(M::CompileModule));
  EXPECT_FALSE(enabled(M::OverlayPlot));
  EXPECT_FALSE(enabled(M::ModifyPlot));
}

TEST_F(UpdateMenuTest, DeckEditorsEnableDeckCommandsByExtension) {
  addChild(KindCode::DeckEditor, "/w/a.dck");
  //                Find SA Rep Copy Cut Undo Paste Clear Make NT Calc RT Alt IR IV Ov Mod
  EXPECT_EQ(row(), "1" "1" "1" "1" "1" "0" "1" "1" "1" "1" "1" "0" "0" "0" "0" "0" "0");
  EXPECT_FALSE(enabled(M::CompileModule));
  for (const char* name : {"/w/B.TKD", "/w/C.DEK"}) {
    addChild(KindCode::TextEditor, name);
    EXPECT_TRUE(enabled(M::Calculate)) << name;
    EXPECT_TRUE(enabled(M::MakeTalkitFile)) << name;
  }
}

TEST_F(UpdateMenuTest, FortranSourceEnablesCompileAndDisablesTheDeckCommands) {
  addChild(KindCode::TextEditor, "/w/MODULE.for");
  EXPECT_TRUE(enabled(M::CompileModule));
  EXPECT_FALSE(enabled(M::Calculate));
  EXPECT_FALSE(enabled(M::NewTable));
  EXPECT_FALSE(enabled(M::MakeTalkitFile));
  // Extensions are cut to four characters: ".FORTRAN" counts as ".FOR", ".DCKX" as ".DCK".
  addChild(KindCode::TextEditor, "/w/M.fortran");
  EXPECT_TRUE(enabled(M::CompileModule));
  addChild(KindCode::TalkitText, "/w/M.DCKX");
  EXPECT_TRUE(enabled(M::Calculate));
  EXPECT_FALSE(enabled(M::CompileModule));
  addChild(KindCode::DeckEditor, "NoName1");
  EXPECT_FALSE(enabled(M::Calculate));
}

TEST_F(UpdateMenuTest, UndoFollowsTheEditorCreatedLastNotTheActiveOne) {
  auto* first = addChild(KindCode::DeckEditor, "/w/A.DCK");
  auto* last = addChild(KindCode::TextEditor, "/w/B.TXT");
  frame->setLastCreatedEditor(last);
  first->undoable = true;
  frame->BringToFront(first);
  EXPECT_FALSE(enabled(M::Undo));
  last->undoable = true;
  first->undoable = false;
  frame->UpdateMenu();
  EXPECT_TRUE(enabled(M::Undo));
  frame->action(M::Undo)->trigger();
  EXPECT_EQ(last->undos, 1);
  EXPECT_EQ(first->undos, 0);
  // The form row shows the same undo state.
  addChild(KindCode::TalkitForm, "/w/F.TKD");
  EXPECT_TRUE(enabled(M::Undo));
  // Once that editor is gone, nothing can be undone.
  frame->FreeChild(last);
  frame->UpdateMenu();
  EXPECT_FALSE(enabled(M::Undo));
}

TEST_F(UpdateMenuTest, FormWindowRow) {
  addChild(KindCode::TalkitForm, "/w/F.TKD");
  EXPECT_EQ(row(), "0" "0" "0" "1" "1" "0" "1" "1" "0" "1" "1" "0" "0" "0" "0" "0" "0");
}

TEST_F(UpdateMenuTest, ViewerRow) {
  for (KindCode kind : {KindCode::Listing, KindCode::Output}) {
    addChild(kind, "/w/A.LST");
    EXPECT_EQ(row(), "1" "1" "0" "1" "0" "0" "0" "0" "0" "0" "0" "0" "0" "0" "0" "0" "0");
  }
}

TEST_F(UpdateMenuTest, PlotWindowEnablesPlotCommandsAndKeepsTableAndGeneratorItems) {
  addChild(KindCode::Table, "/w/A.TBL");  // table items on, Make TALKIT file off
  addChild(KindCode::Plot, "/w/A.SPF");
  EXPECT_TRUE(enabled(M::OverlayPlot));
  EXPECT_TRUE(enabled(M::ModifyPlot));
  EXPECT_FALSE(enabled(M::Calculate));
  EXPECT_FALSE(enabled(M::NewTable));
  EXPECT_TRUE(enabled(M::AlterTable));  // unchanged from the table
  EXPECT_FALSE(enabled(M::MakeTalkitFile));
  EXPECT_TRUE(enabled(M::Copy));
  EXPECT_FALSE(enabled(M::Cut));

  addChild(KindCode::DeckEditor, "/w/A.DCK");  // Make TALKIT file on, table items off
  addChild(KindCode::Plot, "/w/B.SPF");
  EXPECT_TRUE(enabled(M::MakeTalkitFile));
  EXPECT_FALSE(enabled(M::AlterTable));
}

TEST_F(UpdateMenuTest, TableWindowEnablesRunTableAndTheTableEditingItems) {
  addChild(KindCode::Table, "/w/A.TBL");
  EXPECT_EQ(row(), "0" "1" "0" "1" "1" "0" "1" "1" "0" "0" "0" "1" "1" "1" "1" "0" "0");
}

TEST_F(UpdateMenuTest, DiagramKeepsTheItemsOfTheWindowBefore) {
  addChild(KindCode::Table, "/w/A.TBL");
  std::string tableRow = row();
  addChild(KindCode::Diagram, "/w/A.BMP");
  EXPECT_EQ(row(), tableRow);
}

TEST_F(UpdateMenuTest, ActivatingAWindowRecomputesTheMenu) {
  auto* table = addChild(KindCode::Table, "/w/A.TBL");
  addChild(KindCode::Plot, "/w/A.SPF");
  EXPECT_FALSE(enabled(M::RunTable));
  frame->mdiArea()->setActiveSubWindow(table->subWindow());
  EXPECT_EQ(frame->activeChild(), table);
  EXPECT_TRUE(enabled(M::RunTable));
}

class UpdateMenuTalkit : public taltest::ShellTest {};

TEST_F(UpdateMenuTalkit, RemovedItemsAreSkipped) {
  makeFrame(true);
  addChild(KindCode::TalkitForm, dir.file("F.TKD"));
  EXPECT_TRUE(enabled(MenuItem::Calculate));
  EXPECT_FALSE(enabled(MenuItem::RunTable));
  EXPECT_TRUE(enabled(MenuItem::Save));
}
