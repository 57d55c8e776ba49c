#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <QClipboard>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QStatusBar>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>

#include "../shell/ShellTestSupport.h"
#include "plot/ModPlot.h"
#include "plot/PlotForm.h"
#include "plot/PlotPointer.h"
#include "plot/PlotSetup.h"
#include "plot/SpfFile.h"
#include "support/Interaction.h"

using namespace tal;
using namespace taltest;

namespace {

class PlotWindow : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    dir.write("work/RUN1.PLT", "TIME T1 T2 Q\ns K K W\n0 1 5 9\n1 3 6 9\n2 2 7 9\n3 4 9 9\n");
    dir.write("work/A.OUT", "X Y\n1 2\n");
    dir.write("work/TALPIX.OUT", "X Y\n1 2\n");
    dir.write("work/RUN1.DCK", "* deck\n");
    makeFrame().setCurrentInputDeck(dir.file("work/RUN1.DCK"));
    frame->setCurrentPlotFile(dir.file("work/RUN1.PLT"));
  }
  // Runs a Plot menu command; `act` works the setup dialog while it is shown.
  void RunSetup(MenuItem item, const std::function<void(TPlotSetup&)>& act) {
    QTimer::singleShot(0, [&] {
      auto* setup = qobject_cast<TPlotSetup*>(QApplication::activeModalWidget());
      ASSERT_NE(setup, nullptr);
      act(*setup);
      if (setup->isVisible()) setup->reject();
    });
    frame->action(item)->trigger();
  }
  std::vector<TPlotForm*> plots() {
    std::vector<TPlotForm*> out;
    for (TChildForm* c : frame->children())
      if (auto* p = qobject_cast<TPlotForm*>(c)) out.push_back(p);
    return out;
  }
  static void SelectY(TPlotSetup& s, std::vector<int> rows) {
    s.listY()->clearSelection();
    for (int r : rows) s.listY()->item(r)->setSelected(true);
    s.ListBoxYClick();
  }
};

TEST_F(PlotWindow, NewPlotProposesAxesAndMakesTheWindow) {
  const int before = TPlotSetup::PlotCounter();
  RunSetup(MenuItem::NewPlot, [](TPlotSetup& s) {
    QStringList files;
    for (int i = 0; i < s.fileList()->count(); ++i) files << s.fileList()->itemText(i);
    EXPECT_EQ(files, (QStringList{"RUN1.PLT", "A.OUT"}));  // plot files first, never TALPIX.OUT
    EXPECT_EQ(s.listX()->currentRow(), 0);
    ASSERT_EQ(s.listY()->selectedItems().size(), 1);
    EXPECT_EQ(s.listY()->selectedItems()[0]->text(), "T1");
    EXPECT_EQ(s.axis(1).min->text(), "0.0");  // 0 to 3
    EXPECT_EQ(s.axis(2).min->text(), "1.00");
    EXPECT_EQ(s.axis(2).max->text(), "4.0");  // the automatic format for two digits
    EXPECT_TRUE(s.axis(2).log->isEnabled());  // New Plot may choose a logarithmic scale
    s.axis(2).log->setChecked(true);           // proposed in decades: T1 runs from 1 to 4
    EXPECT_EQ(s.axis(2).min->text(), "1.0");
    EXPECT_EQ(s.axis(2).max->text(), "10");
    s.axis(2).log->setChecked(false);
    EXPECT_EQ(s.toRow()->text(), "4");
    s.symbolPreview()->setTag(15);
    SelectY(s, {1, 2, 3});
    s.legend()->setChecked(true);
    s.okButton()->click();
  });
  ASSERT_EQ(plots().size(), 1u);
  TPlotForm& plot = *plots()[0];
  EXPECT_EQ(plot.caption(), "Plot " + std::to_string(before + 1) + ": from RUN1.PLT");
  const TPlotInfo& info = plot.info();
  ASSERT_EQ(info.LineCount(), 3);
  EXPECT_EQ(info.XLabel, "TIME s");
  EXPECT_EQ(info.YLabel, "T1 K");
  EXPECT_EQ(info.ShowLegend, 1);
  EXPECT_EQ(info.Lines[2].Symbol, 17);  // 15, 16, 17: drawn as 15, 1 and 2
  EXPECT_EQ(info.Lines[2].Color, 2);
  EXPECT_EQ(info.Lines[0].YValues, (std::vector<double>{1, 3, 2, 4}));
  EXPECT_TRUE(enabled(MenuItem::ModifyPlot));
  EXPECT_TRUE(enabled(MenuItem::ExportPlot));
  EXPECT_FALSE(enabled(MenuItem::Calculate));
}

