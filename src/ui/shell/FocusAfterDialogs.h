#pragma once
// When a modal dialog or message box closes, the keyboard goes back to the frame's active child
// window, so that its keys (F8 Calculate, Ctrl+S Save ...) work again without a click into it.
#include <QObject>

namespace tal {

class TTALSHELLFORM;

class TFocusAfterDialogs : public QObject {
  Q_OBJECT

 public:
  // Watches every window of the application for `frame`, whose child it becomes.
  explicit TFocusAfterDialogs(TTALSHELLFORM* frame);

  // Activates the frame and gives the keyboard to the active child: to the control of it that
  // had the focus last, else to its first control that takes the focus.
  static void FocusActiveChild(TTALSHELLFORM& frame);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TTALSHELLFORM* frame_;
};

}  // namespace tal
