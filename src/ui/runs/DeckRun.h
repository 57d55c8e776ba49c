#pragma once
// What Calculate needs of a child window, by its kind: the deck it runs, whether it holds unsaved
// changes, how to save it, and (form windows) the commands run before and after the engine.
#include "runs/Calculate.h"

namespace tal {

class TChildForm;

// Editors (1000, 2100): their file and modified state; forms (2000): FormRunState; any other
// window, or none: its kind and nothing else.
DeckWindowState RunStateOf(TChildForm* child);
// Saves the child's deck under its own name (editor: its text; form: the deck written back).
// False when it failed; the window has said why.
bool SaveDeckOf(TChildForm* child);

// Form windows (kind 2000): the deck they were read from, their deck-changed test and their
// "<BEFORE>"/"<AFTER>" commands. The form window's work provides it (FormRun.cpp).
DeckWindowState FormRunState(TChildForm& form);

}  // namespace tal
