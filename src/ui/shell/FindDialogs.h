#pragma once
// The find and replace dialogs of editor and viewer windows. Each window owns its own; they are
// modeless, keep their last texts and options, and tell their window through callbacks.
#include <QDialog>
#include <functional>

#include "shell/EditorSearch.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tal {

// "Find": find text, whole word (editors only), match case, direction up or down.
class TFindDlg : public QDialog {
  Q_OBJECT

 public:
  TFindDlg(bool wholeWordOption, QWidget* parent = nullptr);

  SearchOptions options() const;
  void setFindText(const std::string& text);
  // Shows the dialog (again) with the focus in the find text, all of it selected, so the next
  // search text can be typed over it.
  void Reopen();
  // Pressed "Find Next".
  std::function<void()> onFindNext;

  QLineEdit* findEdit() const { return find_; }
  QCheckBox* wholeWordBox() const { return wholeWord_; }
  QCheckBox* matchCaseBox() const { return matchCase_; }
  QRadioButton* upButton() const { return up_; }
  QRadioButton* downButton() const { return down_; }
  QPushButton* findNextButton() const { return findNext_; }

 private:
  QLineEdit* find_;
  QCheckBox* wholeWord_;
  QCheckBox* matchCase_;
  QRadioButton* up_;
  QRadioButton* down_;
  QPushButton* findNext_;
  bool wholeWordOption_;
};

// "Replace": find text, replace text, whole word, match case; Find Next, Replace, Replace All.
class TReplaceDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TReplaceDlg(QWidget* parent = nullptr);

  SearchOptions options() const;  // always searching down
  void setFindText(const std::string& text);
  // Shows the dialog (again) with the focus in the find text, all of it selected, so the next
  // search text can be typed over it.
  void Reopen();
  std::function<void()> onFindNext;
  std::function<void(bool all)> onReplace;

  QLineEdit* findEdit() const { return find_; }
  QLineEdit* replaceEdit() const { return replace_; }
  QCheckBox* wholeWordBox() const { return wholeWord_; }
  QCheckBox* matchCaseBox() const { return matchCase_; }
  QPushButton* findNextButton() const { return findNext_; }
  QPushButton* replaceButton() const { return replaceOne_; }
  QPushButton* replaceAllButton() const { return replaceAll_; }

 private:
  QLineEdit* find_;
  QLineEdit* replace_;
  QCheckBox* wholeWord_;
  QCheckBox* matchCase_;
  QPushButton* findNext_;
  QPushButton* replaceOne_;
  QPushButton* replaceAll_;
};

}  // namespace tal
