#pragma once
// The Modify Plot dialog ("Modify " and the plot's caption), made for one use on one plot window.
#include <QDialog>

#include "plot/PlotSetup.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tal {

class TPlotForm;

class TModPlot : public QDialog {
  Q_OBJECT

 public:
  explicit TModPlot(TPlotForm& plot);

  void FormActivate();
  void SetPlotLineInfo();
  void PlotLineBoxClick();
  // Takes every field; a range field that does not read keeps the dialog open (the values read
  // before it are kept).
  void OKBtnClick();
  // Deletes the chosen curve; the only curve takes the window with it, without the save question.
  void DeleteClick();

  QComboBox* lines() const { return lines_; }
  AxisControls& axis(int which) { return which == 1 ? x_ : y_; }
  QLineEdit* label(int which) const { return which == 1 ? xLabel_ : yLabel_; }
  QCheckBox* grid(int which) const { return which == 1 ? xGrid_ : yGrid_; }
  TPlotPreview* symbolPreview() const { return symbol_; }
  TPlotPreview* colorPreview() const { return color_; }
  TPlotPreview* linePreview() const { return line_; }
  QCheckBox* legend() const { return legend_; }
  QLineEdit* fromRow() const { return fromRow_; }
  QLineEdit* toRow() const { return toRow_; }
  // Hours, Days or Months: shown for an X axis of TIME in hours.
  QComboBox* timeLabels() const { return timeLabels_; }

 private:
  TPlotForm& plot_;
  bool deleted_ = false;
  QComboBox* lines_;
  QPushButton* deleteButton_;
  QLineEdit* xLabel_;
  QLineEdit* yLabel_;
  AxisControls x_, y_;
  QCheckBox* xGrid_;
  QCheckBox* yGrid_;
  QLabel* timeLabelsCaption_;
  QComboBox* timeLabels_;
  TPlotPreview* line_;
  TPlotPreview* symbol_;
  TPlotPreview* color_;
  QCheckBox* smoothing_;
  QCheckBox* legend_;
  QLabel* fromLabel_;
  QLineEdit* fromRow_;
  QLabel* toLabel_;
  QLineEdit* toRow_;
};

}  // namespace tal
