#include "shell/DiagramForm.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "shell/DiagramFit.h"
#include "shell/PrintJob.h"
#include "shell/WmfPicture.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/QtStrings.h"
#include "support/Text.h"

namespace tal {

TDiagramForm::TDiagramForm(TTALSHELLFORM* shell)
    : TChildForm(shell, KindCode::Diagram), area_(new QScrollArea(this)), image_(new QLabel) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(area_);
  image_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image_->setWordWrap(true);
  area_->setWidget(image_);
  area_->setWidgetResizable(false);
  area_->setFrameShape(QFrame::NoFrame);
  setCaption("Diagram");
  resize(400, 300);
}

std::string TDiagramForm::note() const { return picture_.isNull() ? FromQt(image_->text()) : std::string(); }

bool TDiagramForm::LoadPicture(const std::string& path) {
  setFileName(path);
  setCaption(path);
  picture_ = QImage();
  std::optional<std::string> bytes = ReadWholeFile(path);
  std::string problem;
  if (!bytes) {
    problem = "The file cannot be read.";
  } else if (ExtensionOf(path) == ".WMF") {
    WmfRendering rendering = RenderWmf(*bytes);
    picture_ = rendering.image;
    problem = rendering.problem;
  } else if (!picture_.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<int>(bytes->size()))) {
    problem = "The file is not a picture that can be shown.";
  }
  bytes_ = bytes.value_or("");
  if (picture_.isNull()) {
    image_->setPixmap(QPixmap());
    image_->setText(ToQt(path + ": " + problem));
    image_->adjustSize();
    return false;
  }
  image_->setPixmap(QPixmap::fromImage(picture_));
  image_->resize(picture_.size());
  return true;
}

void TDiagramForm::FitToPicture() {
  if (picture_.isNull()) return;
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
  QSize client = size();
  QSize fitted = FitDiagramClient(mapToGlobal(QPoint(0, 0)), client, picture_.size(), screenSize);
  if (fitted == client) return;
  if (QMdiSubWindow* window = subWindow())
    window->resize(window->size() + (fitted - client));
  else
    resize(fitted);
}

bool TDiagramForm::SavePicture(const std::string& path) {
  if (bytes_.empty()) {
    ShowMessageKind(caption() + " holds no picture to save.", ErrorOk, true);
    return false;
  }
  std::string failure = WriteFileAtomically(path, bytes_);
  if (!failure.empty()) {
    ShowMessageKind(failure, ErrorOk, true);
    return false;
  }
  return true;
}

void TDiagramForm::copySelection() {
  if (!picture_.isNull()) QApplication::clipboard()->setImage(picture_);
}

void TDiagramForm::printOn(TPrintJob& job) { PrintPicture(job, picture_); }

}  // namespace tal
