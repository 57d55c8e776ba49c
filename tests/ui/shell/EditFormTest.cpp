// The editor window: new documents, opening and saving, the close question, the Edit menu, find
// and replace, and the comment toggle of deck editors.
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

#include "ShellTestSupport.h"
#include "shell/EditForm.h"
#include "shell/FindDialogs.h"
#include "shell/ViewForm.h"

using namespace tal;
using taltest::ReadFile;

namespace {

// Writes larger than `bytes` fail (EFBIG) while the object lives: a disk that fills up mid-save.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

class EditFormTest : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    makeFrame();
    std::filesystem::current_path(dir.path());
  }
  TEditForm* openEditor(const std::string& name, const std::string& bytes) {
    return qobject_cast<TEditForm*>(frame->NewEditorWindow(dir.write(name, bytes)));
  }
  void type(TEditForm* editor, const QString& text) {
    editor->editor()->moveCursor(QTextCursor::End);
    editor->editor()->insertPlainText(text);
  }
  // Selects from (line, column) to (line, column) in the editor.
  void select(TEditForm* editor, int l1, int c1, int l2, int c2) {
    QTextDocument* doc = editor->editor()->document();
    QTextCursor cursor(doc);
    cursor.setPosition(doc->findBlockByNumber(l1).position() + c1);
    cursor.setPosition(doc->findBlockByNumber(l2).position() + c2, QTextCursor::KeepAnchor);
    editor->editor()->setTextCursor(cursor);
  }
};

TEST_F(EditFormTest, NewDocumentsCountEveryEditorCreatedAndSaveIntoTheWorkingFolder) {
  frame->New1Click();
  auto* first = qobject_cast<TEditForm*>(frame->activeChild());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->caption(), "NoName1.DCK");
  EXPECT_EQ(first->kind(), KindCode::DeckEditor);
  EXPECT_EQ(frame->lastCreatedEditor(), first);

  openEditor("A.TXT", "text\n");
  frame->New1Click();
  EXPECT_EQ(frame->activeChild()->caption(), "NoName3.DCK") << "the opened file took number 2";

  type(first, "SIMULATION 0 24 1");
  ASSERT_TRUE(first->Save());
  EXPECT_EQ(ReadFile(dir.file("NoName1.DCK")), "SIMULATION 0 24 1\n");
  EXPECT_FALSE(first->isModified());
  EXPECT_TRUE(dialogs.prompts().empty()) << "no dialog for a new document";
}

TEST_F(EditFormTest, OpenTakesTheKindFromTheExtensionAndStartsUnchangedAtTheTop) {
  struct Case {
    std::string name;
    KindCode kind;
  };
  for (const Case& c : {Case{"A.DCK", KindCode::DeckEditor}, Case{"b.dck", KindCode::DeckEditor},
                        Case{"C.DEK", KindCode::TextEditor}, Case{"D.FOR", KindCode::TextEditor},
                        Case{"E.TKD", KindCode::TextEditor}}) {
    TEditForm* editor = openEditor(c.name, "line 1\nline 2\n");
    EXPECT_EQ(editor->kind(), c.kind) << c.name;
    EXPECT_EQ(editor->caption(), dir.file(c.name));
    EXPECT_FALSE(editor->isModified());
    EXPECT_EQ(editor->editor()->textCursor().position(), 0);
  }
}

TEST_F(EditFormTest, LongLinesLineEndsAndEightBitBytesSurviveOpenAndSave) {
  std::string longLine = "* " + std::string(298, 'x');  // 300 characters
  std::string bytes = "UNIT 1 TYPE 1\r\n" + longLine + "\r\nA\xA0" "B \xE9t\xE9\r\n";
  TEditForm* editor = openEditor("LONG.DCK", bytes);
  EXPECT_EQ(editor->editor()->document()->findBlockByNumber(1).text().size(), 300);
  type(editor, "");  // nothing changed, but write it anyway
  ASSERT_TRUE(editor->Save());
  EXPECT_EQ(ReadFile(dir.file("LONG.DCK")), bytes);
}

