// The menu of both modes as the user sees it: captions, shortcuts, help numbers, check marks.
#include <QApplication>
#include <QMenuBar>

#include "ShellTestSupport.h"

using namespace tal;
using taltest::Captions;

namespace {
QStringList TopLevel(QMainWindow& frame) {
  QStringList titles;
  for (QAction* a : frame.menuBar()->actions()) titles << a->text();
  return titles;
}
}  // namespace

class MainMenu : public taltest::ShellTest {};

TEST_F(MainMenu, FullModeHasEveryMenuInOrder) {
  auto& f = makeFrame();
  EXPECT_EQ(f.windowTitle(), "TALSHELL 32");
  EXPECT_EQ(TopLevel(f), (QStringList{"&File", "&Edit", "&TALPIX", "T&ALKIT", "&Parametrics", "&Utilities", "&Plot",
                                      "&Windows", "&Help"}));
  EXPECT_EQ(Captions(f.menu(Menu::File)), (QStringList{"&New", "&Open", "&Save", "Save &as", "-", "&Print",
                                                       "Print Setup", "-", "Se&tup", "-", "E&xit"}));
  EXPECT_EQ(Captions(f.menu(Menu::Edit)), (QStringList{"Undo", "Cut", "&Copy", "&Paste", "Clear", "-", "&Find",
                                                       "&Replace", "Search &Again", "&Go to Line..."}));
  EXPECT_EQ(Captions(f.menu(Menu::Talpix)), (QStringList{"&Calculate", "&Run Table", "Run Table on Cl&uster", "-",
                                                         "&Compile Module",
                                                         "&Rebuild TALPIX", "-", "Execute User Command", "-",
                                                         "S&top", "Run &Log"}));
  EXPECT_EQ(Captions(f.menu(Menu::Talkit)), (QStringList{"Make TALKIT file", "&Edit TALKIT file"}));
  EXPECT_EQ(Captions(f.menu(Menu::Parametrics)),
            (QStringList{"&New Table", "&Alter Table", "&Insert/Delete Runs", "Insert/Delete Vars", "-", "Table &Results"}));
  EXPECT_EQ(Captions(f.menu(Menu::Utilities)), (QStringList{"VOXEN", "LUMET", "ORVA", "KANTO", "MIRELL"}));
  EXPECT_EQ(Captions(f.menu(Menu::Plot)), (QStringList{"&New Plot", "&Overlay Plot", "&Modify Plot", "-", "Zoom to &Fit", "&Reload Data", "-", "&Export", "Export &Data"}));
  QStringList windows = Captions(f.menu(Menu::Windows));
  EXPECT_EQ(windows.mid(0, 9),
            (QStringList{"Input", "Output", "Listing", "Table", "Diagram", "&Problems", "-", "&Tile", "&Cascade"}));
  EXPECT_EQ(Captions(f.menu(Menu::Help)), (QStringList{"TAL&SHELL Index", "Ty&pes Index", "&TALPIX Index",
                                                       "TALPIX &Error Messages", "-", "&About TALSHELL",
                                                       "TALPIX Website"}));
  EXPECT_EQ(f.action(MenuItem::PrimaryUnits), nullptr);
  EXPECT_EQ(f.action(MenuItem::AboutTalkit), nullptr);
}

