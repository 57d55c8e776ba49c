// The Windows menu: the entries that point at the current deck's input, output, listing, table
// and diagram, the arrangement commands and the list of open child windows.
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <filesystem>

#include "shell/OpenSaveRules.h"
#include "shell/ResultFiles.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/QtStrings.h"
#include "support/Text.h"

namespace tal {

namespace {
// Qt reads "&" in a caption as a mnemonic; a file name shows it as it is.
QString LiteralCaption(const std::string& text) { return ToQt(text).replace("&", "&&"); }

// A deck opened as a form comes back as a form, never as its (possibly encoded) text: the same
// rule that opened it, extension or first-line marker.
bool ReopensAsForm(const std::string& deck) {
  return DecideOpen(deck, ReadFirstLine(deck).value_or(""), false).target == OpenTarget::FormDeck;
}
}  // namespace

void TTALSHELLFORM::PointEntryAt(MenuItem item, const std::string& plainCaption, const std::string& name) {
  if (QAction* entry = action(item)) {
    entry->setText(LiteralCaption(WindowsEntryCaption(plainCaption, name)));
    entry->setEnabled(true);
  }
}

void TTALSHELLFORM::ResetEntry(MenuItem item, const std::string& plainCaption) {
  if (QAction* entry = action(item)) {
    entry->setText(ToQt(plainCaption));
    entry->setEnabled(false);
  }
}

void TTALSHELLFORM::setInputEntry(const std::string& name) { PointEntryAt(MenuItem::Input, "Input", name); }
void TTALSHELLFORM::resetInputEntry() { ResetEntry(MenuItem::Input, "Input"); }
void TTALSHELLFORM::setListingEntry(const std::string& name) { PointEntryAt(MenuItem::Listing, "Listing", name); }
void TTALSHELLFORM::resetListingEntry() { ResetEntry(MenuItem::Listing, "Listing"); }
void TTALSHELLFORM::setTableEntry(const std::string& name) { PointEntryAt(MenuItem::Table, "Table", name); }
void TTALSHELLFORM::resetTableEntry() { ResetEntry(MenuItem::Table, "Table"); }
void TTALSHELLFORM::setDiagramEntry(const std::string& name) { PointEntryAt(MenuItem::Diagram, "Diagram", name); }
void TTALSHELLFORM::resetDiagramEntry() { ResetEntry(MenuItem::Diagram, "Diagram"); }

void TTALSHELLFORM::addOutputEntry(const std::string& fullName) {
  QAction* item = outputMenu_->addAction(LiteralCaption(FileNameOf(fullName)));
  connect(item, &QAction::triggered, this, [this, fullName] { OpenOutFile(fullName); });
  action(MenuItem::Output)->setEnabled(true);
}

void TTALSHELLFORM::clearOutputEntries() {
  // Taken out of the menu at once, freed later: the item that was clicked may be among them.
  for (QAction* item : outputMenu_->actions()) {
    outputMenu_->removeAction(item);
    item->deleteLater();
  }
  ResetEntry(MenuItem::Output, "Output");
}

void TTALSHELLFORM::DisposeTALPIXWindows(KindCode code) {
  while (TChildForm* child = FirstChildOfKind(code)) {
    FreeChild(child);
    switch (code) {
      case KindCode::DeckEditor:
      case KindCode::TalkitForm:
        resetInputEntry();
        currentInputDeck_.clear();
        break;
      case KindCode::Listing: resetListingEntry(); break;
      case KindCode::Table:
        tableWindow_ = nullptr;
        resetTableEntry();
        break;
      case KindCode::Output: clearOutputEntries(); break;
      case KindCode::Diagram: resetDiagramEntry(); break;
      default: break;
    }
  }
}

// The output item stays in the menu when its file has gone: the user may run the engine again.
void TTALSHELLFORM::OpenOutFile(const std::string& name) {
  if (!FileReadable(name)) {
    ShowMessageKind(name + " no longer exists", WarningOkCancel, true);
    return;
  }
  if (HasFolder(name)) {
    std::error_code ec;
    std::filesystem::current_path(FolderOf(name), ec);
  }
  NewViewerWindow(name, KindCode::Output);
  UpdateMenu();
}

namespace {

// The window to bring forward for the input deck: its deck editor or form first; otherwise any
// other editor already showing it (a ".DEK" deck or "Edit TALKIT file" text), so that a second
// window on the same file, whose saves would overwrite each other, is never opened.
TChildForm* InputDeckWindow(const std::vector<TChildForm*>& children, const std::string& deck) {
  auto showsDeck = [&](TChildForm* child) { return EqualNoCase(child->fileName(), deck); };
  for (TChildForm* child : children)
    if ((child->kind() == KindCode::DeckEditor || child->kind() == KindCode::TalkitForm) && showsDeck(child))
      return child;
  for (TChildForm* child : children)
    if (IsEditorKind(child->kind()) && showsDeck(child)) return child;
  return nullptr;
}

}  // namespace

void TTALSHELLFORM::Input1Click() {
  if (TChildForm* shown = InputDeckWindow(children(), currentInputDeck_)) {
    BringToFront(shown);
    UpdateMenu();
    return;
  }
  if (!currentInputDeck_.empty()) {
    // A form deck comes back as the form it was opened as, never as its (possibly encoded) text.
    if (ReopensAsForm(currentInputDeck_)) {
      BusyScope busy;
      NewFormWindow(currentInputDeck_);
    } else {
      NewEditorWindow(currentInputDeck_);
    }
  }
  UpdateMenu();
}

void TTALSHELLFORM::Listing1Click() {
  if (TChildForm* listing = FirstChildOfKind(KindCode::Listing))
    BringToFront(listing);
  else if (!currentInputDeck_.empty())
    GetLSTFile(currentInputDeck_, true);
  UpdateMenu();
}

void TTALSHELLFORM::Table1Click() {
  if (TChildForm* table = FirstChildOfKind(KindCode::Table))
    BringToFront(table);
  else if (!currentInputDeck_.empty())
    GetTBLFile(currentInputDeck_, true);
  UpdateMenu();
}

void TTALSHELLFORM::Diagram1Click() {
  if (TChildForm* diagram = FirstChildOfKind(KindCode::Diagram))
    BringToFront(diagram);
  else if (!currentInputDeck_.empty())
    GetDGMFile(currentInputDeck_);
  UpdateMenu();
}

// The frame's list of open child windows at the end of the Windows menu, rebuilt each time the
// menu opens: "1 caption" and so on, the active one checked.
void TTALSHELLFORM::RefreshWindowList() {
  QMenu* windows = menu(Menu::Windows);
  for (QAction* item : windowListItems_) {
    windows->removeAction(item);
    item->deleteLater();
  }
  windowListItems_.clear();
  auto subWindows = mdi_->subWindowList(QMdiArea::CreationOrder);
  windowListSeparator_->setVisible(!subWindows.isEmpty());
  int number = 0;
  for (QMdiSubWindow* window : subWindows) {
    ++number;
    QString caption = QString("&%1 %2").arg(number).arg(window->windowTitle().replace("&", "&&"));
    QAction* item = windows->addAction(caption);
    item->setCheckable(true);
    item->setChecked(window == mdi_->activeSubWindow());
    QPointer<QMdiSubWindow> target = window;
    connect(item, &QAction::triggered, this, [this, target] {
      if (!target) return;
      if (auto* child = qobject_cast<TChildForm*>(target->widget())) BringToFront(child);
    });
    windowListItems_.push_back(item);
  }
}

}  // namespace tal