TEST_F(EditFormTest, SaveWritesOnlyChangedTextWithTheLineEndsAsReadAndNeverText) {
  TEditForm* editor = openEditor("MIXED.DCK", "A\r\nB\nC\rD");
  std::filesystem::create_hard_link(dir.file("MIXED.DCK"), dir.file("SAME.DCK"));
  frame->Save1Click();  // unchanged: a rewrite would part the file from its link
  EXPECT_EQ(std::filesystem::hard_link_count(dir.file("MIXED.DCK")), 2u);
  type(editor, "E");
  ASSERT_TRUE(editor->Save());
  EXPECT_EQ(ReadFile(dir.file("MIXED.DCK")), "A\r\nB\nC\rDE");
  std::string bytes("MZ\0\x01binary\0\xff", 12), path = dir.write("BIN.DCK", bytes);
  frame->ReadaFile(path);
  auto* viewer = qobject_cast<TViewForm*>(frame->activeChild());
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->note(), path + " is not a text file (it holds NUL bytes), so it is shown read-only: an editor "
                                   "could not write it back unchanged.");
  frame->Save1Click();
  EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(EditFormTest, AFailedSaveKeepsTheWindowChangedAndTheOldFileWhole) {
  std::string old = "OLD CONTENT\n";
  TEditForm* editor = openEditor("A.DCK", old);
  type(editor, QString(20000, 'z'));
  bool saved;
  {
    FileSizeLimit limit(4096);  // the disk fills up half-way through the write
    saved = editor->Save();
  }
  EXPECT_FALSE(saved);
  EXPECT_TRUE(editor->isModified());
  EXPECT_EQ(ReadFile(dir.file("A.DCK")), old);
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"A.DCK"}) << "no temporary file is left";
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].find(dir.file("A.DCK")), std::string::npos) << dialogs.messages()[0];
  EXPECT_EQ(dialogs.prompts()[0].kind, ErrorOk);
}

TEST_F(EditFormTest, TheCloseQuestionGuardsChangedText) {
  TEditForm* editor = openEditor("A.DCK", "A\n");
  QPointer<TEditForm> alive(editor);
  EXPECT_TRUE(editor->closeQuery()) << "unchanged text closes without a question";
  EXPECT_TRUE(dialogs.prompts().empty());

  type(editor, "B");
  dialogs.answer(Button::Cancel);
  editor->subWindow()->close();
  QApplication::processEvents();
  ASSERT_TRUE(alive) << "Cancel keeps the window";
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], dir.file("A.DCK") + " has been changed.  Save it?");
  EXPECT_EQ(dialogs.prompts()[0].kind, WarningYesNoCancel);

  dialogs.answer(Button::Yes);
  {
    FileSizeLimit limit(0);  // Yes, but the write fails: the window must stay
    EXPECT_FALSE(editor->closeQuery());
  }
  EXPECT_EQ(ReadFile(dir.file("A.DCK")), "A\n");

  dialogs.answer(Button::Yes);
  EXPECT_TRUE(editor->closeQuery());
  EXPECT_EQ(ReadFile(dir.file("A.DCK")), "AB\n");

  type(editor, "C");
  dialogs.answer(Button::No);
  editor->subWindow()->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(alive) << "No closes without writing";
  EXPECT_EQ(ReadFile(dir.file("A.DCK")), "AB\n");
}

TEST_F(EditFormTest, AWindowWithoutANameAsksAsThisFileAndSavesThroughSaveAs) {
  auto* editor = new TEditForm(frame.get());
  frame->AddChild(editor);
  type(editor, "text");
  std::string chosen = dir.file("CHOSEN.DCK");
  auto shellSaveAs = std::exchange(TEditForm::SaveAsHandler(), [&](TEditForm& window) { return window.SaveAs(chosen); });
  dialogs.answer(Button::Yes);
  EXPECT_TRUE(editor->closeQuery());
  TEditForm::SaveAsHandler() = shellSaveAs;  // later tests save through the shell's Save as
  EXPECT_EQ(dialogs.messages().at(0), "This file has been changed.  Save it?");
  EXPECT_EQ(ReadFile(chosen), "text\n");
  EXPECT_EQ(editor->caption(), chosen);
}

TEST_F(EditFormTest, UndoActsOnTheEditorCreatedLastWhicheverIsActive) {
  TEditForm* first = openEditor("A.DCK", "a\n");
  TEditForm* last = openEditor("B.DCK", "b\n");
  type(first, "1");
  type(last, "2");
  EXPECT_TRUE(enabled(MenuItem::Undo)) << "the undo state of the editor created last";
  frame->BringToFront(first);
  ASSERT_EQ(frame->activeChild(), first);
  frame->Undo1Click();
  EXPECT_EQ(last->text(), "b");
  EXPECT_EQ(first->text(), "a1");
  EXPECT_FALSE(enabled(MenuItem::Undo));
}

