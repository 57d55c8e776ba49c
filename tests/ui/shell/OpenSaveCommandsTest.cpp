// The Open, Save, Save as and Edit TALKIT file commands, headless with scripted answers.
#include "OpenSaveTestSupport.h"

using namespace tal;
using taltest::DocumentChild;

class OpenSaveCommands : public taltest::OpenSaveTest {
 protected:
  const Prompt& onlyPrompt() {
    EXPECT_EQ(dialogs.prompts().size(), 1u);
    return dialogs.prompts().front();
  }
};

// ---- Open ----

TEST_F(OpenSaveCommands, OpenOffersDecksAndOpensTheChosenFile) {
  makeOpenSaveFrame();
  std::string deck = dir.write("A.DCK", "deck\n");
  dialogs.answerText(deck, 0);
  frame->action(MenuItem::Open)->trigger();
  const Prompt& prompt = onlyPrompt();
  EXPECT_EQ(prompt.type, Prompt::Type::OpenFile);
  ASSERT_EQ(prompt.request.filters.size(), 11u);
  EXPECT_EQ(prompt.request.filters[0], "TALPIX files (*.DCK *.dck)");
  EXPECT_EQ(prompt.request.filters[3], "Index files (*.IDX *.idx)");
  EXPECT_EQ(prompt.request.filterIndex, 0);
  EXPECT_EQ(kinds(), std::vector<int>{1000});
  EXPECT_EQ(frame->currentInputDeck(), deck);
  EXPECT_TRUE(enabled(MenuItem::Save));
}

TEST_F(OpenSaveCommands, OpenAsksEveryDocumentOnceAndCancelStopsBeforeTheDialog) {
  makeOpenSaveFrame();
  addDocument(KindCode::DeckEditor, dir.file("A.DCK"));
  auto* table = addDocument(KindCode::Table, dir.file("A.TBL"));
  addDocument(KindCode::Output, dir.file("A.OUT"));
  auto* text = addDocument(KindCode::TextEditor, dir.file("N.TXT"));
  table->allowClose = false;
  frame->action(MenuItem::Open)->trigger();
  EXPECT_EQ(table->closeQuestions, 1);
  EXPECT_EQ(text->closeQuestions, 0);  // other text is not replaced by opening a deck
  EXPECT_TRUE(dialogs.prompts().empty());  // no file dialog
  EXPECT_EQ(frame->children().size(), 4u);  // nothing freed, the output viewer neither
}

TEST_F(OpenSaveCommands, OpenAnsweredQuestionsAreNotAskedAgainByTheOpening) {
  makeOpenSaveFrame();
  auto* editor = addDocument(KindCode::DeckEditor, dir.file("A.DCK"));
  addDocument(KindCode::Output, dir.file("A.OUT"));
  dialogs.answerCancel();
  frame->Open1Click();
  EXPECT_EQ(kinds(), std::vector<int>{1000});  // output viewers are closed by Open in any case

  std::string next = dir.write("B.DCK", "b\n");
  dialogs.answerText(next);
  frame->Open1Click();
  EXPECT_EQ(editor->closeQuestions, 2);  // once per Open, not again when the deck is replaced
  EXPECT_EQ(kinds(), std::vector<int>{1000});
  EXPECT_EQ(frame->activeChild()->fileName(), next);
}

TEST_F(OpenSaveCommands, WithIndexFilesOpenTurnsToThemAndShowsTheChosenIndex) {
  dir.write("PROJECTS.IDX", "index\n");
  makeOpenSaveFrame();
  std::string index = dir.write("TOPICS.idx", "topics\n");
  dialogs.answerText(index, 3);
  frame->Open1Click();
  EXPECT_EQ(onlyPrompt().request.filterIndex, 3);
  EXPECT_EQ(onlyPrompt().request.fileName, "");
  EXPECT_EQ(recorder().calls, std::vector<std::string>{"index " + index});
  EXPECT_TRUE(frame->recentFiles().empty());  // an index is not a file of the recent list
}

