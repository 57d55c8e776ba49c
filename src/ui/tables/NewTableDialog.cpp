#include "tables/NewTableDialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "support/Messages.h"
#include "support/QtStrings.h"
#include "tables/TableModel.h"

namespace tal {

std::string NotAnIntegerMessage(const std::string& text) { return "'" + text + "' is not a valid integer value."; }

// ---- lists ------------------------------------------------------------------------------------

TableVariableList::TableVariableList(TNewTableDlg& dialog, QWidget* parent) : QListWidget(parent), dialog_(dialog) {
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(QAbstractItemView::DragDrop);
}

void TableVariableList::dragEnterEvent(QDragEnterEvent* event) { event->acceptProposedAction(); }
void TableVariableList::dragMoveEvent(QDragMoveEvent* event) { event->acceptProposedAction(); }

void TableVariableList::dropEvent(QDropEvent* event) {
  auto* source = qobject_cast<QListWidget*>(event->source());
  event->setDropAction(Qt::IgnoreAction);  // the items are moved here, not copied by the drag
  event->accept();
  if (source && source != this) {
    if (this == dialog_.dstList)
      dialog_.IncludeBtnClick();
    else
      dialog_.ExcludeBtnClick();
  }
}

// ---- the dialog -------------------------------------------------------------------------------

TNewTableDlg::TNewTableDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle("New Parametric Table");
  setObjectName("NewTableDlg");
  runsEdit = new QLineEdit("10", this);
  srcList = new TableVariableList(*this, this);
  srcList->setSortingEnabled(true);
  dstList = new TableVariableList(*this, this);
  includeBtn = new QPushButton(">", this);
  incAllBtn = new QPushButton(">>", this);
  excludeBtn = new QPushButton("<", this);
  exAllBtn = new QPushButton("<<", this);
  okBtn = new QPushButton("OK", this);
  cancelBtn = new QPushButton("Cancel", this);
  okBtn->setDefault(true);
  unitLine = new QLabel(this);
  descriptionLine = new QLabel(this);
  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->addWidget(unitLine);
  panelLayout->addWidget(descriptionLine);

  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  for (QPushButton* b : {includeBtn, incAllBtn, excludeBtn, exAllBtn}) {
    b->setFixedWidth(40);
    buttons->addWidget(b);
  }
  buttons->addStretch();
  auto* grid = new QGridLayout(this);
  auto* runsRow = new QHBoxLayout;
  runsRow->addWidget(new QLabel("No. of Runs", this));
  runsRow->addWidget(runsEdit);
  runsRow->addStretch();
  grid->addLayout(runsRow, 0, 0, 1, 3);
  grid->addWidget(new QLabel("Parameters in File", this), 1, 0);
  grid->addWidget(new QLabel("Parameters in Table", this), 1, 2);
  grid->addWidget(srcList, 2, 0);
  grid->addLayout(buttons, 2, 1);
  grid->addWidget(dstList, 2, 2);
  grid->addWidget(panel, 3, 0, 1, 3);
  auto* okCancel = new QHBoxLayout;
  okCancel->addStretch();
  okCancel->addWidget(okBtn);
  okCancel->addWidget(cancelBtn);
  grid->addLayout(okCancel, 4, 0, 1, 3);

  connect(includeBtn, &QPushButton::clicked, this, &TNewTableDlg::IncludeBtnClick);
  connect(incAllBtn, &QPushButton::clicked, this, &TNewTableDlg::IncAllBtnClick);
  connect(excludeBtn, &QPushButton::clicked, this, &TNewTableDlg::ExcludeBtnClick);
  connect(exAllBtn, &QPushButton::clicked, this, &TNewTableDlg::ExAllBtnClick);
  connect(okBtn, &QPushButton::clicked, this, &TNewTableDlg::OKBtnClick);
  connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(srcList, &QListWidget::itemPressed, this, &TNewTableDlg::ShowInformation);
  connect(dstList, &QListWidget::itemPressed, this, &TNewTableDlg::ShowInformation);
  resize(460, 380);
}

void TNewTableDlg::AddItem(QListWidget* list, const std::string& name, int variable) {
  auto* item = new QListWidgetItem(ToQt(name));
  item->setData(Qt::UserRole, variable);  // the variable's place in the scanned list, -1 for none
  list->addItem(item);
}

