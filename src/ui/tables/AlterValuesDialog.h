#pragma once
// "Alter Table Values": clears a run range of one variable, or fills it with a series from a first
// value by an increment, towards a last value or by a multiplier. OK fills and closes, Apply fills
// and stays open.
#include <QDialog>
#include <functional>

#include "tables/TableModel.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tal {

class TAlterValuesDlg : public QDialog {
  Q_OBJECT

 public:
  // Works on `table`; `repaint` shows the changed table.
  TAlterValuesDlg(TableModel& table, std::function<void()> repaint, QWidget* parent = nullptr);

  // Fills the table from the fields; false (after selecting the wrong field and a beep) when a
  // field does not hold a valid number or no variable is selected.
  bool FillTable();
  void OKBtnClick();
  void ApplyBtnClick();
  // The meaning of the second number: the caption of its panel.
  void SetSecondValue(SecondValue meaning);
  SecondValue secondValue() const { return second_; }
  // Shows or hides the value fields by the mode.
  void ModeChanged();

  QLineEdit* firstRunV = nullptr;
  QLineEdit* lastRunV = nullptr;
  QRadioButton* clearValues = nullptr;
  QRadioButton* setValues = nullptr;
  QListWidget* listBox = nullptr;
  QLabel* firstValueLabel = nullptr;
  QLineEdit* firstValue = nullptr;
  QPushButton* lastIncBox = nullptr;  // its caption names the second number; pressing it offers the three
  QLineEdit* incOrLast = nullptr;
  QPushButton* okBtn = nullptr;
  QPushButton* applyBtn = nullptr;
  QPushButton* cancelBtn = nullptr;

 private:
  bool Refuse(QLineEdit* field);

  TableModel& table_;
  std::function<void()> repaint_;
  SecondValue second_ = SecondValue::Increment;
};

// "Last Value", "Increment", "Multiplier".
const char* SecondValueCaption(SecondValue meaning);

}  // namespace tal
