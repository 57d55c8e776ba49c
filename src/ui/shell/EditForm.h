#pragma once
// The editor window: a deck (kind 1000), a form deck opened as text (2100) or any other text file
// (7000), shown in a plain-text editor with line numbers. Deck editors colour comments,
// annotations and keywords, and toggle the comment marker "*\" of the selected lines on a right
// click. The window saves through a temporary file, so a failed save leaves the old file whole
// and the window marked as changed.
#include <QPlainTextEdit>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shell/ChildForm.h"
#include "shell/EditorSearch.h"
#include "shell/EditorText.h"
#include "support/FileStamp.h"

class QMenu;

namespace tal {

class DeckHighlighter;
class FileWatch;
class TFindDlg;
class TReplaceDlg;

// The text control of an editor window: a line-number gutter, a tab key that inserts a tab, the
// Insert key switching to overwrite mode with a block caret, and a selection that stays visible
// when the control loses focus.
class TEditorText : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TEditorText(QWidget* parent = nullptr);

  int gutterWidth() const;
  void paintGutter(QPaintEvent* event);
  // Called on a right click while text is selected (without Shift); true when it handled the
  // click. Otherwise the right click opens the menu `contextMenu` makes.
  std::function<bool()> rightClickWithSelection;
  std::function<QMenu*()> contextMenu;
  // Ctrl+/ toggles the comment marker of the selected lines.
  std::function<bool()> toggleCommentKey;
  // The text holds a line in pieces (LongLines.h): line numbers count lines, not blocks.
  std::function<bool()> hasLinePieces;
  // Undo (false) and Redo (true) from the keyboard.
  std::function<void(bool)> undoRedo;

  // A line with a problem of the last run: a mark in the margin, red for an error, orange for a
  // warning, with the messages as its tool tip.
  struct LineMark {
    bool error = false;
    QString text;  // "error: TEXT", one line per problem
  };
  // By line number, 1 for the first line.
  void setLineMarks(std::map<std::size_t, LineMark> marks);
  const std::map<std::size_t, LineMark>& lineMarks() const { return lineMarks_; }
  // The tool tip of the margin at height `y`: the messages of the line there, or "".
  QString markTipAt(int y) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  void updateGutter(const QRect& rect, int dy);
  QWidget* gutter_;
  std::map<std::size_t, LineMark> lineMarks_;
  bool swallowContextMenu_ = false;
};

class TEditForm : public TChildForm {
  Q_OBJECT

 public:
  // An empty editor of `kind`; the shell names it (New) or opens a file into it (Open).
  TEditForm(TTALSHELLFORM* shell, KindCode kind = KindCode::DeckEditor);
  ~TEditForm() override;

  // Reads `name` into the editor: kind 1000 for a ".DCK" name, else 7000; caption and file name
  // become `name`; caret at the start, not modified. Lines are kept whole. False (with a message
  // naming the file) when it cannot be read; the window is then empty.
  bool Open(const std::string& name);
  // Writes every line under the window's file name, through a temporary file, each with the line
  // end it was read with. Text unchanged since it was read or saved is not written again. False
  // when the write failed: an error naming the file is shown and the text stays marked as changed.
  // A file that another program changed since it was read or saved is written over only when the
  // user says so; otherwise nothing is written (false).
  bool Save();
  // File name and caption become `name`, then Save.
  bool SaveAs(const std::string& name);
  // The File menu's Save and Save as: SaveAs(name).
  bool saveDocument(const std::string& name) override { return SaveAs(name); }

  // Looks at the file on disk (the window's watch calls it): when another program changed it, an
  // editor without changes of its own reads it again; one with changes asks whether to read it
  // again (losing them) or keep its text. Asks once for each change on disk.
  void CheckFile();
  // Reads the file again, keeping the window's kind and the line of the cursor.
  bool Reload();

