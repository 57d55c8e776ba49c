#pragma once
// The base of every child window of the main window: an editor, viewer, form, plot, table or
// diagram, shown in a sub-window of the frame. It carries the kind code the main window decides
// menus and commands by, and the name of the file it shows.
#include <QPointer>
#include <QWidget>
#include <string>

#include "shell/KindCode.h"

class QMdiSubWindow;

namespace tal {

class TTALSHELLFORM;
class TPrintJob;  // the print job of the Print command

class TChildForm : public QWidget {
  Q_OBJECT

 public:
  TChildForm(TTALSHELLFORM* shell, KindCode kind);
  ~TChildForm() override;

  TTALSHELLFORM* shell() const { return shell_; }
  // The sub-window of the frame that holds this child; nullptr before it is shown.
  QMdiSubWindow* subWindow() const;

  KindCode kind() const { return kind_; }
  int kindCode() const { return static_cast<int>(kind_); }
  // Virtual: an editor given kind 2100 after opening a form deck as text changes its colouring.
  virtual void setKind(KindCode kind) { kind_ = kind; }

  // Full name of the file shown ("" for none). Editors and viewers also show it as caption.
  const std::string& fileName() const { return fileName_; }
  // A name the user chose or the document was read from or written to: the document's own.
  void setFileName(const std::string& name) {
    fileName_ = name;
    nameProposed_ = false;
  }
  // A name the program proposed for a new document (New Table's DECK.TBL, New's NoNameN.DCK).
  // It is the document's own once the document has been written under it (fileWritten).
  void setProposedFileName(const std::string& name) {
    fileName_ = name;
    nameProposed_ = true;
  }
  void fileWritten() { nameProposed_ = false; }
  // A new document whose proposed name names an existing file is first saved through Save as,
  // whose chooser asks before that file is replaced: the program never replaces a file
  // the user did not name.
  bool firstSaveGoesThroughSaveAs() const;
  // The window's caption (the name printed, the Windows menu's and the save chooser's); the
  // title bar shows it as titleOf gives it.
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);

  // Undo state for the Edit menu and the Undo command (editors override these).
  virtual bool canUndo() const { return false; }
  virtual void undo() {}

  // The close question (unsaved changes): false keeps the window open and cancels the action
  // that asked. Asked whenever the user closes the window and by commands that close windows.
  virtual bool closeQuery() { return true; }

  // Edit menu commands on this window (Cut, Copy, Paste, Clear); each kind does what its own
  // window does with them, the default nothing.
  virtual void cutSelection() {}
  virtual void copySelection() {}
  virtual void pasteClipboard() {}
  virtual void clearSelection() {}

  // Save and Save as of the File menu: writes the window's document under `name`, as the window's
  // own Save as does (editors, for one, take the name as file name and caption). False when
  // nothing was written; the window has then shown why. The default, for windows that hold no
  // document of their own, says that the window cannot be saved.
  virtual bool saveDocument(const std::string& name);
  // Saving a form first commits the field being edited; false when its value is wrong.
  virtual bool commitInput() { return true; }

  // Draws the window's content into a running print job at its current position
  // (job.leftMargin(), job.y()) and moves on with job.Advance.
  virtual void printOn(TPrintJob& job) {}
  // The height a plot needs on paper, so the job can start it on a fresh page (plots only).
  virtual int printHeight(TPrintJob& job) { return 0; }

  // Lines of a text window (editors and viewers), for Go to Line and the status bar; 0 for
  // windows without lines. Lines count from 1.
  virtual std::size_t lineCount() const { return 0; }
  virtual std::size_t currentLine() const { return 0; }
  virtual void goToLine(std::size_t line) {}
  // A viewer may not have counted every line of a large file yet: counts them now.
  virtual void countAllLines() {}
  // "Line 12, Column 5" for the status bar; "" for windows without a cursor.
  virtual std::string cursorPlace() const { return {}; }

  // Activation: makes this the main window's active child and recomputes the menu.
  virtual void FormActivate();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The title bar's text for `caption`: the caption itself unless a kind shows it otherwise.
  virtual std::string titleOf(const std::string& caption) const { return caption; }

 private:
  TTALSHELLFORM* shell_;
  KindCode kind_;
  std::string fileName_;
  std::string caption_;
  bool nameProposed_ = false;
};

// Shows the cursor place of the frame's active child in the frame's status bar.
void ShowCursorPlace(TTALSHELLFORM& frame);
// "Line 12, Column 5" (both from 1).
std::string CursorPlaceText(std::size_t line, std::size_t column);

}  // namespace tal
