#include "runs/SetupDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "runs/Installation.h"
#include "support/LinkBitmap.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/QtStrings.h"
#include "support/Text.h"

namespace tal {

namespace {

constexpr int FieldWidth = 320;

QLineEdit* NewField(QWidget* parent, const char* initial = "") {
  auto* field = new QLineEdit(initial, parent);
  field->setMaxLength(static_cast<int>(ShortTextMax));
  field->setMinimumWidth(FieldWidth);
  return field;
}

// A page holding one titled group.
QWidget* PageWithGroup(QGroupBox* group) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(group);
  layout->addStretch(1);
  return page;
}

// A link entry without an old bitmap part (everything from the character with code 1).
std::string WithoutBitmapPart(const std::string& entry) { return entry.substr(0, entry.find('\x01')); }

// "Link N and its bitmap PATH take L characters; at most 255 fit in the settings file."
std::string LinkTooLongMessage(int row, const std::string& bitmap, std::size_t length) {
  return "Link " + std::to_string(row + 1) + " and its bitmap " + bitmap + " take " + std::to_string(length) +
         " characters; at most " + std::to_string(ShortTextMax) + " fit in the settings file.";
}

}  // namespace

TSetupDlg::TSetupDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("TALSHELL Setup");
  setObjectName("SetupDlg");
  tabs = new QTabWidget(this);
  tabs->setTabPosition(QTabWidget::South);
  tabs->addTab(BuildConfigurePage(), "Configure");
  tabs->addTab(BuildTalkitPage(), "TALKIT");
  tabs->addTab(BuildCompilerPage(), "Compiler");
  tabs->addTab(BuildDirectoriesPage(), "Directories");
  tabs->addTab(BuildLinksPage(), "Links");

  // The version choice is kept in the settings but not offered.
  version = new QGroupBox("Version", this);
  bit16 = new QRadioButton("16 bit", version);
  bit32 = new QRadioButton("32 bit", version);
  bit16->setChecked(true);
  auto* versionLayout = new QVBoxLayout(version);
  versionLayout->addWidget(bit16);
  versionLayout->addWidget(bit32);
  version->hide();

  okButton = new QPushButton("OK", this);
  cancelButton = new QPushButton("Cancel", this);
  storeButton = new QPushButton("Store", this);
  okButton->setDefault(true);
  connect(okButton, &QPushButton::clicked, this, &TSetupDlg::Apply);
  connect(cancelButton, &QPushButton::clicked, this, &TSetupDlg::Apply);
  connect(storeButton, &QPushButton::clicked, this, &TSetupDlg::StoreBtnClick);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);
  buttons->addWidget(storeButton);
  buttons->addStretch(1);
  buttons->addWidget(version);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(tabs, 1);
  layout->addLayout(buttons);
}

QWidget* TSetupDlg::BuildConfigurePage() {
  auto* group = new QGroupBox("Configure");
  auto* layout = new QVBoxLayout(group);
  for (std::size_t i = 0; i < switches.size(); ++i) {
    switches[i] = new QCheckBox(EngineSwitchCaptions()[i], group);
    layout->addWidget(switches[i]);
  }
  return PageWithGroup(group);
}

QWidget* TSetupDlg::BuildTalkitPage() {
  auto* page = new QWidget;
  auto* units = new QGroupBox("Units", page);
  primaryUnits = new QRadioButton("Primary units", units);
  secondaryUnits = new QRadioButton("Secondary units", units);
  auto* unitsLayout = new QVBoxLayout(units);
  unitsLayout->addWidget(primaryUnits);
  unitsLayout->addWidget(secondaryUnits);
  auto* defaults = new QGroupBox("Include Defaults", page);
  header = new QCheckBox("Header", defaults);
  simulationCard = new QCheckBox("Simulation card", defaults);
  auto* defaultsLayout = new QVBoxLayout(defaults);
  defaultsLayout->addWidget(header);
  defaultsLayout->addWidget(simulationCard);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(units);
  layout->addWidget(defaults);
  layout->addStretch(1);
  return page;
}

QWidget* TSetupDlg::BuildCompilerPage() {
  auto* group = new QGroupBox("Compiler");
  compile = NewField(group, "\\F32\\BIN\\FL32.EXE /c");
  rebuild = NewField(group, "\\F32\\BIN\\MAKE.EXE /S /F MAKTAL.DAT UPDATE");
  userCommand = NewField(group);
  auto* layout = new QFormLayout(group);
  layout->addRow("Compile", compile);
  layout->addRow("Rebuild", rebuild);
  layout->addRow("User Command", userCommand);
  return PageWithGroup(group);
}

const std::array<const char*, TSetupDlg::DirectoryCount> DirectoryCaptions = {"TALPIX", "VOXEN", "LUMET",
                                                                               "ORVA",   "KANTO", "MIRELL"};

