#pragma once
// The Problems window: every error and warning of the last engine run with its file, line and
// text, kept until the next run starts. A double click (or Return) on one opens its file at the
// line and selects it.
#include <QWidget>
#include <functional>

#include "runs/EngineOutput.h"

class QLabel;
class QTreeWidget;

namespace tal {

class TProblemsForm : public QWidget {
  Q_OBJECT

 public:
  // `open` shows a problem's file at its line.
  TProblemsForm(QWidget* parent, std::function<void(const Problem&)> open);
  QTreeWidget* list() const { return list_; }
  // "2 errors, 1 warning in the last run".
  QString summary() const;

 private:
  void Fill();

  std::function<void(const Problem&)> open_;
  QLabel* summary_;
  QTreeWidget* list_;
};

}  // namespace tal
