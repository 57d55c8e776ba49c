// The Windows menu entries of the current deck's results, disposal of windows, the close question,
// and where new windows are placed.
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "ShellTestSupport.h"

using namespace tal;
using taltest::Captions;

namespace {

// Records what the shell asks the result-file and window makers to do.
class RecordingFrame : public TTALSHELLFORM {
 public:
  void GetLSTFile(const std::string& name, bool open) override { calls.push_back("LST " + name + (open ? " open" : "")); }
  void GetTBLFile(const std::string& name, bool open) override { calls.push_back("TBL " + name + (open ? " open" : "")); }
  void GetDGMFile(const std::string& name) override { calls.push_back("DGM " + name); }
  TChildForm* NewEditorWindow(const std::string& name) override {
    calls.push_back("editor " + name);
    return TTALSHELLFORM::NewEditorWindow(name);
  }
  TChildForm* NewFormWindow(const std::string& name) override {
    calls.push_back("form " + name);
    return TTALSHELLFORM::NewFormWindow(name);
  }
  std::vector<std::string> calls;
};

}  // namespace

class WindowsMenu : public taltest::ShellTest {
 protected:
  RecordingFrame& makeRecordingFrame() {
    useMode(false);
    frame = std::make_unique<RecordingFrame>();
    return static_cast<RecordingFrame&>(*frame);
  }
};

TEST_F(WindowsMenu, EntriesShowTheirFileOrThePlainDisabledCaption) {
  auto& f = makeFrame();
  f.setListingEntry("/w/A.LST");
  f.setTableEntry("/w/A.TBL");
  f.setDiagramEntry("/w/A.BMP");
  f.setInputEntry("/w/R&D/A.DCK");
  EXPECT_EQ(f.action(MenuItem::Listing)->text(), "Listing /w/A.LST");
  EXPECT_EQ(f.action(MenuItem::Table)->text(), "Table /w/A.TBL");
  EXPECT_EQ(f.action(MenuItem::Diagram)->text(), "Diagram /w/A.BMP");
  EXPECT_EQ(f.action(MenuItem::Input)->text(), "Input /w/R&&D/A.DCK");  // "&" shown as itself
  for (MenuItem item : {MenuItem::Input, MenuItem::Listing, MenuItem::Table, MenuItem::Diagram})
    EXPECT_TRUE(enabled(item));
  f.resetListingEntry();
  f.resetTableEntry();
  f.resetDiagramEntry();
  f.resetInputEntry();
  EXPECT_EQ(f.action(MenuItem::Listing)->text(), "Listing");
  EXPECT_EQ(f.action(MenuItem::Input)->text(), "Input");
  for (MenuItem item : {MenuItem::Input, MenuItem::Listing, MenuItem::Table, MenuItem::Diagram})
    EXPECT_FALSE(enabled(item));
}

TEST_F(WindowsMenu, OutputItemsAreNamedWithoutFolderAndOpenTheFullName) {
  auto& f = makeFrame();
  std::string out = dir.write("run/A.OUT", "results\n");
  f.clearOutputEntries();
  EXPECT_TRUE(Captions(f.outputMenu()).isEmpty());
  EXPECT_FALSE(enabled(MenuItem::Output));
  f.addOutputEntry(out);
  f.addOutputEntry(dir.file("run/A.O01"));
  EXPECT_EQ(Captions(f.outputMenu()), (QStringList{"A.OUT", "A.O01"}));
  EXPECT_TRUE(enabled(MenuItem::Output));

  f.outputMenu()->actions()[0]->trigger();
  ASSERT_NE(f.activeChild(), nullptr);
  EXPECT_EQ(f.activeChild()->kind(), KindCode::Output);
  EXPECT_EQ(f.activeChild()->caption(), out);
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.file("run")));
  EXPECT_TRUE(enabled(MenuItem::Find));  // the menu follows the new viewer
  EXPECT_TRUE(dialogs.prompts().empty());
}

