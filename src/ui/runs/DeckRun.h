#pragma once
// What Calculate needs of a child window, by its kind: the deck it runs, whether it holds unsaved
// changes, how to save it, and (form windows) the commands run before and after the engine.
#include "runs/Calculate.h"

namespace tal {

class TChildForm;

// Editors (1000, 2100): their file and modified state; forms (2000): FormRunState; any other
// window, or none: its kind and nothing else.
DeckWindowState RunStateOf(TChildForm* child);
// Saves the child's deck (editor: its text; form: WriteFormDeck). False when it failed.
bool SaveDeckOf(TChildForm* child);

// Form windows (kind 2000): the deck they were read from, their deck-changed test and their
// "<BEFORE>"/"<AFTER>" commands; and writing the deck back under its own name. The form
// window's work provides these (FormRun.cpp).
DeckWindowState FormRunState(TChildForm& form);
bool WriteFormDeck(TChildForm& form);

}  // namespace tal