TEST_F(OpenSaveCommands, TalkitFirstOpenShowsTheProjectIndexInsteadOfTheDialog) {
  dir.write("A.IDX", "a\n");
  dir.write("B.IDX", "b\n");
  makeOpenSaveFrame(true);
  frame->setFirstStart(true);
  frame->Open1Click();
  EXPECT_TRUE(dialogs.prompts().empty());
  EXPECT_EQ(recorder().calls, std::vector<std::string>{"index " + dir.file("B.IDX")});
  EXPECT_FALSE(frame->firstStart());

  dialogs.answerCancel();
  frame->Open1Click();
  ASSERT_EQ(onlyPrompt().request.filters.size(), 2u);
  EXPECT_EQ(onlyPrompt().request.filters[0], "Index files (*.IDX *.idx)");
  EXPECT_EQ(onlyPrompt().request.filterIndex, 0);
}

TEST_F(OpenSaveCommands, TalkitWithoutIndexOffersFormDecksOnly) {
  makeOpenSaveFrame(true);
  dialogs.answerCancel();
  frame->Open1Click();
  EXPECT_EQ(onlyPrompt().request.filters, std::vector<std::string>{"TALKIT files (*.TKD *.tkd)"});
}

// ---- Save ----

TEST_F(OpenSaveCommands, SaveOfATableWritesATblName) {
  makeOpenSaveFrame();
  auto* table = addDocument(KindCode::Table, dir.file("T.DAT"));
  frame->setTableWindow(table);
  auto* stray = addDocument(KindCode::Table, dir.file("S.DAT"));  // not the table the shell keeps
  frame->Save1Click();
  EXPECT_EQ(table->saves, std::vector<std::string>{dir.file("T.TBL")});
  EXPECT_TRUE(stray->saves.empty());
}

TEST_F(OpenSaveCommands, FormIsSavedToItsOwnDeckAfterItsFieldIsCommitted) {
  makeOpenSaveFrame();
  auto* form = addDocument(KindCode::TalkitForm, dir.file("F.TKD"));
  frame->setCurrentInputDeck(dir.file("OTHER.DCK"));
  EXPECT_TRUE(frame->SaveAllWindows());
  EXPECT_EQ(form->saves, std::vector<std::string>{dir.file("F.TKD")});

  form->inputValid = false;
  EXPECT_FALSE(frame->SaveAllWindows());
  EXPECT_EQ(form->saves.size(), 1u);
}

TEST_F(OpenSaveCommands, FailedWriteIsReportedAndTheOthersAreStillSaved) {
  makeOpenSaveFrame();
  auto* good = addDocument(KindCode::DeckEditor, dir.file("A.DCK"));
  auto* bad = addDocument(KindCode::TextEditor, dir.file("B.TXT"));
  bad->failWrite = true;
  EXPECT_FALSE(frame->SaveAllWindows());
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Could not write " + dir.file("B.TXT")});
  EXPECT_EQ(good->saves.size(), 1u);
}

TEST_F(OpenSaveCommands, WindowWithoutASaveOfItsOwnSaysSoInsteadOfClaimingSuccess) {
  makeOpenSaveFrame();
  auto* plot = new taltest::TestChild(frame.get(), KindCode::Plot, dir.file("P.SPF"));
  frame->AddChild(plot);
  EXPECT_FALSE(frame->SaveAllWindows());
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{dir.file("P.SPF") + " cannot be saved."});
}

// ---- Save as ----

TEST_F(OpenSaveCommands, SaveAsChangesTheKindOfTextEditors) {
  makeOpenSaveFrame();
  auto* source = addDocument(KindCode::DeckEditor, dir.file("M.FOR"));
  dialogs.answerCancel();
  frame->Saveas1Click();
  EXPECT_EQ(source->kind(), KindCode::TextEditor);  // by its .FOR name, even when cancelled
  EXPECT_TRUE(source->saves.empty());

  auto* text = addDocument(KindCode::TextEditor, dir.file("N.TXT"));
  dialogs.answerText(dir.file("N.dck"));
  frame->Saveas1Click();
  EXPECT_EQ(text->kind(), KindCode::DeckEditor);
  EXPECT_EQ(text->saves, std::vector<std::string>{dir.file("N.dck")});
}

