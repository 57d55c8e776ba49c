// The table window and the Parametrics commands: New Table from a deck, reading and closing a
// table file, the clipboard, Alter Table, Insert/Delete Runs and Vars, and printing in blocks.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <utility>

#include "../shell/ShellTestSupport.h"
#include "shell/EditForm.h"
#include "shell/PrintCommand.h"
#include "tables/AlterValuesDialog.h"
#include "tables/InsertRunsDialog.h"
#include "tables/NewTableDialog.h"
#include "tables/TableFile.h"
#include "tables/TableForm.h"
#include "tables/TablePrint.h"

using namespace tal;

namespace {

constexpr const char* Deck =
    "CONSTANTS 4\nCC = 1\n*|Third|m|ft|\nAA = 2\nBB = 3\nDD = 4\nEND\n";

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

// Acts on the modal dialog of type D once it shows.
template <typename D>
void WhenShown(std::function<void(D&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
}

class TableWindow : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    deck = dir.write("work/solar.dck", Deck);
    makeFrame();
  }
  TTableForm* table() { return qobject_cast<TTableForm*>(frame->tableWindow()); }
  // New Table on the deck with the given items moved over one by one.
  TTableForm* newTable(const QStringList& names, const QString& runs = "5") {
    addChild(KindCode::DeckEditor, deck);
    WhenShown<TNewTableDlg>([names, runs](TNewTableDlg& dlg) {
      for (const QString& name : names) {
        dlg.srcList->clearSelection();
        dlg.srcList->findItems(name, Qt::MatchExactly).front()->setSelected(true);
        dlg.IncludeBtnClick();
      }
      dlg.runsEdit->setText(runs);
      dlg.OKBtnClick();
    });
    frame->NewTable1Click();
    return table();
  }
  std::string deck;
};

}  // namespace

TEST_F(TableWindow, NewTableListsTheConstantsAndMakesAChangedTable) {
  addChild(KindCode::DeckEditor, deck);
  WhenShown<TNewTableDlg>([](TNewTableDlg& dlg) {
    EXPECT_EQ(dlg.windowTitle(), "New Parametric Table");
    EXPECT_EQ(Items(dlg.srcList), (QStringList{"AA ", "BB ", "CC ", "DD "}));
    EXPECT_FALSE(dlg.okBtn->isEnabled());
    for (int i : {0, 1, 2}) dlg.srcList->item(i)->setSelected(true);
    dlg.IncludeBtnClick();
    EXPECT_EQ(Items(dlg.dstList), (QStringList{"CC ", "BB ", "AA "})) << "several arrive in reverse order";
    EXPECT_TRUE(dlg.srcList->item(0)->isSelected());
    dlg.ExAllBtnClick();
    dlg.IncAllBtnClick();
    EXPECT_EQ(Items(dlg.dstList), (QStringList{"AA ", "BB ", "CC ", "DD "})) << ">> keeps the order";
    dlg.ShowInformation(dlg.dstList->item(2));
    EXPECT_EQ(dlg.unitLine->text(), "[ft]");
    EXPECT_EQ(dlg.descriptionLine->text(), "Third");
    dlg.runsEdit->setText("10000");
    dlg.OKBtnClick();
    EXPECT_TRUE(dlg.isVisible()) << "more runs than a table holds";
    dlg.runsEdit->setText("3");
    dlg.OKBtnClick();
  });
  frame->NewTable1Click();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{RunsOutOfRangeMessage});
  ASSERT_NE(table(), nullptr);
  EXPECT_EQ(table()->caption(), dir.file("work/solar.TBL"));
  EXPECT_EQ(table()->windowTitle().toStdString(), "solar.TBL - " + dir.file("work")) << "a cut title keeps the name";
  EXPECT_EQ(table()->table().runs(), 3);
  EXPECT_EQ(CellText(table()->table(), 4, 3), "Enter value");
  EXPECT_EQ(frame->action(MenuItem::Table)->text().toStdString(), "Table " + dir.file("work/solar.TBL"));
  EXPECT_TRUE(enabled(MenuItem::RunTable));
  EXPECT_TRUE(enabled(MenuItem::AlterTable));

  // A new table asks before it closes; Cancel keeps it, Yes writes it.
  dialogs.answer(Button::Cancel).answer(Button::Yes);
  EXPECT_FALSE(table()->closeQuery());
  EXPECT_TRUE(table()->closeQuery());
  EXPECT_EQ(dialogs.messages().back(), dir.file("work/solar.TBL") + " has been changed.  Save it?");
  EXPECT_EQ(taltest::ReadFile(dir.file("work/solar.TBL")).size(), TableFileSize(3, 4));
}

