#include "shell/FindDialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "support/QtStrings.h"

namespace tal {

namespace {

QPushButton* AddButton(QVBoxLayout* column, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  column->addWidget(button);
  return button;
}

// Buttons need something to find.
void EnableWithText(QLineEdit* edit, std::initializer_list<QPushButton*> buttons) {
  auto update = [edit, buttons = std::vector<QPushButton*>(buttons)] {
    for (QPushButton* b : buttons) b->setEnabled(!edit->text().isEmpty());
  };
  QObject::connect(edit, &QLineEdit::textChanged, edit, update);
  update();
}

void ShowWithFindText(QDialog* dialog, QLineEdit* find) {
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
  find->setFocus(Qt::OtherFocusReason);
  find->selectAll();
}

}  // namespace

TFindDlg::TFindDlg(bool wholeWordOption, QWidget* parent) : QDialog(parent), wholeWordOption_(wholeWordOption) {
  setWindowTitle("Find");
  auto* fields = new QVBoxLayout;
  auto* row = new QFormLayout;
  find_ = new QLineEdit(this);
  row->addRow("Fi&nd what:", find_);
  fields->addLayout(row);
  wholeWord_ = new QCheckBox("Match &whole word only", this);
  matchCase_ = new QCheckBox("Match &case", this);
  auto* direction = new QGroupBox("Direction", this);
  auto* directionRow = new QHBoxLayout(direction);
  up_ = new QRadioButton("&Up", direction);
  down_ = new QRadioButton("&Down", direction);
  down_->setChecked(true);
  directionRow->addWidget(up_);
  directionRow->addWidget(down_);
  auto* options = new QHBoxLayout;
  auto* boxes = new QVBoxLayout;
  if (wholeWordOption)
    boxes->addWidget(wholeWord_);
  else
    wholeWord_->hide();
  boxes->addWidget(matchCase_);
  options->addLayout(boxes);
  options->addWidget(direction);
  fields->addLayout(options);

  auto* buttons = new QVBoxLayout;
  findNext_ = AddButton(buttons, "&Find Next", this);
  findNext_->setDefault(true);
  QPushButton* cancel = AddButton(buttons, "Cancel", this);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);

  EnableWithText(find_, {findNext_});
  connect(findNext_, &QPushButton::clicked, this, [this] {
    if (onFindNext) onFindNext();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

SearchOptions TFindDlg::options() const {
  SearchOptions o;
  o.findText = FromQt(find_->text());
  o.matchCase = matchCase_->isChecked();
  o.wholeWord = wholeWordOption_ && wholeWord_->isChecked();
  o.down = down_->isChecked();
  return o;
}

void TFindDlg::setFindText(const std::string& text) { find_->setText(ToQt(text)); }

void TFindDlg::Reopen() { ShowWithFindText(this, find_); }

TReplaceDlg::TReplaceDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Replace");
  auto* fields = new QVBoxLayout;
  auto* rows = new QFormLayout;
  find_ = new QLineEdit(this);
  replace_ = new QLineEdit(this);
  rows->addRow("Fi&nd what:", find_);
  rows->addRow("Re&place with:", replace_);
  fields->addLayout(rows);
  wholeWord_ = new QCheckBox("Match &whole word only", this);
  matchCase_ = new QCheckBox("Match &case", this);
  fields->addWidget(wholeWord_);
  fields->addWidget(matchCase_);
  fields->addStretch();

  auto* buttons = new QVBoxLayout;
  findNext_ = AddButton(buttons, "&Find Next", this);
  findNext_->setDefault(true);
  replaceOne_ = AddButton(buttons, "&Replace", this);
  replaceAll_ = AddButton(buttons, "Replace &All", this);
  QPushButton* cancel = AddButton(buttons, "Cancel", this);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);

  EnableWithText(find_, {findNext_, replaceOne_, replaceAll_});
  connect(findNext_, &QPushButton::clicked, this, [this] {
    if (onFindNext) onFindNext();
  });
  connect(replaceOne_, &QPushButton::clicked, this, [this] {
    if (onReplace) onReplace(false);
  });
  connect(replaceAll_, &QPushButton::clicked, this, [this] {
    if (onReplace) onReplace(true);
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

SearchOptions TReplaceDlg::options() const {
  SearchOptions o;
  o.findText = FromQt(find_->text());
  o.replaceText = FromQt(replace_->text());
  o.matchCase = matchCase_->isChecked();
  o.wholeWord = wholeWord_->isChecked();
  o.down = true;
  return o;
}

void TReplaceDlg::setFindText(const std::string& text) { find_->setText(ToQt(text)); }

void TReplaceDlg::Reopen() { ShowWithFindText(this, find_); }

}  // namespace tal
