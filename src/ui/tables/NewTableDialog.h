#pragma once
// "New Parametric Table": the deck's constants in "Parameters in File", the table's variables in
// "Parameters in Table", moved between them by the arrow buttons or by dragging. The same dialog
// changes the variables of the table (Insert/Delete Vars).
#include <QDialog>
#include <QListWidget>
#include <optional>
#include <string>
#include <vector>

#include "tables/DeckConstants.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tal {

class TNewTableDlg;

// A list of the dialog: a drag source, and a drop from the other list moves its selected items here.
class TableVariableList : public QListWidget {
  Q_OBJECT

 public:
  TableVariableList(TNewTableDlg& dialog, QWidget* parent);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  TNewTableDlg& dialog_;
};

class TNewTableDlg : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { NewTable, InsertDeleteVars };

  explicit TNewTableDlg(QWidget* parent = nullptr);

  // New-table mode: "Parameters in File" holds every named variable of `variables` (the scan of
  // `deckName`); "Parameters in Table" starts empty.
  void StartNewTable(const std::string& deckName, const DeckVariableList& variables);
  // Insert/Delete Vars: "Parameters in Table" holds the table's columns in order, "Parameters in
  // File" the deck's other variables (`variables` may be empty when the deck is gone).
  void StartInsertDeleteVars(const std::vector<std::string>& columns, const DeckVariableList& variables);

  Mode mode() const { return mode_; }
  const std::string& deckName() const { return deckName_; }
  // After OK: the number of runs (new-table mode) and the names in "Parameters in Table".
  int runs() const { return runs_; }
  std::vector<std::string> tableNames() const;

  void IncludeBtnClick();  // ">"
  void IncAllBtnClick();   // ">>"
  void ExcludeBtnClick();  // "<"
  void ExAllBtnClick();    // "<<"
  void OKBtnClick();
  void SetButtons();
  // Moves the selected items of `from` (last to first) to the end of `to`, then selects in `from`
  // the item at the position of the first one moved.
  void MoveSelected(QListWidget* from, QListWidget* to);
  // Shows the unit and description of `item`'s variable on the information panel.
  void ShowInformation(QListWidgetItem* item);

  QLineEdit* runsEdit = nullptr;
  TableVariableList* srcList = nullptr;
  TableVariableList* dstList = nullptr;
  QPushButton* includeBtn = nullptr;
  QPushButton* incAllBtn = nullptr;
  QPushButton* excludeBtn = nullptr;
  QPushButton* exAllBtn = nullptr;
  QPushButton* okBtn = nullptr;
  QPushButton* cancelBtn = nullptr;
  QLabel* unitLine = nullptr;
  QLabel* descriptionLine = nullptr;

 private:
  void AddItem(QListWidget* list, const std::string& name, int variable);
  void MoveAll(QListWidget* from, QListWidget* to);

  Mode mode_ = Mode::NewTable;
  std::string deckName_;
  DeckVariableList variables_;
  int runs_ = 0;
};

// The message for a text that is not an integer: "'" + text + "' is not a valid integer value."
std::string NotAnIntegerMessage(const std::string& text);
inline constexpr const char* RunsOutOfRangeMessage = "The number of runs must be 1 to 9999.";

}  // namespace tal
