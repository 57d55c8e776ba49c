// Makers of windows whose kinds are still being built: each is the one entry point for its kind
// and, until its window exists, shows the file read-only as text in a window of that kind code.
// The work that builds the window moves its maker out of this file into its own.
#include "shell/PlainTextChild.h"
#include "shell/TalshellForm.h"

namespace tal {

TChildForm* TTALSHELLFORM::NewPlotWindow(const std::string& name) {
  auto* plot = new TPlainTextChild(this, KindCode::Plot, name);
  AddChild(plot);
  return plot;
}

}  // namespace tal
