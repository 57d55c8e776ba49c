// The settings dialog: filling its fields, applying them on OK and Cancel, Store, the link
// bitmaps and the engine's switch file.
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "runs/SetupDialog.h"
#include "support/ScriptedInteraction.h"

using namespace tal;
using taltest::TempDir;

namespace {

const std::string Switches = "TALPIX CONFIGURATION 14\ny status\nN header\nY labels\nN units\nn unlinked\nY io\nN warn\n";

SettingsRecord Sample() {
  SettingsRecord s;
  s.units = 2;
  s.includeHeader = 1;
  s.includeSimulationCard = 0;
  s.compileCommand = "fl32 /c";
  s.rebuildCommand = "make -f MAKTAL.DAT";
  s.userCommand = "xterm";
  s.talpixDir = "/opt/talpix";
  s.voxenDir = "/opt/voxen";
  s.lumetDir = "/opt/lumet";
  s.orvaDir = "/opt/orva";
  s.kantoDir = "/opt/kanto";
  s.mirellDir = "/opt/mirell";
  s.linkEntries = {"/bin/app1", "", "/bin/app3", "", "/bin/fifth"};
  s.reservedIntegers[3] = 77;
  return s;
}

class SetupDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("CNFGTL.TAL", Switches);
    settings = Sample();
  }
  // Opens the dialog's fields as Execute does, without waiting in its loop.
  bool show() {
    dialog.SetTarget(settings, dir.path(), [this](int from, int to) { conversions.push_back({from, to}); });
    return dialog.FormShow();
  }
  TempDir dir;
  SettingsRecord settings;
  std::vector<std::pair<int, int>> conversions;
  ScriptedInteraction user;
  TSetupDlg dialog;
};

}  // namespace

TEST_F(SetupDialogTest, LayoutCaptionsAndTabs) {
  EXPECT_EQ(dialog.windowTitle(), "TALSHELL Setup");
  EXPECT_EQ(dialog.tabs->tabPosition(), QTabWidget::South);
  QStringList tabs;
  for (int i = 0; i < dialog.tabs->count(); ++i) tabs << dialog.tabs->tabText(i);
  EXPECT_EQ(tabs, QStringList({"Configure", "TALKIT", "Compiler", "Directories", "Links"}));
  EXPECT_EQ(dialog.switches[3]->text(), "Write Output Units");
  EXPECT_EQ(dialog.storeButton->text(), "Store");
  EXPECT_TRUE(dialog.version->isHidden());
  EXPECT_EQ(dialog.compile->text(), "\\F32\\BIN\\FL32.EXE /c");  // before any settings are shown
  EXPECT_EQ(dialog.directories[3]->text(), "C:\\TALPIX14\\ORVA");
}

TEST_F(SetupDialogTest, ShowingFillsEveryFieldFromTheSettingsAndTheSwitchFile) {
  ASSERT_TRUE(show());
  EXPECT_TRUE(dialog.secondaryUnits->isChecked());
  EXPECT_TRUE(dialog.header->isChecked());
  EXPECT_FALSE(dialog.simulationCard->isChecked());
  EXPECT_TRUE(dialog.bit16->isChecked());
  EXPECT_EQ(dialog.compile->text(), "fl32 /c");
  EXPECT_EQ(dialog.rebuild->text(), "make -f MAKTAL.DAT");
  EXPECT_EQ(dialog.userCommand->text(), "xterm");
  EXPECT_EQ(dialog.directories[0]->text(), "/opt/talpix");
  EXPECT_EQ(dialog.directories[5]->text(), "/opt/mirell");
  EXPECT_EQ(dialog.links[2]->text(), "/bin/app3");
  EXPECT_EQ(dialog.voxenLabel->text(), "VOXEN");
  std::vector<bool> checked;
  for (auto* box : dialog.switches) checked.push_back(box->isChecked());
  EXPECT_EQ(checked, (std::vector<bool>{true, false, true, false, false, true, false}));
  EXPECT_TRUE(user.prompts().empty());
}

TEST_F(SetupDialogTest, CancelStillAppliesTheFieldsAndRewritesTheSwitchFile) {
  ASSERT_TRUE(show());
  dialog.compile->setText("gfortran -c");
  dialog.directories[4]->setText("/usr/local/kanto");
  dialog.switches[6]->setChecked(true);
  dialog.cancelButton->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(settings.compileCommand, "gfortran -c");
  EXPECT_EQ(settings.kantoDir, "/usr/local/kanto");
  EXPECT_EQ(taltest::ReadFile(dir.file("CNFGTL.TAL")),
            "TALPIX CONFIGURATION 14\nY status\nN header\nY labels\nN units\nN unlinked\nY io\nY warn\n");
  EXPECT_EQ(taltest::ReadFile(dir.file("CNFGTL.BAK")), Switches);
  EXPECT_FALSE(taltest::Exists(dir.file("TALSHELL.DFT")));  // only Store writes the settings file
  EXPECT_TRUE(user.messages().empty());
}

