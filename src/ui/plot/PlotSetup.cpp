#include "plot/PlotSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>

#include "plot/PlotCurves.h"
#include "plot/PlotDrawing.h"
#include "plot/PlotForm.h"
#include "plot/PlotScale.h"
#include "plot/PlotZoom.h"
#include "shell/TalshellForm.h"
#include "support/CheckRealField.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/QtStrings.h"
#include "support/Text.h"

namespace tal {

// ---- previews ---------------------------------------------------------------------------------

TPlotPreview::TPlotPreview(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) { setFixedSize(56, 22); }

int TPlotPreview::max() const {
  return kind_ == Kind::Line ? MaxLineStyle : kind_ == Kind::Symbol ? MaxSymbol : MaxColor;
}

void TPlotPreview::setTag(int tag) {
  tag_ = tag;
  update();
}

void TPlotPreview::SpinDownClick() { setTag(SpinDown(tag_, max())); }
void TPlotPreview::SpinUpClick() { setTag(SpinUp(tag_, max())); }

void TPlotPreview::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect box = rect().adjusted(0, 0, -1, -1);
  p.fillRect(box, kind_ == Kind::Color ? PlotColor(tag_) : QColor(Qt::white));
  p.setPen(Qt::black);
  p.drawRect(box);
  const int middle = height() / 2;
  if (kind_ == Kind::Line) {
    if (tag_ == 0) {
      p.drawText(5, 2 + p.fontMetrics().ascent(), QStringLiteral("None"));
    } else if (tag_ == 3) {
      for (int x = 5; x <= width() - 5; x += 10) p.drawLine(x, middle, std::min(x + 5, width() - 5), middle);
    } else {
      p.setPen(QPen(Qt::black, tag_ == 2 ? 2 : 1));
      p.drawLine(5, middle, width() - 5, middle);
    }
  } else if (kind_ == Kind::Symbol) {
    // A symbol number beyond 15 (an overlay that counted on) shows an empty box.
    if (tag_ == 0) {
      p.drawText(5, 2 + p.fontMetrics().ascent(), QStringLiteral("None"));
    } else if (tag_ <= MaxSymbol) {
      p.setPen(Qt::black);
      DrawPlotSymbol(p, tag_, width() / 2, middle, 3, Qt::black);
    }
  }
}

QWidget* PreviewWithSpin(TPlotPreview* preview, const QString& caption, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  auto* label = new QLabel(caption, box);
  row->addWidget(label);
  row->addWidget(preview);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  auto* up = new QToolButton(box);
  up->setArrowType(Qt::UpArrow);
  up->setFixedSize(16, 11);
  up->setObjectName("up");
  auto* down = new QToolButton(box);
  down->setArrowType(Qt::DownArrow);
  down->setFixedSize(16, 11);
  down->setObjectName("down");
  arrows->addWidget(up);
  arrows->addWidget(down);
  row->addLayout(arrows);
  QObject::connect(up, &QToolButton::clicked, preview, &TPlotPreview::SpinUpClick);
  QObject::connect(down, &QToolButton::clicked, preview, &TPlotPreview::SpinDownClick);
  return box;
}

// ---- reading the axis fields ------------------------------------------------------------------

namespace {

bool ReadRange(AxisControls& axis, bool logarithmic, Real& min, Real& max, const char* name) {
  // A number that a logarithmic axis cannot start at is refused with the reason.
  if (const CheckedReal typed = CheckRealValue(FromQt(axis.min->text()), 0, 0, 0);
      logarithmic && typed.valid && typed.value <= 0) {
    ShowMessageKind(std::string("The ") + name + " axis is logarithmic: its minimum must be above 0.", ErrorOk, true);
    axis.min->setFocus();
    axis.min->selectAll();
    return false;
  }
  // Kind 0 takes any number; a logarithmic axis needs a minimum above 0 (kind 1).
  CheckedReal low = CheckRealField(*axis.min, logarithmic ? 1 : 0, 0, 0);
  if (!low.valid) return false;
  min = low.value;
  CheckedReal high = CheckRealField(*axis.max, 1, low.value, 0);
  if (!high.valid) return false;
  max = high.value;
  return true;
}

bool ReadTicks(QLineEdit& field, std::int32_t& ticks) {
  int value = 0;
  if (!ParseIntegerField(FromQt(field.text()), value)) {
    interaction().beep();
    field.setFocus();
    field.selectAll();
    return false;
  }
  ticks = value;
  return true;
}

}  // namespace

