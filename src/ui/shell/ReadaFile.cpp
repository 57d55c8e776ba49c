// Opening a file by its type: the entry point of every Open, recent-file item and start-up
// argument. For now it remembers the file in the recent-file list and shows it as text; the
// open/save work completes it (deck editors, forms, plots, tables, diagrams, result files).
#include <QAction>

#include "shell/PlainTextChild.h"
#include "shell/TalshellForm.h"
#include "support/Interaction.h"

namespace tal {

void TTALSHELLFORM::ReadaFile(const std::string& name) {
  recentFiles_.add(name);
  {
    BusyScope busy;
    AddChild(new TPlainTextChild(this, KindCode::TextEditor, name));
  }
  FixFileNameList();
}

}  // namespace tal