TEST_F(TableWindow, DeckWithoutConstantsOpensNoDialog) {
  addChild(KindCode::DeckEditor, dir.write("work/PLAIN.DCK", "SIMULATION 0 1 1\nEND\n"));
  frame->NewTable1Click();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"File " + dir.file("work/PLAIN.DCK") +
                                                         " does not have any TALPIX Comment statements."});
  EXPECT_EQ(table(), nullptr);
}

TEST_F(TableWindow, ReadingTablesAndTheirDecks) {
  TableModel model(2, {"AA ", "BB "});
  model.deckFileName = "/elsewhere/solar.dck";  // moved: found beside the table
  model.setValue(1, 1, 2.5L);
  ASSERT_EQ(SaveTable(model, dir.file("work/solar.TBL")), "");
  dir.write("work/BAD.TBL", std::string(300, '\0'));

  frame->ReadaFile(dir.file("work/solar.TBL"));
  ASSERT_NE(table(), nullptr);
  EXPECT_EQ(table()->table().deckFileName, deck);
  EXPECT_EQ(CellText(table()->table(), 1, 1), "2.500");
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_TRUE(table()->closeQuery()) << "an unchanged table closes without a question";
  EXPECT_TRUE(dialogs.prompts().empty());

  frame->ReadaFile(dir.file("work/BAD.TBL"));
  EXPECT_EQ(table(), nullptr);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].rfind("File " + dir.file("work/BAD.TBL") + " is not a valid table file: ", 0), 0u);
}

TEST_F(TableWindow, CopyPasteAndClearThroughTheEditMenu) {
  TTableForm* t = newTable({"AA ", "BB "}, "3");
  ASSERT_NE(t, nullptr);
  QApplication::clipboard()->setText("1\t2\t3\n-INF\tINF\n");
  t->grid()->setCurrentIndex(t->gridModel()->index(0, 0));
  frame->Paste1Click();
  EXPECT_EQ(CopyText(t->table(), {1, 1, 2, 2}), "1.0000\t2.000\r\n-inf\t ");
  t->grid()->selectionModel()->select(QItemSelection(t->gridModel()->index(0, 0), t->gridModel()->index(1, 1)),
                                      QItemSelectionModel::ClearAndSelect);
  frame->Cut1Click();
  EXPECT_EQ(QApplication::clipboard()->text(), "1.0000\t2.000\r\n-inf\t ");
  EXPECT_EQ(CellText(t->table(), 2, 2), "Enter value");
  QApplication::clipboard()->setText("x");
  frame->Paste1Click();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Bad number in row 1 column 1"});

  // An edit in the grid marks the table; its editor starts with the cell's text.
  t->table().modified = false;
  EXPECT_EQ(t->gridModel()->data(t->gridModel()->index(2, 1), Qt::EditRole).toString(), "Enter value");
  t->gridModel()->setData(t->gridModel()->index(2, 1), " ", Qt::EditRole);
  EXPECT_EQ(CellText(t->table(), 2, 3), " ");
  EXPECT_TRUE(t->table().modified);
}