TEST_F(EditFormTest, EditMenuCommandsOnTheActiveEditor) {
  TEditForm* editor = openEditor("A.DCK", "alpha beta\n");
  select(editor, 0, 0, 0, 6);
  frame->Cut1Click();
  EXPECT_EQ(editor->text(), "beta");
  EXPECT_EQ(QApplication::clipboard()->text(), "alpha ");
  editor->editor()->moveCursor(QTextCursor::End);
  frame->Paste1Click();
  EXPECT_EQ(editor->text(), "betaalpha ");
  select(editor, 0, 0, 0, 4);
  frame->Copy1Click();
  EXPECT_EQ(QApplication::clipboard()->text(), "beta");
  frame->Clear1Click();
  EXPECT_EQ(editor->text(), "alpha ");

  editor->setKind(KindCode::TalkitText);  // Clear deletes in a form deck shown as text too
  select(editor, 0, 0, 0, 1);
  frame->Clear1Click();
  EXPECT_EQ(editor->text(), "lpha ");
}

TEST_F(EditFormTest, FindDownUpAndBeepWhenNothingIsFound) {
  TEditForm* editor = openEditor("A.DCK", "AREA = 1\narea = 2\nAREA2 = 3\n");
  frame->Find1Click();
  EXPECT_TRUE(frame->lastSearchWasFind());
  TFindDlg* find = editor->findDialog();
  EXPECT_TRUE(find->isVisible());
  find->findEdit()->setText("AREA");
  find->matchCaseBox()->setChecked(true);
  find->wholeWordBox()->setChecked(true);
  find->findNextButton()->click();
  EXPECT_EQ(editor->editor()->textCursor().selectionStart(), 0);
  EXPECT_EQ(editor->replaceDialog()->findEdit()->text(), "AREA") << "both dialogs start from the last text";

  int beeps = dialogs.beeps();
  frame->SearchAgain1Click();  // "area" differs in case, "AREA2" is not the whole word
  EXPECT_EQ(dialogs.beeps(), beeps + 1);
  EXPECT_EQ(editor->editor()->textCursor().selectionStart(), 0) << "the selection stays";

  find->matchCaseBox()->setChecked(false);
  frame->SearchAgain1Click();
  EXPECT_EQ(editor->editor()->textCursor().selectedText(), "area");
  find->upButton()->setChecked(true);
  frame->SearchAgain1Click();
  EXPECT_EQ(editor->editor()->textCursor().selectionStart(), 0) << "searching up";
}

TEST_F(EditFormTest, SearchAgainAfterReplaceRepeatsTheReplaceAndAfterFindTheFind) {
  TEditForm* editor = openEditor("A.DCK", "TIN TIN TIN\n");
  frame->Replace1Click();
  EXPECT_TRUE(frame->lastSearchWasReplace());
  TReplaceDlg* replace = editor->replaceDialog();
  replace->findEdit()->setText("TIN");
  replace->replaceEdit()->setText("TOUT");
  replace->replaceButton()->click();
  EXPECT_EQ(editor->text(), "TOUT TIN TIN");
  frame->SearchAgain1Click();
  EXPECT_EQ(editor->text(), "TOUT TOUT TIN") << "Search Again replaced the next one";

  frame->Find1Click();
  editor->findDialog()->findEdit()->setText("TIN");
  frame->SearchAgain1Click();
  EXPECT_EQ(editor->text(), "TOUT TOUT TIN") << "after Find, Search Again only finds";
  EXPECT_EQ(editor->editor()->textCursor().selectedText(), "TIN");

  int beeps = dialogs.beeps();
  replace->replaceAllButton()->click();
  EXPECT_EQ(editor->text(), "TOUT TOUT TOUT");
  replace->replaceAllButton()->click();
  EXPECT_EQ(dialogs.beeps(), beeps + 1) << "nothing left to replace";
}

