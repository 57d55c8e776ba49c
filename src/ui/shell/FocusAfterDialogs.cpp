#include "shell/FocusAfterDialogs.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "shell/ChildForm.h"
#include "shell/TalshellForm.h"

namespace tal {
namespace {

QWidget* FirstFocusableControl(QWidget* window) {
  if (window->focusPolicy() & Qt::TabFocus) return window;
  for (QWidget* control : window->findChildren<QWidget*>())
    if ((control->focusPolicy() & Qt::TabFocus) && control->isVisibleTo(window) && control->isEnabled()) return control;
  return nullptr;
}

}  // namespace

TFocusAfterDialogs::TFocusAfterDialogs(TTALSHELLFORM* frame) : QObject(frame), frame_(frame) {
  qApp->installEventFilter(this);
}

bool TFocusAfterDialogs::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Hide && watched->isWidgetType()) {
    auto* closed = static_cast<QWidget*>(watched);
    if (closed->isWindow() && closed->isModal() && closed != frame_) {
      // Once the toolkit has finished closing it; a dialog that opens another one in its place
      // (or was only one of several stacked up) keeps the keyboard.
      QPointer<TTALSHELLFORM> frame(frame_);
      QTimer::singleShot(0, frame_, [frame] {
        if (frame && frame->isVisible() && !QApplication::activeModalWidget()) FocusActiveChild(*frame);
      });
    }
  }
  return QObject::eventFilter(watched, event);
}

void TFocusAfterDialogs::FocusActiveChild(TTALSHELLFORM& frame) {
  frame.activateWindow();
  TChildForm* child = frame.activeChild();
  if (!child) return;
  QWidget* target = child->focusWidget();
  if (!target) target = FirstFocusableControl(child);
  // The reason tells a form window that none of its fields was left: no field check runs.
  if (target) target->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace tal
