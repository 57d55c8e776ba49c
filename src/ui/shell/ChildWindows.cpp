// Making the child windows that the shell's own commands open (Windows entries, ReadaFile).
// Until the editor, viewer and form windows exist, each shows its file read-only as text in a
// window of the right kind code; the document and form work replace these bodies with
// TEditForm, TViewForm and TTALKITForm.
#include "shell/PlainTextChild.h"
#include "shell/TalshellForm.h"
#include "support/Text.h"

namespace tal {

TChildForm* TTALSHELLFORM::NewEditorWindow(const std::string& name) {
  NextEditorNumber();
  KindCode kind = ExtensionOf(name) == ".DCK" ? KindCode::DeckEditor : KindCode::TextEditor;
  auto* editor = new TPlainTextChild(this, kind, name);
  setLastCreatedEditor(editor);
  AddChild(editor);
  return editor;
}

TChildForm* TTALSHELLFORM::NewViewerWindow(const std::string& name, KindCode kind) {
  auto* viewer = new TPlainTextChild(this, kind, name);
  AddChild(viewer);
  return viewer;
}

TChildForm* TTALSHELLFORM::NewFormWindow(const std::string& name) {
  auto* form = new TPlainTextChild(this, KindCode::TalkitForm, name);
  AddChild(form);
  return form;
}

}  // namespace tal