bool ReadAxisRanges(AxisControls& x, AxisControls& y, TPlotInfo& info) {
  return ReadRange(x, x.log->isChecked(), info.XMin, info.XMax, "X") &&
         ReadRange(y, y.log->isChecked(), info.YMin, info.YMax, "Y");
}

bool ReadTickFields(AxisControls& x, AxisControls& y, TPlotInfo& info) {
  return ReadTicks(*x.ticks, info.XTicks) && ReadTicks(*y.ticks, info.YTicks);
}

// ---- the dialog -------------------------------------------------------------------------------

int& TPlotSetup::PlotCounter() {
  static int counter = 0;
  return counter;
}

namespace {

QGroupBox* AxisGroup(const QString& title, QListWidget*& list, AxisControls& axis, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  auto* grid = new QGridLayout(group);
  list = new QListWidget(group);
  list->setMinimumHeight(80);
  grid->addWidget(list, 0, 0, 5, 1);
  grid->addWidget(new QLabel("Format", group), 0, 1);
  axis.style = new QComboBox(group);
  axis.style->addItems({"F", "E"});
  axis.digits = new QComboBox(group);
  for (int d = 0; d <= 9; ++d) axis.digits->addItem(QString::number(d));
  auto* format = new QHBoxLayout;
  format->addWidget(axis.style);
  format->addWidget(axis.digits);
  grid->addLayout(format, 0, 2);
  grid->addWidget(new QLabel("Minimum", group), 1, 1);
  axis.min = new QLineEdit(group);
  grid->addWidget(axis.min, 1, 2);
  grid->addWidget(new QLabel("Maximum", group), 2, 1);
  axis.max = new QLineEdit(group);
  grid->addWidget(axis.max, 2, 2);
  axis.linear = new QRadioButton("Linear", group);
  axis.log = new QRadioButton("Log", group);
  grid->addWidget(axis.linear, 3, 1);
  grid->addWidget(axis.log, 3, 2);
  grid->addWidget(new QLabel("No. of Ticks", group), 4, 1);
  axis.ticks = new QLineEdit(group);
  grid->addWidget(axis.ticks, 4, 2);
  return group;
}

void EnableAxis(AxisControls& axis, bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{axis.style, axis.digits, axis.min, axis.max, axis.linear,
                                                    axis.log, axis.ticks})
    w->setEnabled(enabled);
}

}  // namespace

