#include "tables/TableResultsForm.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstdio>

#include "plot/PlotForm.h"
#include "shell/ResultFiles.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/QtStrings.h"
#include "support/Text.h"
#include "tables/TableResultsPlot.h"

namespace tal {

namespace {

// A result as the grid shows it: 6 significant digits (Copy and Export keep every digit).
QString CellText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

QPushButton* AddButton(QWidget* parent, QHBoxLayout* row, const char* caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(caption);
  row->addWidget(button);
  return button;
}

void ShowPlot(TTALSHELLFORM& shell, TPlotInfo info, const std::string& caption) {
  auto* plot = new TPlotForm(&shell);
  plot->info() = std::move(info);
  plot->setCaption(caption);
  shell.AddChild(plot);
  plot->PlotChanged();
}

}  // namespace

TTableResultsForm::TTableResultsForm(TTALSHELLFORM& shell, const TableModel& table, std::vector<ResultChoice> choices,
                                     std::vector<FailedRun> failedRuns)
    : QWidget(&shell, Qt::Window), shell_(shell), table_(table), choices_(std::move(choices)) {
  setObjectName("TableResults");
  setWindowTitle(ToQt("Table Results: " + table_.tableFileName));
  grid_ = new QTableWidget(this);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->verticalHeader()->hide();
  auto* buttons = new QHBoxLayout;
  connect(AddButton(this, buttons, "Copy"), &QPushButton::clicked, this, &TTableResultsForm::CopyGrid);
  connect(AddButton(this, buttons, "Export Results"), &QPushButton::clicked, this, &TTableResultsForm::ExportResults);
  connect(AddButton(this, buttons, "Plot Results"), &QPushButton::clicked, this, &TTableResultsForm::PlotResults);
  connect(AddButton(this, buttons, "Overlay Runs"), &QPushButton::clicked, this, &TTableResultsForm::OverlayRuns);
  connect(AddButton(this, buttons, "Refresh"), &QPushButton::clicked, this, [this] { Refresh(table_, failedRuns_); });
  buttons->addStretch(1);
  connect(AddButton(this, buttons, "Close"), &QPushButton::clicked, this, &QWidget::close);
  auto* copy = new QShortcut(QKeySequence::Copy, grid_);
  connect(copy, &QShortcut::activated, this, &TTableResultsForm::CopyGrid);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addLayout(buttons);
  resize(760, 320);
  Refresh(table, std::move(failedRuns));
}

void TTableResultsForm::Refresh(const TableModel& table, std::vector<FailedRun> failedRuns) {
  table_ = table;
  failedRuns_ = std::move(failedRuns);
  BusyScope busy;
  results_ = CollectTableResults(table_, choices_, failedRuns_);
  Fill();
}

void TTableResultsForm::Fill() {
  const int variables = static_cast<int>(results_.variableNames.size());
  grid_->clear();
  grid_->setRowCount(static_cast<int>(results_.rows.size()));
  grid_->setColumnCount(1 + variables + static_cast<int>(choices_.size()));
  QStringList headers{"Run"};
  for (const auto& name : results_.variableNames) headers << ToQt(name);
  for (std::size_t c = 0; c < choices_.size(); ++c)
    headers << ToQt(choices_[c].Text() + (results_.units[c].empty() ? "" : "\n" + results_.units[c]));
  grid_->setHorizontalHeaderLabels(headers);
  for (int r = 0; r < grid_->rowCount(); ++r) {
    const ResultRow& row = results_.rows[static_cast<std::size_t>(r)];
    auto set = [&](int column, const QString& text, const std::string& tip = {}) {
      auto* item = new QTableWidgetItem(text);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (!tip.empty()) item->setToolTip(ToQt(tip));
      grid_->setItem(r, column, item);
    };
    set(0, QString::number(row.run));
    for (int v = 0; v < variables; ++v) set(1 + v, ToQt(results_.VariableText(row.run, v)));
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
      const ResultCell& cell = row.cells[c];
      set(1 + variables + static_cast<int>(c), cell.value ? CellText(*cell.value) : QString(), cell.reason);
    }
  }
  grid_->resizeColumnsToContents();
}

void TTableResultsForm::CopyGrid() { QApplication::clipboard()->setText(ToQt(TableResultsTsv(results_))); }

void TTableResultsForm::ExportResults() {
  FileDialogRequest request;
  request.title = "Export Results";
  request.directory = FolderOf(table_.tableFileName);
  request.fileName = FileNameOf(BaseNameOf(table_.tableFileName)) + ".csv";
  request.filters = {"CSV tables (*.csv)"};
  request.defaultExtension = "csv";
  std::optional<FileChoice> choice = interaction().saveFile(request);
  if (!choice || choice->path.empty()) return;
  std::string name = choice->path;
  if (ExtensionOf(FileNameOf(name)).empty()) name += ".csv";
  if (std::string error = WriteFileAtomically(name, TableResultsCsv(results_)); !error.empty())
    ShowMessageKind(error, ErrorOk, true);
}

std::size_t TTableResultsForm::CurrentChoice() const {
  const int column = grid_->currentColumn() - 1 - static_cast<int>(results_.variableNames.size());
  return column >= 0 && column < static_cast<int>(choices_.size()) ? static_cast<std::size_t>(column) : 0;
}

void TTableResultsForm::PlotResults() {
  if (choices_.empty()) return;
  const std::size_t choice = CurrentChoice();
  const std::string name = choices_[choice].Text();
  const std::string first = results_.variableNames.empty() ? "RUN" : results_.variableNames.front();
  for (;;) {
    auto answer = interaction().inputText("Plot Results", "Plot " + name + " against (a table variable, or RUN):", first);
    if (!answer) return;
    auto axis = ResultsAxisNamed(results_, *answer);
    if (!axis) {
      ShowMessageKind("\"" + *answer + "\" is not a variable of the table.", ErrorOk, true);
      continue;
    }
    std::string error;
    TPlotInfo info = ResultsPlot(results_, choice, *axis, error);
    if (!error.empty()) {
      ShowMessageKind(error, InformationOk, true);
      return;
    }
    ShowPlot(shell_, std::move(info), "Plot Results: " + name);
    return;
  }
}

void TTableResultsForm::OverlayRuns() {
  const std::string proposed = choices_.empty() ? "" : choices_[CurrentChoice()].column;
  auto column = interaction().inputText("Overlay Runs", "Column of every run to draw against TIME:", proposed);
  if (!column || column->empty()) return;
  std::vector<RunCurve> curves;
  {
    BusyScope busy;
    curves = CollectRunCurves(table_, *column);
  }
  TPlotInfo info = RunsOverlayPlot(curves, *column);
  std::string missing;
  int left = 0;
  for (const RunCurve& curve : curves)
    if (!curve.reason.empty()) missing += "\n" + curve.reason;
    else if (++left > MaxPlotLines) missing += "\nRun " + std::to_string(curve.run) + " is beyond the " +
                                               std::to_string(MaxPlotLines) + " curves a plot holds.";
  if (info.Lines.empty()) {
    ShowMessageKind("No run has a column " + *column + " to draw." + missing, InformationOk, true);
    return;
  }
  ShowPlot(shell_, std::move(info), "Overlay Runs: " + *column);
  if (!missing.empty()) ShowMessageKind("Some runs have no curve:" + missing, InformationOk, false);
}

}  // namespace tal