QWidget* TSetupDlg::BuildDirectoriesPage() {
  auto* group = new QGroupBox("Directories");
  static const std::array<const char*, DirectoryCount> initial = {
      "C:\\TALPIX14",      "C:\\TALPIX14\\VOXEN", "C:\\TALPIX14\\ORVA",
      "C:\\TALPIX14\\ORVA", "C:\\TALPIX14\\KANTO", "C:\\TALPIX14\\MIRELL"};
  const auto& captions = DirectoryCaptions;
  auto* layout = new QGridLayout(group);
  for (std::size_t i = 0; i < directories.size(); ++i) {
    const int row = static_cast<int>(i) * 2;
    directories[i] = NewField(group, initial[i]);
    auto* label = new QLabel(captions[i], group);
    if (i == 1) voxenLabel = label;
    browseButtons[i] = new QPushButton("Browse...", group);
    directoryWarnings[i] = new QLabel(group);
    QPalette warning = directoryWarnings[i]->palette();
    warning.setColor(QPalette::WindowText, QColor(0xb0, 0x20, 0x20));
    directoryWarnings[i]->setPalette(warning);
    directoryWarnings[i]->hide();
    layout->addWidget(label, row, 0);
    layout->addWidget(directories[i], row, 1);
    layout->addWidget(browseButtons[i], row, 2);
    layout->addWidget(directoryWarnings[i], row + 1, 1, 1, 2);
    const int index = static_cast<int>(i);
    connect(browseButtons[i], &QPushButton::clicked, this, [this, index] { BrowseDirectoryClick(index); });
    connect(directories[i], &QLineEdit::textChanged, this, [this, index] { CheckDirectory(index); });
  }
  return PageWithGroup(group);
}

QWidget* TSetupDlg::BuildLinksPage() {
  auto* group = new QGroupBox("Link File Application Names");
  auto* layout = new QGridLayout(group);
  layout->addWidget(new QLabel("(Include complete path and file name)", group), 0, 0, 1, 3);
  for (int row = 0; row < LinkRows; ++row) {
    auto i = static_cast<std::size_t>(row);
    links[i] = NewField(group);
    linkButtons[i] = new QToolButton(group);
    linkButtons[i]->setIconSize(QSize(16, 16));
    linkButtons[i]->setFixedSize(26, 24);
    linkButtons[i]->setToolTip("Bitmap of the link's button");
    connect(linkButtons[i], &QToolButton::clicked, this, [this, row] { LinkBitmapClick(row); });
    layout->addWidget(new QLabel(QString::number(row + 1) + ".", group), row + 1, 0);
    layout->addWidget(links[i], row + 1, 1);
    layout->addWidget(linkButtons[i], row + 1, 2);
  }
  return PageWithGroup(group);
}

void TSetupDlg::BrowseDirectoryClick(int index) {
  QLineEdit* field = directories.at(static_cast<std::size_t>(index));
  std::string caption = FromQt(index == 1 ? voxenLabel->text() : QString(DirectoryCaptions[static_cast<std::size_t>(index)]));
  auto chosen = interaction().chooseFolder("Select the " + caption + " directory", FromQt(field->text()));
  if (chosen) field->setText(ToQt(*chosen));
}

// A folder that does not exist is said beside its field; the engine and utilities would not start.
void TSetupDlg::CheckDirectory(int index) {
  const auto i = static_cast<std::size_t>(index);
  std::string folder = FromQt(directories[i]->text());
  std::error_code ec;
  bool missing = !folder.empty() && !std::filesystem::is_directory(folder, ec);
  directoryWarnings[i]->setText(missing ? ToQt(MissingFolderWarning(folder)) : QString());
  directoryWarnings[i]->setVisible(missing);
}

std::string MissingFolderWarning(const std::string& folder) {
  return "The folder " + folder + " does not exist.";
}

std::array<std::string*, TSetupDlg::DirectoryCount> TSetupDlg::DirectoryTexts() {
  SettingsRecord& s = *settings_;
  return {&s.talpixDir, &s.voxenDir, &s.lumetDir, &s.orvaDir, &s.kantoDir, &s.mirellDir};
}

bool TSetupDlg::Execute(SettingsRecord& settings, const std::string& programDir, ConvertForms convertForms) {
  SetTarget(settings, programDir, std::move(convertForms));
  if (!FormShow()) return false;
  tabs->setCurrentIndex(0);
  exec();
  return true;
}

void TSetupDlg::SetTarget(SettingsRecord& settings, const std::string& programDir, ConvertForms convertForms) {
  settings_ = &settings;
  programDir_ = programDir;
  convertForms_ = std::move(convertForms);
}