TPlotSetup::TPlotSetup(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Plot Setup");
  setObjectName("PlotSetup");
  setProperty("helpContext", 70);
  auto* top = new QVBoxLayout(this);
  fileList_ = new QComboBox(this);
  fileList_->setEditable(false);
  top->addWidget(fileList_);
  auto* axes = new QHBoxLayout;
  axes->addWidget(AxisGroup("X-Axis", listX_, x_, this));
  axes->addWidget(AxisGroup("Y-Axis", listY_, y_, this));
  top->addLayout(axes);
  listX_->setSelectionMode(QAbstractItemView::SingleSelection);
  listY_->setSelectionMode(QAbstractItemView::MultiSelection);

  auto* bottom = new QHBoxLayout;
  auto* rows = new QGridLayout;
  rows->addWidget(new QLabel("From Row", this), 0, 0);
  fromRow_ = new QLineEdit(this);
  rows->addWidget(fromRow_, 0, 1);
  rows->addWidget(new QLabel("To Row", this), 1, 0);
  toRow_ = new QLineEdit(this);
  rows->addWidget(toRow_, 1, 1);
  bottom->addLayout(rows);
  line_ = new TPlotPreview(TPlotPreview::Kind::Line, this);
  symbol_ = new TPlotPreview(TPlotPreview::Kind::Symbol, this);
  color_ = new TPlotPreview(TPlotPreview::Kind::Color, this);
  bottom->addWidget(PreviewWithSpin(line_, "Line", this));
  bottom->addWidget(PreviewWithSpin(symbol_, "Symbol", this));
  bottom->addWidget(PreviewWithSpin(color_, "Color", this));
  auto* checks = new QVBoxLayout;
  smoothing_ = new QCheckBox("Smoothing", this);
  legend_ = new QCheckBox("LegendBox", this);
  checks->addWidget(smoothing_);
  checks->addWidget(legend_);
  bottom->addLayout(checks);
  auto* buttons = new QVBoxLayout;
  ok_ = new QPushButton("OK", this);
  ok_->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  bottom->addLayout(buttons);
  top->addLayout(bottom);

  connect(fileList_, &QComboBox::activated, this, &TPlotSetup::PlotFileListChange);
  connect(listX_, &QListWidget::itemClicked, this, &TPlotSetup::ListBoxXClick);
  connect(listY_, &QListWidget::itemClicked, this, &TPlotSetup::ListBoxYClick);
  connect(ok_, &QPushButton::clicked, this, &TPlotSetup::OKBtnClick);
  // Choosing a scale proposes the range anew (in decades for Log).
  connect(x_.log, &QRadioButton::toggled, this, [this] { MinMax(1); });
  connect(y_.log, &QRadioButton::toggled, this, [this] { MinMax(2); });
  connect(cancel, &QPushButton::clicked, this, &TPlotSetup::CancelBtnClick);
}

void TPlotSetup::done(int result) {
  table_.Release();
  PltFileName = savedPltFileName_;
  QDialog::done(result);
}

TPlotForm* TPlotSetup::Run(TTALSHELLFORM& shell) {
  shell_ = &shell;
  FormActivate();
  if (exec() != QDialog::Accepted) return nullptr;
  if (IsOverlay) {
    if (!TargetPlot) return nullptr;
    TargetPlot->info() = std::move(result_);
    TargetPlot->PlotChanged();
    return TargetPlot;
  }
  ++PlotCounter();
  auto* plot = new TPlotForm(&shell);
  plot->info() = std::move(result_);
  plot->setCaption("Plot " + std::to_string(PlotCounter()) + ": from " + FileNameOf(chosenFile_));
  shell.AddChild(plot);
  plot->PlotChanged();
  return plot;
}

void TPlotSetup::FormActivate() {
  savedPltFileName_ = PltFileName;
  FillFileList();
  const bool overlay = IsOverlay && TargetPlot && TargetPlot->info().LineCount() > 0;
  EnableAxis(x_, !overlay);
  EnableAxis(y_, !overlay);
  if (!overlay) {
    line_->setTag(1);
    symbol_->setTag(0);
    color_->setTag(0);
    smoothing_->setChecked(false);
    x_.ticks->setText("5");
    y_.ticks->setText("5");
    if (listX_->count() > 0) listX_->setCurrentRow(0);
    listY_->clearSelection();
    if (listY_->count() > 1) listY_->item(1)->setSelected(true);
    x_.linear->setChecked(true);
    y_.linear->setChecked(true);
    x_.style->setCurrentIndex(0);
    y_.style->setCurrentIndex(0);
    MinMax(1);
    MinMax(2);
  } else {
    const TPlotInfo& target = TargetPlot->info();
    const int xCol = target.Lines.back().XCol;
    if (xCol >= 0 && xCol < listX_->count()) listX_->setCurrentRow(xCol);
    (target.XLog ? x_.log : x_.linear)->setChecked(true);
    (target.YLog ? y_.log : y_.linear)->setChecked(true);
    x_.style->setCurrentIndex(target.XFormat.Fixed ? 0 : 1);
    y_.style->setCurrentIndex(target.YFormat.Fixed ? 0 : 1);
    x_.digits->setCurrentIndex(std::clamp<int>(target.XFormat.Digits, 0, 9));
    y_.digits->setCurrentIndex(std::clamp<int>(target.YFormat.Digits, 0, 9));
    MinMax(1);
    MinMax(2);
  }
  ok_->setEnabled(!listY_->selectedItems().isEmpty());
}

