#pragma once
// The Plot Setup dialog ("Plot Setup"): the data file, the X column and the Y columns, the axis
// ranges (proposed by ScaleMinMax), ticks and formats, the look of the new curves, smoothing,
// the legend and the rows. One dialog serves New Plot and Overlay Plot for the whole run.
// Also the previews with their spins, which Modify Plot shares.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <string>

#include "plot/PlotData.h"
#include "plot/PlotInfo.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tal {

class TPlotForm;
class TTALSHELLFORM;

// A preview box ("Line", "Symbol" or "Color") with its up and down arrows; the tag is the line
// style, symbol or colour number. The down arrow adds one, the up arrow takes one away, wrapping.
class TPlotPreview : public QWidget {
  Q_OBJECT

 public:
  enum class Kind { Line, Symbol, Color };
  TPlotPreview(Kind kind, QWidget* parent);
  int tag() const { return tag_; }
  void setTag(int tag);
  void SpinDownClick();
  void SpinUpClick();

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int max() const;
  Kind kind_;
  int tag_ = 0;
};

// The widgets of one axis of the setup and Modify Plot dialogs.
struct AxisControls {
  QComboBox* style = nullptr;   // "F"/"E" in the setup, "E"/"F" in Modify Plot
  QComboBox* digits = nullptr;  // "0" to "9"
  QLineEdit* min = nullptr;
  QLineEdit* max = nullptr;
  QRadioButton* linear = nullptr;
  QRadioButton* log = nullptr;
  QLineEdit* ticks = nullptr;
};

// Reads the range fields of both axes with the checked number reader: X minimum (positive on a
// logarithmic axis), X maximum above it, Y minimum, Y maximum above it. At the first failing
// field: beep, focus and selection, false. The ranges read before it are stored.
bool ReadAxisRanges(AxisControls& x, AxisControls& y, TPlotInfo& info);
// The tick fields as integers; false (beep, focus, selection) at the first that is not one.
bool ReadTickFields(AxisControls& x, AxisControls& y, TPlotInfo& info);

class TPlotSetup : public QDialog {
  Q_OBJECT

 public:
  explicit TPlotSetup(QWidget* parent);

  // Set by the main window before the dialog is shown.
  std::string PltFileName;  // New Plot: the current deck; Overlay Plot: the last run's plot data
  bool IsOverlay = false;
  QPointer<TPlotForm> TargetPlot;

  // Program-wide count of new plots; it numbers the captions.
  static int& PlotCounter();

  // Shows the dialog modally; on OK a New Plot has made its window (returned) or an overlay has
  // added its curves to the target.
  TPlotForm* Run(TTALSHELLFORM& shell);

  // The dialog's steps, public so that they can be driven as a user would.
  void FormActivate();
  void PlotFileListChange(int index);
  void ListBoxXClick();
  void ListBoxYClick();
  void SetXList();
  void SetYList();
  void SetRows();
  void MinMax(int axis);
  void OKBtnClick();
  void CancelBtnClick();

  const TColumnTable& table() const { return table_; }
  QComboBox* fileList() const { return fileList_; }
  QListWidget* listX() const { return listX_; }
  QListWidget* listY() const { return listY_; }
  AxisControls& axis(int which) { return which == 1 ? x_ : y_; }
  QLineEdit* fromRow() const { return fromRow_; }
  QLineEdit* toRow() const { return toRow_; }
  TPlotPreview* linePreview() const { return line_; }
  TPlotPreview* symbolPreview() const { return symbol_; }
  TPlotPreview* colorPreview() const { return color_; }
  QCheckBox* smoothing() const { return smoothing_; }
  QCheckBox* legend() const { return legend_; }
  QPushButton* okButton() const { return ok_; }

 protected:
  void done(int result) override;

 private:
  void FillFileList();
  TPlotInfo OverlayStart() const;

  TTALSHELLFORM* shell_ = nullptr;
  TColumnTable table_;
  std::string directory_;
  std::string savedPltFileName_;
  std::string chosenFile_;  // full name of the file chosen in the list
  TPlotInfo result_;  // the plot built by OK
  QComboBox* fileList_;
  QListWidget* listX_;
  QListWidget* listY_;
  AxisControls x_, y_;
  QLineEdit* fromRow_;
  QLineEdit* toRow_;
  TPlotPreview* line_;
  TPlotPreview* symbol_;
  TPlotPreview* color_;
  QCheckBox* smoothing_;
  QCheckBox* legend_;
  QPushButton* ok_;
};

// Builds the look controls (three previews with spins) into `parent`'s layout helpers.
QWidget* PreviewWithSpin(TPlotPreview* preview, const QString& caption, QWidget* parent);

}  // namespace tal
