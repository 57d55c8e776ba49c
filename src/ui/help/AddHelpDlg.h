#pragma once
// The help text window: a plain help file reflowed into paragraphs in a read-only text box from
// which the user can copy. It shows the help of index entries and the plain files of the Help menu.
#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace tal {

class TAddHelpDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TAddHelpDlg(QWidget* parent = nullptr);

  // Caption "Help for " + subject; reads the help file. False when the window is not to be shown
  // (a help file of another platform's viewer, after a message that says so).
  bool Setup(const std::string& subject, const std::string& helpFile);
  // Setup, then the window modally when it is to be shown.
  static void ShowHelpFile(QWidget* parent, const std::string& subject, const std::string& helpFile);

  QPlainTextEdit* HelpMemo = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CopyB = nullptr;

 private:
  void CopyBClick();
};

// A help text with "\r\n" line breaks as a text box shows it.
QString HelpTextForDisplay(const std::string& text);

}  // namespace tal
