#pragma once
// The results grid of a table: one row per run with the table's variables and the chosen results;
// a blank cell's tool tip says why it is blank. Copy puts the grid on the clipboard as
// tab-separated text, Export Results writes it as CSV, Plot Results and Overlay Runs draw plots in
// the main window, Refresh reads the runs' files again.
#include <QWidget>

#include "tables/TableResults.h"

class QTableWidget;

namespace tal {

class TTALSHELLFORM;

class TTableResultsForm : public QWidget {
  Q_OBJECT

 public:
  // `failedRuns`: the runs of the last table run whose files are not theirs.
  TTableResultsForm(TTALSHELLFORM& shell, const TableModel& table, std::vector<ResultChoice> choices,
                    std::vector<FailedRun> failedRuns = {});

  const TableResults& results() const { return results_; }
  QTableWidget* grid() const { return grid_; }
  const std::string& tableFileName() const { return table_.tableFileName; }

  // Reads the runs' files again (after a table run) and refills the grid.
  void Refresh(const TableModel& table, std::vector<FailedRun> failedRuns);
  void CopyGrid();
  void ExportResults();
  // Plot Results: the result of the current column (the first result when the current column is
  // no result) against a variable or the run number the user names.
  void PlotResults();
  // Overlay Runs: a column the user names, of every run's files, against TIME.
  void OverlayRuns();

 private:
  void Fill();
  // The choice (0-based) of the grid's current column, or the first.
  std::size_t CurrentChoice() const;

  TTALSHELLFORM& shell_;
  TableModel table_;
  std::vector<ResultChoice> choices_;
  std::vector<FailedRun> failedRuns_;
  TableResults results_;
  QTableWidget* grid_;
};

}  // namespace tal
