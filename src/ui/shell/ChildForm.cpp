#include "shell/ChildForm.h"

#include <QCloseEvent>
#include <QLabel>
#include <QStatusBar>
#include <QMdiSubWindow>
#include <filesystem>

#include "shell/TalshellForm.h"
#include "support/Messages.h"
#include "support/QtStrings.h"

namespace tal {

TChildForm::TChildForm(TTALSHELLFORM* shell, KindCode kind) : shell_(shell), kind_(kind) {}

TChildForm::~TChildForm() = default;

QMdiSubWindow* TChildForm::subWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

void TChildForm::setCaption(const std::string& caption) {
  caption_ = caption;
  setWindowTitle(ToQt(titleOf(caption)));
}

bool TChildForm::firstSaveGoesThroughSaveAs() const {
  std::error_code ec;
  return nameProposed_ && !fileName_.empty() && std::filesystem::exists(fileName_, ec);
}

bool TChildForm::saveDocument(const std::string& name) {
  ShowMessageKind(caption() + " cannot be saved.", ErrorOk, true);
  return false;
}

void TChildForm::FormActivate() {
  if (!shell_) return;
  shell_->setActiveChild(this);
  shell_->UpdateMenu();
}

void ShowCursorPlace(TTALSHELLFORM& frame) {
  QStatusBar* bar = frame.statusBar();
  auto* label = bar->findChild<QLabel*>("CursorPlace");
  if (!label) {
    label = new QLabel(bar);
    label->setObjectName("CursorPlace");
    bar->addPermanentWidget(label);
  }
  TChildForm* child = frame.activeChild();
  label->setText(child ? ToQt(child->cursorPlace()) : QString());
}

std::string CursorPlaceText(std::size_t line, std::size_t column) {
  return "Line " + std::to_string(line) + ", Column " + std::to_string(column);
}

void TChildForm::closeEvent(QCloseEvent* event) {
  if (closeQuery())
    event->accept();
  else
    event->ignore();
}

}  // namespace tal