TEST_F(EditFormTest, RightClickTogglesTheCommentMarkerOnDeckEditorsOnly) {
  TEditForm* deck = openEditor("A.DCK", "UNIT 1 TYPE 1\n*\\PARAMETERS 2\nAREA 0.8\nEND\n");
  select(deck, 0, 2, 2, 3);
  QTest::mousePress(deck->editor()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, 5));
  EXPECT_EQ(deck->text(), "*\\UNIT 1 TYPE 1\nPARAMETERS 2\n*\\AREA 0.8\nEND");
  EXPECT_TRUE(deck->isModified());

  select(deck, 2, 0, 3, 0);  // ends at the start of the last line: only the line above
  QTest::mousePress(deck->editor()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, 5));
  EXPECT_EQ(deck->text(), "*\\UNIT 1 TYPE 1\nPARAMETERS 2\nAREA 0.8\nEND");

  TEditForm* text = openEditor("B.TXT", "plain\n");
  select(text, 0, 0, 0, 3);
  QTest::mousePress(text->editor()->viewport(), Qt::RightButton, Qt::NoModifier, QPoint(20, 5));
  EXPECT_EQ(text->text(), "plain") << "not on other text";
}

TEST_F(EditFormTest, DeckEditorsAreColouredAndNumbered) {
  TEditForm* deck = openEditor("A.DCK", "* Sample deck\n*|<TEXT> Area\nUNIT 1 TYPE 1 Collector\nAREA 0.8\n");
  EXPECT_TRUE(deck->highlighted());
  TEditForm* text = openEditor("B.FOR", "      PROGRAM X\n");
  EXPECT_FALSE(text->highlighted());
  text->setKind(KindCode::TalkitText);
  EXPECT_TRUE(text->highlighted()) << "a form deck opened as text is coloured too";

  deck->subWindow()->resize(520, 200);
  deck->subWindow()->show();
  QApplication::processEvents();
  QImage shot = deck->grab().toImage();
  if (const char* folder = std::getenv("TAL_SCREENSHOT_DIR")) shot.save(QString(folder) + "/deck-editor.png");
  // Comment lines green, keywords blue, a grey gutter with numbers at the left.
  auto hasColour = [&](auto test) {
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (test(QColor(shot.pixel(x, y)))) return true;
    return false;
  };
  EXPECT_TRUE(hasColour([](QColor c) { return c.green() > c.red() + 40 && c.green() > c.blue() + 40; }));
  EXPECT_TRUE(hasColour([](QColor c) { return c.blue() > c.red() + 60 && c.blue() > c.green() + 40; }));
  EXPECT_EQ(QColor(shot.pixel(2, shot.height() / 2)), QColor(0xf0, 0xf0, 0xf0)) << "the line-number gutter";
  EXPECT_GT(deck->editor()->gutterWidth(), 0);
}

// What every editor has: the cursor's line and column in the status bar; Go to Line (Ctrl+G) with
// its checks; F3 for Search Again, and a reopened Find dialog with the focus in its text, all of it
// selected; the right-click menu, with the comment toggle first in deck editors (Ctrl+/ from the
// keyboard), then Cut, Copy and Paste enabled as the selection and clipboard allow.
TEST_F(EditFormTest, GoToLineCursorPlaceSearchAgainAndTheRightClickMenu) {
  TEditForm* editor = openEditor("A.DCK", "one\ntwo\n\tthree\nfour\n");
  auto* label = frame->statusBar()->findChild<QLabel*>("CursorPlace");
  ASSERT_NE(label, nullptr);
  auto place = [label] { return label->text().toStdString(); };
  EXPECT_EQ(place(), "Line 1, Column 1");
  select(editor, 2, 3, 2, 3);
  EXPECT_EQ(place(), "Line 3, Column 4");
  EXPECT_EQ(frame->action(MenuItem::GoToLine)->shortcut(), QKeySequence("Ctrl+G"));
  EXPECT_EQ(frame->action(MenuItem::SearchAgain)->shortcut(), QKeySequence(Qt::Key_F3));
  EXPECT_TRUE(enabled(MenuItem::GoToLine));
  const std::string notALine = " is not a line number: type a whole number from 1 on.";
  const std::tuple<const char*, std::string, int> cases[] = {  // typed, the message ("" when it goes there), the line
      {"2", "", 2},   {" 4 ", "", 4}, {"x1", "\"x1\"" + notALine, 4}, {"0", "\"0\"" + notALine, 4},
      {"99", "There is no line 99: " + dir.file("A.DCK") + " has 4 lines.", 4}};
  for (const auto& [typed, message, line] : cases) {
    dialogs.clear();
    dialogs.answerText(typed);
    frame->GoToLine1Click();
    EXPECT_EQ(dialogs.messages(), message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message}) << typed;
    EXPECT_EQ(editor->currentLine(), static_cast<std::size_t>(line)) << typed;
    EXPECT_EQ(place(), "Line " + std::to_string(line) + ", Column 1");
  }
  ASSERT_FALSE(dialogs.prompts().empty());
  EXPECT_EQ(dialogs.prompts().front().request.title, "Go to Line");
  EXPECT_EQ(dialogs.prompts().front().request.fileName, "4") << "the current line is offered";

  frame->Find1Click();
  TFindDlg* dialog = editor->findDialog();
  dialog->findEdit()->setText("AREA");
  dialog->findEdit()->setCursorPosition(2);
  dialog->hide();
  frame->Find1Click();
  EXPECT_EQ(dialog->focusWidget(), dialog->findEdit());
  EXPECT_EQ(dialog->findEdit()->selectedText(), "AREA");

  TEditForm* deck = openEditor("B.DCK", "UNIT 1\nAREA 0.8\n");
  QApplication::clipboard()->setText("PASTED ");
  select(deck, 0, 0, 0, 4);
  std::unique_ptr<QMenu> menu(deck->CreateContextMenu());
  EXPECT_EQ(taltest::Captions(menu.get()), (QStringList{"Toggle Comment", "-", "Cut", "Copy", "Paste"}));
  for (QAction* action : menu->actions()) EXPECT_TRUE(action->isSeparator() || action->isEnabled());
  menu->actions().at(2)->trigger();  // Cut
  EXPECT_EQ(deck->text(), " 1\nAREA 0.8");
  EXPECT_EQ(QApplication::clipboard()->text(), "UNIT");
  select(deck, 1, 0, 1, 2);
  QTest::keyClick(deck->editor(), Qt::Key_Slash, Qt::ControlModifier);
  EXPECT_EQ(deck->text(), " 1\n*\\AREA 0.8");
  menu.reset(openEditor("C.TXT", "plain\n")->CreateContextMenu());
  EXPECT_EQ(taltest::Captions(menu.get()), (QStringList{"Cut", "Copy", "Paste"}));
  EXPECT_FALSE(menu->actions().at(0)->isEnabled()) << "nothing selected to cut";
}

