#include "runs/RunLogWindow.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "runs/RunMonitor.h"

namespace tal {

TRunLogForm::TRunLogForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle("Run Log");
  setObjectName("RunLog");
  view_ = new QPlainTextEdit(this);
  view_->setReadOnly(true);
  view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view_->setMaximumBlockCount(200000);
  auto* clear = new QPushButton("Clear", this);
  auto* close = new QPushButton("Close", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(clear);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(buttons);
  resize(640, 400);

  auto& monitor = RunMonitor::instance();
  view_->setPlainText(QString::fromLatin1(monitor.log()));
  connect(&monitor, &RunMonitor::logAppended, this, &TRunLogForm::Append);
  connect(clear, &QPushButton::clicked, this, [this] {
    RunMonitor::instance().clearLog();
    view_->clear();
  });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
}

QString TRunLogForm::text() const { return view_->toPlainText(); }

// Output arrives in pieces; keep following the end unless the user scrolled up.
void TRunLogForm::Append(const QByteArray& bytes) {
  QScrollBar* bar = view_->verticalScrollBar();
  bool atEnd = bar->value() == bar->maximum();
  QTextCursor cursor(view_->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QString::fromLatin1(bytes));
  if (atEnd) bar->setValue(bar->maximum());
}

}  // namespace tal
