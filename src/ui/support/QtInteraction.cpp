#include "support/QtInteraction.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "support/FileChooser.h"
#include "support/QtStrings.h"

namespace tal {
namespace {

QMessageBox::StandardButton ToQtButton(Button b) {
  switch (b) {
    case Button::Ok: return QMessageBox::Ok;
    case Button::Cancel: return QMessageBox::Cancel;
    case Button::Yes: return QMessageBox::Yes;
    case Button::No: return QMessageBox::No;
    default: return QMessageBox::NoButton;
  }
}

Button FromQtButton(int b) {
  switch (b) {
    case QMessageBox::Ok: return Button::Ok;
    case QMessageBox::Cancel: return Button::Cancel;
    case QMessageBox::Yes: return Button::Yes;
    case QMessageBox::No: return Button::No;
    default: return Button::None;
  }
}

QMessageBox::Icon IconOfKind(int kind) {
  switch (kind) {
    case 1: return QMessageBox::Information;
    case 2: case 5: case 6: case 7: return QMessageBox::Warning;
    default: return QMessageBox::Critical;
  }
}

QString FilterString(const FileDialogRequest& r) {
  QStringList filters;
  for (const auto& f : r.filters) filters << ToQt(f);
  return filters.join(";;");
}

std::optional<FileChoice> RunFileDialog(const FileDialogRequest& r, QFileDialog::AcceptMode mode) {
  TFileChooser dialog(QApplication::activeWindow(), ToQt(r.title), ToQt(r.directory), FilterString(r), mode);
  // The extension goes on before the overwrite question, which must name the file that is written.
  // Opening keeps a name as typed: an existing file without extension may be meant.
  if (mode == QFileDialog::AcceptSave) dialog.setDefaultSuffix(ToQt(r.defaultExtension));
  QStringList names;
  for (const auto& f : r.filters) names << ToQt(f);
  // The filter first: choosing a filter gives the name shown that filter's extension, and the name
  // proposed must stay as it is.
  if (r.filterIndex >= 0 && r.filterIndex < names.size()) dialog.selectNameFilter(names[r.filterIndex]);
  if (!r.fileName.empty()) dialog.selectFile(ToQt(r.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return FileChoice{FromQt(dialog.selectedFiles().front()),
                    static_cast<int>(names.indexOf(dialog.selectedNameFilter()))};
}

}  // namespace

Button QtInteraction::message(const std::string& text, int kind) { return messageWithLook(text, kind, {}); }

Button QtInteraction::messageWithLook(const std::string& text, int kind, const MessageLook& look) {
  auto buttons = ButtonsOfKind(kind);
  if (buttons.empty()) return Button::None;
  const std::string caption = look.caption.empty() ? CaptionOfKind(kind) : look.caption;
  QMessageBox box(look.question ? QMessageBox::Question : IconOfKind(kind), ToQt(caption), ToQt(text),
                  QMessageBox::NoButton, QApplication::activeWindow());
  for (Button b : buttons) box.addButton(ToQtButton(b));
  box.setDefaultButton(ToQtButton(buttons.front()));
  if (kind == 2 || kind == 7) box.setEscapeButton(QMessageBox::Cancel);
  box.exec();
  return FromQtButton(box.standardButton(box.clickedButton()));
}

void QtInteraction::beep() { QApplication::beep(); }

std::optional<FileChoice> QtInteraction::openFile(const FileDialogRequest& request) {
  return RunFileDialog(request, QFileDialog::AcceptOpen);
}

std::optional<FileChoice> QtInteraction::saveFile(const FileDialogRequest& request) {
  return RunFileDialog(request, QFileDialog::AcceptSave);
}

std::optional<std::string> QtInteraction::chooseFolder(const std::string& title, const std::string& start) {
  QString dir = QFileDialog::getExistingDirectory(QApplication::activeWindow(), ToQt(title), ToQt(start));
  if (dir.isEmpty()) return std::nullopt;
  return FromQt(dir);
}

std::optional<std::string> QtInteraction::inputText(const std::string& title, const std::string& prompt,
                                                    const std::string& initial) {
  bool ok = false;
  QString text = QInputDialog::getText(QApplication::activeWindow(), ToQt(title), ToQt(prompt),
                                       QLineEdit::Normal, ToQt(initial), &ok);
  if (!ok) return std::nullopt;
  return FromQt(text);
}

void QtInteraction::setBusy(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

}  // namespace tal
