#include "help/IndexDlg.h"

#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

#include "help/AddHelpDlg.h"
#include "shell/ProgramFonts.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/QtStrings.h"

namespace tal {
namespace {
QLabel* CentredLabel(QWidget* parent, QRect geometry, int pixelSize, bool bold, const char* colour) {
  auto* label = new QLabel(parent);
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignCenter);
  QFont font = ProgramFont("MS Sans Serif", 8);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  label->setFont(font);
  label->setStyleSheet(QString("color: %1").arg(colour));
  return label;
}

bool Exists(const std::string& path) { return !path.empty() && FileReadable(path); }
}  // namespace

TIndexDlg::TIndexDlg(const std::string& indexFile, std::function<void(const std::string&)> openDeck, QWidget* parent)
    : QDialog(parent), indexFile_(indexFile), openDeck_(std::move(openDeck)) {
  setWindowTitle("Select Project");
  setFixedSize(508, 235);
  Label1 = CentredLabel(this, {8, 4, 491, 20}, 13, true, "red");
  Label2 = CentredLabel(this, {7, 28, 492, 16}, 11, false, "black");
  Label3 = CentredLabel(this, {7, 44, 492, 16}, 11, false, "black");
  theList = new QListWidget(this);
  theList->setGeometry(10, 66, 319, 120);
  Image1 = new QLabel(this);
  Image1->setGeometry(336, 66, 160, 160);
  Image1->setAlignment(Qt::AlignCenter);
  OKBtn = new QPushButton("OK", this);
  OKBtn->setGeometry(20, 196, 89, 30);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setGeometry(127, 196, 89, 30);
  HelpBtn = new QPushButton("Help", this);
  HelpBtn->setGeometry(234, 196, 89, 30);
  connect(OKBtn, &QPushButton::clicked, this, &TIndexDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, &TIndexDlg::HelpBtnClick);
  connect(theList, &QListWidget::currentRowChanged, this, &TIndexDlg::theListClick);
  connect(theList, &QListWidget::itemDoubleClicked, this, &TIndexDlg::theListDblClick);
  FormActivate();
}

bool TIndexDlg::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QDialog::event(event);
}

void TIndexDlg::FormActivate() {
  if (busy_) return;
  index_ = ReadIndexFile(indexFile_).value_or(IndexFile{});  // unreadable: an empty dialog
  Label1->setText(ToQt(index_.title));
  Label2->setText(ToQt(index_.subtitle1));
  Label3->setText(ToQt(index_.subtitle2));
  {
    QSignalBlocker quiet(theList);
    theList->clear();
    for (const IndexEntry& entry : index_.entries) theList->addItem(ToQt(entry.text));
    theList->setCurrentRow(-1);
  }
  Image1->clear();
  OKBtn->setEnabled(false);
  HelpBtn->setEnabled(false);
}

const IndexEntry* TIndexDlg::Selected() const {
  int row = theList->currentRow();
  if (row < 0 || row >= static_cast<int>(index_.entries.size())) return nullptr;
  return &index_.entries[static_cast<std::size_t>(row)];
}

IndexEntryFiles TIndexDlg::SelectedPaths() const {
  IndexEntryFiles paths;
  if (const IndexEntry* entry = Selected()) {
    auto path = [this](const std::string& name) { return name.empty() ? name : IndexEntryPath(indexFile_, name); };
    paths = {path(entry->files.deck), path(entry->files.picture), path(entry->files.help)};
  }
  return paths;
}

void TIndexDlg::theListClick() {
  IndexEntryFiles paths = SelectedPaths();
  if (!Exists(paths.deck)) {
    OKBtn->setEnabled(false);
    HelpBtn->setEnabled(false);
    Image1->clear();
    return;
  }
  OKBtn->setEnabled(true);
  QImage picture;
  // Fitted into the picture's square whole, keeping its proportions: a round sun stays round.
  if (Exists(paths.picture) && picture.load(ToQt(paths.picture)))
    Image1->setPixmap(QPixmap::fromImage(picture.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  else
    Image1->clear();
  HelpBtn->setEnabled(Exists(paths.help));
}

void TIndexDlg::OKBtnClick() {
  const IndexEntry* entry = Selected();
  if (!entry) return;
  IndexEntryFiles paths = SelectedPaths();
  if (!Exists(paths.deck)) {
    ShowMessageKind("File " + entry->files.deck + " was not found", ErrorOk, true);
    return;
  }
  busy_ = true;
  if (openDeck_) openDeck_(paths.deck);
  busy_ = false;
  accept();
}

void TIndexDlg::theListDblClick() { OKBtnClick(); }

void TIndexDlg::HelpBtnClick() {
  const IndexEntry* entry = Selected();
  IndexEntryFiles paths = SelectedPaths();
  if (entry && Exists(paths.help)) TAddHelpDlg::ShowHelpFile(this, entry->text, paths.help);
}

}  // namespace tal
