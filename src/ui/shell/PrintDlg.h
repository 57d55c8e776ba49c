#pragma once
// "Select Windows to Print": the child windows on the left ("Windows:", sorted), the ones to print
// on the right ("Print:"), buttons and drag and drop to move them, OK to print the right list.
#include <QDialog>
#include <QListWidget>
#include <QPointer>
#include <vector>

#include "shell/ChildForm.h"
#include "shell/PrintSelection.h"

class QPushButton;

namespace tal {

class TPrintDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TPrintDlg(QWidget* parent = nullptr);

  // Refills the lists: every child but the active one on the left, the active one on the right.
  void Fill(const std::vector<TChildForm*>& children, TChildForm* active);
  // The windows of the right list, top to bottom (closed ones left out).
  std::vector<TChildForm*> chosen() const;

  QListWidget* windowsList() const { return left_; }
  QListWidget* printList() const { return right_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* includeButton() const { return include_; }
  QPushButton* includeAllButton() const { return includeAll_; }
  QPushButton* excludeButton() const { return exclude_; }
  QPushButton* excludeAllButton() const { return excludeAll_; }

  // ">", ">>", "<", "<<" (also what dropping entries on the other list does).
  void IncludeSelected();
  void IncludeAll();
  void ExcludeSelected();
  void ExcludeAll();

 private:
  void Show(QListWidget* source, int select);
  void ShowLists();
  static std::vector<int> SelectedRows(const QListWidget* list);

  PrintSelection selection_;
  std::vector<QPointer<TChildForm>> windows_;  // by entry id
  QListWidget* left_;
  QListWidget* right_;
  QPushButton* include_;
  QPushButton* includeAll_;
  QPushButton* exclude_;
  QPushButton* excludeAll_;
  QPushButton* ok_;
};

// "Please wait" / "Printing in progress... ": shown on top while a job runs.
class TPrintProgress : public QDialog {
  Q_OBJECT

 public:
  explicit TPrintProgress(QWidget* parent = nullptr);
};

}  // namespace tal