TEST_F(TableWindow, AlterInsertAndDeleteRunsAndVars) {
  TTableForm* t = newTable({"AA ", "BB "});
  ASSERT_NE(t, nullptr);
  WhenShown<TAlterValuesDlg>([](TAlterValuesDlg& dlg) {
    EXPECT_EQ(dlg.firstRunV->text(), "1");
    EXPECT_EQ(dlg.lastRunV->text(), "5");
    // Each value field has its label on its left, on its own line.
    for (auto [label, field] : {std::pair<QWidget*, QWidget*>{dlg.firstValueLabel, dlg.firstValue},
                                std::pair<QWidget*, QWidget*>{dlg.lastIncBox, dlg.incOrLast}}) {
      const QRect l = label->geometry(), f = field->geometry();
      EXPECT_LT(l.right(), f.left());
      EXPECT_TRUE(f.top() <= l.center().y() && l.center().y() <= f.bottom()) << label->objectName().toStdString();
    }
    dlg.firstValue->setText("10");
    dlg.SetSecondValue(SecondValue::LastValue);
    dlg.incOrLast->setText("20");
    dlg.ApplyBtnClick();
    dlg.listBox->setCurrentRow(1);
    dlg.firstValue->setText("1");
    dlg.SetSecondValue(SecondValue::Multiplier);
    dlg.incOrLast->setText("oops");
    dlg.OKBtnClick();
    EXPECT_TRUE(dlg.isVisible()) << "a bad number keeps the dialog open";
    EXPECT_TRUE(dlg.incOrLast->hasSelectedText());
    dlg.incOrLast->setText("2");
    dlg.lastRunV->setText("3");
    dlg.OKBtnClick();
  });
  frame->AlterTable1Click();
  EXPECT_EQ(dialogs.beeps(), 1);
  EXPECT_EQ(CopyText(t->table(), {1, 1, 2, 5}),
            "10.00\t1.0000\r\n12.50\t2.000\r\n15.00\t4.000\r\n17.50\tEnter value\r\n20.00\tEnter value");

  WhenShown<TInsertRunsDlg>([](TInsertRunsDlg& dlg) {
    EXPECT_EQ(dlg.windowTitle(), "Insert or Delete Table Runs");
    dlg.rowsEdit->setText("3");
    dlg.afterRow->setChecked(true);
    dlg.afterRowEdit->setText("6");
    dlg.OKBtnClick();
    EXPECT_TRUE(dlg.isVisible()) << "after a run the table does not have";
    dlg.afterRowEdit->setText("2");
    dlg.OKBtnClick();
  });
  frame->InsertDeleteRuns1Click();
  EXPECT_EQ(CopyText(t->table(), {1, 1, 1, 8}),
            "10.00\r\n12.50\r\nEnter value\r\nEnter value\r\nEnter value\r\n15.00\r\n17.50\r\n20.00");

  WhenShown<TNewTableDlg>([](TNewTableDlg& dlg) {
    EXPECT_EQ(Items(dlg.dstList), (QStringList{"AA ", "BB "}));
    EXPECT_EQ(Items(dlg.srcList), (QStringList{"CC ", "DD "}));
    dlg.dstList->item(0)->setSelected(true);
    dlg.ExcludeBtnClick();
    dlg.srcList->clearSelection();
    dlg.srcList->findItems("DD ", Qt::MatchExactly).front()->setSelected(true);
    dlg.IncludeBtnClick();
    dlg.OKBtnClick();
  });
  frame->InsertDeleteVars1Click();
  EXPECT_EQ(CopyText(t->table(), {1, 0, 2, 2}), "BB \tDD \r\n1.0000\tEnter value\r\n2.000\tEnter value");

  // Deleting every run closes the window, after its question.
  dialogs.answer(Button::No);
  WhenShown<TInsertRunsDlg>([](TInsertRunsDlg& dlg) {
    dlg.deleteRows->setChecked(true);
    dlg.rowsEdit->setText("8");
    dlg.OKBtnClick();
  });
  frame->InsertDeleteRuns1Click();
  QApplication::processEvents();
  EXPECT_EQ(table(), nullptr);
  EXPECT_EQ(dialogs.messages().back(), dir.file("work/solar.TBL") + " has been changed.  Save it?");
}

TEST_F(TableWindow, PrintsColumnsInBlocksAcrossPages) {
  EXPECT_EQ(TablePrintBlocks({100, 100, 100, 900, 100}, 50, 500),
            (std::vector<std::vector<int>>{{1, 2, 3}, {4}, {5}}));
  auto savedCheck = PrinterInstalledCheck();
  PrinterInstalledCheck() = [] { return false; };
  std::vector<std::string> names;
  for (int i = 0; i < 14; ++i) names.push_back("VARIABLE_" + std::to_string(i));
  TableModel model(3, names);
  model.setValue(14, 3, 123456.0L);
  auto* t = new TTableForm(frame.get());
  t->SetTable(model);
  frame->AddChild(t);
  dialogs.answerText(dir.file("table.pdf"));
  ASSERT_TRUE(PrintWindows({t}, frame.get()));
  PrinterInstalledCheck() = savedCheck;
  QProcess text;
  text.start("pdftotext", {"-layout", QString::fromStdString(dir.file("table.pdf")), "-"});
  text.waitForFinished(30000);
  const QString out = QString::fromLatin1(text.readAllStandardOutput());
  // The first block starts with column 1 and ends before the last; the last is in a later block.
  const int first = out.indexOf("VARIABLE_0 "), last = out.indexOf("VARIABLE_13");
  ASSERT_GE(first, 0) << out.toStdString();
  ASSERT_GT(last, first);
  EXPECT_GT(out.mid(first, last - first).count("Enter value"), 3) << "runs of the first block come first";
  EXPECT_TRUE(out.contains("123456"));
}

