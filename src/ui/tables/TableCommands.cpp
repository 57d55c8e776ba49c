// The main window's table commands: the table window maker, and the Parametrics menu's New Table,
// Alter Table, Insert/Delete Runs and Insert/Delete Vars.
#include <QMdiSubWindow>

#include "runs/SettingsFile.h"
#include "shell/TalshellForm.h"
#include "support/Messages.h"
#include "tables/AlterValuesDialog.h"
#include "tables/DeckConstants.h"
#include "tables/InsertRunsDialog.h"
#include "tables/NewTableDialog.h"
#include "tables/TableFile.h"
#include "tables/TableForm.h"

namespace tal {

namespace {

// The table window the table commands work on: the active child when it is the table.
TTableForm* ActiveTable(TTALSHELLFORM& frame) {
  TChildForm* child = frame.activeChild();
  return child && child->kind() == KindCode::Table ? qobject_cast<TTableForm*>(child) : nullptr;
}

// A new table window is placed at (10, 20) in an empty frame, else 24 pixels right of and below
// the first child window.
void PlaceTableWindow(TTALSHELLFORM& frame, TTableForm* table) {
  QPoint place(10, 20);
  for (TChildForm* child : frame.children())
    if (child != table && child->subWindow()) place = child->subWindow()->pos() + QPoint(24, 24);
  if (table->subWindow()) table->subWindow()->move(place);
}

TTableForm* ShowTableWindow(TTALSHELLFORM& frame, TTableForm* table) {
  frame.setTableWindow(table);
  frame.AddChild(table);
  PlaceTableWindow(frame, table);
  table->FormResize();
  return table;
}

}  // namespace

TChildForm* TTALSHELLFORM::NewTableWindow(const std::string& name) {
  auto* table = new TTableForm(this);
  if (!table->ReadTable(name)) {
    delete table;
    return nullptr;
  }
  return ShowTableWindow(*this, table);
}

void TTALSHELLFORM::NewTable1Click() {
  CommandScope command(*this);
  TChildForm* child = activeChild();
  if (!child || !(IsEditorKind(child->kind()) || child->kind() == KindCode::TalkitForm) ||
      child->kind() == KindCode::TextEditor)
    return;
  const std::string deck = child->fileName();
  auto variables = ScanDeckConstants(deck, CurrentSettings().units);
  if (!variables) {
    ShowMessageKind(NoConstantsMessage(deck), WarningOkCancel, false);
    UpdateMenu();
    return;
  }
  TNewTableDlg dialog(this);
  dialog.StartNewTable(deck, *variables);
  if (dialog.exec() != QDialog::Accepted) {
    UpdateMenu();
    return;
  }
  // The table it replaces may hold changes: its question first, Cancel keeps it.
  if (TChildForm* old = tableWindow()) {
    if (!AskBeforeFreeing(std::vector<TChildForm*>{old})) {
      UpdateMenu();
      return;
    }
    FreeChild(old);
  }
  TableModel table(dialog.runs(), dialog.tableNames());
  table.deckFileName = deck;
  table.tableFileName = TableNameForDeck(deck);
  table.modified = true;
  auto* window = new TTableForm(this);
  window->SetTable(std::move(table));
  window->setProposedFileName(window->table().tableFileName);
  window->setCaption(window->table().tableFileName);
  ShowTableWindow(*this, window);
  setTableEntry(window->table().tableFileName);
  UpdateMenu();
}

void TTALSHELLFORM::AlterTable1Click() {
  if (TTableForm* table = ActiveTable(*this)) {
    TAlterValuesDlg dialog(table->table(), [table] { table->grid()->viewport()->update(); }, this);
    dialog.exec();
  }
  UpdateMenu();
}

void TTALSHELLFORM::InsertDeleteRuns1Click() {
  TTableForm* table = ActiveTable(*this);
  if (!table) return UpdateMenu();
  TInsertRunsDlg dialog(table->table().runs(), this);
  if (dialog.exec() == QDialog::Accepted) {
    BusyScope busy;
    if (InsertDeleteRuns(table->table(), dialog.count(), dialog.position())) {
      table->TableChanged();
    } else if (table->closeQuery()) {  // every run deleted: the window closes, after its question
      FreeChild(table);
    }
  }
  UpdateMenu();
}

void TTALSHELLFORM::InsertDeleteVars1Click() {
  TTableForm* table = ActiveTable(*this);
  if (!table) return UpdateMenu();
  std::vector<std::string> columns;
  for (const TableColumn& column : table->table().columns) columns.push_back(column.name);
  TNewTableDlg dialog(this);
  // The deck's variables as they are now; a deck that is gone offers the table's own columns only.
  auto variables = ScanDeckConstants(table->table().deckFileName, CurrentSettings().units);
  dialog.StartInsertDeleteVars(columns, variables.value_or(DeckVariableList{}));
  if (dialog.exec() == QDialog::Accepted) {
    RebuildColumns(table->table(), dialog.tableNames());
    table->TableChanged();
  }
  UpdateMenu();
}

}  // namespace tal
