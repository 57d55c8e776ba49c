#include "runs/DeckRun.h"

#include "shell/ChildForm.h"
#include "shell/EditForm.h"

namespace tal {

DeckWindowState RunStateOf(TChildForm* child) {
  DeckWindowState state;
  if (!child) return state;
  state.kind = child->kindCode();
  switch (child->kind()) {
    case KindCode::TalkitForm:
      return FormRunState(*child);
    case KindCode::DeckEditor:
    case KindCode::TalkitText:
      state.deckName = child->fileName();
      if (auto* editor = qobject_cast<TEditForm*>(child)) state.changed = editor->isModified();
      return state;
    default:
      return state;
  }
}

bool SaveDeckOf(TChildForm* child) {
  if (!child) return false;
  // A form first takes the field being edited; both write under their own name.
  if (child->kind() == KindCode::TalkitForm && !child->commitInput()) return false;
  return child->saveDocument(child->fileName());
}

}  // namespace tal
