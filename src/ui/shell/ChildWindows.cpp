// Making the child windows that the shell's own commands open (Windows entries, ReadaFile).
// Until the form window exists, a form deck shows read-only as text in a window of its kind code.
#include "shell/DiagramForm.h"
#include "shell/EditForm.h"
#include "shell/PlainTextChild.h"
#include "shell/ViewForm.h"
#include "shell/TalshellForm.h"
#include "support/Text.h"

namespace tal {

TChildForm* TTALSHELLFORM::NewEditorWindow(const std::string& name) {
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
  auto* form = new TPlainTextChild(this, KindCode::TalkitForm, name);
  AddChild(form);
  return form;
}

}  // namespace tal
