// Opening and saving with the real editor and diagram windows: what reaches the disk, and the
// close question of a changed deck before another deck replaces it.
#include <QBuffer>
#include <QImage>
#include <filesystem>
#include <functional>

#include "OpenSaveTestSupport.h"
#include "plot/PlotForm.h"
#include "shell/DiagramForm.h"
#include "shell/EditForm.h"
#include "tables/TableFile.h"
#include "tables/TableModel.h"

using namespace tal;
using taltest::ReadFile;

class OpenSaveDocuments : public taltest::OpenSaveTest {
 protected:
  TEditForm* openDeck(const std::string& name) {
    frame->ReadaFile(name);
    return dynamic_cast<TEditForm*>(frame->activeChild());
  }
  TEditForm* unnamedEditor(const std::string& caption, const std::string& text) {
    auto* editor = new TEditForm(frame.get(), KindCode::DeckEditor);
    editor->setCaption(caption);
    editor->setText(text);
    editor->setModified(true);
    frame->AddChild(editor);
    return editor;
  }
  std::string changedQuestion(const std::string& name) { return name + " has been changed.  Save it?"; }
};

TEST_F(OpenSaveDocuments, ChangedDeckIsNotThrownAwayByOpeningAnother) {
  makeOpenSaveFrame();
  std::string a = dir.write("A.DCK", "* deck A\n");
  std::string b = dir.write("B.DCK", "* deck B\n");
  TEditForm* editor = openDeck(a);
  ASSERT_NE(editor, nullptr);
  editor->setText("* deck A, changed\n");
  editor->setModified(true);

  dir.write("B.LST", "listing of B\n");
  dialogs.answer(Button::Cancel);
  frame->ReadaFile(b);  // as the recent-file list does
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{changedQuestion(a)});
  EXPECT_EQ(dialogs.prompts()[0].kind, WarningYesNoCancel);
  EXPECT_EQ(frame->children(), std::vector<TChildForm*>{editor});
  EXPECT_TRUE(editor->isModified());
  EXPECT_EQ(frame->currentInputDeck(), a);
  EXPECT_EQ(text(MenuItem::Input), "Input " + a);
  EXPECT_EQ(text(MenuItem::Listing), "Listing");  // nothing of B attached either
  EXPECT_EQ(frame->recentFiles().entries(), std::vector<std::string>{a});

  dialogs.clear();
  dialogs.answer(Button::Yes);
  frame->ReadaFile(b);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{changedQuestion(a)});  // once
  EXPECT_EQ(ReadFile(a), "* deck A, changed\n\n");
  ASSERT_EQ(frame->children().size(), 1u);
  EXPECT_EQ(frame->children()[0]->fileName(), b);
}

TEST_F(OpenSaveDocuments, AnsweringNoLeavesTheFileAsItWas) {
  makeOpenSaveFrame();
  std::string a = dir.write("A.DCK", "* deck A\n");
  TEditForm* editor = openDeck(a);
  ASSERT_NE(editor, nullptr);
  editor->setText("* lost on purpose");
  editor->setModified(true);
  dialogs.answer(Button::No);
  frame->ReadaFile(dir.write("B.DCK", "* deck B\n"));
  EXPECT_EQ(ReadFile(a), "* deck A\n");
  EXPECT_EQ(frame->currentInputDeck(), dir.file("B.DCK"));
}

