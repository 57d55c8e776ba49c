#pragma once
// "TALSHELL Setup": edits the settings record (units of TALKIT forms, generator defaults, command
// lines, engine and utility directories, application links) and the engine's switch file
// "CNFGTL.TAL". OK and Cancel both apply the fields and rewrite the switch file; "Store" also
// writes the settings file.
#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "runs/EngineConfig.h"
#include "runs/SettingsFile.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

namespace tal {

class TSetupDlg : public QDialog {
  Q_OBJECT

 public:
  // Converts the values of every open form window from one units system to the other.
  using ConvertForms = std::function<void(int from, int to)>;

  explicit TSetupDlg(QWidget* parent = nullptr);

  // Shows the dialog modally for `settings` of the program directory. When the switch file is
  // missing it says so and does not open; false then.
  bool Execute(SettingsRecord& settings, const std::string& programDir, ConvertForms convertForms);

  // The steps of Execute, for callers that show the dialog themselves.
  void SetTarget(SettingsRecord& settings, const std::string& programDir, ConvertForms convertForms);
  // Fills every field from the record and the switch file; false (after the message) when the
  // switch file cannot be read.
  bool FormShow();
  // OK and Cancel: closes with OK, applies the fields to the record (converting open forms when
  // the units change) and rewrites the switch file.
  void Apply();
  void StoreBtnClick();
  // The picture button of link row 0..3: a bitmap chosen for the button.
  void LinkBitmapClick(int row);
  // The Browse button of directory field 0..5.
  void BrowseDirectoryClick(int index);

  static constexpr int LinkRows = 4;
  static constexpr int DirectoryCount = 6;

  // The controls, in the order of their pages.
  QTabWidget* tabs = nullptr;
  std::array<QCheckBox*, EngineSwitchCount> switches{};
  QRadioButton* primaryUnits = nullptr;
  QRadioButton* secondaryUnits = nullptr;
  QCheckBox* header = nullptr;
  QCheckBox* simulationCard = nullptr;
  QLineEdit* compile = nullptr;
  QLineEdit* rebuild = nullptr;
  QLineEdit* userCommand = nullptr;
  // TALPIX, VOXEN (or Merodin), LUMET, ORVA, KANTO, MIRELL.
  std::array<QLineEdit*, DirectoryCount> directories{};
  QLabel* voxenLabel = nullptr;
  // Beside each directory field: a Browse button (the folder chooser) and a warning shown while
  // the folder does not exist. OK still keeps what was typed.
  std::array<QPushButton*, DirectoryCount> browseButtons{};
  std::array<QLabel*, DirectoryCount> directoryWarnings{};
  std::array<QLineEdit*, LinkRows> links{};
  std::array<QToolButton*, LinkRows> linkButtons{};
  QGroupBox* version = nullptr;  // kept hidden
  QRadioButton* bit16 = nullptr;
  QRadioButton* bit32 = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
  QPushButton* storeButton = nullptr;

  // The bitmap of link row 0..3 ("" for none).
  const std::string& linkBitmap(int row) const { return bitmaps_.at(static_cast<std::size_t>(row)); }

 public slots:
  // Closing by the window's close box or Escape counts as Cancel.
  void reject() override;

 private:
  QWidget* BuildConfigurePage();
  QWidget* BuildTalkitPage();
  QWidget* BuildCompilerPage();
  QWidget* BuildDirectoriesPage();
  QWidget* BuildLinksPage();
  void ShowBitmap(int row);
  void CheckDirectory(int index);
  void FitLinkField(int row);
  // The directory fields and the record's directory texts, in field order.
  std::array<std::string*, DirectoryCount> DirectoryTexts();

  SettingsRecord* settings_ = nullptr;
  std::string programDir_;
  ConvertForms convertForms_;
  std::array<std::string, LinkRows> bitmaps_;
};

// The warning beside a directory field whose folder does not exist.
std::string MissingFolderWarning(const std::string& folder);

// The caption of the bitmap chooser of the link rows.
inline constexpr const char* LinkBitmapTitle = "Select a bitmap for the button (16 x 16 or 32 x 16 pixels)";

}  // namespace tal