TEST_F(TableWindow, EveryChangeOfValuesOrShapeMakesClosingAsk) {
  TableModel model(4, {"AA ", "BB "});
  model.deckFileName = deck;
  for (int r = 1; r <= 4; ++r) model.setValue(1, r, r);
  ASSERT_EQ(SaveTable(model, dir.file("work/solar.TBL")), "");
  frame->ReadaFile(dir.file("work/solar.TBL"));
  TTableForm* t = table();
  ASSERT_NE(t, nullptr);
  auto selectFirstCells = [t] {
    t->grid()->setCurrentIndex(t->gridModel()->index(0, 0));
    t->grid()->selectionModel()->select(QItemSelection(t->gridModel()->index(0, 0), t->gridModel()->index(1, 0)),
                                        QItemSelectionModel::ClearAndSelect);
  };
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"Paste", [&] { QApplication::clipboard()->setText("7"); selectFirstCells(); frame->Paste1Click(); }},
      {"Clear", [&] { selectFirstCells(); frame->Clear1Click(); }},
      {"Cut", [&] { t->table().setValue(1, 1, 5); t->table().modified = false; selectFirstCells(); frame->Cut1Click(); }},
      {"Alter Table", [&] {
         WhenShown<TAlterValuesDlg>([](TAlterValuesDlg& dlg) {
           dlg.firstValue->setText("3");
           dlg.incOrLast->setText("1");
           dlg.OKBtnClick();
         });
         frame->AlterTable1Click();
       }},
      {"Insert Runs", [&] {
         WhenShown<TInsertRunsDlg>([](TInsertRunsDlg& dlg) { dlg.rowsEdit->setText("1"); dlg.OKBtnClick(); });
         frame->InsertDeleteRuns1Click();
       }},
      {"Delete Runs", [&] {
         WhenShown<TInsertRunsDlg>([](TInsertRunsDlg& dlg) {
           dlg.deleteRows->setChecked(true);
           dlg.rowsEdit->setText("1");
           dlg.OKBtnClick();
         });
         frame->InsertDeleteRuns1Click();
       }},
      {"Insert/Delete Vars", [&] {
         WhenShown<TNewTableDlg>([](TNewTableDlg& dlg) { dlg.IncAllBtnClick(); dlg.OKBtnClick(); });
         frame->InsertDeleteVars1Click();
       }},
  };
  for (const auto& [command, change] : changes) {
    t->table().modified = false;
    change();
    dialogs.answer(Button::Cancel);
    EXPECT_FALSE(t->closeQuery()) << command;
    EXPECT_EQ(dialogs.messages().back(), dir.file("work/solar.TBL") + " has been changed.  Save it?") << command;
  }
}

TEST_F(TableWindow, ANewDocumentNeverSilentlyReplacesTheFileItsProposedNameNames) {
  const std::string kept = dir.write("work/solar.TBL", "the table the user keeps");
  dir.write("NoName2.DCK", "a deck the user keeps\n");  // New names its editors in the current folder
  ASSERT_NE(frame->NewEditorWindow(deck), nullptr);
  WhenShown<TNewTableDlg>([](TNewTableDlg& dlg) {
    dlg.IncAllBtnClick();
    dlg.OKBtnClick();
  });
  frame->NewTable1Click();
  ASSERT_NE(table(), nullptr);
  frame->New1Click();
  auto* editor = qobject_cast<TEditForm*>(frame->lastCreatedEditor());
  ASSERT_NE(editor, nullptr);
  editor->setText("CONSTANTS 0\n");
  editor->setModified(true);

  // The table's close question, then Save: each goes through the save chooser, here cancelled.
  dialogs.answer(Button::Yes).answerCancel().answerCancel().answerCancel();
  EXPECT_FALSE(table()->closeQuery());
  frame->Save1Click();
  int choosers = 0;
  for (const Prompt& prompt : dialogs.prompts()) choosers += prompt.type == Prompt::Type::SaveFile;
  EXPECT_EQ(choosers, 3) << "the table twice, the new editor once";
  EXPECT_EQ(taltest::ReadFile(kept), "the table the user keeps");
  EXPECT_EQ(editor->fileName(), "NoName2.DCK") << "the deck's editor took number 1";
  EXPECT_EQ(taltest::ReadFile(dir.file("NoName2.DCK")), "a deck the user keeps\n");

  // A name chosen in the chooser is the table's own: later saves write it without asking.
  dialogs.answerText(dir.file("work/study.TBL"));
  frame->SaveAsWindow(table());
  EXPECT_EQ(taltest::ReadFile(dir.file("work/study.TBL")).size(), TableFileSize(10, 4));
  EXPECT_FALSE(table()->firstSaveGoesThroughSaveAs());
  EXPECT_EQ(taltest::ReadFile(kept), "the table the user keeps");
}
