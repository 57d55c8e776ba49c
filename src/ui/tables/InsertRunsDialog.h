#pragma once
// "Insert or Delete Table Runs": how many runs to insert or delete, at the top, at the bottom or
// after a given run.
#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tal {

class TInsertRunsDlg : public QDialog {
  Q_OBJECT

 public:
  // For a table of `runs` runs.
  explicit TInsertRunsDlg(int runs, QWidget* parent = nullptr);

  // Reads the fields; on success closes with OK, with count() and position() set. A field that is
  // not an integer, a count below 1 or one that would take the table past 9999 runs, and a
  // position outside 0..runs keep the dialog open with the field selected.
  void OKBtnClick();
  // Runs to insert (> 0) or delete (< 0), and the run they go after (0 = at the top).
  int count() const { return count_; }
  int position() const { return position_; }

  QRadioButton* insertRows = nullptr;
  QRadioButton* deleteRows = nullptr;
  QLineEdit* rowsEdit = nullptr;
  QRadioButton* atTop = nullptr;
  QRadioButton* atBottom = nullptr;
  QRadioButton* afterRow = nullptr;
  QLineEdit* afterRowEdit = nullptr;
  QPushButton* okBtn = nullptr;
  QPushButton* cancelBtn = nullptr;

 private:
  void Refuse(QLineEdit* field);
  int runs_;
  int count_ = 0;
  int position_ = 0;
};

}  // namespace tal