TEST_F(OpenSaveDocuments, SaveWritesEveryEditorAndAsksForEachUnnamedOne) {
  makeOpenSaveFrame();
  std::string named = dir.write("N.DCK", "* named\n");
  openDeck(named)->setText("* named, changed");
  frame->GetLSTFile(dir.write("N.LST", "listing\n"), true);  // a viewer has nothing to save
  unnamedEditor("first window", "* one");
  unnamedEditor("second window", "* two");
  dialogs.answerText(dir.file("two"));
  dialogs.answerText(dir.file("one.dck"));
  frame->action(MenuItem::Save)->trigger();
  ASSERT_EQ(dialogs.prompts().size(), 2u);
  EXPECT_EQ(dialogs.prompts()[0].request.title, "Saving window second window");
  EXPECT_EQ(dialogs.prompts()[1].request.title, "Saving window first window");
  EXPECT_EQ(dialogs.prompts()[0].request.defaultExtension, "DCK") << "the chooser adds it before asking to overwrite";
  EXPECT_EQ(ReadFile(dir.file("two.DCK")), "* two\n");
  EXPECT_EQ(ReadFile(dir.file("one.dck")), "* one\n");
  EXPECT_EQ(ReadFile(named), "* named, changed\n");
  EXPECT_EQ(ReadFile(dir.file("N.LST")), "listing\n");
  EXPECT_EQ(frame->children()[0]->caption(), dir.file("two.DCK"));
}


TEST_F(OpenSaveDocuments, SaveAsOfAFormDeckEditorWritesTheText) {
  makeOpenSaveFrame();
  std::string deck = dir.write("F.TKD", "*TALKIT\n*| a form line\n");
  dialogs.answerText(deck);
  frame->EditTALKITfile1Click();
  auto* editor = dynamic_cast<TEditForm*>(frame->activeChild());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->kind(), KindCode::TalkitText);
  dialogs.clear();
  dialogs.answerText(dir.file("COPY"));
  frame->Saveas1Click();
  ASSERT_EQ(dialogs.prompts().size(), 1u);
  const FileDialogRequest& request = dialogs.prompts()[0].request;
  EXPECT_EQ(request.title, "Save as");
  EXPECT_EQ(request.fileName, deck);
  EXPECT_EQ(request.filterIndex, 1);  // "TALKIT files"
  EXPECT_EQ(request.filters[5], "Diagram Bitmap files. (*.BMP *.bmp)");
  EXPECT_EQ(editor->kind(), KindCode::TalkitText);
  EXPECT_EQ(ReadFile(dir.file("COPY.TKD")), "*TALKIT\n*| a form line\n");
  EXPECT_EQ(editor->fileName(), dir.file("COPY.TKD"));
}

TEST_F(OpenSaveDocuments, UnnamedEditorClosingWithYesSavesThroughSaveAs) {
  makeOpenSaveFrame();
  TEditForm* editor = unnamedEditor("window", "* text");
  dialogs.answer(Button::Yes);
  dialogs.answerText(dir.file("KEPT.DCK"));
  EXPECT_TRUE(editor->closeQuery());
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"This file has been changed.  Save it?"});
  EXPECT_EQ(ReadFile(dir.file("KEPT.DCK")), "* text\n");

  editor->setModified(true);
  dialogs.clear();
  dialogs.answer(Button::Yes);
  dialogs.answerCancel();  // the name is not given: the window stays
  editor->setFileName("");
  EXPECT_FALSE(editor->closeQuery());
}

TEST_F(OpenSaveDocuments, BitmapOpensInAFittedDiagramWindowAndSavesUnchanged) {
  makeOpenSaveFrame();
  QImage image(8, 5, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(QString::fromStdString(dir.file("A.BMP")), "BMP"));
  std::string bytes = ReadFile(dir.file("A.BMP"));
  frame->ReadaFile(dir.file("A.BMP"));
  auto* diagram = dynamic_cast<TDiagramForm*>(frame->activeChild());
  ASSERT_NE(diagram, nullptr);
  EXPECT_EQ(diagram->caption(), dir.file("A.BMP"));
  EXPECT_EQ(diagram->picture().size(), QSize(8, 5));
  EXPECT_EQ(text(MenuItem::Diagram), "Diagram " + dir.file("A.BMP"));

  dialogs.answerText(dir.file("B.BMP"));
  EXPECT_TRUE(frame->SaveAsWindow(diagram));
  EXPECT_EQ(ReadFile(dir.file("B.BMP")), bytes);
}

