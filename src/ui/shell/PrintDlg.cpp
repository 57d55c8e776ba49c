#include "shell/PrintDlg.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "support/QtStrings.h"

namespace tal {

namespace {

// A list whose entries can be dragged onto the other list; a drop there moves them as the
// ">" or "<" button would.
class DualList : public QListWidget {
 public:
  DualList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
  }
  DualList* other = nullptr;
  std::function<void()> moveFromOther;

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override { event->setAccepted(event->source() == other); }
  void dragMoveEvent(QDragMoveEvent* event) override { event->setAccepted(event->source() == other); }
  void dropEvent(QDropEvent* event) override {
    if (event->source() != other) return event->ignore();
    event->setDropAction(Qt::IgnoreAction);  // the lists are refilled from the selection model
    event->accept();
    if (moveFromOther) moveFromOther();
  }
};

}  // namespace

TPrintDlg::TPrintDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Select Windows to Print");
  auto* leftList = new DualList(this);
  auto* rightList = new DualList(this);
  leftList->other = rightList;
  rightList->other = leftList;
  leftList->moveFromOther = [this] { ExcludeSelected(); };
  rightList->moveFromOther = [this] { IncludeSelected(); };
  left_ = leftList;
  right_ = rightList;

  include_ = new QPushButton(">", this);
  includeAll_ = new QPushButton(">>", this);
  exclude_ = new QPushButton("<", this);
  excludeAll_ = new QPushButton("<<", this);
  for (QPushButton* b : {include_, includeAll_, exclude_, excludeAll_}) b->setFixedWidth(36);
  auto* moves = new QVBoxLayout;
  moves->addStretch();
  for (QPushButton* b : {include_, includeAll_, exclude_, excludeAll_}) moves->addWidget(b);
  moves->addStretch();

  auto* lists = new QGridLayout;
  lists->addWidget(new QLabel("Windows:", this), 0, 0);
  lists->addWidget(new QLabel("Print:", this), 0, 2);
  lists->addWidget(left_, 1, 0);
  lists->addLayout(moves, 1, 1);
  lists->addWidget(right_, 1, 2);

  ok_ = new QPushButton("OK", this);
  ok_->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  auto* help = new QPushButton("Help", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  buttons->addWidget(help);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists);
  layout->addLayout(buttons);
  resize(420, 260);

  connect(include_, &QPushButton::clicked, this, &TPrintDlg::IncludeSelected);
  connect(includeAll_, &QPushButton::clicked, this, &TPrintDlg::IncludeAll);
  connect(exclude_, &QPushButton::clicked, this, &TPrintDlg::ExcludeSelected);
  connect(excludeAll_, &QPushButton::clicked, this, &TPrintDlg::ExcludeAll);
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (selection_.canPrint()) accept();  // an empty right list prints nothing
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [] {});
}

void TPrintDlg::Fill(const std::vector<TChildForm*>& children, TChildForm* active) {
  windows_.clear();
  std::vector<PrintListEntry> others;
  PrintListEntry activeEntry;
  bool hasActive = false;
  for (TChildForm* child : children) {
    PrintListEntry entry{PrintShortName(child->caption()), static_cast<int>(windows_.size())};
    windows_.emplace_back(child);
    if (child == active) {
      activeEntry = entry;
      hasActive = true;
    } else {
      others.push_back(entry);
    }
  }
  selection_.Fill(others, hasActive ? &activeEntry : nullptr);
  ShowLists();
}

std::vector<TChildForm*> TPrintDlg::chosen() const {
  std::vector<TChildForm*> out;
  for (const PrintListEntry& entry : selection_.right())
    if (TChildForm* child = windows_[static_cast<std::size_t>(entry.id)]) out.push_back(child);
  return out;
}

std::vector<int> TPrintDlg::SelectedRows(const QListWidget* list) {
  std::vector<int> rows;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) rows.push_back(i);
  return rows;
}

void TPrintDlg::ShowLists() {
  auto fillList = [](QListWidget* list, const std::vector<PrintListEntry>& entries) {
    list->clear();
    for (const PrintListEntry& entry : entries) list->addItem(ToQt(entry.name));
  };
  fillList(left_, selection_.left());
  fillList(right_, selection_.right());
  ok_->setEnabled(selection_.canPrint());
  exclude_->setEnabled(selection_.canPrint());
  excludeAll_->setEnabled(selection_.canPrint());
  include_->setEnabled(selection_.canChoose());
  includeAll_->setEnabled(selection_.canChoose());
}

void TPrintDlg::Show(QListWidget* source, int select) {
  ShowLists();
  source->setFocus();
  if (select >= 0 && select < source->count()) {
    source->setCurrentRow(select);
    source->item(select)->setSelected(true);
  }
}

void TPrintDlg::IncludeSelected() { Show(left_, selection_.MoveRight(SelectedRows(left_))); }
void TPrintDlg::IncludeAll() { Show(left_, selection_.MoveAllRight()); }
void TPrintDlg::ExcludeSelected() { Show(right_, selection_.MoveLeft(SelectedRows(right_))); }
void TPrintDlg::ExcludeAll() { Show(right_, selection_.MoveAllLeft()); }

TPrintProgress::TPrintProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle("Please wait");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Printing in progress... ", this));
  adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
}

}  // namespace tal