  bool isModified() const;
  void setModified(bool modified);
  // The whole text as file bytes (Latin-1), lines separated by "\n".
  std::string text() const;
  void setText(const std::string& text);
  // The usual line end written on save: the one most lines of the file had ("\r\n", "\n", "\r").
  const std::string& lineEnd() const { return lineEnd_; }
  // The line ends Save writes: those read, lines added since taking the usual one.
  EditorLineEnds lineEnds() const;

  void setKind(KindCode kind) override;

  // The close question: "<file> has been changed.  Save it?" with Yes, No and Cancel.
  bool closeQuery() override;
  bool canUndo() const override;
  void undo() override;
  void printOn(TPrintJob& job) override;

  // Edit menu.
  void cutSelection() override;
  void copySelection() override;
  void pasteClipboard() override;
  void clearSelection() override;

  // Find and replace. The dialogs belong to the window and keep their last texts and options.
  void ShowFind();
  void ShowReplace();
  // Runs a find with the find dialog's options (or `options` when given); beeps when nothing is
  // found. Copies the find text into both dialogs.
  bool Find();
  bool Find(const SearchOptions& options);
  // Replaces the next occurrence (or all of them) with the replace dialog's options; beeps when
  // nothing was replaced. Returns how many were replaced.
  int Replace(bool all);
  int Replace(const SearchOptions& options, bool all);
  // Repeats the last replace action of the replace dialog (Search Again in replace mode).
  int ReplaceAgain();
  // Toggles the comment marker of the selected lines (deck editors only; right click).
  bool ToggleComments();

  // Lines and the cursor (Go to Line, the status bar).
  std::size_t lineCount() const override;
  std::size_t currentLine() const override;
  void goToLine(std::size_t line) override;
  // Goes to the line and selects it.
  void SelectLine(std::size_t line);
  std::string cursorPlace() const override;
  // The editor's right-click menu: the comment toggle first in deck editors, then Cut, Copy and
  // Paste. The caller owns it.
  QMenu* CreateContextMenu();

  TEditorText* editor() const { return editor_; }
  TFindDlg* findDialog();
  TReplaceDlg* replaceDialog();
  bool highlighted() const { return highlighter_ != nullptr; }

  // Run by the close question for a window without a name (the Save as of the shell); returns
  // whether the text was written.
  static std::function<bool(TEditForm&)>& SaveAsHandler();

 private:
  void UpdateHighlighting();
  void SearchDone();
  void UndoRedo(bool redo);
  void NoteLinePieces();
  void ShowFileText(const std::string& bytes);
  void TakeDiskStamp(const FileStamp& stamp);
  bool ChangedOnDisk(FileStamp* now = nullptr) const;
  bool AskAboutDisk(const std::string& question);
  // Marks the lines that the problems of the last run name in this window's file.
  void MarkProblemLines();

  TEditorText* editor_;
  DeckHighlighter* highlighter_ = nullptr;
  QPointer<TFindDlg> findDlg_;
  QPointer<TReplaceDlg> replaceDlg_;
  std::string lineEnd_ = "\n";
  EditorLineEnds lineEnds_;
  bool hasOwnEnds_ = false;      // some lines carry an end of their own (OwnLineEnd)
  bool fileHoldsText_ = false;  // the file under the window's name holds the text as it was read or saved
  bool lastReplaceWasAll_ = false;
  FileWatch* watch_;
  std::string stampName_;  // the file diskStamp_ belongs to ("" before it was read or written)
  FileStamp diskStamp_;    // the file as this window read or wrote it last
  FileStamp keptStamp_;    // a change on disk the user chose to keep the text against
  bool askingAboutDisk_ = false;
  bool linePieces_ = false;  // a line of the text is held in pieces (LongLines.h)
  // The continuation blocks after each undo step (by the number of steps), marked again after an
  // undo or redo; off while one runs.
  std::vector<std::shared_ptr<const std::vector<int>>> pieceSteps_;
  bool undoing_ = false;
};

}  // namespace tal
