#pragma once
// The table window (kind 5000): a grid of the table's runs by its variables, edited in place,
// with the Edit menu's Copy, Cut, Paste and Clear, printing, saving and reading its ".TBL" file.
// The program has at most one: the main window remembers it (tableWindow()).
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>
#include <string>

#include "shell/ChildForm.h"
#include "tables/TableModel.h"

namespace tal {

// The table model as the grid sees it: DisplayRole and EditRole give the cell texts; an edit
// goes back through SetCellFromEditText.
class TableGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TableGridModel(TableModel& table, QObject* parent = nullptr) : QAbstractTableModel(parent), table_(table) {}
  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : table_.runs(); }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : table_.variables(); }
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // The whole table changed shape or values.
  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  TableModel& table_;
};

// The header row (column numbers and variable names) and the run numbers of the grid. A click on
// the header row beeps and selects nothing.
class TableHeader : public QHeaderView {
  Q_OBJECT

 public:
  TableHeader(Qt::Orientation orientation, TableModel& table, QWidget* parent);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TableModel& table_;
};

// The grid: Enter moves one run down, Shift switches in-place editing off while it is held.
class TableGrid : public QTableView {
  Q_OBJECT

 public:
  explicit TableGrid(QWidget* parent);
  // Set by the editor's delegate when Enter ended an edit.
  bool enterEndedEdit = false;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  void MoveDown();
  EditTriggers editing_;
};

class TTableForm : public TChildForm {
  Q_OBJECT

 public:
  static constexpr int DefaultColumnWidth = 90;
  static constexpr int DefaultRowHeight = 20;
  static constexpr int HeaderRowHeight = 30;
  static constexpr int RunColumnWidth = 45;

  explicit TTableForm(TTALSHELLFORM* shell);

  TableModel& table() { return table_; }
  const TableModel& table() const { return table_; }
  // Takes `table` (a new table, or one changed in shape by the dialogs) and fits the window.
  void SetTable(TableModel table);
  // The table changed in place (values, runs or columns): repaint and fit.
  void TableChanged();
  TableGrid* grid() const { return grid_; }
  TableGridModel* gridModel() const { return model_; }

  // Reads `name` into the window: the deck is looked for (beside the table when it is gone) and
  // rescanned, the caption and the Windows menu's "Table" entry name the file. False (after the
  // message naming the file) when the file is not a table file; the window then holds nothing.
  bool ReadTable(const std::string& name);
  // Writes the table to `name`; on success the file name, caption and client area are updated
  // and the changed flag is cleared; a failure is shown and keeps the window marked as changed.
  bool SaveTable(const std::string& name);

  // The selected rectangle (runs and variables, 1-based); the current cell when nothing is selected.
  CellRange Selection() const;
  void CopytoClip();
  void Paste();
  void Clear();

  // Fits the window to the grid: all runs and variables when they fit the frame, else as many
  // whole ones as fit, with scroll bars.
  void FormResize();
  // Moves the window 10,000 pixels out of sight and back.
  void Hide();
  void Show();
  bool shown() const { return shown_; }

  // ChildForm
  bool closeQuery() override;
  void cutSelection() override;
  void copySelection() override { CopytoClip(); }
  void pasteClipboard() override { Paste(); }
  void clearSelection() override { Clear(); }
  bool saveDocument(const std::string& name) override { return SaveTable(name); }
  void printOn(TPrintJob& job) override;

  // " has been changed.  Save it?" after the table file name.
  static std::string ChangedQuestion(const std::string& tableFile);

 protected:
  // The file name first: a narrow window's title bar cuts the folder, not the name.
  std::string titleOf(const std::string& caption) const override;

 private:
  TableModel table_;
  TableGridModel* model_;
  TableGrid* grid_;
  bool shown_ = true;
};

}  // namespace tal