// A line of more than LongLineLimit characters, held in pieces, is edited as one line: across their
// joins Find, Replace, Copy, Cut and Delete act as in a line held whole and undo keeps one line; it
// saves whole, End and Home cross it, and line numbers, Go to Line, the cursor place, the comment
// toggle and Enter act on lines.
TEST_F(EditFormTest, AVeryLongLineIsEditedAsOneLine) {
  std::string longLine = "DATA";
  for (int i = 0; longLine.size() < 50000; ++i) longLine += " " + std::to_string(i);
  const std::string text = "UNIT 1\n" + longLine + "\nEND", across = longLine.substr(1995, 10);
  TEditForm* editor = openEditor("LONG.DCK", text + "\n");
  ASSERT_GT(editor->editor()->blockCount(), 20) << "held in pieces";
  ASSERT_EQ(longLine.find(across), longLine.rfind(across));
  EXPECT_EQ(editor->text(), text);
  auto replaced = [&](const std::string& by) { return "UNIT 1\n" + std::string(longLine).replace(1995, 10, by) + "\nEND"; };
  ASSERT_TRUE(editor->Find(SearchOptions{across, ""}));
  for (auto edit : {&TEditForm::copySelection, &TEditForm::cutSelection}) {
    QApplication::clipboard()->clear();
    (editor->*edit)();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), across);
  }
  EXPECT_EQ(editor->text(), replaced(""));
  QTest::keyClick(editor->editor(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(editor->text(), text);
  editor->editor()->moveCursor(QTextCursor::Start);
  EXPECT_EQ(editor->Replace(SearchOptions{across, "R"}, false), 1);
  EXPECT_EQ(editor->text(), replaced("R"));
  editor->undo();
  EXPECT_EQ(editor->text(), text);
  select(editor, 1, 2000, 1, 2000);  // at the end of the line's first piece
  QTest::keyClick(editor->editor(), Qt::Key_Delete);
  EXPECT_EQ(editor->text(), replaced(longLine.substr(1995, 5) + longLine.substr(2001, 4)));
  editor->undo();
  EXPECT_EQ(editor->text(), text);
  EXPECT_EQ(editor->lineCount(), 3u);

  dialogs.answerText("2");
  frame->GoToLine1Click();
  QTest::keyClick(editor->editor(), Qt::Key_End);
  EXPECT_EQ(editor->cursorPlace(), "Line 2, Column " + std::to_string(longLine.size() + 1));
  QTest::keyClicks(editor->editor(), "X");
  QTest::keyClick(editor->editor(), Qt::Key_Home);
  EXPECT_EQ(editor->cursorPlace(), "Line 2, Column 1");
  EXPECT_EQ(editor->text(), "UNIT 1\n" + longLine + "X\nEND");

  select(editor, 1, 0, editor->editor()->blockCount() - 2, 5);  // from the line's start into its pieces
  ASSERT_TRUE(editor->ToggleComments());
  EXPECT_EQ(editor->text(), "UNIT 1\n*\\" + longLine + "X\nEND") << "the marker only at the line's start";

  // Enter in the middle of a piece breaks the line there.
  QTextCursor middle(editor->editor()->document()->findBlockByNumber(5));
  middle.setPosition(middle.position() + 7);
  editor->editor()->setTextCursor(middle);
  int column = static_cast<int>(editor->cursorPlace().find("Column ")) + 7;
  std::size_t at = std::stoul(editor->cursorPlace().substr(static_cast<std::size_t>(column))) - 1;
  QTest::keyClick(editor->editor(), Qt::Key_Return);
  std::string joined = "*\\" + longLine + "X";
  EXPECT_EQ(editor->text(), "UNIT 1\n" + joined.substr(0, at) + "\n" + joined.substr(at) + "\nEND");
  EXPECT_EQ(editor->lineCount(), 4u);

  ASSERT_TRUE(editor->Save());
  EXPECT_EQ(ReadFile(dir.file("LONG.DCK")), editor->text() + "\n");
}

// Another program changes the file an editor shows: without changes of its own the editor reads it
// again; with changes it asks, and once kept, Save asks before writing over the other program's
// work.
TEST_F(EditFormTest, AFileChangedOnDiskIsReadAgainOrAskedAbout) {
  const std::string path = dir.file("HOUSE.DCK");
  auto otherProgramWrites = [&](const std::string& bytes) { std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes; };
  const std::string reloadQuestion =
      path + " has been changed by another program.  Read it again and lose the changes made here?";
  const std::string overwriteQuestion =
      path + " has been changed by another program since it was read.  Write the text of this window over it?";

  TEditForm* editor = openEditor("HOUSE.DCK", "line 1\nline 2\nline 3\n");
  editor->goToLine(2);
  otherProgramWrites("LINE 1\nLINE 2\nLINE 3\nLINE 4\n");
  ASSERT_TRUE(taltest::WaitUntil([&] { return editor->text() == "LINE 1\nLINE 2\nLINE 3\nLINE 4"; }))
      << "an unchanged editor reads the file again by itself";
  EXPECT_EQ(editor->currentLine(), 2u);
  EXPECT_FALSE(editor->isModified());
  EXPECT_TRUE(dialogs.prompts().empty());

  struct Case {
    Button reload;     // the answer to the question when the file changes
    Button overwrite;  // the answer to Save's question, when it asks
    std::string text;  // in the window afterwards
    std::string file;  // on disk after Save
  };
  const Case cases[] = {
      {Button::Yes, Button::None, "their text", "their text\n"},  // nothing changed to save
      {Button::No, Button::No, "LINE 1\nmine", "their text\n"},
      {Button::No, Button::Yes, "LINE 1\nmine", "LINE 1\nmine\n"},
  };
  for (const Case& c : cases) {
    otherProgramWrites("LINE 1\n");
    ASSERT_TRUE(editor->Reload());
    type(editor, "\nmine");
    dialogs.clear();
    dialogs.answer(c.reload);
    otherProgramWrites("their text\n");
    editor->CheckFile();
    editor->CheckFile();  // asked once for one change
    EXPECT_EQ(dialogs.messages(), std::vector<std::string>{reloadQuestion});
    EXPECT_EQ(dialogs.prompts()[0].kind, WarningYesNo);
    EXPECT_EQ(editor->text(), c.text);
    std::vector<std::string> asked = {reloadQuestion};
    if (c.overwrite != Button::None) {
      dialogs.answer(c.overwrite);
      asked.push_back(overwriteQuestion);
    }
    EXPECT_EQ(editor->Save(), c.overwrite != Button::No);
    EXPECT_EQ(dialogs.messages(), asked);
    EXPECT_EQ(ReadFile(path), c.file);
    EXPECT_EQ(dialogs.pendingAnswers(), 0u);
  }
}
