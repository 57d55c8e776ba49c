// The File menu's New and the Edit menu's commands, by the active child's kind: editors and
// viewers act here; forms and tables through their own Edit operations.
#include "shell/EditForm.h"
#include "shell/TalshellForm.h"
#include "shell/ViewForm.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/Text.h"

namespace tal {

namespace {
TEditForm* AsEditor(TChildForm* child) { return child && IsEditorKind(child->kind()) ? qobject_cast<TEditForm*>(child) : nullptr; }
TViewForm* AsViewer(TChildForm* child) { return child && IsViewerKind(child->kind()) ? qobject_cast<TViewForm*>(child) : nullptr; }
}  // namespace

// New: an empty deck editor named "NoName" and the number of this editor (NoName1.DCK first).
void TTALSHELLFORM::New1Click() {
  auto* editor = new TEditForm(this, KindCode::DeckEditor);
  std::string name = "NoName" + std::to_string(NextEditorNumber()) + ".DCK";
  editor->setProposedFileName(name);
  editor->setCaption(name);
  setLastCreatedEditor(editor);
  AddChild(editor);
}

void TTALSHELLFORM::Cut1Click() {
  if (activeChild_) activeChild_->cutSelection();
  UpdateMenu();
}

void TTALSHELLFORM::Copy1Click() {
  if (activeChild_) activeChild_->copySelection();
}

void TTALSHELLFORM::Paste1Click() {
  if (activeChild_) activeChild_->pasteClipboard();
  UpdateMenu();
}

void TTALSHELLFORM::Clear1Click() {
  if (activeChild_) activeChild_->clearSelection();
  UpdateMenu();
}

// Find: the search mode becomes find whatever the window; editors and viewers show their dialog.
void TTALSHELLFORM::Find1Click() {
  setSearchMode(true, false);
  if (TEditForm* editor = AsEditor(activeChild_))
    editor->ShowFind();
  else if (TViewForm* viewer = AsViewer(activeChild_))
    viewer->ShowFind();
  UpdateMenu();
}

void TTALSHELLFORM::Replace1Click() {
  if (TEditForm* editor = AsEditor(activeChild_)) {
    setSearchMode(false, true);
    editor->ShowReplace();
  }
  UpdateMenu();
}

// Search Again repeats the last find or the last replace with the window's dialog as it was left.
void TTALSHELLFORM::SearchAgain1Click() {
  if (TEditForm* editor = AsEditor(activeChild_)) {
    if (lastSearchWasReplace())
      editor->ReplaceAgain();
    else if (lastSearchWasFind())
      editor->Find();
  } else if (TViewForm* viewer = AsViewer(activeChild_)) {
    viewer->Find();
  }
  UpdateMenu();
}

// Go to Line: the line number is asked for (the current line offered); a text that is no number
// or a line past the end is refused with a message saying what was wrong.
void TTALSHELLFORM::GoToLine1Click() {
  TChildForm* child = activeChild_;
  if (!child || child->lineCount() == 0) return;
  QPointer<TChildForm> target(child);
  std::optional<std::string> answer =
      interaction().inputText("Go to Line", "Line number:", std::to_string(child->currentLine()));
  if (!answer || !target) return;
  std::string text = TrimShort(*answer);
  std::size_t line = 0;
  bool number = !text.empty() && text.size() < 19 && text.find_first_not_of("0123456789") == std::string::npos;
  if (number) line = std::stoull(text);
  if (!number || line == 0) {
    ShowMessageKind("\"" + *answer + "\" is not a line number: type a whole number from 1 on.", ErrorOk, true);
    return;
  }
  if (line > target->lineCount()) target->countAllLines();
  if (line > target->lineCount()) {
    ShowMessageKind("There is no line " + text + ": " + target->caption() + " has " +
                        std::to_string(target->lineCount()) + " lines.",
                    ErrorOk, true);
    return;
  }
  target->goToLine(line);
  ShowCursorPlace(*this);
}

}  // namespace tal
