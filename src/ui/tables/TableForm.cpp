#include "tables/TableForm.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "runs/SettingsFile.h"
#include "shell/PrintJob.h"
#include "shell/TalshellForm.h"
#include "shell/WindowTitle.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/QtStrings.h"
#include "tables/DeckConstants.h"
#include "tables/TableFile.h"
#include "tables/TablePrint.h"

namespace tal {

// ---- the grid's model -------------------------------------------------------------------------

QVariant TableGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return ToQt(CellText(table_, index.column() + 1, index.row() + 1));
}

bool TableGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  SetCellFromEditText(table_, index.column() + 1, index.row() + 1, FromQt(value.toString()));
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable : Qt::NoItemFlags;
}

// ---- headers ----------------------------------------------------------------------------------

TableHeader::TableHeader(Qt::Orientation orientation, TableModel& table, QWidget* parent)
    : QHeaderView(orientation, parent), table_(table) {
  setSectionsClickable(false);
  setHighlightSections(false);
}

void TableHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  painter->save();
  painter->fillRect(rect, palette().button());
  painter->setPen(palette().mid().color());
  painter->drawLine(rect.topRight(), rect.bottomRight());
  painter->drawLine(rect.bottomLeft(), rect.bottomRight());
  if (orientation() == Qt::Vertical) {
    // The run number, 10 pixels from the left and 2 from the top.
    painter->setPen(Qt::black);
    painter->setFont(font());
    painter->drawText(rect.adjusted(10, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(logicalIndex + 1));
  } else {
    QFont small("Arial");
    small.setPointSize(6);
    painter->setFont(small);
    painter->setPen(QColor(0, 128, 0));
    painter->drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(logicalIndex + 1));
    QFont name("Arial");
    name.setPointSize(10);
    painter->setFont(name);
    painter->setPen(Qt::black);
    const QString text = ToQt(CellText(table_, logicalIndex + 1, 0));
    const int spare = rect.width() - QFontMetrics(name).horizontalAdvance(text);
    painter->drawText(QPoint(rect.left() + std::max(1, spare / 2), rect.top() + 10 + QFontMetrics(name).ascent()), text);
  }
  painter->restore();
}

void TableHeader::mousePressEvent(QMouseEvent* event) {
  if (orientation() == Qt::Horizontal) interaction().beep();
  event->accept();
}

// ---- the grid ---------------------------------------------------------------------------------

namespace {
// Notes when Enter ends an edit, so the grid moves on to the next run.
class CellDelegate : public QStyledItemDelegate {
 public:
  explicit CellDelegate(TableGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) grid_->enterEndedEdit = true;
    }
    return QStyledItemDelegate::eventFilter(editor, event);
  }

 private:
  TableGrid* grid_;
};
}  // namespace

TableGrid::TableGrid(QWidget* parent) : QTableView(parent) {
  setItemDelegate(new CellDelegate(this));
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  editing_ = QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
             QAbstractItemView::SelectedClicked;
  setEditTriggers(editing_);
  setFrameShape(QFrame::NoFrame);
  setShowGrid(true);
  setWordWrap(false);
}

void TableGrid::MoveDown() {
  QModelIndex current = currentIndex();
  if (current.isValid() && current.row() + 1 < model()->rowCount())
    setCurrentIndex(current.sibling(current.row() + 1, current.column()));
}

void TableGrid::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) setEditTriggers(NoEditTriggers);
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
    MoveDown();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void TableGrid::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) setEditTriggers(editing_);
  QTableView::keyReleaseEvent(event);
}

void TableGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableView::closeEditor(editor, hint);
  if (enterEndedEdit) {
    enterEndedEdit = false;
    MoveDown();
  }
}

// ---- the window -------------------------------------------------------------------------------

TTableForm::TTableForm(TTALSHELLFORM* shell) : TChildForm(shell, KindCode::Table) {
  model_ = new TableGridModel(table_, this);
  grid_ = new TableGrid(this);
  QFont font("MS Sans Serif");
  font.setPixelSize(13);
  grid_->setFont(font);
  auto* top = new TableHeader(Qt::Horizontal, table_, grid_);
  auto* left = new TableHeader(Qt::Vertical, table_, grid_);
  grid_->setHorizontalHeader(top);
  grid_->setVerticalHeader(left);
  grid_->setModel(model_);
  top->setDefaultSectionSize(DefaultColumnWidth);
  top->setFixedHeight(HeaderRowHeight);
  left->setSectionResizeMode(QHeaderView::Fixed);
  left->setDefaultSectionSize(DefaultRowHeight + 1);
  left->setFixedWidth(RunColumnWidth);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  setCaption("Table");
}

void TTableForm::SetTable(TableModel table) {
  table_ = std::move(table);
  TableChanged();
}

void TTableForm::TableChanged() {
  model_->Reset();
  FormResize();
}

bool TTableForm::ReadTable(const std::string& name) {
  TableReadResult read = ReadTableFile(name);
  if (!read.ok) {
    ShowMessageKind(read.message, ErrorOk, true);
    return false;
  }
  std::string missingDeck = FindTableDeck(read.table, CurrentSettings().units);
  if (!missingDeck.empty()) ShowMessageKind(missingDeck, InformationOk, true);
  const TableClientArea area = read.table.clientArea;
  SetTable(std::move(read.table));
  setFileName(table_.tableFileName);
  setCaption(table_.tableFileName);
  if (area.right > area.left && area.bottom > area.top) resize(area.right - area.left, area.bottom - area.top);
  if (shell()) {
    shell()->setTableEntry(table_.tableFileName);
    shell()->UpdateMenu();
  }
  table_.modified = false;
  return true;
}