TEST_F(SetupDialogTest, ClosingTheWindowCountsAsCancelAndUnchangedSwitchesAreNotWritten) {
  const auto before = std::filesystem::last_write_time(dir.file("CNFGTL.TAL"));
  ASSERT_TRUE(show());
  dialog.userCommand->setText("make clean");
  dialog.reject();
  EXPECT_EQ(settings.userCommand, "make clean");
  ASSERT_TRUE(show());
  dialog.okButton->click();
  EXPECT_EQ(taltest::ReadFile(dir.file("CNFGTL.TAL")), Switches);
  EXPECT_EQ(std::filesystem::last_write_time(dir.file("CNFGTL.TAL")), before);
  EXPECT_FALSE(taltest::Exists(dir.file("CNFGTL.BAK")));
}

TEST_F(SetupDialogTest, UnitsChangeConvertsOpenFormsOnce) {
  ASSERT_TRUE(show());
  dialog.okButton->click();
  EXPECT_TRUE(conversions.empty());  // unchanged units convert nothing
  EXPECT_EQ(settings.units, 2);

  ASSERT_TRUE(show());
  dialog.primaryUnits->setChecked(true);
  dialog.okButton->click();
  EXPECT_EQ(conversions, (std::vector<std::pair<int, int>>{{2, 1}}));
  EXPECT_EQ(settings.units, 1);
}

TEST_F(SetupDialogTest, ApplyKeepsTheHiddenVersionAndClearsTheFifthLink) {
  settings.version32 = 1;
  ASSERT_TRUE(show());
  EXPECT_TRUE(dialog.bit32->isChecked());
  dialog.simulationCard->setChecked(true);
  dialog.header->setChecked(false);
  dialog.okButton->click();
  EXPECT_EQ(settings.version32, 1);
  EXPECT_EQ(settings.includeHeader, 0);
  EXPECT_EQ(settings.includeSimulationCard, 1);
  EXPECT_EQ(settings.linkEntries[4], "");
  EXPECT_EQ(settings.linkEntries[0], "/bin/app1");
}

TEST_F(SetupDialogTest, StoreWritesTheSettingsFile) {
  ASSERT_TRUE(show());
  dialog.directories[0]->setText("/srv/talpix");
  dialog.storeButton->click();
  EXPECT_EQ(settings.talpixDir, "/srv/talpix");
  std::string bytes = taltest::ReadFile(dir.file("TALSHELL.DFT"));
  EXPECT_EQ(bytes.size(), SettingsFileSize);
  SettingsRecord back;
  ASSERT_TRUE(ReadDFT(dir.path(), back).ok);
  EXPECT_EQ(back, settings);
  EXPECT_EQ(back.reservedIntegers[3], 77);
}

TEST_F(SetupDialogTest, StoreThatCannotWriteSaysSo) {
  ASSERT_TRUE(show());
  std::filesystem::create_directory(dir.file("TALSHELL.DFT"));  // in the way of the file
  dir.write("TALSHELL.DFT/keep", "");
  dialog.storeButton->click();
  ASSERT_EQ(user.messages().size(), 1u);
  EXPECT_NE(user.messages()[0].find(dir.file("TALSHELL.DFT")), std::string::npos) << user.messages()[0];
  EXPECT_EQ(user.prompts()[0].kind, ErrorOk);
}

TEST_F(SetupDialogTest, LinkBitmapsAreChosenShownAndStored) {
  QImage single(16, 16, QImage::Format_RGB32);
  single.fill(Qt::red);
  std::string singlePath = dir.file("one.bmp");
  ASSERT_TRUE(single.save(QString::fromStdString(singlePath), "BMP"));
  QImage pair(32, 16, QImage::Format_RGB32);
  pair.fill(Qt::blue);
  std::string pairPath = dir.file("two.bmp");
  ASSERT_TRUE(pair.save(QString::fromStdString(pairPath), "BMP"));

  ASSERT_TRUE(show());
  user.answerText(singlePath).answerText(pairPath).answerCancel();
  dialog.linkButtons[0]->click();
  dialog.linkButtons[1]->click();
  dialog.linkButtons[2]->click();  // cancelled: nothing changes
  ASSERT_EQ(user.prompts().size(), 3u);
  EXPECT_EQ(user.prompts()[0].type, Prompt::Type::OpenFile);
  EXPECT_EQ(user.prompts()[0].request.title, "Select a bitmap for the button (16 x 16 or 32 x 16 pixels)");
  EXPECT_EQ(user.prompts()[0].request.filters, std::vector<std::string>{"Bitmaps (*.bmp)"});
  EXPECT_FALSE(dialog.linkButtons[0]->icon().isNull());
  EXPECT_TRUE(dialog.linkButtons[2]->icon().isNull());
  // A 32-pixel bitmap gives the button a picture of its own for the disabled state.
  QImage disabled = dialog.linkButtons[1]->icon().pixmap(16, 16, QIcon::Disabled).toImage();
  EXPECT_EQ(disabled.pixelColor(8, 8), QColor(Qt::blue));

  dialog.links[1]->setText("/bin/app2\x01old.bmp");  // an old bitmap part typed into the field
  dialog.okButton->click();
  EXPECT_EQ(settings.linkEntries[0], "/bin/app1");
  EXPECT_EQ(settings.linkBitmaps[0], singlePath);
  EXPECT_EQ(settings.linkEntries[1], "/bin/app2");
  EXPECT_EQ(settings.linkBitmaps[1], pairPath);
  EXPECT_EQ(settings.linkBitmaps[2], "");
}