bool TSetupDlg::FormShow() {
  // The switch file is checked first: without it the dialog does not open, and the program
  // keeps running (open windows may hold unsaved work).
  auto engineSwitches = ReadEngineSwitches(programDir_);
  if (!engineSwitches) {
    ShowMessageKind(MissingEngineConfigMessage(), InformationOk, true);
    return false;
  }
  const SettingsRecord& s = *settings_;
  (s.units == 1 ? primaryUnits : secondaryUnits)->setChecked(true);
  (s.version32 ? bit32 : bit16)->setChecked(true);
  header->setChecked(s.includeHeader == 1);
  simulationCard->setChecked(s.includeSimulationCard == 1);

  compile->setText(ToQt(s.compileCommand));
  rebuild->setText(ToQt(s.rebuildCommand));
  userCommand->setText(ToQt(s.userCommand));
  auto texts = DirectoryTexts();
  for (std::size_t i = 0; i < directories.size(); ++i) {
    directories[i]->setText(ToQt(*texts[i]));
    CheckDirectory(static_cast<int>(i));
  }
  for (int row = 0; row < LinkRows; ++row) {
    auto i = static_cast<std::size_t>(row);
    links[i]->setText(ToQt(s.linkEntries[i]));
    bitmaps_[i] = s.linkBitmaps[i];
    ShowBitmap(row);
    FitLinkField(row);
  }

  voxenLabel->setText(ReadInstallation(programDir_).merodinFrontEnd ? "Merodin" : "VOXEN");
  for (std::size_t i = 0; i < switches.size(); ++i) switches[i]->setChecked((*engineSwitches)[i]);
  return true;
}

void TSetupDlg::Apply() {
  done(QDialog::Accepted);
  SettingsRecord& s = *settings_;
  int units = primaryUnits->isChecked() ? 1 : 2;
  if (units != s.units && convertForms_) convertForms_(s.units, units);
  s.units = units;
  s.version32 = bit16->isChecked() ? 0 : 1;
  s.includeHeader = header->isChecked() ? 1 : 0;
  s.includeSimulationCard = simulationCard->isChecked() ? 1 : 0;

  auto texts = DirectoryTexts();
  for (std::size_t i = 0; i < directories.size(); ++i) *texts[i] = FromQt(directories[i]->text());
  for (std::size_t i = 0; i < links.size(); ++i) {
    s.linkEntries[i] = WithoutBitmapPart(FromQt(links[i]->text()));
    s.linkBitmaps[i] = bitmaps_[i];
  }
  s.linkEntries[4].clear();
  s.linkBitmaps[4].clear();
  s.compileCommand = FromQt(compile->text());
  s.rebuildCommand = FromQt(rebuild->text());
  s.userCommand = FromQt(userCommand->text());

  EngineSwitches engineSwitches{};
  for (std::size_t i = 0; i < switches.size(); ++i) engineSwitches[i] = switches[i]->isChecked();
  if (std::string error = RewriteEngineConfig(programDir_, engineSwitches); !error.empty())
    ShowMessageKind(error, ErrorOk, true);
}

void TSetupDlg::StoreBtnClick() {
  Apply();
  if (std::string error = WriteDFT(programDir_, *settings_); !error.empty()) ShowMessageKind(error, ErrorOk, true);
}

void TSetupDlg::reject() { Apply(); }

void TSetupDlg::LinkBitmapClick(int row) {
  FileDialogRequest request;
  request.title = LinkBitmapTitle;
  request.filters = {"Bitmaps (*.bmp)"};
  request.fileName = bitmaps_.at(static_cast<std::size_t>(row));
  auto choice = interaction().openFile(request);
  if (!choice) return;
  std::string path = choice->path;
  if (ExtensionOf(path).empty()) path += ".bmp";  // the default extension
  // The link and its bitmap share one text of the settings file: a bitmap that does not fit
  // would be stored cut, and lost on the next start.
  std::size_t length = StoredLinkEntry(FromQt(links.at(static_cast<std::size_t>(row))->text()), path).size();
  if (length > ShortTextMax) {
    ShowMessageKind(LinkTooLongMessage(row, path, length), ErrorOk, true);
    return;
  }
  bitmaps_[static_cast<std::size_t>(row)] = path;
  ShowBitmap(row);
  FitLinkField(row);
}

// While a row has a bitmap its link field takes only what fits beside it; what the field holds
// already is never cut.
void TSetupDlg::FitLinkField(int row) {
  auto i = static_cast<std::size_t>(row);
  std::size_t taken = StoredLinkEntry("", bitmaps_[i]).size();
  std::size_t room = taken < ShortTextMax ? ShortTextMax - taken : 0;
  QLineEdit* field = links[i];
  field->setMaxLength(static_cast<int>(std::max(room, static_cast<std::size_t>(field->text().size()))));
}

void TSetupDlg::ShowBitmap(int row) {
  linkButtons.at(static_cast<std::size_t>(row))->setIcon(LinkBitmapIcon(bitmaps_.at(static_cast<std::size_t>(row))));
}

}  // namespace tal