TEST_F(PlotWindow, RowFieldsAndRangesRefusedKeepTheDialogOpen) {
  RunSetup(MenuItem::NewPlot, [&](TPlotSetup& s) {
    struct Case {
      QString from, to, yMax;
      QLineEdit* focused;
    } cases[] = {
        {"9", "4", "4.00", s.fromRow()},  // beyond the 4 rows
        {"1", "x", "4.00", s.toRow()},
        {"1", "4", "0.5", s.axis(2).max},  // not above the minimum
    };
    for (const Case& c : cases) {
      s.fromRow()->setText(c.from);
      s.toRow()->setText(c.to);
      s.axis(2).max->setText(c.yMax);
      s.OKBtnClick();
      EXPECT_TRUE(s.isVisible());
      EXPECT_TRUE(c.focused->hasSelectedText() || c.focused->text().isEmpty());
    }
    EXPECT_GE(dialogs.beeps(), 2);
    s.fromRow()->setText("3");
    s.toRow()->setText("2");  // not above From Row: all rows to the end
    s.axis(2).max->setText("4");
    s.OKBtnClick();
  });
  ASSERT_EQ(plots().size(), 1u);
  EXPECT_EQ(plots()[0]->info().Lines[0].PointCount, 2);
  EXPECT_EQ(plots()[0]->info().Lines[0].FromRow, 3);
}

TEST_F(PlotWindow, OverlayNumbersOnAndPicksTheLeastRecentPlot) {
  frame->action(MenuItem::OverlayPlot)->trigger();  // no plot: nothing happens
  EXPECT_TRUE(dialogs.prompts().empty());
  for (int i = 0; i < 2; ++i)
    RunSetup(MenuItem::NewPlot, [](TPlotSetup& s) {
      SelectY(s, {1, 2, 3});
      s.colorPreview()->setTag(4);
      s.okButton()->click();
    });
  ASSERT_EQ(plots().size(), 2u);
  TPlotForm* older = plots()[1];
  RunSetup(MenuItem::OverlayPlot, [](TPlotSetup& s) {
    EXPECT_FALSE(s.axis(1).min->isEnabled());
    EXPECT_EQ(s.axis(2).ticks->text(), s.axis(2).ticks->text());
    SelectY(s, {1, 3});
    s.symbolPreview()->setTag(2);
    s.colorPreview()->setTag(7);
    s.okButton()->click();
  });
  EXPECT_EQ(dialogs.beeps(), 2);
  ASSERT_EQ(older->info().LineCount(), 5);
  const TPlotLine& fourth = older->info().Lines[3];
  const TPlotLine& fifth = older->info().Lines[4];
  EXPECT_EQ(fourth.LineNo, 4);
  EXPECT_EQ(fifth.LineNo, 5);
  EXPECT_EQ(fourth.Symbol, 2);
  EXPECT_EQ(fifth.Symbol, 3);
  EXPECT_EQ(fourth.Color, 7);
  EXPECT_EQ(fifth.Color, 8);
  EXPECT_EQ(fifth.YName, "Q");
  EXPECT_EQ(plots()[0]->info().LineCount(), 3);
}

TEST_F(PlotWindow, SaveOpenCloseQuestionAndDamagedFiles) {
  RunSetup(MenuItem::NewPlot, [](TPlotSetup& s) { s.okButton()->click(); });
  TPlotForm* plot = plots().at(0);
  const std::string spf = dir.file("work/ONE.SPF");
  ASSERT_TRUE(plot->saveDocument(spf));
  EXPECT_EQ(plot->caption(), spf);
  const TPlotInfo saved = plot->info();

  dialogs.answer(Button::No);
  ASSERT_TRUE(plot->closeQuery());
  EXPECT_EQ(dialogs.messages().back(), spf + " has been changed.  Save it?");
  EXPECT_EQ(dialogs.prompts().back().kind, WarningYesNoCancel);
  frame->FreeChild(plot);

  frame->ReadaFile(spf);
  ASSERT_EQ(plots().size(), 1u);
  EXPECT_EQ(plots()[0]->info(), saved);
  EXPECT_EQ(plots()[0]->caption(), spf);

  std::string damaged = dir.write("work/BAD.SPF", std::string(300, '\0'));
  frame->ReadaFile(damaged);
  EXPECT_EQ(plots().size(), 1u);
  EXPECT_EQ(dialogs.messages().back(), damaged + " is not a valid TALSHELL plot file: the file is too short.");
}

