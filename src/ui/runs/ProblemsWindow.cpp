#include "runs/ProblemsWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "runs/RunProblems.h"
#include "support/Files.h"
#include "support/QtStrings.h"

namespace tal {

namespace {

enum Column { KindColumn, FileColumn, LineColumn, TextColumn };

QString Count(long n, const char* word) { return QString("%1 %2%3").arg(n).arg(word).arg(n == 1 ? "" : "s"); }

}  // namespace

TProblemsForm::TProblemsForm(QWidget* parent, std::function<void(const Problem&)> open)
    : QWidget(parent, Qt::Window), open_(std::move(open)) {
  setWindowTitle("Problems");
  setObjectName("Problems");
  summary_ = new QLabel(this);
  list_ = new QTreeWidget(this);
  list_->setColumnCount(4);
  list_->setHeaderLabels({"", "File", "Line", "Problem"});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->header()->setStretchLastSection(true);
  auto* close = new QPushButton("Close", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  resize(720, 260);

  // A double click and Return both activate an entry.
  connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const int row = list_->indexOfTopLevelItem(item);
    const auto& problems = RunProblems::instance().problems();
    if (row >= 0 && row < static_cast<int>(problems.size()) && open_) open_(problems[static_cast<std::size_t>(row)]);
  });
  connect(&RunProblems::instance(), &RunProblems::changed, this, &TProblemsForm::Fill);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  Fill();
}

QString TProblemsForm::summary() const { return summary_->text(); }

void TProblemsForm::Fill() {
  list_->clear();
  const auto& problems = RunProblems::instance().problems();
  for (const Problem& p : problems) {
    const bool error = p.kind == ProblemKind::Error;
    auto* item = new QTreeWidgetItem(list_);
    item->setText(KindColumn, error ? "error" : "warning");
    item->setForeground(KindColumn, error ? QColor(0xc0, 0x00, 0x00) : QColor(0xb0, 0x60, 0x00));
    item->setText(FileColumn, ToQt(FileNameOf(p.file)));
    item->setToolTip(FileColumn, ToQt(p.file));
    if (p.line > 0) item->setText(LineColumn, QString::number(p.line));
    item->setText(TextColumn, ToQt(p.text));
    item->setToolTip(TextColumn, ToQt(p.text));
  }
  for (int column : {KindColumn, FileColumn, LineColumn}) list_->resizeColumnToContents(column);
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
  const long errors = std::count_if(problems.begin(), problems.end(), [](const Problem& p) { return p.kind == ProblemKind::Error; });
  const long warnings = static_cast<long>(problems.size()) - errors;
  summary_->setText(Count(errors, "error") + ", " + Count(warnings, "warning") + " in the last run");
}

}  // namespace tal
