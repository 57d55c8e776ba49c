// The Help menu's help files and the project index dialog of the Open command.
#include "help/AddHelpDlg.h"
#include "help/HelpBrowser.h"
#include "help/HelpMenuFile.h"
#include "help/IndexDlg.h"
#include "shell/TalshellForm.h"
#include "support/Messages.h"
#include "support/Program.h"

namespace tal {
namespace {

// `name` in the program directory: the HTML manual of that name in the help browser, a plain text
// file in the help text window, a help file of another platform's viewer only named.
void ShowHelpMenuFile(TTALSHELLFORM* frame, const std::string& name, const std::string& subject) {
  HelpMenuFile file = FindHelpMenuFile(Program().directory, name);
  switch (file.kind) {
    case HelpMenuFile::Kind::Manual: THelpBrowser::Open(frame, file.path); break;
    case HelpMenuFile::Kind::Text:
    case HelpMenuFile::Kind::Foreign: TAddHelpDlg::ShowHelpFile(frame, subject, file.path); break;
    case HelpMenuFile::Kind::Missing: ShowMessageKind(HelpFileNotFoundMessage(file.path), ErrorOk, true); break;
  }
}

}  // namespace

void TTALSHELLFORM::TALSHELLIndex1Click() {
  if (Program().talkitMode)
    ShowHelpMenuFile(this, "TALKIT.HLP", "TALKIT");
  else
    ShowHelpMenuFile(this, "TALSHELL.HLP", "TALSHELL");
}
void TTALSHELLFORM::TypesIndex1Click() { ShowHelpMenuFile(this, "Types.Hlp", "Types"); }
void TTALSHELLFORM::TALPIXIndex1Click() { ShowHelpMenuFile(this, "Typeindx.Hlp", "TALPIX"); }
void TTALSHELLFORM::TALPIXErrorMessages1Click() { ShowHelpMenuFile(this, "Error.Hlp", "TALPIX Error Messages"); }

void TTALSHELLFORM::ShowIndexDialog(const std::string& name) {
  TIndexDlg dialog(name, [this](const std::string& deck) { ReadaFile(deck); }, this);
  dialog.exec();
  UpdateMenu();
}

}  // namespace tal