TEST_F(PlotWindow, ModifyPlotRefusesLogOfNonPositiveAndDeletesCurves) {
  RunSetup(MenuItem::NewPlot, [](TPlotSetup& s) {
    SelectY(s, {1, 2});
    s.okButton()->click();
  });
  TPlotForm* plot = plots().at(0);
  {
    TModPlot mod(*plot);
    EXPECT_EQ(mod.windowTitle().toStdString(), "Modify " + plot->caption());
    EXPECT_EQ(mod.lines()->currentText(), "T2 vs. TIME");
    mod.axis(2).log->setChecked(true);
    mod.axis(2).min->setText("0");
    mod.OKBtnClick();
    EXPECT_EQ(plot->info().YLog, 0);  // refused: the minimum of a log axis must be positive
    EXPECT_EQ(dialogs.messages().back(), "The Y axis is logarithmic: its minimum must be above 0.");
    EXPECT_TRUE(mod.axis(2).min->hasSelectedText());
    mod.axis(2).min->setText("1");
    mod.axis(1).ticks->setText("4");
    mod.grid(1)->setChecked(true);
    mod.OKBtnClick();
    EXPECT_EQ(plot->info().YLog, 1);
    EXPECT_EQ(plot->info().XTicks, 4);
    EXPECT_EQ(plot->info().XGrid, 1);
  }
  {
    TModPlot mod(*plot);
    mod.lines()->setCurrentIndex(0);
    mod.DeleteClick();
    ASSERT_EQ(plot->info().LineCount(), 1);
    EXPECT_EQ(plot->info().Lines[0].LineNo, 2);  // keeps its number
  }
  const std::size_t questions = dialogs.prompts().size();
  {
    TModPlot mod(*plot);
    mod.DeleteClick();  // the only curve: the window goes without a question
  }
  EXPECT_TRUE(plots().empty());
  EXPECT_EQ(dialogs.prompts().size(), questions);
}

TEST_F(PlotWindow, TheFrameFillsTheWindowUntilTheUserMovesOrSizesIt) {
  RunSetup(MenuItem::NewPlot, [](TPlotSetup& s) { s.okButton()->click(); });
  TPlotForm* plot = plots().at(0);
  QWidget* canvas = plot->canvas();
  frame->resize(1200, 900);
  frame->show();
  plot->subWindow()->resize(900, 600);
  QApplication::processEvents();
  const PlotFrame large = plot->frame();
  EXPECT_EQ(large, plot->FillingFrameNow());
  EXPECT_GT(large.Right - large.Left, 650);
  EXPECT_EQ(canvas->size(), plot->canvas()->parentWidget()->size());  // nothing to scroll
  plot->subWindow()->resize(600, 400);
  QApplication::processEvents();
  const PlotFrame f = plot->frame();
  EXPECT_EQ(f, plot->FillingFrameNow());
  EXPECT_EQ(f.Left, large.Left);
  EXPECT_LT(f.Right, large.Right - 250);

  const QPoint inside((f.Left + f.Right) / 2, (f.Top + f.Bottom) / 2);
  QTest::mousePress(canvas, Qt::LeftButton, {}, inside);
  QTest::mouseMove(canvas, inside + QPoint(30, 10));
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, inside + QPoint(30, 10));
  const PlotFrame moved{f.Left + 30, f.Top + 10, f.Right + 30, f.Bottom + 10};
  EXPECT_EQ(plot->frame(), moved);
  EXPECT_FALSE(plot->frameFollowsWindow());
  QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(moved.Right - 2, moved.Bottom - 2));  // the size grip
  QTest::mouseMove(canvas, QPoint(moved.Right + 40, moved.Bottom + 20));
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(moved.Right + 40, moved.Bottom + 20));
  const PlotFrame sized{moved.Left, moved.Top, moved.Right + 40, moved.Bottom + 20};
  EXPECT_EQ(plot->frame(), sized);
  QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(2, 2));  // outside: nothing
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(40, 40));
  plot->subWindow()->resize(900, 600);  // placed by hand: the window's size no longer moves it
  QApplication::processEvents();
  EXPECT_EQ(plot->frame(), sized);
}

