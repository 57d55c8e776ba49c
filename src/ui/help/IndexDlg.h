#pragma once
// "Select Project": the catalogue of an index file. The user picks an entry, sees its picture,
// may read its help text, and opens its deck.
#include <QDialog>
#include <functional>
#include <string>

#include "help/IndexFile.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace tal {

class TIndexDlg : public QDialog {
  Q_OBJECT

 public:
  // `openDeck` opens a deck as the Open command would (the shell's ReadaFile).
  TIndexDlg(const std::string& indexFile, std::function<void(const std::string&)> openDeck, QWidget* parent = nullptr);

  // Reads the index file into the labels and the list; skipped while the dialog is opening a deck.
  void FormActivate();
  void theListClick();
  void theListDblClick();
  void OKBtnClick();
  void HelpBtnClick();

  // Full paths of the selected entry's files (empty names stay empty).
  IndexEntryFiles SelectedPaths() const;

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QListWidget* theList = nullptr;
  QLabel* Image1 = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;

 protected:
  bool event(QEvent* event) override;

 private:
  const IndexEntry* Selected() const;

  std::string indexFile_;
  std::function<void(const std::string&)> openDeck_;
  IndexFile index_;
  bool busy_ = false;  // set while a deck is being opened: activation does not reload the list
};

}  // namespace tal