TEST_F(WindowsMenu, VanishedOutputFileIsReportedAndItsItemStays) {
  auto& f = makeFrame();
  f.clearOutputEntries();
  f.addOutputEntry(dir.file("A.O01"));
  f.outputMenu()->actions()[0]->trigger();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{dir.file("A.O01") + " no longer exists"});
  EXPECT_EQ(dialogs.prompts()[0].kind, WarningOkCancel);
  EXPECT_EQ(dialogs.beeps(), 1);
  EXPECT_TRUE(f.children().empty());
  EXPECT_EQ(Captions(f.outputMenu()), QStringList{"A.O01"});
}

TEST_F(WindowsMenu, DisposingFreesEveryWindowOfTheKindWithoutAskingAndResetsItsEntry) {
  auto& f = makeFrame();
  auto* a = addChild(KindCode::DeckEditor, "/w/A.DCK");
  auto* b = addChild(KindCode::DeckEditor, "/w/B.DCK");
  a->allowClose = b->allowClose = false;
  QPointer<TChildForm> freed = a;
  auto* listing = addChild(KindCode::Listing, "/w/A.LST");
  f.setInputEntry("/w/A.DCK");
  f.setCurrentInputDeck("/w/A.DCK");
  f.setListingEntry("/w/A.LST");
  f.DisposeTALPIXWindows(KindCode::DeckEditor);
  ASSERT_EQ(f.children().size(), 1u);
  EXPECT_EQ(f.children()[0], listing);
  EXPECT_EQ(f.action(MenuItem::Input)->text(), "Input");
  EXPECT_FALSE(enabled(MenuItem::Input));
  EXPECT_EQ(f.currentInputDeck(), "");
  EXPECT_EQ(f.action(MenuItem::Listing)->text(), "Listing /w/A.LST");  // other entries stay
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(freed.isNull());
}

TEST_F(WindowsMenu, DisposingEachKindResetsItsOwnEntry) {
  auto& f = makeFrame();
  f.setCurrentInputDeck("/w/A.TKD");
  f.setInputEntry("/w/A.TKD");
  f.setListingEntry("/w/A.LST");
  f.setTableEntry("/w/A.TBL");
  f.setDiagramEntry("/w/A.BMP");
  f.clearOutputEntries();
  f.addOutputEntry("/w/A.OUT");
  addChild(KindCode::TalkitForm, "/w/A.TKD");
  addChild(KindCode::Listing, "/w/A.LST");
  f.setTableWindow(addChild(KindCode::Table, "/w/A.TBL"));
  addChild(KindCode::Output, "/w/A.OUT");
  addChild(KindCode::Diagram, "/w/A.BMP");

  f.DisposeTALPIXWindows(KindCode::Table);
  EXPECT_EQ(f.tableWindow(), nullptr);
  EXPECT_EQ(f.action(MenuItem::Table)->text(), "Table");
  f.DisposeTALPIXWindows(KindCode::Output);
  EXPECT_FALSE(enabled(MenuItem::Output));
  EXPECT_TRUE(Captions(f.outputMenu()).isEmpty());
  f.DisposeTALPIXWindows(KindCode::Diagram);
  EXPECT_EQ(f.action(MenuItem::Diagram)->text(), "Diagram");
  f.DisposeTALPIXWindows(KindCode::Listing);
  EXPECT_EQ(f.action(MenuItem::Listing)->text(), "Listing");
  EXPECT_EQ(f.currentInputDeck(), "/w/A.TKD");
  f.DisposeTALPIXWindows(KindCode::TalkitForm);
  EXPECT_EQ(f.currentInputDeck(), "");
  EXPECT_FALSE(enabled(MenuItem::Input));
  EXPECT_TRUE(f.children().empty());
  EXPECT_FALSE(enabled(MenuItem::Save));
}

TEST_F(WindowsMenu, DisposingAKindWithNoWindowLeavesItsEntry) {
  auto& f = makeFrame();
  f.setListingEntry("/w/A.LST");
  f.DisposeTALPIXWindows(KindCode::Listing);
  EXPECT_EQ(f.action(MenuItem::Listing)->text(), "Listing /w/A.LST");
}