void TNewTableDlg::StartNewTable(const std::string& deckName, const DeckVariableList& variables) {
  mode_ = Mode::NewTable;
  deckName_ = deckName;
  variables_ = variables;
  srcList->clear();
  dstList->clear();
  runsEdit->setEnabled(true);
  for (std::size_t i = 0; i < variables_.size(); ++i)
    if (!variables_[i].name.empty()) AddItem(srcList, variables_[i].name, static_cast<int>(i));
  SetButtons();
}

void TNewTableDlg::StartInsertDeleteVars(const std::vector<std::string>& columns, const DeckVariableList& variables) {
  mode_ = Mode::InsertDeleteVars;
  variables_ = variables;
  srcList->clear();
  dstList->clear();
  runsEdit->setEnabled(false);
  auto indexOf = [&](const std::string& name) {
    for (std::size_t i = 0; i < variables_.size(); ++i)
      if (variables_[i].name.substr(0, TableModel::NameMax) == name) return static_cast<int>(i);
    return -1;
  };
  for (const std::string& column : columns) AddItem(dstList, column, indexOf(column));
  for (std::size_t i = 0; i < variables_.size(); ++i) {
    const std::string name = variables_[i].name.substr(0, TableModel::NameMax);
    if (!name.empty() && std::find(columns.begin(), columns.end(), name) == columns.end())
      AddItem(srcList, variables_[i].name, static_cast<int>(i));
  }
  SetButtons();
}

std::vector<std::string> TNewTableDlg::tableNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < dstList->count(); ++i) names.push_back(FromQt(dstList->item(i)->text()));
  return names;
}

void TNewTableDlg::SetButtons() {
  includeBtn->setEnabled(srcList->count() > 0);
  incAllBtn->setEnabled(srcList->count() > 0);
  excludeBtn->setEnabled(dstList->count() > 0);
  exAllBtn->setEnabled(dstList->count() > 0);
  okBtn->setEnabled(dstList->count() > 0);
}

void TNewTableDlg::MoveSelected(QListWidget* from, QListWidget* to) {
  int first = -1;
  for (int i = from->count() - 1; i >= 0; --i) {
    if (!from->item(i)->isSelected()) continue;
    first = i;
    QListWidgetItem* item = from->takeItem(i);
    item->setSelected(false);
    to->addItem(item);
  }
  from->setFocus();
  const int count = from->count();
  if (count > 0) {
    int position = std::max(first, 0);
    if (count == 1)
      position = 0;
    else
      position = std::min(position, count - 2);
    from->clearSelection();
    from->setCurrentRow(position);
    from->item(position)->setSelected(true);
  }
  SetButtons();
}

void TNewTableDlg::MoveAll(QListWidget* from, QListWidget* to) {
  while (from->count() > 0) {
    QListWidgetItem* item = from->takeItem(0);
    item->setSelected(false);
    to->addItem(item);
  }
  SetButtons();
}

void TNewTableDlg::IncludeBtnClick() { MoveSelected(srcList, dstList); }
void TNewTableDlg::ExcludeBtnClick() { MoveSelected(dstList, srcList); }
void TNewTableDlg::IncAllBtnClick() { MoveAll(srcList, dstList); }
void TNewTableDlg::ExAllBtnClick() { MoveAll(dstList, srcList); }

void TNewTableDlg::ShowInformation(QListWidgetItem* item) {
  if (!item) return;
  int index = item->data(Qt::UserRole).toInt();
  if (index < 0 || index >= static_cast<int>(variables_.size())) {
    unitLine->clear();
    descriptionLine->clear();
    return;
  }
  unitLine->setText(ToQt(variables_[static_cast<std::size_t>(index)].unit));
  descriptionLine->setText(ToQt(variables_[static_cast<std::size_t>(index)].description));
}

void TNewTableDlg::OKBtnClick() {
  if (dstList->count() == 0) return;
  if (mode_ == Mode::NewTable) {
    const std::string text = FromQt(runsEdit->text());
    auto runs = ParseInteger(text);
    // A count the table cannot hold is refused like a text that is no number.
    if (!runs || *runs < 1 || *runs > TableModel::MaxRuns) {
      ShowMessageKind(runs ? std::string(RunsOutOfRangeMessage) : NotAnIntegerMessage(text), ErrorOk, true);
      runsEdit->setFocus();
      runsEdit->selectAll();
      return;
    }
    runs_ = *runs;
  }
  accept();
}

}  // namespace tal
