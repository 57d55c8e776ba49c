#pragma once
// The run log window: the output of the engine and the other programs TALSHELL waited for, with
// a line before and after each run, growing while a program runs.
#include <QWidget>

class QPlainTextEdit;

namespace tal {

class TRunLogForm : public QWidget {
  Q_OBJECT

 public:
  explicit TRunLogForm(QWidget* parent = nullptr);
  QString text() const;

 private:
  void Append(const QByteArray& bytes);
  QPlainTextEdit* view_;
};

}  // namespace tal
