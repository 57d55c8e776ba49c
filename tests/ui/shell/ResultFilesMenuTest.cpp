// Opening decks and files: the windows they open, the Windows menu entries of the deck's results,
// and the close questions asked before windows are freed.
#include "OpenSaveTestSupport.h"
#include "tables/TableFile.h"

using namespace tal;

class OpeningFiles : public taltest::OpenSaveTest {};

namespace {
int CountOfKinds(const std::vector<TChildForm*>& children, std::initializer_list<int> kinds) {
  int count = 0;
  for (auto* child : children)
    for (int k : kinds) count += child->kindCode() == k;
  return count;
}
}  // namespace

TEST_F(OpeningFiles, DeckWithListingAndTwoOutputsAttachesThemWithoutOpeningViewers) {
  makeOpenSaveFrame();
  std::string deck = dir.write("work/A.DCK", "deck\n");
  dir.write("work/A.LST", "listing\n");
  dir.write("work/A.OUT", "output\n");
  dir.write("work/A.O01", "output 1\n");
  frame->ReadaFile(deck);

  EXPECT_EQ(text(MenuItem::Listing), "Listing " + dir.file("work/A.LST"));
  EXPECT_TRUE(enabled(MenuItem::Listing));
  EXPECT_EQ(outputItems(), (std::vector<std::string>{"A.O01", "A.OUT"}));
  EXPECT_TRUE(enabled(MenuItem::Output));
  EXPECT_EQ(text(MenuItem::Input), "Input " + deck);
  EXPECT_TRUE(enabled(MenuItem::Input));
  EXPECT_EQ(frame->currentInputDeck(), deck);
  for (MenuItem item : {MenuItem::Table, MenuItem::Diagram}) EXPECT_FALSE(enabled(item));
  EXPECT_EQ(text(MenuItem::Table), "Table");
  EXPECT_EQ(text(MenuItem::Diagram), "Diagram");
  // Only the deck's own editor opened.
  EXPECT_EQ(kinds(), std::vector<int>{1000});
  EXPECT_EQ(frame->activeChild()->fileName(), deck);
  EXPECT_TRUE(dialogs.prompts().empty());

  // An output item opens its viewer.
  frame->outputMenu()->actions()[1]->trigger();
  EXPECT_EQ(kinds(), (std::vector<int>{6000, 1000}));
  EXPECT_EQ(frame->activeChild()->fileName(), dir.file("work/A.OUT"));
}

TEST_F(OpeningFiles, NextDeckReplacesTheResultsOfThePrevious) {
  makeOpenSaveFrame();
  std::string first = dir.write("A.DCK", "a\n");
  dir.write("A.LST", "l\n");
  dir.write("A.OUT", "o\n");
  dir.write("A.TBL", "t\n");
  dir.write("A.PLT", "p\n");
  std::string second = dir.write("B.DCK", "b\n");
  frame->ReadaFile(first);
  frame->GetLSTFile(first, true);
  frame->GetOUTFile(first, true);
  EXPECT_EQ(frame->currentPlotFile(), dir.file("A.PLT"));
  EXPECT_EQ(text(MenuItem::Table), "Table " + dir.file("A.TBL"));
  ASSERT_EQ(kinds().size(), 3u);

  frame->ReadaFile(second);
  EXPECT_EQ(kinds(), std::vector<int>{1000});  // old editor, listing and output viewers freed
  EXPECT_EQ(frame->activeChild()->fileName(), second);
  EXPECT_EQ(text(MenuItem::Listing), "Listing");
  EXPECT_EQ(text(MenuItem::Table), "Table");
  EXPECT_FALSE(enabled(MenuItem::Output));
  EXPECT_TRUE(outputItems().empty());
  EXPECT_EQ(frame->currentPlotFile(), "");
  EXPECT_EQ(frame->currentInputDeck(), second);
}


TEST_F(OpeningFiles, DiagramWindowIsReplacedAndABitmapIsFitted) {
  makeOpenSaveFrame();
  std::string deck = dir.write("A.DCK", "deck\n");
  dir.write("A.WMF", "metafile\n");
  frame->GetDGMFile(deck);
  dir.write("A.BMP", "bitmap\n");
  frame->GetDGMFile(deck);
  EXPECT_EQ(recorder().calls, (std::vector<std::string>{"diagram " + dir.file("A.WMF"),
                                                         "diagram " + dir.file("A.BMP") + " fitted"}));
  EXPECT_EQ(kinds(), std::vector<int>{8000});  // the metafile's window was freed
  EXPECT_EQ(text(MenuItem::Diagram), "Diagram " + dir.file("A.BMP"));

  frame->GetDGMFile(dir.file("A"));  // no "." in the name: no diagram
  EXPECT_TRUE(kinds().empty());
  EXPECT_EQ(text(MenuItem::Diagram), "Diagram");
  EXPECT_FALSE(enabled(MenuItem::Diagram));
}

