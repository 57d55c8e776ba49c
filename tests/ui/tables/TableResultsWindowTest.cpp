// Table Results, the results grid and its plots, over the files a fake engine left for a table of
// three runs (the third left none): the question and the kept choice, blank cells with their
// reason, Copy and Export Results, Plot Results and Overlay Runs in plot windows.
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTableWidget>

#include "../shell/ShellTestSupport.h"
#include "plot/PlotForm.h"
#include "tables/TableForm.h"
#include "tables/TableResultsForm.h"

using namespace tal;

namespace {

class TableResultsWindow : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    makeFrame();
    TableModel model(3, {"PHEAT ", "KTANK "});
    model.deckFileName = dir.write("HOUSE.DCK", "CONSTANTS 2\nPHEAT = 6\nKTANK = 0.15\n");
    model.tableFileName = dir.file("HOUSE.TBL");
    for (int r = 1; r <= 3; ++r) {
      model.setValue(1, r, 2 * r);
      model.setValue(2, r, 0.25L * (4 - r));
    }
    dir.write("HOUSE.PLT", "TIME Q T\nh KW C\n0 0 40\n1 2 44\n");
    dir.write("HOUSE1.PLT", "TIME Q T\nh KW C\n0 1 30\n2 1 31\n");
    auto* table = new TTableForm(frame.get());
    table->SetTable(model);
    frame->setTableWindow(table);
    frame->AddChild(table);
  }
  TTableResultsForm* results() const { return frame->findChild<TTableResultsForm*>(); }
  void press(const char* button) { results()->findChild<QPushButton*>(button)->click(); }
  TPlotForm* plot(const std::string& caption) const {
    for (TChildForm* child : frame->children())
      if (auto* plot = qobject_cast<TPlotForm*>(child); plot && plot->caption() == caption) return plot;
    return nullptr;
  }
};

}  // namespace

TEST_F(TableResultsWindow, AsksKeepsTheChoiceAndShowsTheGrid) {
  ASSERT_TRUE(enabled(MenuItem::TableResults));
  dialogs.answerText("Q:average").answer(Button::Ok).answerText("Q:integral, T:max");
  frame->action(MenuItem::TableResults)->trigger();
  ASSERT_EQ(dialogs.prompts().size(), 3u);
  EXPECT_EQ(dialogs.prompts()[0].request.fileName, "Q:last");  // the first column after TIME
  EXPECT_NE(dialogs.prompts()[0].text.find("Columns: TIME (h), Q (KW), T (C)"), std::string::npos);
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"unknown statistic \"average\" in \"Q:average\" (one of last, "
                                                          "min, max, mean, sum, integral)"});
  EXPECT_EQ(taltest::ReadFile(dir.file("HOUSE.TRS")), "Q:integral\nT:max\n");

  ASSERT_NE(results(), nullptr);
  QTableWidget* grid = results()->grid();
  ASSERT_EQ(grid->rowCount(), 3);
  ASSERT_EQ(grid->columnCount(), 5);
  EXPECT_EQ(grid->horizontalHeaderItem(3)->text(), "Q:integral\nKW*h");
  struct Cell {
    int row, column;
    const char* text;
    const char* tip;
  };
  const Cell cells[] = {{0, 1, "2", ""}, {0, 2, "0.75", ""}, {0, 3, "1", ""}, {1, 3, "2", ""}, {1, 4, "31", ""},
                        {2, 3, "", "Run 3 left no plot or output file (HOUSE2.PLT, HOUSE2.O*)."}};
  for (const Cell& c : cells) {
    EXPECT_EQ(grid->item(c.row, c.column)->text(), c.text) << c.row << "," << c.column;
    EXPECT_EQ(grid->item(c.row, c.column)->toolTip(), c.tip) << c.row << "," << c.column;
  }
  press("Copy");
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
            "run\tPHEAT\tKTANK\tQ:integral\tT:max\r\n1\t2\t0.75\t1\t44\r\n2\t4\t0.5\t2\t31\r\n3\t6\t0.25\t\t\r\n");
  dialogs.answerText(dir.file("study"));
  press("Export Results");
  EXPECT_EQ(taltest::ReadFile(dir.file("study.csv")), "run,PHEAT,KTANK,Q:integral,T:max\n1,2,0.75,1,44\n2,4,0.5,2,31\n3,6,0.25,,\n");

  // The next Table Results proposes the kept choice; a run the table run reports failed is blank.
  dialogs.clear();
  dialogs.answerText("Q:integral, T:max");
  frame->action(MenuItem::TableResults)->trigger();
  EXPECT_EQ(dialogs.prompts()[0].request.fileName, "Q:integral, T:max");
  frame->TableRunEnded(dir.file("HOUSE.DCK"), {{1, "Run 1: TALPIX32 ended with exit status 3."}});
  EXPECT_EQ(results()->grid()->item(0, 3)->text(), "");
  EXPECT_EQ(results()->grid()->item(0, 3)->toolTip(), "Run 1: TALPIX32 ended with exit status 3.");
}

TEST_F(TableResultsWindow, PlotResultsAndOverlayRunsDrawInPlotWindows) {
  dialogs.answerText("Q:integral");
  frame->action(MenuItem::TableResults)->trigger();
  ASSERT_NE(results(), nullptr);

  dialogs.answerText("nothing").answer(Button::Ok).answerText("ktank");
  press("Plot Results");
  EXPECT_EQ(dialogs.messages().back(), "\"nothing\" is not a variable of the table.");
  ASSERT_NE(plot("Plot Results: Q:integral"), nullptr);
  const TPlotInfo& result = plot("Plot Results: Q:integral")->info();
  ASSERT_EQ(result.LineCount(), 1);
  EXPECT_EQ(result.Lines[0].XValues, (std::vector<double>{0.5, 0.75}));  // in increasing KTANK
  EXPECT_EQ(result.Lines[0].YValues, (std::vector<double>{2, 1}));
  EXPECT_EQ(result.XLabel, "KTANK");
  EXPECT_EQ(result.YLabel, "Q:integral KW*h");
  EXPECT_GT(result.Lines[0].Symbol, 0);

  dialogs.clear();
  dialogs.answerText("T");
  press("Overlay Runs");
  ASSERT_NE(plot("Overlay Runs: T"), nullptr);
  const TPlotInfo& overlay = plot("Overlay Runs: T")->info();
  ASSERT_EQ(overlay.LineCount(), 2);
  EXPECT_EQ(overlay.Lines[0].YName, "PHEAT=2, KTANK=0.75");
  EXPECT_EQ(overlay.Lines[1].YName, "PHEAT=4, KTANK=0.5");
  EXPECT_NE(overlay.Lines[0].Color, overlay.Lines[1].Color);
  EXPECT_EQ(overlay.ShowLegend, 1);
  EXPECT_EQ(overlay.Lines[1].YValues, (std::vector<double>{30, 31}));
  EXPECT_EQ(dialogs.messages(),
            std::vector<std::string>{"Some runs have no curve:\nRun 3 left no plot or output file (HOUSE2.PLT, HOUSE2.O*)."});

  // Saved as any plot is, and read back whole.
  ASSERT_TRUE(plot("Overlay Runs: T")->Save(dir.file("OVERLAY.SPF")));
  TChildForm* reopened = frame->NewPlotWindow(dir.file("OVERLAY.SPF"));
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(qobject_cast<TPlotForm*>(reopened)->info().Lines[0].YName, "PHEAT=2, KTANK=0.75");
}
