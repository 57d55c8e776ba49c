#include "runs/DeckRun.h"

#include "shell/ChildForm.h"

namespace tal {

DeckWindowState RunStateOf(TChildForm* child) {
  DeckWindowState state;
  if (!child) return state;
  switch (child->kind()) {
    case KindCode::TalkitForm:
      return FormRunState(*child);
    case KindCode::DeckEditor:
    case KindCode::TalkitText:
      state.kind = child->kindCode();
      state.deckName = child->fileName();
      return state;
    default:
      state.kind = child->kindCode();
      return state;
  }
}

bool SaveDeckOf(TChildForm* child) {
  if (!child) return false;
  if (child->kind() == KindCode::TalkitForm) return WriteFormDeck(*child);
  return true;
}

}  // namespace tal