TEST_F(MainMenu, ShortcutsAndHelpContexts) {
  auto& f = makeFrame();
  const struct {
    MenuItem item;
    const char* shortcut;
    int help;
  } expected[] = {
      {MenuItem::New, "Ctrl+N", 34},      {MenuItem::Open, "Ctrl+O", 3},         {MenuItem::Save, "Ctrl+S", 33},
      {MenuItem::SaveAs, "", 44},         {MenuItem::Print, "Ctrl+P", 45},       {MenuItem::PrintSetup, "", 24},
      {MenuItem::Setup, "", 22},          {MenuItem::Exit, "Ctrl+Q", 49},        {MenuItem::Undo, "Ctrl+Z", 0},
      {MenuItem::Cut, "Ctrl+X", 51},      {MenuItem::Copy, "Ctrl+C", 52},        {MenuItem::Paste, "Ctrl+V", 53},
      {MenuItem::Clear, "", 54},          {MenuItem::Find, "Ctrl+F", 55},        {MenuItem::Replace, "", 57},
      {MenuItem::SearchAgain, "F3", 56},  {MenuItem::GoToLine, "Ctrl+G", 0},    {MenuItem::Calculate, "F8", 39},       {MenuItem::RunTable, "", 40},
      {MenuItem::CompileModule, "", 41},  {MenuItem::RebuildTalpix, "", 42},     {MenuItem::ExecuteUserCommand, "", 116},
      {MenuItem::MakeTalkitFile, "", 31}, {MenuItem::EditTalkitFile, "", 35},    {MenuItem::NewTable, "", 64},
      {MenuItem::AlterTable, "", 65},     {MenuItem::InsertDeleteRuns, "", 68},  {MenuItem::InsertDeleteVars, "", 69},
      {MenuItem::Voxen, "", 17},          {MenuItem::Lumet, "", 59},             {MenuItem::Orva, "", 60},
      {MenuItem::Kanto, "", 61},          {MenuItem::Mirell, "", 62},            {MenuItem::NewPlot, "", 70},
      {MenuItem::OverlayPlot, "", 71},    {MenuItem::ModifyPlot, "", 73},        {MenuItem::Input, "", 122},
      {MenuItem::Output, "", 81},         {MenuItem::Listing, "", 82},           {MenuItem::Table, "", 79},
      {MenuItem::Diagram, "", 83},        {MenuItem::Tile, "", 124},             {MenuItem::Cascade, "", 125},
      {MenuItem::TalshellIndex, "", 126}, {MenuItem::TypesIndex, "", 127},       {MenuItem::TalpixIndex, "", 128},
      {MenuItem::TalpixErrorMessages, "", 129}, {MenuItem::AboutTalshell, "", 1}, {MenuItem::TalpixWebsite, "", 0},
  };
  for (const auto& e : expected) {
    QAction* a = f.action(e.item);
    ASSERT_NE(a, nullptr) << static_cast<int>(e.item);
    EXPECT_EQ(a->shortcut(), QKeySequence(e.shortcut)) << a->text().toStdString();
    EXPECT_EQ(HelpContextOf(a), e.help) << a->text().toStdString();
  }
}

TEST_F(MainMenu, WindowsEntriesStartDisabledWithThePlaceholderOutput) {
  auto& f = makeFrame();
  for (MenuItem item : {MenuItem::Input, MenuItem::Output, MenuItem::Listing, MenuItem::Table, MenuItem::Diagram})
    EXPECT_FALSE(enabled(item)) << static_cast<int>(item);
  EXPECT_EQ(Captions(f.outputMenu()), QStringList{"Name.out"});
  EXPECT_TRUE(enabled(MenuItem::Tile));
}