namespace {
// A plot of y = x for x from 0 to 100 in a frame of 400 by 300 pixels placed by hand, so that
// pixel 300 is x 50 and pixel 170 is y 50.
TPlotForm* LinePlot(TTALSHELLFORM& frame) {
  auto* plot = new TPlotForm(&frame);
  TPlotInfo& info = plot->info();
  info.XMax = info.YMax = 100;
  info.XTicks = info.YTicks = 10;
  info.XFormat = info.YFormat = {1, 0};
  TPlotLine line;
  for (int i = 0; i <= 100; ++i) line.XValues.push_back(i), line.YValues.push_back(i);
  line.PointCount = 101;
  line.XName = "TIME", line.XUnit = "h", line.YName = "T1", line.YUnit = "C";
  info.Lines = {line};
  frame.resize(1000, 800);
  frame.show();  // the pointer moves over windows that are shown
  frame.AddChild(plot);
  plot->subWindow()->resize(700, 500);
  plot->PlaceFrame({100, 20, 500, 320});
  return plot;
}

void Wheel(QWidget* canvas, QPoint at, int delta, Qt::KeyboardModifiers modifiers = {}) {
  QWheelEvent event(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(canvas, &event);
}

struct Shown {
  double xMin, xMax;
  int xTicks;
  double yMin, yMax;
  int yTicks;
  bool operator==(const Shown&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Shown& s) {
  return out << "x " << s.xMin << ".." << s.xMax << "/" << s.xTicks << " y " << s.yMin << ".." << s.yMax << "/" << s.yTicks;
}
Shown ShownRanges(const TPlotForm& plot) {
  const TPlotInfo& i = plot.info();
  auto r = [](Real v) { return std::round(static_cast<double>(v) * 1e6) / 1e6; };
  return {r(i.XMin), r(i.XMax), i.XTicks, r(i.YMin), r(i.YMax), i.YTicks};
}
}  // namespace

TEST_F(PlotWindow, WheelRectangleDragKeysBackspaceAndZoomToFit) {
  TPlotForm* plot = LinePlot(*frame);
  QWidget* canvas = plot->canvas();
  const QPoint middle(300, 170);
  struct Step {
    std::string what;
    std::function<void()> act;
    Shown shown;
  } steps[] = {
      {"wheel in", [&] { Wheel(canvas, middle, 120); }, {10, 90, 8, 10, 90, 8}},
      {"Ctrl+wheel out: x only", [&] { Wheel(canvas, middle, -120, Qt::ControlModifier); }, {0, 100, 10, 10, 90, 8}},
      {"wheel outside the frame", [&] { Wheel(canvas, QPoint(50, 50), 120); }, {0, 100, 10, 10, 90, 8}},
      {"right-button rectangle",
       [&] {
         QTest::mousePress(canvas, Qt::RightButton, {}, QPoint(200, 100));
         QTest::mouseMove(canvas, QPoint(400, 250));
         QTest::mouseRelease(canvas, Qt::RightButton, {}, QPoint(400, 250));
       },
       {20, 80, 6, 25, 70, 9}},
      {"Right arrow: one tick interval", [&] { QTest::keyClick(canvas, Qt::Key_Right); }, {30, 90, 6, 25, 70, 9}},
      {"middle-button drag",
       [&] {
         QTest::mousePress(canvas, Qt::MiddleButton, {}, middle);
         QTest::mouseMove(canvas, middle + QPoint(-20, 0));
         QTest::mouseMove(canvas, middle + QPoint(-40, 0));
         QTest::mouseRelease(canvas, Qt::MiddleButton, {}, middle + QPoint(-40, 0));
       },
       {36, 96, 6, 25, 70, 9}},
      {"Backspace undoes the drag", [&] { QTest::keyClick(canvas, Qt::Key_Backspace); }, {30, 90, 6, 25, 70, 9}},
      {"and the key", [&] { QTest::keyClick(canvas, Qt::Key_Backspace); }, {20, 80, 6, 25, 70, 9}},
      {"and the rectangle", [&] { QTest::keyClick(canvas, Qt::Key_Backspace); }, {0, 100, 10, 10, 90, 8}},
      {"Home", [&] { QTest::keyClick(canvas, Qt::Key_Home); }, {0, 100, 10, 0, 100, 10}},
      {"Backspace after Zoom to Fit", [&] { QTest::keyClick(canvas, Qt::Key_Backspace); }, {0, 100, 10, 10, 90, 8}},
      {"Zoom to Fit in the Plot menu", [&] { frame->action(MenuItem::ZoomToFit)->trigger(); }, {0, 100, 10, 0, 100, 10}},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(ShownRanges(*plot), step.shown) << step.what;
  }
  EXPECT_TRUE(enabled(MenuItem::ZoomToFit));
  while (plot->ZoomBack()) {
  }
  EXPECT_EQ(ShownRanges(*plot), (Shown{0, 100, 10, 0, 100, 10}));  // where it began

  // Save keeps what is shown.
  Wheel(canvas, middle, 120);
  ASSERT_TRUE(plot->saveDocument(dir.file("work/ZOOM.SPF")));
  const SpfContent saved = ReadSpfFile(dir.file("work/ZOOM.SPF"));
  EXPECT_EQ(saved.info.XMin, plot->info().XMin);
  EXPECT_EQ(saved.info.XTicks, 8);
  EXPECT_EQ(saved.info.XFormat, plot->info().XFormat);
}

TEST_F(PlotWindow, StatusBarAndToolTipShowTheValuesUnderThePointer) {
  TPlotForm* plot = LinePlot(*frame);
  QWidget* canvas = plot->canvas();
  struct Case {
    QPoint at;
    std::string status, tip;
  } cases[] = {
      {{300, 170}, "x = 50.0 h, y = 50.0 C", "T1 vs. TIME\nTIME = 50 h\nT1 = 50 C"},
      {{302, 172}, "x = 50.5 h, y = 49.3 C", "T1 vs. TIME\nTIME = 50 h\nT1 = 50 C"},  // 2.8 pixels off the line
      {{300, 100}, "x = 50.0 h, y = 73.3 C", ""},                                       // far from it
      {{50, 50}, "", ""},                                                               // outside the frame
  };
  for (const Case& c : cases) {
    QTest::mouseMove(canvas, c.at);
    auto* place = frame->statusBar()->findChild<QLabel*>("CursorPlace");
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->text().toStdString(), c.status) << c.at.x() << "," << c.at.y();
    EXPECT_EQ(plot->toolTipText(), c.tip) << c.at.x() << "," << c.at.y();
  }
}

TEST_F(PlotWindow, LiveCurvesGrowAndReloadDataKeepsTheLook) {
  // The engine is writing its last row: that part row is read again once its line is whole.
  const std::string file = dir.write("work/LIVE.PLT", "TIME T1\nh C\n0 1\n1 2\n2 3\n3");
  RunSetup(MenuItem::NewPlot, [](TPlotSetup& s) {
    s.PlotFileListChange(s.fileList()->findText("LIVE.PLT"));
    s.MinMax(1);
    s.colorPreview()->setTag(4);
    s.linePreview()->setTag(2);
    s.okButton()->click();
  });
  TPlotForm* plot = plots().at(0);
  TPlotInfo& info = plot->info();
  ASSERT_EQ(info.Lines.at(0).PointCount, 4);
  EXPECT_EQ(info.XMax, 3);
  info.XLabel = "Time of day";
  info.YMin = -10, info.YMax = 10;  // chosen by hand
  plot->PlotChanged();
  EXPECT_FALSE(plot->PollDataFiles());

  auto append = [&](const std::string& bytes) {
    std::ofstream(file, std::ios::app | std::ios::binary) << bytes;
  };
  append(" 4\n4 5\n5 ");
  EXPECT_TRUE(plot->PollDataFiles());
  EXPECT_EQ(info.Lines[0].XValues, (std::vector<double>{0, 1, 2, 3, 4}));
  EXPECT_EQ(info.Lines[0].YValues, (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ(info.Lines[0].FileRows, 5);
  EXPECT_EQ(info.XMax, 4);  // the proposed range reaches on to the new end
  EXPECT_EQ(info.YMax, 10);
  EXPECT_FALSE(plot->PollDataFiles());  // a part line is no row yet

  // A new run writes the file anew: it waits for Reload Data, which keeps the look.
  dir.write("work/LIVE.PLT", "TIME T1\nh C\n0 7\n1 8\n");
  EXPECT_FALSE(plot->PollDataFiles());
  EXPECT_EQ(frame->statusBar()->currentMessage().toStdString(), "LIVE.PLT has been written anew: Reload Data reads it again.");
  EXPECT_EQ(info.Lines[0].PointCount, 5);
  frame->action(MenuItem::ReloadData)->trigger();
  EXPECT_EQ(info.Lines[0].YValues, (std::vector<double>{7, 8}));
  EXPECT_EQ(info.XMax, 1);
  EXPECT_EQ(info.YMax, 10);
  EXPECT_EQ(info.XLabel, "Time of day");
  EXPECT_EQ(info.Lines[0].Color, 4);
  EXPECT_EQ(info.Lines[0].LineStyle, 2);
  append("2 9\n");
  EXPECT_TRUE(plot->PollDataFiles());
  EXPECT_EQ(info.Lines[0].YValues, (std::vector<double>{7, 8, 9}));

  std::filesystem::remove(file);  // a file that is gone: Reload Data says so and keeps the curve
  frame->action(MenuItem::ReloadData)->trigger();
  EXPECT_EQ(dialogs.messages().back(), file + " cannot be opened for reading");
  EXPECT_EQ(info.Lines[0].PointCount, 3);
}

TEST_F(PlotWindow, ExportDataCopyAndTheNamesExportsPropose) {
  TPlotForm* plot = LinePlot(*frame);
  TPlotLine second = plot->info().Lines[0];  // a second curve on the same X values
  second.YName = "Q", second.YUnit = "kW";
  for (double& y : second.YValues) y = y / 8;
  plot->info().Lines.push_back(second);
  plot->info().Lines[0].Source.File = dir.file("work/HOUSE.PLT");
  plot->PlotChanged();
  std::string all = "TIME [h],T1 [C],Q [kW]\n";
  for (int i = 0; i <= 100; ++i) all += std::to_string(i) + "," + std::to_string(i) + "," + PlotValueText(i / 8.0) + "\n";
  EXPECT_EQ(all.substr(0, 48), "TIME [h],T1 [C],Q [kW]\n0,0,0\n1,1,0.125\n2,2,0.25\n");
  struct Case {
    int filter;
    std::string expected;
  } cases[] = {{0, all}, {1, ""}};
  Wheel(plot->canvas(), QPoint(300, 170), 120);  // in view: 10 to 90
  for (int i = 10; i <= 90; ++i) cases[1].expected += std::to_string(i) + "," + std::to_string(i) + "," + PlotValueText(i / 8.0) + "\n";
  cases[1].expected = "TIME [h],T1 [C],Q [kW]\n" + cases[1].expected;
  for (const Case& c : cases) {
    dialogs.answerText(dir.file("work/out"), c.filter);
    ASSERT_TRUE(enabled(MenuItem::ExportData));
    frame->action(MenuItem::ExportData)->trigger();
    ASSERT_FALSE(dialogs.prompts().empty());
    const FileDialogRequest& asked = dialogs.prompts().back().request;
    EXPECT_EQ(asked.fileName, "HOUSE.csv");
    EXPECT_EQ(asked.directory, dir.file("work"));
    EXPECT_EQ(ReadFile(dir.file("work/out.csv")), c.expected) << c.filter;
  }
  dialogs.answerCancel();
  frame->action(MenuItem::ExportPlot)->trigger();
  EXPECT_EQ(dialogs.prompts().back().request.fileName, "HOUSE.png");

  frame->action(MenuItem::Copy)->trigger();
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  EXPECT_TRUE(copied->hasImage());
  std::string tabs = cases[1].expected;
  std::replace(tabs.begin(), tabs.end(), ',', '\t');
  EXPECT_EQ(copied->text().toStdString(), tabs);
}

TEST_F(PlotWindow, AYearInHoursReadsAsDaysOrMonths) {
  TPlotForm* plot = LinePlot(*frame);
  TPlotInfo& info = plot->info();
  info.XMax = 8760;
  info.Lines[0].XValues.back() = 8760;
  plot->PlotChanged();
  {
    TModPlot mod(*plot);
    ASSERT_TRUE(mod.timeLabels()->isVisibleTo(&mod));
    EXPECT_EQ(mod.timeLabels()->currentText(), "Hours");
    mod.timeLabels()->setCurrentIndex(2);
    mod.OKBtnClick();
  }
  EXPECT_EQ(info.XTimeLabels, 2);
  QTest::mouseMove(plot->canvas(), QPoint(300, 170));  // half the year
  EXPECT_EQ(frame->statusBar()->findChild<QLabel*>("CursorPlace")->text().toStdString(),
            "x = 4380 h (2 Jul 12:00), y = 50.0 C");
  ASSERT_TRUE(plot->saveDocument(dir.file("work/YEAR.SPF")));
  EXPECT_EQ(ReadSpfFile(dir.file("work/YEAR.SPF")).info.XTimeLabels, 2);  // Save keeps it
  info.Lines[0].XName = "DAY";  // not TIME: no choice of labels
  TModPlot other(*plot);
  EXPECT_FALSE(other.timeLabels()->isVisibleTo(&other));
}

TEST_F(PlotWindow, PlotMenuOffersNewPlotOnlyBesidePlotData) {
  struct Case {
    std::string deck;  // "" names no deck
    std::vector<std::string> files;
    bool newPlot;
  } cases[] = {
      {"", {}, false},
      {"work/RUN1.DCK", {}, true},  // RUN1.PLT and A.OUT lie beside it
      {"plain/P.DCK", {"plain/P.DCK", "plain/P.LST", "plain/OUT.TXT"}, false},
      {"outs/O.DCK", {"outs/o.o2"}, true},  // an output file, in any letter case
      {"lower/L.DCK", {"lower/run.plt"}, true},
      {"folders/F.DCK", {"folders/X.PLT/inside"}, false},  // a folder is not plot data
  };
  for (const Case& c : cases) {
    for (const std::string& file : c.files) dir.write(file, "X\n1\n");
    frame->setCurrentInputDeck(c.deck.empty() ? "" : dir.file(c.deck));
    emit frame->menu(Menu::Plot)->aboutToShow();
    EXPECT_EQ(enabled(MenuItem::NewPlot), c.newPlot) << c.deck;
  }
}

TEST_F(PlotWindow, ExportWritesThePictureChosenOrSaysWhy) {
  RunSetup(MenuItem::NewPlot, [](TPlotSetup& s) { s.okButton()->click(); });
  struct Case {
    std::string answer;
    int filter;
    std::string written, start;  // the file written and its first bytes; "" when nothing is written
  } cases[] = {
      {"work/a.png", 0, "work/a.png", "\x89PNG"},
      {"work/b", 1, "work/b.svg", "<?xml"},  // no extension: the chosen filter's
      {"work/c", 2, "work/c.pdf", "%PDF"},
      {"work/d.Svg", 2, "work/d.Svg", "<?xml"},  // the name's own extension wins
      {"work/e.txt", 0, "", ""},
      {"missing/f.png", 0, "", ""},
  };
  for (const Case& c : cases) {
    const std::size_t messages = dialogs.messages().size(), asked = dialogs.prompts().size();
    dialogs.answerText(dir.file(c.answer), c.filter);
    frame->action(MenuItem::ExportPlot)->trigger();
    ASSERT_GT(dialogs.prompts().size(), asked);
    EXPECT_EQ(dialogs.prompts()[asked].type, Prompt::Type::SaveFile);
    if (c.written.empty()) {
      ASSERT_EQ(dialogs.messages().size(), messages + 1) << c.answer;
      EXPECT_NE(dialogs.messages().back().find(dir.file(c.answer)), std::string::npos) << dialogs.messages().back();
      EXPECT_FALSE(std::filesystem::exists(dir.file(c.answer)));
    } else {
      EXPECT_EQ(ReadFile(dir.file(c.written)).substr(0, c.start.size()), c.start) << c.answer;
      EXPECT_EQ(dialogs.messages().size(), messages) << c.answer;
    }
  }
  const std::size_t prompts = dialogs.prompts().size();
  dialogs.answerCancel();
  frame->action(MenuItem::ExportPlot)->trigger();
  EXPECT_EQ(dialogs.prompts().size(), prompts + 1);  // only the chooser, which was cancelled
}

}  // namespace