TEST_F(WindowsMenu, ListingTableDiagramBringTheirWindowForward) {
  auto& f = makeRecordingFrame();
  f.setCurrentInputDeck("/w/A.DCK");
  f.setListingEntry("/w/A.LST");
  f.setTableEntry("/w/A.TBL");
  f.setDiagramEntry("/w/A.BMP");
  auto* listing = addChild(KindCode::Listing, "/w/A.LST");
  auto* table = addChild(KindCode::Table, "/w/A.TBL");
  auto* diagram = addChild(KindCode::Diagram, "/w/A.BMP");
  f.action(MenuItem::Listing)->trigger();
  EXPECT_EQ(f.activeChild(), listing);
  EXPECT_EQ(f.children().front(), listing);
  f.action(MenuItem::Table)->trigger();
  EXPECT_EQ(f.activeChild(), table);
  EXPECT_TRUE(enabled(MenuItem::RunTable));
  f.action(MenuItem::Diagram)->trigger();
  EXPECT_EQ(f.activeChild(), diagram);
  EXPECT_TRUE(f.calls.empty());
}

TEST_F(WindowsMenu, ClosedResultWindowsAreOpenedFromTheCurrentDeck) {
  auto& f = makeRecordingFrame();
  f.setListingEntry("/w/A.LST");
  f.setTableEntry("/w/A.TBL");
  f.setDiagramEntry("/w/A.BMP");
  f.action(MenuItem::Listing)->trigger();  // no deck: nothing to open
  EXPECT_TRUE(f.calls.empty());
  f.setCurrentInputDeck("/w/A.DCK");
  f.action(MenuItem::Listing)->trigger();
  f.action(MenuItem::Table)->trigger();
  f.action(MenuItem::Diagram)->trigger();
  EXPECT_EQ(f.calls, (std::vector<std::string>{"LST /w/A.DCK open", "TBL /w/A.DCK open", "DGM /w/A.DCK"}));
}

TEST_F(WindowsMenu, InputBringsTheDeckWindowForwardComparingNamesWithoutCase) {
  auto& f = makeRecordingFrame();
  f.setCurrentInputDeck("/w/A.DCK");
  f.setInputEntry("/w/A.DCK");
  auto* other = addChild(KindCode::TextEditor, "/w/A.DCK");  // not a deck editor
  auto* deck = addChild(KindCode::DeckEditor, "/w/a.dck");
  f.BringToFront(other);
  f.action(MenuItem::Input)->trigger();
  EXPECT_EQ(f.activeChild(), deck);
  EXPECT_TRUE(f.calls.empty());
}

TEST_F(WindowsMenu, InputBringsAnyEditorOfTheDeckForwardRatherThanOpeningASecondOne) {
  auto& f = makeRecordingFrame();
  f.setCurrentInputDeck("/w/V.DEK");  // a VOXEN deck shows in a plain text editor
  f.setInputEntry("/w/V.DEK");
  auto* editor = addChild(KindCode::TextEditor, "/w/V.DEK");
  auto* unrelated = addChild(KindCode::Listing, "/w/V.LST");
  f.BringToFront(unrelated);
  f.action(MenuItem::Input)->trigger();
  EXPECT_EQ(f.activeChild(), editor);
  EXPECT_TRUE(f.calls.empty());
  EXPECT_EQ(f.children().size(), 2u);
}

TEST_F(WindowsMenu, InputReopensADeckInAnEditorAndAFormDeckAsAForm) {
  auto& f = makeRecordingFrame();
  std::string deck = dir.write("A.DCK", "TITLE\n");
  std::string form = dir.write("F.TKD", "*TALKIT\n");
  std::string encoded = dir.write("E.TKX", "xx\n");
  std::string marked = dir.write("M.TXT", "*talkit\nrest\n");
  for (const auto& name : {deck, form, encoded, marked}) {
    f.setCurrentInputDeck(name);
    f.setInputEntry(name);
    f.action(MenuItem::Input)->trigger();
  }
  EXPECT_EQ(f.calls, (std::vector<std::string>{"editor " + deck, "form " + form, "form " + encoded, "form " + marked}));
  EXPECT_EQ(f.activeChild()->kind(), KindCode::TalkitForm);
  EXPECT_EQ(dialogs.busyDepth(), 0);
}

