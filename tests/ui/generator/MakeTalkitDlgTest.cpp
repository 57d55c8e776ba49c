// Make TALKIT file from the TALKIT menu: the dialog's lists and buttons, the save dialog, and
// opening the new form deck.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "../../core/generator/GeneratorData.h"
#include "../shell/ShellTestSupport.h"
#include "generator/DeckScan.h"
#include "generator/MakeTalkitDlg.h"
#include "generator/TalkitGenerator.h"
#include "shell/EditForm.h"

using namespace tal;

namespace {

QStringList Texts(const QListWidget* list, bool selectedOnly = false) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i)
    if (!selectedOnly || list->item(i)->isSelected()) texts << list->item(i)->text();
  return texts;
}

using MakeTalkit = taltest::ShellTest;

}  // namespace

TEST_F(MakeTalkit, ChoosesFieldsWritesTheFormDeckAndOpensIt) {
  gentest::WriteEngine(dir);
  CurrentSettings().talpixDir = dir.file("eng");
  CurrentSettings().includeHeader = 1;
  std::string deck = dir.write("A.DCK",
                               "SIMULATION 0 24 1\nUNIT 1 TYPE 1 Collector\nPARAMETERS 2\n2.5 K\nINPUTS 2\n0,0 3,1\n20 0\n"
                               "UNIT 2 TYPE 1 Second\nPARAMETERS 2\n3 0.5\nINPUTS 2\n0,0 0,0\n15 40\nUNIT 3 TYPE 8\nEND\n");
  makeFrame();
  addChild(KindCode::DeckEditor, deck);
  dialogs.answer(Button::Ok).answerText(dir.file("A.TKD")).answer(Button::Yes);  // type 8 has no file
  QTimer::singleShot(0, [&] {
    auto* dlg = frame->findChild<TMakeTALKITDlg*>();
    ASSERT_NE(dlg, nullptr);
    QApplication::setActiveWindow(dlg);  // so the lists get the focus they are given
    // Two units that would read the same are told apart by their cards.
    EXPECT_EQ(Texts(dlg->UnitBox), (QStringList{"TYPE 1 FLAT PLATE COLLECTOR  (UNIT 1 TYPE 1 Collector)",
                                                "TYPE 1 FLAT PLATE COLLECTOR  (UNIT 2 TYPE 1 Second)",
                                                "UNIT 3  - NO DATA AVAILABLE"}));
    EXPECT_TRUE(dlg->MarkNote->isVisibleTo(dlg));
    EXPECT_TRUE(dlg->MarkNote->text().startsWith("* before a parameter or an input: it cannot become a field"));
    EXPECT_TRUE(dlg->HeaderCheck->isChecked());
    EXPECT_EQ(Texts(dlg->ParBox), (QStringList{" Collector area", "*Efficiency"}));
    EXPECT_EQ(Texts(dlg->InpBox), (QStringList{" Inlet temperature", "*Flow rate"}));
    int beeps = dialogs.beeps();
    dlg->InpBox->item(1)->setSelected(true);  // connected: refused
    EXPECT_TRUE(Texts(dlg->InpBox, true).isEmpty());
    EXPECT_EQ(dialogs.beeps(), beeps + 1);
    dlg->ParBox->setFocus();
    dlg->AllBtn->click();
    EXPECT_EQ(Texts(dlg->ParBox, true), QStringList{" Collector area"});
    dlg->UnitBox->setCurrentRow(1);
    dlg->InpBox->setFocus();
    dlg->AllBtn->click();
    EXPECT_EQ(Texts(dlg->InpBox, true), (QStringList{" Inlet temperature", " Flow rate"}));
    dlg->NoneBtn->click();
    dlg->InpBox->item(1)->setSelected(true);
    dlg->UnitBox->setCurrentRow(0);
    EXPECT_EQ(Texts(dlg->ParBox, true), QStringList{" Collector area"});  // kept while another unit was shown
    dlg->OKBtn->click();
  });
  frame->action(MenuItem::MakeTalkitFile)->trigger();

  ASSERT_GE(dialogs.prompts().size(), 2u);
  const Prompt& save = dialogs.prompts()[1];  // after the message about type 8
  EXPECT_EQ(save.request.fileName, dir.file("A.TKD"));
  EXPECT_EQ(dialogs.messages().back(), OpenGeneratedFormQuestion(dir.file("A.TKD")));
  EXPECT_TRUE(dialogs.prompts().back().look.question) << "a question, not a warning";
  EXPECT_EQ(dialogs.prompts().back().look.caption, "Make TALKIT File");
  std::string text = taltest::ReadFile(dir.file("A.TKD"));
  EXPECT_TRUE(text.starts_with("*TALKIT\n*|*\n*|*Made for the tests\n*|*\nSIMULATION 0 24 1\n")) << text;
  EXPECT_NE(text.find("\nFLOW=40\n"), std::string::npos);
  ASSERT_NE(frame->FirstChildOfKind(KindCode::TalkitForm), nullptr);
  EXPECT_EQ(frame->FirstChildOfKind(KindCode::TalkitForm)->fileName(), dir.file("A.TKD"));
}

TEST_F(MakeTalkit, ChangesInTheEditorAreOfferedForSavingFirst) {
  std::string deck = dir.write("A.DCK", "SIMULATION 0 24 1\nEND\n");
  makeFrame();
  auto* editor = qobject_cast<TEditForm*>(frame->NewEditorWindow(deck));
  ASSERT_NE(editor, nullptr);
  editor->setText("SIMULATION 0 48 1\nEND\n");
  editor->setModified(true);
  dialogs.answer(Button::Yes).answerCancel();  // save, then cancel the file chooser of OK
  QTimer::singleShot(0, [&] {
    if (auto* dlg = frame->findChild<TMakeTALKITDlg*>()) dlg->OKBtn->click();
  });
  frame->action(MenuItem::MakeTalkitFile)->trigger();
  EXPECT_EQ(dialogs.messages().at(0), SaveBeforeMakingQuestion(deck));
  EXPECT_TRUE(taltest::ReadFile(deck).starts_with("SIMULATION 0 48 1\nEND\n"));
}
