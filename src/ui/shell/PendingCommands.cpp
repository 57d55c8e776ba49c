// Menu commands whose windows and dialogs are still being built. Each tells the user so; the
// work that builds a command moves its handler out of this file into its own.
#include "shell/TalshellForm.h"
#include "support/Messages.h"

namespace tal {
namespace {
void NotAvailableYet() { ShowMessageKind("This command is not available yet.", InformationOk, false); }
}  // namespace

void TTALSHELLFORM::NewPlot1Click() { NotAvailableYet(); }
void TTALSHELLFORM::OverlayPlot1Click() { NotAvailableYet(); }
void TTALSHELLFORM::ModifyPlot1Click() { NotAvailableYet(); }

}  // namespace tal