TEST_F(MainMenu, TalkitModeRebuildsTheMenuForForms) {
  CurrentSettings().units = 1;
  auto& f = makeFrame(true);
  EXPECT_EQ(f.windowTitle(), "TALKIT");
  EXPECT_EQ(QCoreApplication::applicationName(), "TALKIT");
  EXPECT_EQ(TopLevel(f), (QStringList{"&File", "&TALPIX", "&Parametrics", "&Plot", "&Windows", "&Help"}));
  EXPECT_EQ(Captions(f.menu(Menu::File)),
            (QStringList{"&Open", "&Save", "Save &as", "-", "&Print", "Print Setup", "-", "E&xit"}));
  EXPECT_EQ(Captions(f.menu(Menu::Talpix)), (QStringList{"&Calculate", "&Run Table", "Primary Units",
                                                         "Secondary Units", "-", "User Command", "-", "S&top",
                                                         "Run &Log"}));
  EXPECT_EQ(Captions(f.menu(Menu::Help)), (QStringList{"TALKIT Help", "-", "About TALKIT", "TALPIX Website"}));
  QStringList windows = Captions(f.menu(Menu::Windows));
  EXPECT_EQ(windows.mid(0, 11), (QStringList{"Input", "Output", "Listing", "Table", "Diagram", "&Problems", "-",
                                             "&Tile", "&Cascade", "-", "About TALKIT"}));
  for (MenuItem gone : {MenuItem::New, MenuItem::Setup, MenuItem::Undo, MenuItem::Find, MenuItem::CompileModule,
                        MenuItem::RebuildTalpix, MenuItem::ExecuteUserCommand, MenuItem::MakeTalkitFile,
                        MenuItem::Voxen, MenuItem::TypesIndex, MenuItem::TalpixIndex, MenuItem::TalpixErrorMessages})
    EXPECT_EQ(f.action(gone), nullptr) << static_cast<int>(gone);
  EXPECT_EQ(f.menu(Menu::Edit), nullptr);
  EXPECT_EQ(f.menu(Menu::Utilities), nullptr);
  EXPECT_EQ(f.menu(Menu::Talkit), nullptr);
  EXPECT_TRUE(f.action(MenuItem::PrimaryUnits)->isChecked());
  EXPECT_FALSE(f.action(MenuItem::SecondaryUnits)->isChecked());
  EXPECT_EQ(f.fileMenuHeadSize(), 8);
}

TEST_F(MainMenu, TalkitModeChecksSecondaryUnitsForAnyOtherSetting) {
  CurrentSettings().units = 2;
  auto& f = makeFrame(true);
  EXPECT_FALSE(f.action(MenuItem::PrimaryUnits)->isChecked());
  EXPECT_TRUE(f.action(MenuItem::SecondaryUnits)->isChecked());
}

TEST_F(MainMenu, UnitsItemsSwitchTheSettingAndTheirCheckMarks) {
  CurrentSettings().units = 1;
  auto& f = makeFrame(true);
  QAction* primary = f.action(MenuItem::PrimaryUnits);
  QAction* secondary = f.action(MenuItem::SecondaryUnits);
  secondary->trigger();
  EXPECT_EQ(CurrentSettings().units, 2);
  EXPECT_TRUE(secondary->isChecked());
  EXPECT_FALSE(primary->isChecked());
  secondary->trigger();  // already secondary: nothing changes, the mark stays
  EXPECT_EQ(CurrentSettings().units, 2);
  EXPECT_TRUE(secondary->isChecked());
  primary->trigger();
  EXPECT_EQ(CurrentSettings().units, 1);
  EXPECT_TRUE(primary->isChecked());
  EXPECT_FALSE(secondary->isChecked());
  EXPECT_TRUE(dialogs.prompts().empty());
}

TEST_F(MainMenu, UtilitiesMenuNamesItsFirstItemWhenItOpens) {
  auto& f = makeFrame();
  f.action(MenuItem::Voxen)->setText("stale");
  emit f.menu(Menu::Utilities)->aboutToShow();
  EXPECT_EQ(f.action(MenuItem::Voxen)->text(), "VOXEN");
}

TEST_F(MainMenu, IndexFilesOfTheProgramDirectoryAreFoundAndItBecomesTheWorkingDirectory) {
  dir.write("projects.idx", "x");
  dir.write("Alpha.IDX", "x");
  dir.write("notes.txt", "x");
  std::filesystem::create_directory(dir.file("zz.idx"));  // a folder is not an index file
  auto& f = makeFrame();
  EXPECT_TRUE(f.indexPresent());
  EXPECT_EQ(f.lastIndexFile(), "projects.idx");
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.path()));
}

TEST_F(MainMenu, NoIndexFilesMeansNoIndex) {
  auto& f = makeFrame();
  EXPECT_FALSE(f.indexPresent());
  EXPECT_EQ(f.lastIndexFile(), "");
}