bool TTableForm::SaveTable(const std::string& name) {
  const QRect client = rect();
  const QPoint origin = mapToGlobal(QPoint(0, 0));
  table_.clientArea = {static_cast<std::int16_t>(origin.x()), static_cast<std::int16_t>(origin.y()), 0, 0,
                       static_cast<std::int16_t>(client.width()), static_cast<std::int16_t>(client.height())};
  std::string error = tal::SaveTable(table_, name);
  if (!error.empty()) {
    ShowMessageKind(error, ErrorOk, true);
    return false;
  }
  setFileName(table_.tableFileName);
  setCaption(table_.tableFileName);
  return true;
}

std::string TTableForm::ChangedQuestion(const std::string& tableFile) {
  return tableFile + " has been changed.  Save it?";
}

bool TTableForm::closeQuery() {
  if (table_.tableFileName.empty() || !table_.modified) return true;
  switch (ShowMessageKind(ChangedQuestion(table_.tableFileName), WarningYesNoCancel, false)) {
    case Button::Yes:
      // A failed save keeps the window and its changes.
      if (firstSaveGoesThroughSaveAs()) return shell() && shell()->SaveAsWindow(this);
      return SaveTable(table_.tableFileName);
    case Button::No:
      return true;
    default:
      return false;
  }
}

CellRange TTableForm::Selection() const {
  const QItemSelection selection = grid_->selectionModel()->selection();
  if (selection.isEmpty()) {
    QModelIndex current = grid_->currentIndex();
    if (!current.isValid()) return {1, 1, 0, 0};
    return {current.column() + 1, current.row() + 1, current.column() + 1, current.row() + 1};
  }
  CellRange range{INT_MAX, INT_MAX, 0, 0};
  for (const QItemSelectionRange& r : selection) {
    range.left = std::min(range.left, r.left() + 1);
    range.top = std::min(range.top, r.top() + 1);
    range.right = std::max(range.right, r.right() + 1);
    range.bottom = std::max(range.bottom, r.bottom() + 1);
  }
  return range;
}

void TTableForm::CopytoClip() {
  CellRange range = Selection();
  if (range.right < range.left) return;
  QGuiApplication::clipboard()->setText(ToQt(CopyText(table_, range)));
}

void TTableForm::Paste() {
  const QString text = QGuiApplication::clipboard()->text();
  QModelIndex current = grid_->currentIndex();
  if (text.isEmpty() || !current.isValid()) return;
  std::string message = PasteText(table_, current.column() + 1, current.row() + 1, FromQt(text.left(int(ClipboardMax))));
  if (!message.empty()) ShowMessageKind(message, ErrorOk, true);
  grid_->viewport()->update();
  grid_->setFocus();
}

void TTableForm::Clear() {
  CellRange range = Selection();
  if (range.right < range.left) return;
  ClearCells(table_, range);
  grid_->viewport()->update();
}

void TTableForm::cutSelection() {
  CopytoClip();
  Clear();
}

std::string TTableForm::titleOf(const std::string& caption) const { return FileNameFirstTitle(caption); }

void TTableForm::printOn(TPrintJob& job) { PrintTable(job, table_, caption()); }

void TTableForm::FormResize() {
  QMdiSubWindow* window = subWindow();
  const int totalWidth = RunColumnWidth + 1 + table_.variables() * (DefaultColumnWidth + 1);
  const int totalHeight = HeaderRowHeight + 1 + table_.runs() * (DefaultRowHeight + 1);
  QSize available(totalWidth + 40, totalHeight + 40);
  QSize frame(0, 0);
  if (window && window->mdiArea()) {
    frame = window->size() - size();
    available = window->mdiArea()->viewport()->size() - frame - QSize(window->x() > 0 ? window->x() : 0, window->y() > 0 ? window->y() : 0);
  }
  int width = totalWidth, height = totalHeight;
  if (width > available.width()) {
    int columns = (available.width() - RunColumnWidth + DefaultColumnWidth / 2) / (DefaultColumnWidth + 1);
    columns = std::clamp(columns, 1, std::max(1, table_.variables()));
    width = std::min(totalWidth, RunColumnWidth + columns * (DefaultColumnWidth + 1) + 1);
  }
  if (height > available.height()) {
    int rows = (available.height() - HeaderRowHeight + DefaultRowHeight - 4) / (DefaultRowHeight + 1);
    rows = std::clamp(rows, 1, std::max(1, table_.runs()));
    height = HeaderRowHeight + rows * (DefaultRowHeight + 1) + 1;
  }
  const int bar = grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  if (width < totalWidth) height += bar;
  if (height < totalHeight + (width < totalWidth ? bar : 0)) width += bar;
  QSize client(width + 5, height);
  if (window)
    window->resize(client + frame);
  else
    resize(client);
}

void TTableForm::Hide() {
  QWidget* window = subWindow() ? static_cast<QWidget*>(subWindow()) : this;
  if (window->x() >= -4999) window->move(window->x() - 10000, window->y());
  shown_ = false;
}

void TTableForm::Show() {
  QWidget* window = subWindow() ? static_cast<QWidget*>(subWindow()) : this;
  if (window->x() < -5000) window->move(window->x() + 10000, window->y());
  shown_ = true;
  grid_->viewport()->update();
}

}  // namespace tal
