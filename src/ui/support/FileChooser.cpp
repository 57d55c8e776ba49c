#include "support/FileChooser.h"

#include <QComboBox>
#include <QEvent>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTreeView>

namespace tal {
namespace {

// The files the filter does not match stay in the file model, only marked disabled, so that a
// typed name of one of them is an existing file to the chooser; the list leaves them out.
class MatchingFilesOnly : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;
  void refilter() { invalidateFilter(); }
  // The file model sorts (folders first); the list keeps its order.
  void sort(int column, Qt::SortOrder order) override { sourceModel()->sort(column, order); }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    auto* files = static_cast<const QFileSystemModel*>(sourceModel());
    const QModelIndex entry = files->index(row, 0, parent);
    return files->isDir(entry) || files->flags(entry).testFlag(Qt::ItemIsEnabled);
  }
};

constexpr int ChooserWidth = 960;
constexpr int ChooserHeight = 520;
constexpr int NameColumnWidth = 300;
constexpr int SizeColumnWidth = 90;
constexpr int TypeColumnWidth = 180;
constexpr int DateColumnWidth = 180;

}  // namespace

TFileChooser::TFileChooser(QWidget* parent, const QString& title, const QString& directory, const QString& filters,
                           AcceptMode mode)
    : QFileDialog(parent, title, directory, filters) {
  // The toolkit's own chooser: the same behaviour on every desktop, and the one the tests drive.
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(mode);
  setFileMode(mode == AcceptOpen ? ExistingFile : AnyFile);
  setViewMode(Detail);
  files_ = findChild<QFileSystemModel*>();
  nameField_ = findChild<QLineEdit*>("fileNameEdit");
  if (files_) {
    files_->setNameFilterDisables(true);
    auto* shown = new MatchingFilesOnly(this);
    shown_ = shown;
    setProxyModel(shown_);
    // A filter chosen from the list applies to the model first; the list follows it.
    if (auto* types = findChild<QComboBox*>("fileTypeCombo"))
      connect(types, &QComboBox::currentIndexChanged, this, [shown] { shown->refilter(); });
  }
  if (nameField_) nameField_->installEventFilter(this);
  resize(ChooserWidth, ChooserHeight);
  SizeColumns();
}

bool TFileChooser::IsPattern(const QString& typed) {
  return typed.contains(QLatin1Char('*')) || typed.contains(QLatin1Char('?'));
}

void TFileChooser::SizeColumns() {
  auto* details = findChild<QTreeView*>("treeView");
  if (!details) return;
  QHeaderView* header = details->header();
  header->setStretchLastSection(false);
  header->resizeSection(0, NameColumnWidth);
  header->resizeSection(1, SizeColumnWidth);
  header->resizeSection(2, TypeColumnWidth);
  header->resizeSection(3, DateColumnWidth);
}

void TFileChooser::ApplyPattern(const QString& pattern) {
  if (!files_ || !shown_) return;
  files_->setNameFilters(pattern.split(QRegularExpression("[;\\s]+"), Qt::SkipEmptyParts));
  static_cast<MatchingFilesOnly*>(shown_)->refilter();
  if (nameField_) nameField_->selectAll();
}

bool TFileChooser::eventFilter(QObject* watched, QEvent* event) {
  // Return on a typed pattern filters the list; the Open button is not enabled for a pattern.
  if (watched == nameField_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && IsPattern(nameField_->text().trimmed())) {
      ApplyPattern(nameField_->text().trimmed());
      return true;
    }
  }
  return QFileDialog::eventFilter(watched, event);
}

void TFileChooser::accept() {
  if (nameField_ && IsPattern(nameField_->text().trimmed())) {
    ApplyPattern(nameField_->text().trimmed());
    return;
  }
  QFileDialog::accept();
}

}  // namespace tal
