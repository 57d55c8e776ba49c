#include "tables/AlterValuesDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "support/Interaction.h"
#include "support/QtStrings.h"

namespace tal {

const char* SecondValueCaption(SecondValue meaning) {
  switch (meaning) {
    case SecondValue::LastValue: return "Last Value";
    case SecondValue::Multiplier: return "Multiplier";
    default: return "Increment";
  }
}

TAlterValuesDlg::TAlterValuesDlg(TableModel& table, std::function<void()> repaint, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), table_(table), repaint_(std::move(repaint)) {
  setWindowTitle("Alter Table Values");
  setObjectName("AlterValuesDlg");
  firstRunV = new QLineEdit(QString::number(table.runRange.first), this);
  lastRunV = new QLineEdit(QString::number(table.runRange.last), this);
  clearValues = new QRadioButton("Clear Values", this);
  setValues = new QRadioButton("Set Values", this);
  setValues->setChecked(true);
  listBox = new QListWidget(this);
  for (const TableColumn& column : table.columns) listBox->addItem(ToQt(column.name));
  if (listBox->count() > 0) listBox->setCurrentRow(0);
  firstValueLabel = new QLabel("First Value", this);
  firstValue = new QLineEdit(this);
  lastIncBox = new QPushButton(SecondValueCaption(second_), this);
  incOrLast = new QLineEdit(this);
  okBtn = new QPushButton("OK", this);
  applyBtn = new QPushButton("Apply", this);
  cancelBtn = new QPushButton("Cancel", this);
  okBtn->setDefault(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("First Run", this), 0, 0);
  grid->addWidget(firstRunV, 0, 1);
  grid->addWidget(new QLabel("Last Run", this), 1, 0);
  grid->addWidget(lastRunV, 1, 1);
  auto* modes = new QVBoxLayout;
  modes->addWidget(clearValues);
  modes->addWidget(setValues);
  grid->addLayout(modes, 0, 2, 2, 2);
  grid->addWidget(listBox, 2, 0, 3, 2);
  // Each value field with its label on its left: "First Value", and the panel naming the second.
  firstValueLabel->setBuddy(firstValue);
  grid->addWidget(firstValueLabel, 2, 2);
  grid->addWidget(firstValue, 2, 3);
  grid->addWidget(lastIncBox, 3, 2);
  grid->addWidget(incOrLast, 3, 3);
  grid->setRowStretch(4, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okBtn);
  buttons->addWidget(applyBtn);
  buttons->addWidget(cancelBtn);
  grid->addLayout(buttons, 5, 0, 1, 4);

  connect(clearValues, &QRadioButton::toggled, this, &TAlterValuesDlg::ModeChanged);
  connect(okBtn, &QPushButton::clicked, this, &TAlterValuesDlg::OKBtnClick);
  connect(applyBtn, &QPushButton::clicked, this, &TAlterValuesDlg::ApplyBtnClick);
  connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(lastIncBox, &QPushButton::pressed, this, [this] {
    QMenu menu(this);
    for (SecondValue meaning : {SecondValue::LastValue, SecondValue::Increment, SecondValue::Multiplier})
      menu.addAction(SecondValueCaption(meaning), this, [this, meaning] { SetSecondValue(meaning); });
    menu.exec(lastIncBox->mapToGlobal(QPoint(0, 0)));
    lastIncBox->setDown(false);
  });
}

void TAlterValuesDlg::SetSecondValue(SecondValue meaning) {
  second_ = meaning;
  lastIncBox->setText(SecondValueCaption(meaning));
}

void TAlterValuesDlg::ModeChanged() {
  const bool set = !clearValues->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{firstValueLabel, firstValue, lastIncBox, incOrLast}) w->setVisible(set);
}

bool TAlterValuesDlg::Refuse(QLineEdit* field) {
  field->setFocus();
  field->selectAll();
  interaction().beep();
  return false;
}

bool TAlterValuesDlg::FillTable() {
  RunRangeCheck check = CheckRunRange(table_, FromQt(firstRunV->text()), FromQt(lastRunV->text()));
  if (check.badField == 1) return Refuse(firstRunV);
  if (auto first = ParseInteger(FromQt(firstRunV->text()))) table_.runRange.first = std::max(1, *first);
  if (!check.range) return Refuse(lastRunV);
  table_.runRange = *check.range;
  const bool set = setValues->isChecked();
  ParsedReal v, s;
  if (set) {
    v = ParseReal(FromQt(firstValue->text()));
    if (!v.ok) return Refuse(firstValue);
    s = ParseReal(FromQt(incOrLast->text()));
    if (!s.ok) return Refuse(incOrLast);
  }
  const int column = listBox->currentRow() + 1;
  if (column < 1 || !listBox->currentItem() || !listBox->currentItem()->isSelected()) {
    interaction().beep();
    return false;
  }
  BusyScope busy;
  if (set)
    SetValues(table_, column, check.range->first, check.range->last, v.value, s.value, second_);
  else
    ClearValues(table_, column, check.range->first, check.range->last);
  if (repaint_) repaint_();
  return true;
}

void TAlterValuesDlg::OKBtnClick() {
  if (FillTable()) accept();
}

void TAlterValuesDlg::ApplyBtnClick() { FillTable(); }

}  // namespace tal
