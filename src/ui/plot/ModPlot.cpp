// The Modify Plot dialog (TModPlot): titles, ranges, ticks, formats, grid lines and the legend of
// a plot, and the look of each curve; Delete removes the chosen curve.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "plot/ModPlot.h"
#include "plot/PlotCurves.h"
#include "plot/PlotForm.h"
#include "plot/PlotSetup.h"
#include "plot/TimeAxis.h"
#include "support/QtStrings.h"

namespace tal {

namespace {

QGroupBox* ModAxisGroup(const QString& title, QLineEdit*& label, AxisControls& axis, QCheckBox*& grid,
                        QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  auto* g = new QGridLayout(group);
  label = new QLineEdit(group);
  label->setMaxLength(static_cast<int>(MaxAxisLabelLength));
  g->addWidget(label, 0, 0, 1, 3);
  g->addWidget(new QLabel("Format", group), 1, 0);
  axis.style = new QComboBox(group);
  axis.style->addItems({"E", "F"});
  axis.digits = new QComboBox(group);
  for (int d = 0; d <= 9; ++d) axis.digits->addItem(QString::number(d));
  g->addWidget(axis.style, 1, 1);
  g->addWidget(axis.digits, 1, 2);
  g->addWidget(new QLabel("Minimum", group), 2, 0);
  axis.min = new QLineEdit(group);
  g->addWidget(axis.min, 2, 1, 1, 2);
  g->addWidget(new QLabel("Maximum", group), 3, 0);
  axis.max = new QLineEdit(group);
  g->addWidget(axis.max, 3, 1, 1, 2);
  axis.linear = new QRadioButton("Linear", group);
  axis.log = new QRadioButton("Log", group);
  g->addWidget(axis.linear, 4, 1);
  g->addWidget(axis.log, 4, 2);
  g->addWidget(new QLabel("No. of Ticks", group), 5, 0);
  axis.ticks = new QLineEdit(group);
  g->addWidget(axis.ticks, 5, 1, 1, 2);
  grid = new QCheckBox("Gridlines", group);
  g->addWidget(grid, 6, 0, 1, 3);
  return group;
}

void ShowAxis(AxisControls& axis, QLineEdit* label, QCheckBox* grid, const std::string& title, Real min, Real max,
              std::uint8_t log, TAxisFormat format, int ticks, std::uint8_t gridOn) {
  label->setText(ToQt(title));
  (log ? axis.log : axis.linear)->setChecked(true);
  axis.min->setText(ToQt(FormatReal(format.format(), min)));
  axis.max->setText(ToQt(FormatReal(format.format(), max)));
  axis.style->setCurrentIndex(format.Fixed ? 1 : 0);
  axis.digits->setCurrentIndex(std::clamp<int>(format.Digits, 0, 9));
  axis.ticks->setText(QString::number(ticks));
  grid->setChecked(gridOn != 0);
}

}  // namespace

TModPlot::TModPlot(TPlotForm& plot) : QDialog(plot.window()), plot_(plot) {
  setObjectName("ModPlot");
  setWindowTitle(ToQt("Modify " + plot.caption()));
  setProperty("helpContext", 80);
  setWindowFlags(windowFlags() & ~Qt::WindowSystemMenuHint);
  auto* top = new QVBoxLayout(this);
  auto* head = new QHBoxLayout;
  head->addWidget(new QLabel("Plot", this));
  lines_ = new QComboBox(this);
  head->addWidget(lines_, 1);
  deleteButton_ = new QPushButton("Delete", this);
  head->addWidget(deleteButton_);
  top->addLayout(head);
  auto* axes = new QHBoxLayout;
  QGroupBox* xGroup = ModAxisGroup("X-Axis", xLabel_, x_, xGrid_, this);
  // Simulation time in hours can be labelled as days or as the months of a year.
  auto* xGrid = static_cast<QGridLayout*>(xGroup->layout());
  timeLabelsCaption_ = new QLabel("Labels", xGroup);
  timeLabels_ = new QComboBox(xGroup);
  timeLabels_->addItems({"Hours", "Days", "Months"});
  xGrid->addWidget(timeLabelsCaption_, 7, 0);
  xGrid->addWidget(timeLabels_, 7, 1, 1, 2);
  axes->addWidget(xGroup);
  axes->addWidget(ModAxisGroup("Y-Axis", yLabel_, y_, yGrid_, this));
  top->addLayout(axes);
  auto* look = new QHBoxLayout;
  line_ = new TPlotPreview(TPlotPreview::Kind::Line, this);
  symbol_ = new TPlotPreview(TPlotPreview::Kind::Symbol, this);
  color_ = new TPlotPreview(TPlotPreview::Kind::Color, this);
  look->addWidget(PreviewWithSpin(line_, "Line", this));
  look->addWidget(PreviewWithSpin(symbol_, "Symbol", this));
  look->addWidget(PreviewWithSpin(color_, "Color", this));
  smoothing_ = new QCheckBox("Smoothing", this);
  legend_ = new QCheckBox("Legend", this);
  look->addWidget(smoothing_);
  look->addWidget(legend_);
  top->addLayout(look);
  auto* rows = new QHBoxLayout;
  fromLabel_ = new QLabel("From Row", this);
  fromRow_ = new QLineEdit(this);
  toLabel_ = new QLabel("To Row", this);
  toRow_ = new QLineEdit(this);
  for (QWidget* w : std::initializer_list<QWidget*>{fromLabel_, fromRow_, toLabel_, toRow_}) rows->addWidget(w);
  auto* ok = new QPushButton("OK", this);
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  rows->addStretch();
  rows->addWidget(ok);
  rows->addWidget(cancel);
  top->addLayout(rows);

  connect(lines_, &QComboBox::activated, this, &TModPlot::PlotLineBoxClick);
  connect(deleteButton_, &QPushButton::clicked, this, &TModPlot::DeleteClick);
  connect(ok, &QPushButton::clicked, this, &TModPlot::OKBtnClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  FormActivate();
}

void TModPlot::FormActivate() {
  const TPlotInfo& info = plot_.info();
  lines_->clear();
  for (const TPlotLine& line : info.Lines) lines_->addItem(ToQt(line.YName + " vs. " + line.XName));
  lines_->setCurrentIndex(lines_->count() - 1);
  ShowAxis(x_, xLabel_, xGrid_, info.XLabel, info.XMin, info.XMax, info.XLog, info.XFormat, info.XTicks, info.XGrid);
  ShowAxis(y_, yLabel_, yGrid_, info.YLabel, info.YMin, info.YMax, info.YLog, info.YFormat, info.YTicks, info.YGrid);
  legend_->setChecked(info.ShowLegend == 1);
  const bool hours = IsHoursAxis(info);
  timeLabelsCaption_->setVisible(hours);
  timeLabels_->setVisible(hours);
  timeLabels_->setCurrentIndex(std::clamp<int>(info.XTimeLabels, 0, 2));
  SetPlotLineInfo();
}

void TModPlot::SetPlotLineInfo() {
  const int k = lines_->currentIndex();
  const bool any = k >= 0 && k < plot_.info().LineCount();
  const TPlotLine line = any ? plot_.info().Lines[static_cast<std::size_t>(k)] : TPlotLine{};
  line_->setTag(line.LineStyle);
  symbol_->setTag(line.Symbol);
  color_->setTag(line.Color);
  smoothing_->setChecked(line.Smooth != 0);
  const bool rows = any && line.RowsAdjustable != 0;
  for (QWidget* w : std::initializer_list<QWidget*>{fromLabel_, fromRow_, toLabel_, toRow_}) w->setVisible(rows);
  fromRow_->setText(QString::number(line.FromRow));
  toRow_->setText(QString::number(line.ToRow));
}

void TModPlot::PlotLineBoxClick() { SetPlotLineInfo(); }

void TModPlot::OKBtnClick() {
  TPlotInfo& info = plot_.info();
  info.ShowLegend = legend_->isChecked() ? 1 : 0;
  info.XLabel = FromQt(xLabel_->text()).substr(0, MaxAxisLabelLength);
  info.YLabel = FromQt(yLabel_->text()).substr(0, MaxAxisLabelLength);
  info.XGrid = xGrid_->isChecked();
  if (IsHoursAxis(info)) info.XTimeLabels = static_cast<std::uint8_t>(timeLabels_->currentIndex());
  info.YGrid = yGrid_->isChecked();
  // Ranges are read against the scale chosen here: a logarithmic axis needs a positive minimum.
  const bool rangesOk = ReadAxisRanges(x_, y_, info);
  if (rangesOk && !ReadTickFields(x_, y_, info)) return;
  if (rangesOk) {  // a scale is taken only with ranges it can draw
    info.XLog = x_.log->isChecked();
    info.YLog = y_.log->isChecked();
  }
  info.XFormat = {static_cast<std::uint8_t>(x_.style->currentText() == "F"),
                  static_cast<std::int16_t>(x_.digits->currentIndex())};
  info.YFormat = {static_cast<std::uint8_t>(y_.style->currentText() == "F"),
                  static_cast<std::int16_t>(y_.digits->currentIndex())};
  const int k = lines_->currentIndex();
  if (k >= 0 && k < info.LineCount()) {
    TPlotLine& line = info.Lines[static_cast<std::size_t>(k)];
    if (line.RowsAdjustable != 0) {
      int from = 0, to = 0;
      line.FromRow = ParseIntegerField(FromQt(fromRow_->text()), from) && from > 0 ? from : 1;
      if (ParseIntegerField(FromQt(toRow_->text()), to)) line.ToRow = to > line.FromRow && to <= line.FileRows ? to : line.FileRows;
    }
    line.LineStyle = line_->tag();
    line.Symbol = symbol_->tag();
    line.Color = color_->tag();
    line.Smooth = smoothing_->isChecked() ? 1 : 0;
  }
  if (!rangesOk) {
    plot_.PlotChanged();
    return;
  }
  accept();
  plot_.PlotChanged();
}

void TModPlot::DeleteClick() {
  TPlotInfo& info = plot_.info();
  if (info.LineCount() <= 1) {
    deleted_ = true;
    reject();
    plot_.CloseWithoutQuestion();
    return;
  }
  const int k = lines_->currentIndex();
  if (k < 0 || k >= info.LineCount()) return;
  info.Lines.erase(info.Lines.begin() + k);  // the following curves keep their numbers
  accept();
  plot_.PlotChanged();
}

void ShowModifyPlot(TPlotForm& plot) {
  TModPlot dialog(plot);
  dialog.exec();
}

}  // namespace tal
