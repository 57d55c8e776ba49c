#include "generator/MakeTalkitDlg.h"

#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "shell/OpenSaveRules.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/QtStrings.h"

namespace tal {

namespace {

const char* const UnselectableMarkNote =
    "* before a parameter or an input: it cannot become a field of the form, because the parameter's "
    "value is not a number or the input is connected to another unit.";

QListWidget* NewList(QWidget* parent, const char* caption, QGridLayout* grid, int column, bool multiple) {
  auto* list = new QListWidget(parent);
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setBuddy(list);
  grid->addWidget(label, 0, column);
  grid->addWidget(list, 1, column);
  list->setSelectionMode(multiple ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
  return list;
}

}  // namespace

TMakeTALKITDlg::TMakeTALKITDlg(ScannedDeck deck, std::string engineDirectory, int includeHeader,
                               int includeSimulationCard, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      deck_(std::move(deck)),
      engineDirectory_(std::move(engineDirectory)) {
  setWindowTitle("Make TALKIT File");
  auto* grid = new QGridLayout;
  UnitBox = NewList(this, "&Units", grid, 0, false);
  ParBox = NewList(this, "&Parameters", grid, 1, true);
  InpBox = NewList(this, "&Inputs", grid, 2, true);
  grid->setColumnStretch(0, 5);
  grid->setColumnStretch(1, 3);
  grid->setColumnStretch(2, 3);
  MarkNote = new QLabel(UnselectableMarkNote, this);
  MarkNote->setWordWrap(true);
  grid->addWidget(MarkNote, 2, 1, 1, 2);

  AllBtn = new QPushButton("&All", this);
  NoneBtn = new QPushButton("&None", this);
  auto* include = new QGroupBox("Include", this);
  HeaderCheck = new QCheckBox("Header", include);
  SimulationCardCheck = new QCheckBox("Simulation card", include);
  auto* includeLayout = new QHBoxLayout(include);
  includeLayout->addWidget(HeaderCheck);
  includeLayout->addWidget(SimulationCardCheck);
  OKBtn = new QPushButton("OK", this);
  CancelBtn = new QPushButton("Cancel", this);
  OKBtn->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AllBtn);
  buttons->addWidget(NoneBtn);
  buttons->addWidget(include);
  buttons->addStretch();
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  resize(1180, 440);

  for (const std::string& entry : UnitListEntries(deck_.units)) UnitBox->addItem(ToQt(entry));
  HeaderCheck->setChecked(includeHeader > 0);
  SimulationCardCheck->setChecked(includeSimulationCard > 0);
  ParBox->installEventFilter(this);
  InpBox->installEventFilter(this);

  connect(UnitBox, &QListWidget::currentRowChanged, this, [this](int row) { UnitBoxClick(row); });
  connect(InpBox, &QListWidget::itemSelectionChanged, this, [this] { RefuseUnsettableInputs(); });
  connect(AllBtn, &QPushButton::clicked, this, [this] { AllBtnClick(); });
  connect(NoneBtn, &QPushButton::clicked, this, [this] { NoneBtnClick(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  if (!deck_.units.empty()) UnitBox->setCurrentRow(0);
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
}

bool TMakeTALKITDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && (watched == ParBox || watched == InpBox)) inputsEnteredLast_ = watched == InpBox;
  return QDialog::eventFilter(watched, event);
}

void TMakeTALKITDlg::SetParamInputBox() {
  if (shownUnit_ < 0 || static_cast<std::size_t>(shownUnit_) >= deck_.units.size()) return;
  UnitRecord& unit = deck_.units[static_cast<std::size_t>(shownUnit_)];
  for (int i = 0; i < ParBox->count(); ++i) {
    auto k = static_cast<std::size_t>(i);
    if (k < unit.shownParameterCount())
      unit.parameterEntries[k].selected = ParBox->item(i)->isSelected() && unit.parameterEligible(k);
  }
  for (int i = 0; i < InpBox->count(); ++i) {
    auto k = static_cast<std::size_t>(i);
    if (k < unit.shownInputCount()) unit.inputEntries[k].selected = InpBox->item(i)->isSelected() && unit.inputEligible(k);
  }
}

void TMakeTALKITDlg::FillParamInputBox() {
  filling_ = true;
  ParBox->clear();
  InpBox->clear();
  const UnitRecord& unit = deck_.units[static_cast<std::size_t>(shownUnit_)];
  for (std::size_t i = 0; i < unit.shownParameterCount(); ++i) {
    bool eligible = unit.parameterEligible(i);
    ParBox->addItem(ToQt((eligible ? " " : "*") + unit.parameterEntries[i].description));
    ParBox->item(static_cast<int>(i))->setSelected(eligible && unit.parameterEntries[i].selected);
  }
  for (std::size_t i = 0; i < unit.shownInputCount(); ++i) {
    bool eligible = unit.inputEligible(i);
    InpBox->addItem(ToQt((eligible ? " " : "*") + unit.inputEntries[i].description));
    InpBox->item(static_cast<int>(i))->setSelected(eligible && unit.inputEntries[i].selected);
  }
  filling_ = false;
}

void TMakeTALKITDlg::UnitBoxClick(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= deck_.units.size()) return;
  SetParamInputBox();
  shownUnit_ = row;
  FillParamInputBox();
}

void TMakeTALKITDlg::RefuseUnsettableInputs() {
  if (filling_ || shownUnit_ < 0) return;
  const UnitRecord& unit = deck_.units[static_cast<std::size_t>(shownUnit_)];
  for (int i = 0; i < InpBox->count(); ++i) {
    if (!InpBox->item(i)->isSelected() || unit.inputEligible(static_cast<std::size_t>(i))) continue;
    InpBox->item(i)->setSelected(false);
    interaction().beep();
  }
}

void TMakeTALKITDlg::AllBtnClick() {
  if (shownUnit_ < 0) return;
  const UnitRecord& unit = deck_.units[static_cast<std::size_t>(shownUnit_)];
  QListWidget* list = inputsEnteredLast_ ? InpBox : ParBox;
  for (int i = 0; i < list->count(); ++i) {
    auto k = static_cast<std::size_t>(i);
    list->item(i)->setSelected(inputsEnteredLast_ ? unit.inputEligible(k) : unit.parameterEligible(k));
  }
}

void TMakeTALKITDlg::NoneBtnClick() { (inputsEnteredLast_ ? InpBox : ParBox)->clearSelection(); }

void TMakeTALKITDlg::OKBtnClick() {
  SetParamInputBox();
  FileDialogState dialog{{{"TALKIT files", "*.TKD"}}, 1, "TKD", DefaultTalkitName(deck_.deckName)};
  auto choice = interaction().saveFile(ToRequest(dialog, "Save TALKIT file"));
  if (!choice) {
    reject();
    return;
  }
  const std::string name = AcceptChoice(dialog, *choice, false);
  // A read-only file is not replaced: the user picks another name.
  if (FileReadable(name) && ::access(name.c_str(), W_OK) != 0) {
    ShowMessageKind(name + " is a read-only file.", ErrorOk, true);
    return;
  }
  GeneratorOptions options{HeaderCheck->isChecked(), SimulationCardCheck->isChecked(), engineDirectory_, name};
  if (std::string problem = WriteTalkitFile(deck_, options); !problem.empty()) {
    ShowMessageKind(problem, ErrorOk, true);
    reject();
    return;
  }
  writtenName_ = name;
  accept();
}

}  // namespace tal