TEST_F(OpenSaveDocuments, SaveAsOfAViewerSaysItCannotBeSavedAndWritesNothing) {
  makeOpenSaveFrame();
  std::string listing = dir.write("A.LST", "listing\n");
  frame->GetLSTFile(listing, true);
  ASSERT_EQ(kinds(), std::vector<int>{3000});
  dialogs.answerText(dir.file("COPY.LST"));
  frame->Saveas1Click();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{listing + " cannot be saved."});
  EXPECT_EQ(dialogs.prompts().back().kind, ErrorOk);
  EXPECT_FALSE(taltest::Exists(dir.file("COPY.LST")));
}

// Whatever window Save as works on, the chooser proposes that window's own file under the filter
// of its type. The windows follow one another on one frame, so a filter left from the window
// before must not carry over (the toolkit's chooser would give the name that filter's extension).
TEST_F(OpenSaveDocuments, SaveAsProposesEachWindowsOwnFileUnderItsOwnFilter) {
  namespace fs = std::filesystem;
  fs::copy(std::string(TAL_SOURCE_DIR) + "/demo", dir.path(), fs::copy_options::recursive);
  dir.write("HOUSE.PLT", "TIME QHOUSE\nh kW\n0 1\n1 2\n");
  dir.write("RUN.LOG", "log\n");
  TableModel model(2, {"AREA "});
  model.deckFileName = dir.file("HOUSE.DCK");
  ASSERT_EQ(SaveTable(model, dir.file("HOUSE.TBL")), "");
  makeOpenSaveFrame();
  auto opened = [this](const std::string& name) -> TChildForm* {
    frame->ReadaFile(dir.file(name));
    for (TChildForm* child : frame->children())
      if (child->fileName() == dir.file(name)) return child;
    return nullptr;
  };
  auto newPlot = [this] {
    auto* plot = new TPlotForm(frame.get());
    frame->AddChild(plot);
    return static_cast<TChildForm*>(plot);
  };
  struct Case {
    const char* window;
    std::function<TChildForm*()> open;
    std::string proposed;
    std::string filter;
  };
  const Case cases[] = {
      {"deck", [&] { return opened("HOUSE.DCK"); }, dir.file("HOUSE.DCK"), "TALPIX files (*.DCK *.dck)"},
      {"new plot", newPlot, dir.file("HOUSE.SPF"), "TALSHELL Plot files (*.SPF *.spf)"},
      {"text", [&] { return opened("RUN.LOG"); }, dir.file("RUN.LOG"), "All files (*)"},
      {"table", [&] { return opened("HOUSE.TBL"); }, dir.file("HOUSE.TBL"), "TALKIT table files (*.TBL *.tbl)"},
      {"form", [&] { return opened("HOUSE.TKD"); }, dir.file("HOUSE.TKD"), "TALKIT files (*.TKD *.tkd)"},
      {"text file of a deck", [&] { return opened("HOUSEPRJ.TXT"); }, dir.file("HOUSEPRJ.TXT"), "All files (*)"},
  };
  for (const Case& c : cases) {
    dialogs.clear();
    dialogs.answer(Button::No);  // the plot's close question when a form deck replaces it
    TChildForm* window = c.open();
    ASSERT_NE(window, nullptr) << c.window;
    frame->setActiveChild(window);
    dialogs.clear();
    dialogs.answerCancel();
    frame->Saveas1Click();
    ASSERT_EQ(dialogs.prompts().size(), 1u) << c.window;
    const FileDialogRequest& request = dialogs.prompts()[0].request;
    EXPECT_EQ(request.fileName, c.proposed) << c.window;
    ASSERT_LT(request.filterIndex, static_cast<int>(request.filters.size())) << c.window;
    EXPECT_EQ(request.filters[request.filterIndex], c.filter) << c.window;
  }
  EXPECT_FALSE(taltest::Exists(dir.file("HOUSE.SPF")));
}