TEST_F(WindowsMenu, ClosingAChildAsksItsQuestionAndCancelKeepsItOpen) {
  auto& f = makeFrame();
  auto* child = addChild(KindCode::DeckEditor, "/w/A.DCK");
  child->allowClose = false;
  EXPECT_FALSE(child->subWindow()->close());
  EXPECT_EQ(child->closeQuestions, 1);
  ASSERT_EQ(f.children().size(), 1u);
  child->allowClose = true;
  EXPECT_TRUE(child->subWindow()->close());
  EXPECT_TRUE(f.children().empty());
}

TEST_F(WindowsMenu, AskCloseQuestionsStopsAtTheFirstCancel) {
  auto& f = makeFrame();
  auto* table = addChild(KindCode::Table, "/w/A.TBL");
  auto* viewer = addChild(KindCode::Listing, "/w/A.LST");
  auto* deck = addChild(KindCode::DeckEditor, "/w/A.DCK");
  EXPECT_TRUE(f.AskCloseQuestions({KindCode::DeckEditor, KindCode::Table}));
  EXPECT_EQ(deck->closeQuestions, 1);
  EXPECT_EQ(table->closeQuestions, 1);
  EXPECT_EQ(viewer->closeQuestions, 0);
  deck->allowClose = false;
  EXPECT_FALSE(f.AskCloseQuestions({KindCode::DeckEditor, KindCode::Table}));
  EXPECT_EQ(table->closeQuestions, 1);  // the front window answered Cancel first
  EXPECT_EQ(f.children().size(), 3u);
}

TEST_F(WindowsMenu, TileAndCascadeArrangeTheChildren) {
  auto& f = makeFrame();
  f.resize(800, 600);
  f.show();
  auto* a = addChild(KindCode::DeckEditor, "/w/A.DCK");
  auto* b = addChild(KindCode::Listing, "/w/A.LST");
  f.action(MenuItem::Tile)->trigger();
  QRect ra = a->subWindow()->geometry(), rb = b->subWindow()->geometry();
  EXPECT_FALSE(ra.intersects(rb));
  f.action(MenuItem::Cascade)->trigger();
  ra = a->subWindow()->geometry();
  rb = b->subWindow()->geometry();
  EXPECT_TRUE(ra.intersects(rb));
  EXPECT_NE(ra.topLeft(), rb.topLeft());
}

// New child windows lie wholly inside the frame's workspace, whatever their kind and size.
TEST_F(WindowsMenu, EveryNewWindowLiesInsideTheWorkspace) {
  auto& f = makeFrame();
  f.resize(1280, 1000);
  f.show();
  QCoreApplication::processEvents();
  const QRect workspace(QPoint(0, 0), f.mdiArea()->viewport()->size());
  ASSERT_GT(workspace.width(), 1000);
  int n = 0;
  for (KindCode kind : {KindCode::DeckEditor, KindCode::Listing, KindCode::Output, KindCode::Output, KindCode::Diagram,
                        KindCode::Table, KindCode::TextEditor, KindCode::Listing}) {
    auto* child = new taltest::TestChild(&f, kind, "/w/file" + std::to_string(++n));
    if (n == 5) child->resize(3000, 2500);  // larger than the workspace: shrunk to fit
    f.AddChild(child);
    QCoreApplication::processEvents();
    const QRect placed = child->subWindow()->geometry();
    EXPECT_TRUE(workspace.contains(placed)) << "window " << n << " at " << placed.x() << "," << placed.y() << " "
                                            << placed.width() << "x" << placed.height();
  }
}

TEST_F(WindowsMenu, WindowListNamesEveryChild) {
  auto& f = makeFrame();
  addChild(KindCode::DeckEditor, "/w/A.DCK");
  addChild(KindCode::Listing, "/w/A.LST");
  emit f.menu(Menu::Windows)->aboutToShow();
  QStringList captions = Captions(f.menu(Menu::Windows));
  EXPECT_EQ(captions.mid(captions.size() - 3), (QStringList{"-", "&1 /w/A.DCK", "&2 /w/A.LST"}));
  EXPECT_TRUE(f.menu(Menu::Windows)->actions().back()->isChecked());
}