TEST_F(OpeningFiles, EachKindOfFileGoesToItsWindow) {
  makeOpenSaveFrame();
  std::string form = dir.write("NOTES.TXT", "*talkit\n* a form deck by its first line\n");
  std::string picture = dir.write("D.BMP", "BM");
  std::string meta = dir.write("M.WMF", "metafile");
  std::string plot = dir.write("P.SPF", "plot");
  tal::TableModel tableModel(1, {"X"});
  tableModel.deckFileName = dir.write("T.DCK", "CONSTANTS 1\nX = 1\nEND\n");
  std::string table = dir.write("T.TBL", tal::EncodeTable(tableModel));
  std::string listing = dir.write("L.LST", "listing\n");
  std::string data = dir.write("L.PLT", "plot data\n");
  std::string other = dir.write("X.FOR", "      END\n");
  for (const auto& name : {form, picture, meta, plot, table, listing, data, other}) frame->ReadaFile(name);
  EXPECT_EQ(recorder().calls, (std::vector<std::string>{"form " + form, "diagram " + picture + " fitted",
                                                         "plot " + plot, "table " + table}));
  EXPECT_EQ(frame->currentInputDeck(), form);
  EXPECT_EQ(text(MenuItem::Table), "Table " + table);
  EXPECT_NE(frame->tableWindow(), nullptr);
  EXPECT_EQ(text(MenuItem::Listing), "Listing " + listing);
  EXPECT_EQ(frame->currentPlotFile(), data);
  EXPECT_EQ(CountOfKinds(frame->children(), {3000}), 2);  // the listing and the plot data as text
  // The metafile and the FORTRAN source open as text in editors, front first.
  auto children = frame->children();
  ASSERT_GE(children.size(), 2u);
  EXPECT_EQ(children[0]->fileName(), other);
  EXPECT_EQ(children[0]->kind(), KindCode::TextEditor);
  bool metaAsText = false;
  for (auto* child : children) metaAsText |= child->fileName() == meta && child->kind() == KindCode::TextEditor;
  EXPECT_TRUE(metaAsText);
}


TEST_F(OpeningFiles, TalkitModeWarnsButStillOpensTheFile) {
  makeOpenSaveFrame(true);
  std::string deck = dir.write("A.DCK", "deck\n");
  frame->ReadaFile(deck);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{deck + " is not a TALKIT file."});
  EXPECT_EQ(dialogs.prompts()[0].kind, ErrorOk);
  EXPECT_EQ(dialogs.beeps(), 1);
  EXPECT_EQ(kinds(), std::vector<int>{1000});

  dialogs.clear();
  frame->ReadaFile(dir.write("F.TKD", "* form\n"));
  frame->ReadaFile(dir.write("E.TKX", "encoded form"));  // an encoded form deck is one too
  frame->ReadaFile(dir.write("M.TXT", "*TALKIT\n"));
  // (Form decks without annotations are told that their form is empty.)
  for (const std::string& message : dialogs.messages())
    EXPECT_EQ(message.find("is not a TALKIT file"), std::string::npos) << message;
}

TEST_F(OpeningFiles, UnreadableFileIsReportedAndNotRemembered) {
  makeOpenSaveFrame();
  std::string missing = dir.file("GONE.DCK");
  frame->ReadaFile(missing);
  frame->ReadaFile(dir.path());  // a folder
  EXPECT_EQ(dialogs.messages(), (std::vector<std::string>{missing + " cannot be opened for reading.",
                                                          dir.path() + " cannot be opened for reading."}));
  EXPECT_TRUE(frame->recentFiles().empty());
  EXPECT_TRUE(frame->children().empty());
}

// ---- no change is thrown away without its question ----


TEST_F(OpeningFiles, RecentFileItemAsksTheChangedEditorFirst) {
  std::string next = dir.write("B.DCK", "b\n");
  dir.write("TALSHELL.FNL", next + "\n");
  makeOpenSaveFrame();
  auto* changed = addDocument(KindCode::DeckEditor, dir.file("A.DCK"));
  changed->allowClose = false;
  frame->menu(Menu::File)->actions()[frame->fileMenuHeadSize() + 1]->trigger();
  EXPECT_EQ(changed->closeQuestions, 1);
  EXPECT_EQ(frame->children(), std::vector<TChildForm*>{changed});
}

TEST_F(OpeningFiles, ChangedTableIsAskedBeforeTheNextDeckFreesIt) {
  makeOpenSaveFrame();
  std::string deck = dir.write("B.DCK", "b\n");
  auto* table = addDocument(KindCode::Table, dir.file("A.TBL"));
  frame->setTableWindow(table);
  table->allowClose = false;
  frame->ReadaFile(deck);
  EXPECT_EQ(table->closeQuestions, 1);
  EXPECT_EQ(frame->children(), std::vector<TChildForm*>{table});
  EXPECT_EQ(frame->tableWindow(), table);

  // Outside a deck, the table operation alone asks as well.
  frame->GetTBLFile(deck, false);
  EXPECT_EQ(table->closeQuestions, 2);
  EXPECT_EQ(frame->tableWindow(), table);
}

TEST_F(OpeningFiles, FormDeckFreesFormsButNotDeckEditors) {
  makeOpenSaveFrame();
  auto* editor = addDocument(KindCode::DeckEditor, dir.file("A.DCK"));
  auto* form = addDocument(KindCode::TalkitForm, dir.file("OLD.TKD"));
  std::string next = dir.write("F.TKD", "*TALKIT\n");
  frame->ReadaFile(next);
  EXPECT_EQ(form->closeQuestions, 1);
  EXPECT_EQ(editor->closeQuestions, 0);
  EXPECT_EQ(kinds(), (std::vector<int>{2000, 1000}));
  EXPECT_EQ(frame->currentInputDeck(), next);
  EXPECT_EQ(text(MenuItem::Input), "Input " + next);
}
