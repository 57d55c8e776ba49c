// Making the child windows that the shell's own commands open (Windows entries, ReadaFile).
#include "forms/TalkitForm.h"
#include "shell/DiagramForm.h"
#include "shell/OpenSaveRules.h"
#include "shell/EditForm.h"
#include "shell/EditorText.h"
#include "shell/ViewForm.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/Program.h"
#include "support/Text.h"

namespace tal {


TChildForm* TTALSHELLFORM::NewEditorWindow(const std::string& name) {
  // A file that is not text would not come back from an editor as it was: it is shown read-only.
  if (auto bytes = ReadWholeFile(name))
    if (auto reason = NotTextReason(*bytes)) {
      auto* viewer = new TViewForm(this, name, KindCode::Output);
      viewer->ShowNote(NotTextNote(name, *reason));
      AddChild(viewer);
      return viewer;
    }
  NextEditorNumber();  // every editor takes a number, so the next new document counts it too
  auto* editor = new TEditForm(this);
  editor->Open(name);
  setLastCreatedEditor(editor);
  AddChild(editor);
  return editor;
}

TChildForm* TTALSHELLFORM::NewViewerWindow(const std::string& name, KindCode kind) {
  auto* viewer = new TViewForm(this, name, kind);
  AddChild(viewer);
  return viewer;
}

TChildForm* TTALSHELLFORM::NewDiagramWindow(const std::string& name, bool fit) {
  auto* diagram = new TDiagramForm(this);
  diagram->LoadPicture(name);
  AddChild(diagram);
  if (fit) diagram->FitToPicture();  // once it has its sub-window
  return diagram;
}

TChildForm* TTALSHELLFORM::NewFormWindow(const std::string& name) {
  auto* form = new TTALKITForm(this);
  // A form whose reading was discarded is released before it is ever shown.
  if (!form->ReadDeck(name)) {
    delete form;
    return nullptr;
  }
  // A deck without a single annotation line opens as an empty form: say why, and what to do.
  if (form->model().items.empty())
    ShowMessageKind(NoFormAnnotationsMessage(name, Program().talkitMode), InformationOk, true);
  AddChild(form);
  form->PlaceWindow();
  return form;
}

}  // namespace tal