TEST_F(OpenSaveCommands, SaveAsOfAFormProposesItsOwnDeck) {
  makeOpenSaveFrame();
  auto* form = addDocument(KindCode::TalkitForm, dir.file("F.TKD"));
  frame->setCurrentInputDeck(dir.file("OTHER.DCK"));
  dialogs.answerText(dir.file("COPY.TKD"));
  EXPECT_TRUE(frame->SaveAsWindow(form));
  EXPECT_EQ(onlyPrompt().request.fileName, dir.file("F.TKD"));
  EXPECT_EQ(form->kind(), KindCode::TalkitForm);
  EXPECT_EQ(form->saves, std::vector<std::string>{dir.file("COPY.TKD")});

  form->inputValid = false;  // a wrong field stops Save as before the dialog
  dialogs.clear();
  EXPECT_FALSE(frame->SaveAsWindow(form));
  EXPECT_TRUE(dialogs.prompts().empty());
}

// ---- Edit TALKIT file ----

TEST_F(OpenSaveCommands, EditTalkitFileOpensAMarkedFileAsFormText) {
  makeOpenSaveFrame();
  std::string deck = dir.write("F.DAT", "*TalkitU\n*| a form\n");
  dir.write("F.LST", "listing\n");
  auto* editor = addDocument(KindCode::DeckEditor, dir.file("A.DCK"));
  auto* form = addDocument(KindCode::TalkitForm, dir.file("OLD.TKD"));
  auto* other = addDocument(KindCode::TextEditor, dir.file("N.TXT"));
  dialogs.answerText(deck);
  frame->EditTALKITfile1Click();
  const Prompt& prompt = onlyPrompt();
  EXPECT_EQ(prompt.request.filters, (std::vector<std::string>{"TALKIT Files (*.TKD *.tkd)", "All files (*)"}));
  EXPECT_EQ(editor->closeQuestions, 1);
  EXPECT_EQ(form->closeQuestions, 1);
  EXPECT_EQ(other->closeQuestions, 0);
  EXPECT_EQ(kinds(), (std::vector<int>{2100, 7000}));
  EXPECT_EQ(frame->activeChild()->fileName(), deck);
  EXPECT_EQ(frame->currentInputDeck(), deck);
  EXPECT_EQ(text(MenuItem::Input), "Input " + deck);
  EXPECT_EQ(text(MenuItem::Listing), "Listing " + dir.file("F.LST"));
}

TEST_F(OpenSaveCommands, EditTalkitFileReplacesTheSameDeckOnceAndLeavesOtherFilesAlone) {
  makeOpenSaveFrame();
  std::string deck = dir.write("F.tkd", "* no marker needed with this name\n");
  dialogs.answerText(deck);
  frame->EditTALKITfile1Click();
  dialogs.answerText(deck);
  frame->EditTALKITfile1Click();
  EXPECT_EQ(kinds(), std::vector<int>{2100});  // the earlier text editor of this deck was replaced

  std::string plain = dir.write("P.DCK", "* a plain deck\n");
  dialogs.answerText(plain);
  frame->EditTALKITfile1Click();
  EXPECT_EQ(kinds(), std::vector<int>{2100});
  EXPECT_EQ(frame->currentInputDeck(), deck);
}

TEST_F(OpenSaveCommands, EditTalkitFileCancelledQuestionOrMissingFileChangesNothing) {
  makeOpenSaveFrame();
  auto* editor = addDocument(KindCode::DeckEditor, dir.file("A.DCK"));
  editor->allowClose = false;
  std::string deck = dir.write("F.TKD", "*TALKIT\n");
  dialogs.answerText(deck);
  frame->EditTALKITfile1Click();
  EXPECT_EQ(frame->children(), std::vector<TChildForm*>{editor});
  EXPECT_EQ(frame->currentInputDeck(), "");

  dialogs.clear();
  dialogs.answerText(dir.file("NEW.TKD"));  // a name typed into the dialog that names no file
  frame->EditTALKITfile1Click();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{dir.file("NEW.TKD") + " cannot be opened for reading."});
  EXPECT_EQ(frame->children(), std::vector<TChildForm*>{editor});
  EXPECT_EQ(editor->closeQuestions, 1);
}