void TPlotSetup::FillFileList() {
  fileList_->clear();
  directory_ = FolderOf(PltFileName);
  const std::string wanted = FileNameOf(PltFileName);
  std::vector<std::string> plt, out;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(directory_.empty() ? "." : directory_, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string name = entry.path().filename().string();
    const std::string ext = ExtensionOf(name);
    if (ext == ".PLT")
      plt.push_back(name);
    else if (ext.rfind(".O", 0) == 0 && !EqualNoCase(name, "TALPIX.OUT"))
      out.push_back(name);
  }
  std::sort(plt.begin(), plt.end());
  std::sort(out.begin(), out.end());
  int preselect = 0, index = 0;
  for (const auto* group : {&plt, &out})
    for (const std::string& name : *group) {
      if (EqualNoCase(name, wanted)) preselect = index;
      fileList_->addItem(ToQt(name));
      ++index;
    }
  if (fileList_->count() > 0) {
    fileList_->setCurrentIndex(preselect);
    PlotFileListChange(preselect);
  } else {
    table_ = TColumnTable{};
    SetXList();
    SetYList();
    SetRows();
  }
}

void TPlotSetup::PlotFileListChange(int index) {
  if (index < 0 || index >= fileList_->count()) return;
  chosenFile_ = JoinPath(directory_, FromQt(fileList_->itemText(index)));
  PltFileName = chosenFile_;
  table_.Release();
  table_.PltFileName = chosenFile_;
  ReadPltResult read = ReadPlt(table_);
  // A file too big to plot says so; one that cannot be opened just leaves the lists empty.
  if (read.opened && !read.error.empty()) ShowMessageKind(read.error, ErrorOk, true);
  SetXList();
  SetYList();
  SetRows();
}

void TPlotSetup::SetXList() {
  listX_->clear();
  for (const std::string& name : table_.ColName) listX_->addItem(ToQt(name));
  if (listX_->count() > 0) listX_->setCurrentRow(0);
}

void TPlotSetup::SetYList() {
  listY_->clear();
  for (const std::string& name : table_.ColName) listY_->addItem(ToQt(name));
  if (listY_->count() > 1) listY_->item(1)->setSelected(true);
  ListBoxYClick();
}

void TPlotSetup::SetRows() {
  fromRow_->setText("1");
  toRow_->setText(QString::number(table_.RowCount));
}

void TPlotSetup::ListBoxXClick() { MinMax(1); }

void TPlotSetup::ListBoxYClick() {
  const bool any = !listY_->selectedItems().isEmpty();
  ok_->setEnabled(any);
  if (any) MinMax(2);
}