TEST_F(SetupDialogTest, ALinkAndItsBitmapMustFitInOneStoredText) {
  // A bitmap path of 100 characters beside a link of 150: 251 characters with the separator fit,
  // a link of 160 would not.
  std::string bitmap = dir.file(std::string(100 - dir.path().size() - 5, 'b') + ".bmp");
  ASSERT_EQ(bitmap.size(), 100u);
  QImage picture(16, 16, QImage::Format_RGB32);
  picture.fill(Qt::green);
  ASSERT_TRUE(picture.save(QString::fromStdString(bitmap), "BMP"));
  ASSERT_TRUE(show());

  dialog.links[0]->setText(QString(160, 'L'));
  user.answerText(bitmap);
  dialog.linkButtons[0]->click();
  ASSERT_EQ(user.messages(), std::vector<std::string>{"Link 1 and its bitmap " + bitmap +
                                                      " take 261 characters; at most 255 fit in the settings file."});
  EXPECT_EQ(user.prompts().back().kind, ErrorOk);
  EXPECT_TRUE(dialog.linkButtons[0]->icon().isNull());
  EXPECT_EQ(dialog.links[0]->text().size(), 160);  // the link is kept as typed

  dialog.links[0]->setText(QString(150, 'L'));
  user.answerText(bitmap);
  dialog.linkButtons[0]->click();
  EXPECT_EQ(user.messages().size(), 1u);
  EXPECT_FALSE(dialog.linkButtons[0]->icon().isNull());
  // With the bitmap chosen the field takes only what still fits beside it.
  dialog.links[0]->setText(QString(200, 'M'));
  EXPECT_EQ(dialog.links[0]->text().size(), 154);

  dialog.storeButton->click();
  SettingsRecord back;
  ASSERT_TRUE(ReadDFT(dir.path(), back).ok);
  EXPECT_EQ(back.linkEntries[0], std::string(154, 'M'));
  EXPECT_EQ(back.linkBitmaps[0], bitmap);  // stored whole, so still there on the next start
}

TEST_F(SetupDialogTest, FrontEndVariantRenamesTheVoxenDirectory) {
  dir.write("TALSHELL.INI", "FrontEnd=MERODIN\n");
  ASSERT_TRUE(show());
  EXPECT_EQ(dialog.voxenLabel->text(), "Merodin");
}

// Each directory field has a Browse button (the folder chooser) and a warning while its folder
// does not exist; OK keeps what was typed.
TEST_F(SetupDialogTest, DirectoryFieldsBrowseAndWarnOfMissingFolders) {
  settings.talpixDir = dir.path();
  ASSERT_TRUE(show());
  EXPECT_TRUE(dialog.directoryWarnings[0]->isHidden());
  EXPECT_FALSE(dialog.directoryWarnings[5]->isHidden());
  EXPECT_EQ(dialog.directoryWarnings[5]->text().toStdString(), MissingFolderWarning("/opt/mirell"));
  EXPECT_EQ(dialog.browseButtons[5]->text(), "Browse...");

  dir.write("kanto/.keep", "");
  user.answerText(dir.file("kanto"));
  dialog.browseButtons[4]->click();
  EXPECT_EQ(user.prompts().at(0).text, "Select the KANTO directory");
  EXPECT_EQ(user.prompts().at(0).request.directory, "/opt/kanto");
  EXPECT_EQ(dialog.directories[4]->text().toStdString(), dir.file("kanto"));
  EXPECT_TRUE(dialog.directoryWarnings[4]->isHidden());

  dialog.directories[0]->setText("/no/such/folder");
  EXPECT_FALSE(dialog.directoryWarnings[0]->isHidden());
  dialog.okButton->click();
  EXPECT_EQ(settings.talpixDir, "/no/such/folder");
  EXPECT_EQ(settings.kantoDir, dir.file("kanto"));
}
