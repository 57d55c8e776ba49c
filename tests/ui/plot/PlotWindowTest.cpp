#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "../shell/ShellTestSupport.h"
#include "plot/ModPlot.h"
#include "plot/PlotForm.h"
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
    EXPECT_FALSE(s.axis(1).log->isEnabled());
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

TEST_F(PlotWindow, DraggingMovesAndSizesTheFrame) {
  RunSetup(MenuItem::NewPlot, [](TPlotSetup& s) { s.okButton()->click(); });
  TPlotForm* plot = plots().at(0);
  QWidget* canvas = plot->canvas();
  QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(200, 100));
  QTest::mouseMove(canvas, QPoint(230, 110));
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(230, 110));
  EXPECT_EQ(plot->frame(), (PlotFrame{130, 30, 430, 235}));
  QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(428, 233));  // the size grip
  QTest::mouseMove(canvas, QPoint(480, 300));
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(480, 300));
  EXPECT_EQ(plot->frame(), (PlotFrame{130, 30, 480, 300}));
  QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(10, 10));  // outside: nothing
  QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(40, 40));
  EXPECT_EQ(plot->frame(), (PlotFrame{130, 30, 480, 300}));
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
