#pragma once
// "Make TALKIT File": the user picks, unit by unit, the parameters and inputs of a scanned deck
// that the form is to expose, and whether the header and the simulation card go in. OK asks for
// the form deck's name and writes it (TalkitGenerator.h).
#include <QDialog>
#include <string>

#include "generator/DeckScan.h"
#include "generator/TalkitGenerator.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tal {

class TMakeTALKITDlg : public QDialog {
  Q_OBJECT

 public:
  // `deck` is MakeDeck's scan; `engineDirectory` holds the header and list data files. The
  // Include boxes start from the generator defaults of `includeHeader` and `includeSimulationCard`
  // (checked when above 0).
  TMakeTALKITDlg(ScannedDeck deck, std::string engineDirectory, int includeHeader, int includeSimulationCard,
                 QWidget* parent = nullptr);

  // Stores the selection of the unit shown so far and shows the lists of unit `row`.
  void UnitBoxClick(int row);
  // Selects every eligible item (All) or clears every item (None) of the list entered last.
  void AllBtnClick();
  void NoneBtnClick();
  // Asks for the form deck's name and writes it; closes with Accepted when it was written.
  void OKBtnClick();

  // The form deck written by OK ("" until then).
  const std::string& writtenName() const { return writtenName_; }
  const ScannedDeck& deck() const { return deck_; }

  QListWidget* UnitBox = nullptr;
  QListWidget* ParBox = nullptr;
  QListWidget* InpBox = nullptr;
  QPushButton* AllBtn = nullptr;
  QPushButton* NoneBtn = nullptr;
  QLabel* MarkNote = nullptr;  // what the "*" before a parameter or input means
  QCheckBox* HeaderCheck = nullptr;
  QCheckBox* SimulationCardCheck = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetParamInputBox();
  void FillParamInputBox();
  // An input that is not settable cannot be chosen: its selection is taken back with a beep.
  void RefuseUnsettableInputs();

  ScannedDeck deck_;
  std::string engineDirectory_;
  int shownUnit_ = -1;
  bool inputsEnteredLast_ = false;
  bool filling_ = false;
  std::string writtenName_;
};

}  // namespace tal
