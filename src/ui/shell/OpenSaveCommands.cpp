// The File menu's Open, Save and Save as commands and the TALKIT menu's Edit TALKIT file, with the
// close questions every command asks before it frees windows.
#include <algorithm>

#include "shell/EditForm.h"
#include "shell/OpenSaveRules.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/Program.h"
#include "support/Text.h"

namespace tal {

namespace {
// The close question of an editor without a name saves through the shell's Save as.
const bool editorSaveAsInstalled = [] {
  TEditForm::SaveAsHandler() = [](TEditForm& editor) { return editor.shell() && editor.shell()->SaveAsWindow(&editor); };
  return true;
}();
}  // namespace

// ---- close questions ------------------------------------------------------------------------

bool TTALSHELLFORM::AskBeforeFreeing(const std::vector<TChildForm*>& windows) {
  for (TChildForm* window : windows) {
    bool answered = std::find(answeredInCommand_.begin(), answeredInCommand_.end(), window) != answeredInCommand_.end();
    if (answered) continue;
    if (!window->closeQuery()) return false;
    if (commandDepth_ > 0) answeredInCommand_.push_back(window);
  }
  return true;
}

bool TTALSHELLFORM::AskBeforeFreeing(const std::vector<KindCode>& kinds) {
  std::vector<TChildForm*> windows;
  for (TChildForm* child : children())
    if (std::find(kinds.begin(), kinds.end(), child->kind()) != kinds.end()) windows.push_back(child);
  return AskBeforeFreeing(windows);
}

// ---- Open -----------------------------------------------------------------------------------

void TTALSHELLFORM::Open1Click() {
  CommandScope command(*this);
  // The documents that opening another deck may replace are asked first; they stay open.
  if (!AskBeforeFreeing({KindCode::DeckEditor, KindCode::TalkitText, KindCode::TalkitForm, KindCode::Table})) {
    UpdateMenu();
    return;
  }
  DisposeTALPIXWindows(KindCode::Output);

  const bool talkit = Program().talkitMode;
  if (talkit && indexPresent() && firstStart()) {
    // The first Open of a form-only session leads to the project index instead of a file chooser.
    ShowIndexDialog(JoinPath(Program().directory, lastIndexFile()));
    setFirstStart(false);
    UpdateMenu();
    return;
  }
  PrepareOpenDialog(openDialog_, indexPresent(), talkit);
  if (auto choice = interaction().openFile(ToRequest(openDialog_, "Open"))) {
    const std::string name = AcceptChoice(openDialog_, *choice, true);
    if (ExtensionOf(name) == ".IDX")
      ShowIndexDialog(name);
    else
      ReadaFile(name);
  }
  UpdateMenu();
}

// ---- Save -----------------------------------------------------------------------------------

bool TTALSHELLFORM::SaveWindowAs(TChildForm* child, const std::string& name) { return child->saveDocument(name); }

// The save dialog for a window without a name: "*" and the kind's extension, titled with the
// window's caption. False when the document could not be written; cancelling writes nothing and
// is no failure.
bool TTALSHELLFORM::SaveUnnamedWindow(TChildForm* child) {
  PrepareSaveDialog(saveDialog_, "*" + UnnamedSaveExtension(child->kind()));
  auto choice = interaction().saveFile(ToRequest(saveDialog_, SavingWindowTitle(child->caption())));
  if (!choice) return true;
  return SaveWindowAs(child, AcceptChoice(saveDialog_, *choice, false));
}

bool TTALSHELLFORM::SaveAllWindows() {
  bool allWritten = true;
  // Save dialogs may change the window order; the list taken first is worked through.
  std::vector<QPointer<TChildForm>> windows;
  for (TChildForm* child : children()) windows.emplace_back(child);
  for (const QPointer<TChildForm>& child : windows) {
    if (!child) continue;
    bool written = true;
    const KindCode kind = child->kind();
    if (child->firstSaveGoesThroughSaveAs()) {
      written = SaveAsWindow(child);
    } else if (IsEditorKind(kind) || kind == KindCode::Plot) {
      written = child->fileName().empty() ? SaveUnnamedWindow(child) : SaveWindowAs(child, child->fileName());
    } else if (kind == KindCode::TalkitForm) {
      // A form is written to the deck it was read from, never to another current input deck.
      written = child->commitInput() && SaveWindowAs(child, child->fileName());
    } else if (kind == KindCode::Table && child == tableWindow()) {
      written = child->fileName().empty() ? SaveUnnamedWindow(child)
                                          : SaveWindowAs(child, TableSaveName(child->fileName()));
    }
    allWritten = allWritten && written;
  }
  UpdateMenu();
  return allWritten;
}

void TTALSHELLFORM::Save1Click() { SaveAllWindows(); }

// ---- Save as --------------------------------------------------------------------------------

bool TTALSHELLFORM::SaveAsWindow(TChildForm* child) {
  if (!child) return false;
  const KindCode kind = child->kind();
  // A viewer holds no document: it says so before a chooser asks for a name it cannot use.
  if (IsViewerKind(kind)) return child->saveDocument(child->fileName());
  if (kind == KindCode::TalkitForm && !child->commitInput()) return false;
  // Each window proposes its own file (a form its own deck, not whatever deck is the current input
  // deck now), under the filter of its own kind.
  const std::string proposed = SaveAsProposal(kind, child->fileName(), currentPlotFile());
  KindCode proposedKind = PrepareSaveAsDialog(saveDialog_, proposed, kind);
  if (proposedKind != kind) child->setKind(proposedKind);

  auto choice = interaction().saveFile(ToRequest(saveDialog_, "Save as"));
  if (!choice) return false;
  const std::string chosen = AcceptChoice(saveDialog_, *choice, false);
  if (IsEditorKind(child->kind())) child->setKind(KindAfterSaveAs(child->kind(), chosen));
  return SaveWindowAs(child, chosen);
}

void TTALSHELLFORM::Saveas1Click() {
  if (TChildForm* child = activeChild()) SaveAsWindow(child);
  UpdateMenu();
}

// ---- Edit TALKIT file -----------------------------------------------------------------------

void TTALSHELLFORM::EditTALKITfile1Click() {
  CommandScope command(*this);
  auto choice = interaction().openFile(ToRequest(talkitFileDialog_, "Edit TALKIT file"));
  if (!choice) {
    UpdateMenu();
    return;
  }
  const std::string name = AcceptChoice(talkitFileDialog_, *choice, true);
  if (!FileReadable(name)) {
    ShowMessageKind(CannotReadMessage(name), ErrorOk, true);
    UpdateMenu();
    return;
  }
  if (IsFormDeckForEditing(name, ReadFirstLine(name).value_or(""))) {
    std::vector<TChildForm*> replaced;  // a text editor already showing this deck, forms, deck editors
    for (TChildForm* child : children())
      if ((child->kind() == KindCode::TalkitText && child->fileName() == name) ||
          child->kind() == KindCode::TalkitForm || child->kind() == KindCode::DeckEditor)
        replaced.push_back(child);
    if (!AskBeforeFreeing(replaced) ||
        !AskBeforeFreeing({KindCode::Diagram, KindCode::Plot, KindCode::Listing, KindCode::Output, KindCode::Table})) {
      UpdateMenu();
      return;
    }
    for (TChildForm* child : children())
      if (child->kind() == KindCode::TalkitText && child->fileName() == name) FreeChild(child);
    DisposeTALPIXWindows(KindCode::TalkitForm);
    DisposeTALPIXWindows(KindCode::DeckEditor);
    setCurrentInputDeck(name);
    setInputEntry(name);  // the Input entry names the current input deck
    // A file that is not text opens read-only and keeps its viewer's kind.
    if (auto* editor = qobject_cast<TEditForm*>(NewEditorWindow(name))) editor->setKind(KindCode::TalkitText);
    GetDGMFile(name);
    GetPLTFile(name, false);
    GetLSTFile(name, false);
    GetOUTFile(name, false);
    GetTBLFile(name, false);
  }
  UpdateMenu();
}

}  // namespace tal
