#pragma once
// Watches for modal windows while a command runs: records each one's title and text, then closes it.
#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTimer>
#include <vector>

namespace helptest {

class ModalWatcher {
 public:
  ModalWatcher() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      titles.push_back(modal->windowTitle());
      auto* text = modal->findChild<QPlainTextEdit*>();
      texts.push_back(text ? text->toPlainText() : QString());
      if (onShown) onShown(modal);
      if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
      else
        modal->close();
    });
    timer_.start();
  }
  std::vector<QString> titles;
  std::vector<QString> texts;
  std::function<void(QWidget*)> onShown;  // runs before the window is closed

 private:
  QTimer timer_;
};

}  // namespace helptest
