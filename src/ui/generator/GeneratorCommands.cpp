// The TALKIT menu's Make TALKIT file: scans the deck of the active editor, lets the user choose
// the form's fields and writes the form deck, then opens it as a form when the user wishes.
#include "generator/DeckScan.h"
#include "generator/MakeTalkitDlg.h"
#include "runs/Calculate.h"
#include "runs/SettingsFile.h"
#include "shell/EditForm.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/Program.h"

namespace tal {

namespace {
// A question, not a warning: it shows the question icon, under the name of the command asking.
bool AskToOpenGeneratedForm(const std::string& name) {
  MessageLook question{"Make TALKIT File", true};
  return ShowMessageKind(OpenGeneratedFormQuestion(name), WarningYesNo, false, question) == Button::Yes;
}
}  // namespace

void TTALSHELLFORM::MakeTALKITfile1Click() {
  CommandScope command(*this);
  TChildForm* editor = activeChild();
  if (!editor || !IsEditorKind(editor->kind())) return;
  // The form is made from the file on disk: changes still in the editor are offered for saving.
  auto* edit = qobject_cast<TEditForm*>(editor);
  if (edit && edit->isModified() && FileReadable(edit->fileName())) {
    Button answer = ShowMessageKind(SaveBeforeMakingQuestion(edit->fileName()), WarningYesNoCancel, false);
    if (answer == Button::Cancel || (answer == Button::Yes && !edit->Save())) return;
  }
  SettingsRecord settings = CurrentSettings();
  UseProgramDirectoryWhenMissing(settings, Program().directory);
  const std::string engineDirectory = AbsolutePath(settings.talpixDir);
  auto deck = MakeDeck(editor->fileName(), engineDirectory);
  if (!deck) return;
  TMakeTALKITDlg dialog(std::move(*deck), engineDirectory, settings.includeHeader, settings.includeSimulationCard, this);
  if (dialog.exec() == QDialog::Accepted &&
      AskToOpenGeneratedForm(dialog.writtenName()))
    ReadaFile(dialog.writtenName());
  UpdateMenu();
}

}  // namespace tal
