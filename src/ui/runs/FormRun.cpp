// Calculate's view of a form window: the deck it was read from, its changed state and its
// "<BEFORE>"/"<AFTER>" commands.
#include "forms/TalkitForm.h"
#include "runs/DeckRun.h"
#include "shell/ChildForm.h"

namespace tal {

DeckWindowState FormRunState(TChildForm& form) {
  DeckWindowState state;
  state.kind = form.kindCode();
  state.deckName = form.fileName();
  if (auto* talkit = qobject_cast<TTALKITForm*>(&form)) {
    state.changed = talkit->DCKChanged();
    state.beforeCommand = talkit->beforeCommand();
    state.afterCommand = talkit->afterCommand();
  }
  return state;
}

}  // namespace tal