void TPlotSetup::MinMax(int axisNumber) {
  AxisControls& axis = this->axis(axisNumber);
  if (IsOverlay && TargetPlot && TargetPlot->info().LineCount() > 0) {
    const TPlotInfo& t = TargetPlot->info();
    const TAxisFormat& format = axisNumber == 1 ? t.XFormat : t.YFormat;
    axis.min->setText(ToQt(FormatReal(format.format(), axisNumber == 1 ? t.XMin : t.YMin)));
    axis.max->setText(ToQt(FormatReal(format.format(), axisNumber == 1 ? t.XMax : t.YMax)));
    return;
  }
  Real dataMin = 1.0e60L, dataMax = -1.0e60L;
  if (axisNumber == 1) {
    const int k = listX_->currentRow();
    if (k >= 0 && k < table_.ColCount && listX_->item(k)->isSelected()) {
      dataMin = table_.ColMin[static_cast<std::size_t>(k)];
      dataMax = table_.ColMax[static_cast<std::size_t>(k)];
    }
  } else {
    for (int k = 0; k < listY_->count() && k < table_.ColCount; ++k) {
      if (!listY_->item(k)->isSelected()) continue;
      dataMin = std::min<Real>(dataMin, table_.ColMin[static_cast<std::size_t>(k)]);
      dataMax = std::max<Real>(dataMax, table_.ColMax[static_cast<std::size_t>(k)]);
    }
  }
  // A logarithmic axis over positive data is proposed in whole decades.
  if (axis.log->isChecked() && dataMin > 0 && dataMin <= dataMax) {
    AxisRange decades;
    decades.Log = true;
    decades = ProposeAxis(decades, static_cast<double>(dataMin), static_cast<double>(dataMax), static_cast<double>(dataMin));
    axis.digits->setCurrentIndex(decades.Format.Digits);
    axis.min->setText(ToQt(ProposedRangeText(decades.Min, decades.Format.Digits)));
    axis.max->setText(ToQt(ProposedRangeText(decades.Max, decades.Format.Digits)));
    return;
  }
  AxisProposal p = ScaleMinMax(dataMin, dataMax);
  // A degenerate range leaves the tick field and the digits list as they were.
  if (p.HasTicks) {
    axis.digits->setCurrentIndex(std::clamp(p.Digits, 0, 9));
    axis.ticks->setText(QString::number(p.Ticks));
  }
  const int digits = p.HasTicks ? p.Digits : axis.digits->currentIndex();
  axis.min->setText(ToQt(ProposedRangeText(p.Min, digits)));
  axis.max->setText(ToQt(ProposedRangeText(p.Max, digits)));
}

TPlotInfo TPlotSetup::OverlayStart() const { return TargetPlot ? TargetPlot->info() : TPlotInfo{}; }

void TPlotSetup::OKBtnClick() {
  const bool overlay = IsOverlay && TargetPlot;
  TPlotInfo info = overlay ? OverlayStart() : TPlotInfo{};
  if (!overlay) {
    info.XGrid = info.YGrid = 0;
    info.XMinorTicks = info.YMinorTicks = 1;
    info.XLog = x_.log->isChecked();
    info.YLog = y_.log->isChecked();
    if (!ReadAxisRanges(x_, y_, info) || !ReadTickFields(x_, y_, info)) return;
    info.XFormat = {static_cast<std::uint8_t>(x_.style->currentText() == "F"),
                    static_cast<std::int16_t>(x_.digits->currentIndex())};
    info.YFormat = {static_cast<std::uint8_t>(y_.style->currentText() == "F"),
                    static_cast<std::int16_t>(y_.digits->currentIndex())};
  }
  CurveChoice choice;
  choice.xColumn = std::max(0, listX_->currentRow());
  for (int k = 0; k < listY_->count(); ++k)
    if (listY_->item(k)->isSelected()) choice.yColumns.push_back(k);
  if (choice.yColumns.empty() || choice.xColumn >= table_.ColCount) return;
  if (info.LineCount() + static_cast<int>(choice.yColumns.size()) > MaxPlotLines) {
    ShowMessageKind("A plot holds at most " + std::to_string(MaxPlotLines) + " curves.", ErrorOk, true);
    return;
  }
  choice.fromRowText = FromQt(fromRow_->text());
  choice.toRowText = FromQt(toRow_->text());
  choice.lineStyle = line_->tag();
  choice.symbol = symbol_->tag();
  choice.color = color_->tag();
  choice.smooth = smoothing_->isChecked();
  switch (AddCurves(table_, choice, info)) {
    case CurveRowsCheck::Ok: break;
    case CurveRowsCheck::FromRowBeyondRows:
      // A From Row past the last row would make curves of no points: refused like a bad field.
      interaction().beep();
      fromRow_->setFocus();
      fromRow_->selectAll();
      return;
    case CurveRowsCheck::ToRowNotInteger:
      toRow_->setFocus();
      toRow_->selectAll();
      return;
  }
  info.ShowLegend = legend_->isChecked() ? 1 : 0;
  result_ = std::move(info);
  accept();
}

void TPlotSetup::CancelBtnClick() { reject(); }

}  // namespace tal
