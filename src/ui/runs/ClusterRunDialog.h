#pragma once
// "Run Table on Cluster": the options of the Slurm job array that runs a table (partition, time
// limit, runs at once, further sbatch options), with a note that the table's folder must be on
// a file system the cluster's nodes share.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "runs/ClusterSettings.h"

class QLabel;
class QLineEdit;
class QSpinBox;

namespace tal {

class TClusterRunDlg : public QDialog {
  Q_OBJECT

 public:
  TClusterRunDlg(const ClusterSettings& settings, const std::string& tableFolder, int runCount,
                 QWidget* parent = nullptr);

  // The options as the fields hold them.
  ClusterSettings settings() const;
  // OK: the options are checked first; a message names what is wrong and the dialog stays.
  void accept() override;

  QLineEdit* partition = nullptr;
  QLineEdit* timeLimit = nullptr;
  QSpinBox* maxParallel = nullptr;
  QLineEdit* sbatchOptions = nullptr;
  QLabel* sharedFolderNote = nullptr;
};

// Asks for the options of a cluster run: nullopt when the user cancelled. Tests replace it.
using ClusterOptionsAsker =
    std::function<std::optional<ClusterSettings>(const ClusterSettings& stored, const std::string& tableFolder, int runs)>;
ClusterOptionsAsker& AskClusterOptions();

}  // namespace tal
