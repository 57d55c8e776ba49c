#pragma once
// The help window of a form: F1 shows the section of the form's help file that belongs to the
// help topic of the focused field.
#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace tal {

struct FormHelpRequest;

class THelpDlg : public QDialog {
  Q_OBJECT

 public:
  // `caption`: the label of the first form item with the topic ("Dialog" when there is none).
  THelpDlg(int topic, const std::string& deckName, const std::string& caption, QWidget* parent = nullptr);

  // Fills the text box with the topic's help (what the window does when it becomes active).
  void FormActivate();
  // The window for F1 in a form, modal, freed afterwards.
  static void ShowFormHelp(const FormHelpRequest& request);

  QPlainTextEdit* Memo = nullptr;
  QPushButton* OKBtn = nullptr;

 private:
  int topic_;
  std::string deckName_;
};

}  // namespace tal
