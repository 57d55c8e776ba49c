#include "runs/ClusterRunDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "support/Messages.h"
#include "support/QtStrings.h"

namespace tal {

TClusterRunDlg::TClusterRunDlg(const ClusterSettings& settings, const std::string& tableFolder, int runCount,
                               QWidget* parent)
    : QDialog(parent) {
  setWindowTitle("Run Table on Cluster");
  auto* layout = new QVBoxLayout(this);
  sharedFolderNote = new QLabel(
      ToQt("The " + std::to_string(runCount) + (runCount == 1 ? " run deck is" : " run decks are") +
           " written to the table's folder\n" + tableFolder +
           "\nand the cluster's nodes run the engine there: this folder must be on a file system that the "
           "cluster's nodes share.\nEach run's results are left there as after a run on this computer."),
      this);
  sharedFolderNote->setWordWrap(true);
  layout->addWidget(sharedFolderNote);

  auto* form = new QFormLayout;
  partition = new QLineEdit(ToQt(settings.partition), this);
  partition->setPlaceholderText("the cluster's default");
  timeLimit = new QLineEdit(ToQt(settings.timeLimit), this);
  timeLimit->setPlaceholderText("HH:MM:SS, the partition's default when empty");
  maxParallel = new QSpinBox(this);
  maxParallel->setRange(0, 100000);
  maxParallel->setSpecialValueText("no limit");
  maxParallel->setValue(settings.maxParallel);
  sbatchOptions = new QLineEdit(ToQt(settings.sbatchOptions), this);
  sbatchOptions->setPlaceholderText("for instance --qos=short --account=energy");
  form->addRow("&Partition:", partition);
  form->addRow("&Time limit of each run:", timeLimit);
  form->addRow("&Runs at once:", maxParallel);
  form->addRow("Further &sbatch options:", sbatchOptions);
  layout->addLayout(form);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText("&Submit");
  connect(buttons, &QDialogButtonBox::accepted, this, &TClusterRunDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TClusterRunDlg::reject);
  layout->addWidget(buttons);
}

ClusterSettings TClusterRunDlg::settings() const {
  return {FromQt(partition->text().trimmed()), FromQt(timeLimit->text().trimmed()), maxParallel->value(),
          FromQt(sbatchOptions->text().trimmed())};
}

void TClusterRunDlg::accept() {
  if (auto problem = CheckClusterSettings(settings()); !problem.empty()) {
    ShowMessageKind(problem, ErrorOk, true);
    return;
  }
  QDialog::accept();
}

ClusterOptionsAsker& AskClusterOptions() {
  static ClusterOptionsAsker asker = [](const ClusterSettings& stored, const std::string& folder,
                                        int runs) -> std::optional<ClusterSettings> {
    TClusterRunDlg dialog(stored, folder, runs);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.settings();
  };
  return asker;
}

}  // namespace tal
