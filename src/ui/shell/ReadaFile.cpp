// Opening a file by its type: the entry point of every Open, recent-file item and start-up
// argument. The extension (or the form-deck marker on the first line) chooses the window; a deck
// or form deck also brings its result files to the Windows menu and becomes the current input deck.
#include "shell/OpenSaveRules.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/Program.h"

namespace tal {

void TTALSHELLFORM::ReadaFile(const std::string& given) {
  CommandScope command(*this);
  const std::string name = AbsolutePath(given);
  if (!FileReadable(name)) {
    ShowMessageKind(CannotReadMessage(name), ErrorOk, true);
    return;
  }
  const OpenDecision decision = DecideOpen(name, ReadFirstLine(name).value_or(""), Program().talkitMode);
  if (decision.notTalkitFile) ShowMessageKind(NotTalkitFileMessage(name), ErrorOk, true);
  // Every window this opening frees is asked first, before anything has changed.
  if (!AskBeforeFreeing(KindsClosedByOpening(decision.target))) return;
  recentFiles_.add(name);

  {
    BusyScope busy;
    switch (decision.target) {
      case OpenTarget::Deck:
        DisposeTALPIXWindows(KindCode::DeckEditor);
        GetDGMFile(name);
        GetLSTFile(name, false);
        GetOUTFile(name, false);
        GetTBLFile(name, false);
        GetPLTFile(name, false);
        NewEditorWindow(name);
        setInputEntry(name);
        setCurrentInputDeck(name);
        break;
      case OpenTarget::FormDeck:
        DisposeTALPIXWindows(KindCode::TalkitForm);
        GetDGMFile(name);
        GetPLTFile(name, false);
        GetLSTFile(name, false);
        GetOUTFile(name, false);
        GetTBLFile(name, false);
        NewFormWindow(name);
        setInputEntry(name);
        setCurrentInputDeck(name);
        break;
      case OpenTarget::PlotDescription: NewPlotWindow(name); break;
      case OpenTarget::Diagram: GetDGMFile(name); break;
      case OpenTarget::Table: GetTBLFile(name, true); break;
      case OpenTarget::PlotData: GetPLTFile(name, true); break;
      case OpenTarget::Listing: GetLSTFile(name, true); break;
      case OpenTarget::Text: NewEditorWindow(name); break;
    }
  }
  FixFileNameList();
}

}  // namespace tal
