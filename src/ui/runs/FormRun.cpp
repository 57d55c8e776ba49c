// Calculate's view of a form window. Until the form window reports its own changes and its
// "<BEFORE>"/"<AFTER>" commands here, a form runs as an unchanged deck without commands.
#include "runs/DeckRun.h"
#include "shell/ChildForm.h"

namespace tal {

DeckWindowState FormRunState(TChildForm& form) {
  DeckWindowState state;
  state.kind = form.kindCode();
  state.deckName = form.fileName();
  return state;
}

}  // namespace tal
