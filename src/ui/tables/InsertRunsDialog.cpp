#include "tables/InsertRunsDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "support/QtStrings.h"
#include "tables/TableModel.h"

namespace tal {

TInsertRunsDlg::TInsertRunsDlg(int runs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), runs_(runs) {
  setWindowTitle("Insert or Delete Table Runs");
  setObjectName("InsertRunsDlg");
  auto* kind = new QGroupBox(this);
  insertRows = new QRadioButton("Insert Rows", kind);
  deleteRows = new QRadioButton("Delete Rows", kind);
  insertRows->setChecked(true);
  auto* kindLayout = new QVBoxLayout(kind);
  kindLayout->addWidget(insertRows);
  kindLayout->addWidget(deleteRows);
  rowsEdit = new QLineEdit("10", this);
  auto* where = new QGroupBox(this);
  atTop = new QRadioButton("At top", where);
  atBottom = new QRadioButton("At bottom", where);
  afterRow = new QRadioButton("After row", where);
  atTop->setChecked(true);
  afterRowEdit = new QLineEdit("2", where);
  afterRowEdit->setEnabled(false);
  auto* whereLayout = new QGridLayout(where);
  whereLayout->addWidget(atTop, 0, 0);
  whereLayout->addWidget(atBottom, 1, 0);
  whereLayout->addWidget(afterRow, 2, 0);
  whereLayout->addWidget(afterRowEdit, 2, 1);
  okBtn = new QPushButton("OK", this);
  cancelBtn = new QPushButton("Cancel", this);
  okBtn->setDefault(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(kind, 0, 0);
  auto* rows = new QHBoxLayout;
  rows->addWidget(new QLabel("No. of Rows", this));
  rows->addWidget(rowsEdit);
  grid->addLayout(rows, 1, 0);
  grid->addWidget(where, 0, 1, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okBtn);
  buttons->addWidget(cancelBtn);
  grid->addLayout(buttons, 2, 0, 1, 2);

  connect(afterRow, &QRadioButton::toggled, afterRowEdit, &QLineEdit::setEnabled);
  connect(okBtn, &QPushButton::clicked, this, &TInsertRunsDlg::OKBtnClick);
  connect(cancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TInsertRunsDlg::Refuse(QLineEdit* field) {
  field->setFocus();
  field->selectAll();
}

void TInsertRunsDlg::OKBtnClick() {
  auto k = ParseInteger(FromQt(rowsEdit->text()));
  const bool inserting = insertRows->isChecked();
  if (!k || *k < 1 || (inserting && *k > TableModel::MaxRuns - runs_)) return Refuse(rowsEdit);
  count_ = inserting ? *k : -*k;
  if (!inserting && *k >= runs_) {  // every run goes: the caller closes the table
    accept();
    return;
  }
  int position = 0;
  if (atBottom->isChecked()) {
    position = runs_;
  } else if (afterRow->isChecked()) {
    auto after = ParseInteger(FromQt(afterRowEdit->text()));
    if (!after || *after < 0 || *after > runs_) return Refuse(afterRowEdit);
    position = *after;
  }
  position_ = position;
  accept();
}

}  // namespace tal
