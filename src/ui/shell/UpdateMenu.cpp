// Which menu items are enabled, by the active child's kind code.
#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <algorithm>
#include <array>

#include "shell/TalshellForm.h"
#include "support/Text.h"

namespace tal {
namespace {

// What a kind does to one group of items: on, off, keep the current state (the value step 2 set
// or the one from before), the undo state of the editor created last, or by the file's extension.
enum class Cell { On, Off, Keep, UndoState, ByExtension };

// The groups of items of the table, in column order.
const std::vector<MenuItem> Columns[] = {
    {MenuItem::Find},
    {MenuItem::SearchAgain},
    {MenuItem::Replace},
    {MenuItem::Copy},
    {MenuItem::Cut},
    {MenuItem::Undo},
    {MenuItem::Paste, MenuItem::Clear},
    {MenuItem::MakeTalkitFile},
    {MenuItem::NewTable, MenuItem::Calculate},
    {MenuItem::RunTable},
    {MenuItem::AlterTable, MenuItem::InsertDeleteRuns, MenuItem::InsertDeleteVars, MenuItem::TableResults},
    {MenuItem::OverlayPlot},
    {MenuItem::ModifyPlot},
};
constexpr std::size_t ColumnCount = std::size(Columns);

struct Row {
  std::vector<KindCode> kinds;
  std::array<Cell, ColumnCount> cells;
};

using C = Cell;
const Row Rows[] = {
    {{KindCode::DeckEditor, KindCode::TalkitText, KindCode::TextEditor},
     {C::On, C::On, C::On, C::On, C::On, C::UndoState, C::On, C::ByExtension, C::ByExtension, C::Off, C::Off, C::Keep,
      C::Off}},
    {{KindCode::TalkitForm},
     {C::Off, C::Off, C::Off, C::On, C::On, C::UndoState, C::On, C::Off, C::On, C::Off, C::Off, C::Keep, C::Off}},
    {{KindCode::Listing, KindCode::Output},
     {C::On, C::On, C::Off, C::On, C::Off, C::Off, C::Off, C::Off, C::Off, C::Off, C::Off, C::Keep, C::Off}},
    {{KindCode::Plot},
     {C::Off, C::Off, C::Off, C::On, C::Off, C::Off, C::Off, C::Keep, C::Off, C::Off, C::Keep, C::On, C::On}},
    {{KindCode::Table},
     {C::Off, C::On, C::Off, C::On, C::On, C::Off, C::On, C::Off, C::Off, C::On, C::On, C::Keep, C::Off}},
};

const Row* RowOfKind(KindCode kind) {
  for (const Row& row : Rows)
    if (std::find(row.kinds.begin(), row.kinds.end(), kind) != row.kinds.end()) return &row;
  return nullptr;
}

// Decks are what the engine runs, tables vary and the generator reads.
bool IsDeckExtension(const std::string& extension) {
  return extension == ".DCK" || extension == ".TKD" || extension == ".DEK";
}

}  // namespace

void TTALSHELLFORM::UpdateMenu() {
  ReleaseRunLock();
  UpdateMenuByKind();
  HoldRunLock();
  SetEnabled(MenuItem::GoToLine, activeChild_ && activeChild_->lineCount() > 0);
  ShowCursorPlace(*this);
  // Run Table on Cluster is enabled exactly when Run Table is.
  SetEnabled(MenuItem::RunTableOnCluster, action(MenuItem::RunTable) && action(MenuItem::RunTable)->isEnabled());
}

void TTALSHELLFORM::UpdateMenuByKind() {
  auto enableMenu = [this](Menu which, bool enabled) {
    if (QMenu* m = menu(which)) m->menuAction()->setEnabled(enabled);
  };

  if (!activeChild_ || mdi_->subWindowList().isEmpty()) {
    for (MenuItem item : {MenuItem::RunTable, MenuItem::Print, MenuItem::MakeTalkitFile, MenuItem::OverlayPlot,
                          MenuItem::ModifyPlot, MenuItem::ZoomToFit, MenuItem::ReloadData, MenuItem::ExportPlot, MenuItem::ExportData, MenuItem::Save,
                          MenuItem::SaveAs})
      SetEnabled(item, false);
    enableMenu(Menu::Edit, false);
    enableMenu(Menu::Parametrics, false);
    return;
  }

  for (MenuItem item : {MenuItem::Save, MenuItem::SaveAs, MenuItem::Print}) SetEnabled(item, true);
  enableMenu(Menu::Parametrics, true);
  enableMenu(Menu::Talpix, true);
  enableMenu(Menu::Edit, true);
  for (MenuItem item : {MenuItem::OverlayPlot, MenuItem::ModifyPlot, MenuItem::CompileModule}) SetEnabled(item, false);
  SetEnabled(MenuItem::RebuildTalpix, true);
  for (MenuItem item : {MenuItem::ZoomToFit, MenuItem::ReloadData, MenuItem::ExportPlot, MenuItem::ExportData}) SetEnabled(item, activeChild_->kind() == KindCode::Plot);

  const Row* row = RowOfKind(activeChild_->kind());
  if (!row) return;  // a diagram (or any other kind) changes nothing more

  const std::string extension = ExtensionOf(activeChild_->fileName());
  const bool undoState = lastCreatedEditor_ && lastCreatedEditor_->canUndo();
  for (std::size_t column = 0; column < ColumnCount; ++column) {
    for (MenuItem item : Columns[column]) {
      switch (row->cells[column]) {
        case Cell::On: SetEnabled(item, true); break;
        case Cell::Off: SetEnabled(item, false); break;
        case Cell::Keep: break;
        case Cell::UndoState: SetEnabled(item, undoState); break;
        case Cell::ByExtension: SetEnabled(item, IsDeckExtension(extension)); break;
      }
    }
  }
  if (IsEditorKind(activeChild_->kind())) SetEnabled(MenuItem::CompileModule, extension == ".FOR");
}

}  // namespace tal
