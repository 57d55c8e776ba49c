// The problems of a run in the main window: the Problems window (Windows menu), opening a
// problem's file at its line, and what a failed Calculate brings forward.
#include "forms/TalkitForm.h"
#include "runs/ProblemsWindow.h"
#include "runs/RunProblems.h"
#include "shell/EditForm.h"
#include "shell/TalshellForm.h"
#include "shell/ViewForm.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"

namespace tal {

namespace {

// The open window that shows `file` as text (an editor or a viewer) or as a form.
TChildForm* WindowShowing(const TTALSHELLFORM& frame, const std::string& file) {
  for (TChildForm* child : frame.children()) {
    const KindCode kind = child->kind();
    if ((IsEditorKind(kind) || IsViewerKind(kind) || kind == KindCode::TalkitForm) && SameFile(child->fileName(), file))
      return child;
  }
  return nullptr;
}

// Shows line `line` (1 for the first) of the window's text, selected, a third down the window.
// A form shows the field that writes the line: the user changes the deck through its fields.
void SelectLine(TChildForm* window, std::size_t line) {
  if (auto* form = qobject_cast<TTALKITForm*>(window)) {
    if (!form->SelectDeckLine(line))
      ShowMessageKind("Line " + std::to_string(line) + " of " + form->fileName() +
                          " is not a field shown on the form; Edit TALKIT file shows the deck as text.",
                      InformationOk, false);
  } else if (auto* editor = qobject_cast<TEditForm*>(window)) {
    editor->SelectLine(line);
  } else if (auto* viewer = qobject_cast<TViewForm*>(window)) {
    TTextFileView* view = viewer->view();
    if (line == 0 || line > viewer->lineCount()) return;
    const std::size_t lead = static_cast<std::size_t>(view->visibleLineCount()) / 3;
    view->ScrollToLine(line - 1 > lead ? line - 1 - lead : 0);
    view->Select({line, 0}, {line - 1, 0});
    view->setFocus();
  }
}

}  // namespace

void TTALSHELLFORM::Problems1Click() {
  if (!problems_) problems_ = new TProblemsForm(this, [this](const Problem& p) { OpenProblem(p); });
  problems_->show();
  problems_->raise();
  problems_->activateWindow();
}

void TTALSHELLFORM::OpenProblem(const Problem& problem) {
  CommandScope command(*this);
  TChildForm* window = WindowShowing(*this, problem.file);
  if (!window) {
    if (!FileReadable(problem.file)) {
      ShowMessageKind(problem.file + " no longer exists", WarningOkCancel, true);
      return;
    }
    ReadaFile(problem.file);
    window = WindowShowing(*this, problem.file);
    if (!window) return;  // the user kept the windows that opening it would have closed
  }
  BringToFront(window);
  if (problem.line > 0) SelectLine(window, problem.line);
  UpdateMenu();
}

void TTALSHELLFORM::ShowFailedRun(const std::string& deck, std::size_t listingLine) {
  RunLog1Click();
  GetLSTFile(deck, true);
  if (TChildForm* listing = FirstChildOfKind(KindCode::Listing); listing && listingLine > 0) {
    BringToFront(listing);
    SelectLine(listing, listingLine);
  }
  Problems1Click();
  UpdateMenu();
}

}  // namespace tal
