// The recent-file items at the end of the File menu.
#include <QAction>
#include <QMenu>
#include <filesystem>

#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/QtStrings.h"

namespace tal {

// Keeps the menu's head and the separator after it; everything further down is rebuilt, one
// item per entry, newest first, numbered from 1.
void TTALSHELLFORM::FixFileNameList() {
  QMenu* file = menu(Menu::File);
  const int head = fileMenuHeadSize();
  auto items = file->actions();
  for (int i = head + 1; i < items.size(); ++i) {
    file->removeAction(items[i]);
    items[i]->deleteLater();  // may be the item whose click led here
  }
  if (items.size() == head) file->addSeparator();

  const auto& entries = recentFiles_.entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::size_t position = entries.size() - 1 - i;
    QString caption = QString::number(i + 1) + ". " + ToQt(entries[position]).replace("&", "&&");
    QAction* item = file->addAction(caption);
    connect(item, &QAction::triggered, this, [this, position] { OpenFileItem(position); });
  }
}

void TTALSHELLFORM::OpenFileItem(std::size_t position) {
  if (position >= recentFiles_.size()) return;
  const std::string name = recentFiles_.entries()[position];
  if (FileReadable(name)) {
    std::error_code ec;
    std::filesystem::current_path(FolderOf(name), ec);
    ReadaFile(name);
    UpdateMenu();
    return;
  }
  ShowMessageKind(name + " no longer exists", WarningOkCancel, true);
  recentFiles_.removeAt(position);
  FixFileNameList();
}

}  // namespace tal
