#include "shell/TalshellForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <algorithm>
#include <filesystem>

#include "runs/FrontEnd.h"
#include "shell/ChildPlacement.h"
#include "shell/FocusAfterDialogs.h"
#include "shell/WindowIcons.h"
#include "runs/SettingsFile.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/Program.h"
#include "support/QtStrings.h"
#include "support/Text.h"

namespace tal {
namespace {

// One row of the menu as the frame builds it in full mode. A separator has no item.
struct MenuEntry {
  Menu menu;
  const char* caption;  // "-" for a separator
  MenuItem item;
  const char* shortcut;
  int helpContext;  // 0: none
};

constexpr MenuItem NoItem = MenuItem::New;  // unused for separators

const MenuEntry FullMenu[] = {
    {Menu::File, "&New", MenuItem::New, "Ctrl+N", 34},
    {Menu::File, "&Open", MenuItem::Open, "Ctrl+O", 3},
    {Menu::File, "&Save", MenuItem::Save, "Ctrl+S", 33},
    {Menu::File, "Save &as", MenuItem::SaveAs, "", 44},
    {Menu::File, "-", NoItem, "", 0},
    {Menu::File, "&Print", MenuItem::Print, "Ctrl+P", 45},
    {Menu::File, "Print Setup", MenuItem::PrintSetup, "", 24},
    {Menu::File, "-", NoItem, "", 0},
    {Menu::File, "Se&tup", MenuItem::Setup, "", 22},
    {Menu::File, "-", NoItem, "", 0},
    {Menu::File, "E&xit", MenuItem::Exit, "Ctrl+Q", 49},
    {Menu::Edit, "Undo", MenuItem::Undo, "Ctrl+Z", 0},
    {Menu::Edit, "Cut", MenuItem::Cut, "Ctrl+X", 51},
    {Menu::Edit, "&Copy", MenuItem::Copy, "Ctrl+C", 52},
    {Menu::Edit, "&Paste", MenuItem::Paste, "Ctrl+V", 53},
    {Menu::Edit, "Clear", MenuItem::Clear, "", 54},
    {Menu::Edit, "-", NoItem, "", 0},
    {Menu::Edit, "&Find", MenuItem::Find, "Ctrl+F", 55},
    {Menu::Edit, "&Replace", MenuItem::Replace, "", 57},
    {Menu::Edit, "Search &Again", MenuItem::SearchAgain, "F3", 56},
    {Menu::Edit, "&Go to Line...", MenuItem::GoToLine, "Ctrl+G", 0},
    {Menu::Talpix, "&Calculate", MenuItem::Calculate, "F8", 39},
    {Menu::Talpix, "&Run Table", MenuItem::RunTable, "", 40},
    {Menu::Talpix, "Run Table on Cl&uster", MenuItem::RunTableOnCluster, "", 40},
    {Menu::Talpix, "-", NoItem, "", 0},
    {Menu::Talpix, "&Compile Module", MenuItem::CompileModule, "", 41},
    {Menu::Talpix, "&Rebuild TALPIX", MenuItem::RebuildTalpix, "", 42},
    {Menu::Talpix, "-", NoItem, "", 0},
    {Menu::Talpix, "Execute User Command", MenuItem::ExecuteUserCommand, "", 116},
    {Menu::Talkit, "Make TALKIT file", MenuItem::MakeTalkitFile, "", 31},
    {Menu::Talkit, "&Edit TALKIT file", MenuItem::EditTalkitFile, "", 35},
    {Menu::Parametrics, "&New Table", MenuItem::NewTable, "", 64},
    {Menu::Parametrics, "&Alter Table", MenuItem::AlterTable, "", 65},
    {Menu::Parametrics, "&Insert/Delete Runs", MenuItem::InsertDeleteRuns, "", 68},
    {Menu::Parametrics, "Insert/Delete Vars", MenuItem::InsertDeleteVars, "", 69},
    {Menu::Parametrics, "-", NoItem, "", 0},
    {Menu::Parametrics, "Table &Results", MenuItem::TableResults, "", 0},
    {Menu::Utilities, "VOXEN", MenuItem::Voxen, "", 17},
    {Menu::Utilities, "LUMET", MenuItem::Lumet, "", 59},
    {Menu::Utilities, "ORVA", MenuItem::Orva, "", 60},
    {Menu::Utilities, "KANTO", MenuItem::Kanto, "", 61},
    {Menu::Utilities, "MIRELL", MenuItem::Mirell, "", 62},
    {Menu::Plot, "&New Plot", MenuItem::NewPlot, "", 70},
    {Menu::Plot, "&Overlay Plot", MenuItem::OverlayPlot, "", 71},
    {Menu::Plot, "&Modify Plot", MenuItem::ModifyPlot, "", 73},
    {Menu::Plot, "-", NoItem, "", 0},
    {Menu::Plot, "Zoom to &Fit", MenuItem::ZoomToFit, "", 0},
    {Menu::Plot, "&Reload Data", MenuItem::ReloadData, "", 0},
    {Menu::Plot, "-", NoItem, "", 0},
    {Menu::Plot, "&Export", MenuItem::ExportPlot, "", 0},
    {Menu::Plot, "Export &Data", MenuItem::ExportData, "", 0},
    {Menu::Windows, "Input", MenuItem::Input, "", 122},
    {Menu::Windows, "Output", MenuItem::Output, "", 81},
    {Menu::Windows, "Listing", MenuItem::Listing, "", 82},
    {Menu::Windows, "Table", MenuItem::Table, "", 79},
    {Menu::Windows, "Diagram", MenuItem::Diagram, "", 83},
    {Menu::Windows, "-", NoItem, "", 0},
    {Menu::Windows, "&Tile", MenuItem::Tile, "", 124},
    {Menu::Windows, "&Cascade", MenuItem::Cascade, "", 125},
    {Menu::Help, "TAL&SHELL Index", MenuItem::TalshellIndex, "", 126},
    {Menu::Help, "Ty&pes Index", MenuItem::TypesIndex, "", 127},
    {Menu::Help, "&TALPIX Index", MenuItem::TalpixIndex, "", 128},
    {Menu::Help, "TALPIX &Error Messages", MenuItem::TalpixErrorMessages, "", 129},
    {Menu::Help, "-", NoItem, "", 0},
    {Menu::Help, "&About TALSHELL", MenuItem::AboutTalshell, "", 1},
    {Menu::Help, "TALPIX Website", MenuItem::TalpixWebsite, "", 0},
};

struct MenuTitle {
  Menu menu;
  const char* caption;
};

const MenuTitle MenuTitles[] = {
    {Menu::File, "&File"},       {Menu::Edit, "&Edit"},           {Menu::Talpix, "&TALPIX"},
    {Menu::Talkit, "T&ALKIT"},   {Menu::Parametrics, "&Parametrics"}, {Menu::Utilities, "&Utilities"},
    {Menu::Plot, "&Plot"},       {Menu::Windows, "&Windows"},     {Menu::Help, "&Help"},
};

constexpr int FullFileMenuHead = 11;
constexpr int TalkitFileMenuHead = 8;

void SetHelpContext(QAction* action, int helpContext) {
  if (helpContext > 0) action->setProperty(HelpContextProperty, helpContext);
}

}  // namespace

int HelpContextOf(const QAction* action) {
  if (!action) return 0;
  QVariant value = action->property(HelpContextProperty);
  return value.isValid() ? value.toInt() : 0;
}

TTALSHELLFORM::TTALSHELLFORM(QWidget* parent) : QMainWindow(parent) {
  mdi_ = new QMdiArea(this);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  connect(mdi_, &QMdiArea::subWindowActivated, this, &TTALSHELLFORM::SubWindowActivated);

  setWindowIcon(ProgramIcon(Program().talkitMode));
  BuildMenus();
  ConnectCommands();
  if (Program().talkitMode)
    RebuildMenuForTalkit();
  else
    setWindowTitle("TALSHELL 32");

  if (recentFiles_.load(Program().directory)) FixFileNameList();

  editorCount_ = 0;
  setSearchMode(false, false);
  currentPlotFile_.clear();
  tableWindow_ = nullptr;
  currentInputDeck_.clear();
  SetUpRunControls();
  UpdateMenu();

  FindIndexFiles();
  new TFocusAfterDialogs(this);
}

TTALSHELLFORM::~TTALSHELLFORM() {
  // The child windows go in QWidget's destructor, after this one has destroyed the members; as
  // they go the area reports the next active window, which must no longer reach the frame
  // (UpdateMenu would read the destroyed members).
  disconnect(mdi_, nullptr, this, nullptr);
}

void TTALSHELLFORM::BuildMenus() {
  for (const auto& title : MenuTitles) menus_[title.menu] = menuBar()->addMenu(title.caption);
  for (const auto& entry : FullMenu) {
    QMenu* target = menus_[entry.menu];
    if (std::string_view(entry.caption) == "-") {
      target->addSeparator();
      continue;
    }
    QAction* action;
    if (entry.item == MenuItem::Output) {
      outputMenu_ = target->addMenu(entry.caption);
      action = outputMenu_->menuAction();
      outputMenu_->addAction("Name.out");
    } else {
      action = target->addAction(entry.caption);
    }
    if (*entry.shortcut) action->setShortcut(QKeySequence(entry.shortcut));
    SetHelpContext(action, entry.helpContext);
    actions_[entry.item] = action;
  }
  // The menu shows the plot window's own Home key; bound only within the menu, so that Home keeps
  // its meaning in editors.
  actions_[MenuItem::ZoomToFit]->setShortcut(QKeySequence(Qt::Key_Home));
  actions_[MenuItem::ZoomToFit]->setShortcutContext(Qt::WidgetShortcut);
  for (MenuItem item : {MenuItem::Input, MenuItem::Output, MenuItem::Listing, MenuItem::Table, MenuItem::Diagram})
    actions_[item]->setEnabled(false);
  windowListSeparator_ = menus_[Menu::Windows]->addSeparator();
  windowListSeparator_->setVisible(false);
}

void TTALSHELLFORM::ConnectCommands() {
  const std::pair<MenuItem, void (TTALSHELLFORM::*)()> commands[] = {
      {MenuItem::New, &TTALSHELLFORM::New1Click},
      {MenuItem::Open, &TTALSHELLFORM::Open1Click},
      {MenuItem::Save, &TTALSHELLFORM::Save1Click},
      {MenuItem::SaveAs, &TTALSHELLFORM::Saveas1Click},
      {MenuItem::Print, &TTALSHELLFORM::Print1Click},
      {MenuItem::PrintSetup, &TTALSHELLFORM::PrintSetup1Click},
      {MenuItem::Setup, &TTALSHELLFORM::Setup1Click},
      {MenuItem::Exit, &TTALSHELLFORM::Exit1Click},
      {MenuItem::Undo, &TTALSHELLFORM::Undo1Click},
      {MenuItem::Cut, &TTALSHELLFORM::Cut1Click},
      {MenuItem::Copy, &TTALSHELLFORM::Copy1Click},
      {MenuItem::Paste, &TTALSHELLFORM::Paste1Click},
      {MenuItem::Clear, &TTALSHELLFORM::Clear1Click},
      {MenuItem::Find, &TTALSHELLFORM::Find1Click},
      {MenuItem::Replace, &TTALSHELLFORM::Replace1Click},
      {MenuItem::SearchAgain, &TTALSHELLFORM::SearchAgain1Click},
      {MenuItem::GoToLine, &TTALSHELLFORM::GoToLine1Click},
      {MenuItem::Calculate, &TTALSHELLFORM::Calculate1Click},
      {MenuItem::RunTable, &TTALSHELLFORM::RunTable1Click},
      {MenuItem::RunTableOnCluster, &TTALSHELLFORM::RunTableOnCluster1Click},
      {MenuItem::CompileModule, &TTALSHELLFORM::CompileModule1Click},
      {MenuItem::RebuildTalpix, &TTALSHELLFORM::RebuildTALPIX1Click},
      {MenuItem::ExecuteUserCommand, &TTALSHELLFORM::ExecuteUserCommand1Click},
      {MenuItem::MakeTalkitFile, &TTALSHELLFORM::MakeTALKITfile1Click},
      {MenuItem::EditTalkitFile, &TTALSHELLFORM::EditTALKITfile1Click},
      {MenuItem::NewTable, &TTALSHELLFORM::NewTable1Click},
      {MenuItem::AlterTable, &TTALSHELLFORM::AlterTable1Click},
      {MenuItem::InsertDeleteRuns, &TTALSHELLFORM::InsertDeleteRuns1Click},
      {MenuItem::InsertDeleteVars, &TTALSHELLFORM::InsertDeleteVars1Click},
      {MenuItem::TableResults, &TTALSHELLFORM::TableResults1Click},
      {MenuItem::Voxen, &TTALSHELLFORM::VOXEN1Click},
      {MenuItem::Lumet, &TTALSHELLFORM::LUMET1Click},
      {MenuItem::Orva, &TTALSHELLFORM::ORVA1Click},
      {MenuItem::Kanto, &TTALSHELLFORM::KANTO1Click},
      {MenuItem::Mirell, &TTALSHELLFORM::MIRELL1Click},
      {MenuItem::NewPlot, &TTALSHELLFORM::NewPlot1Click},
      {MenuItem::OverlayPlot, &TTALSHELLFORM::OverlayPlot1Click},
      {MenuItem::ModifyPlot, &TTALSHELLFORM::ModifyPlot1Click},
      {MenuItem::ZoomToFit, &TTALSHELLFORM::ZoomToFit1Click},
      {MenuItem::ReloadData, &TTALSHELLFORM::ReloadData1Click},
      {MenuItem::ExportPlot, &TTALSHELLFORM::ExportPlot1Click},
      {MenuItem::ExportData, &TTALSHELLFORM::ExportData1Click},
      {MenuItem::Input, &TTALSHELLFORM::Input1Click},
      {MenuItem::Listing, &TTALSHELLFORM::Listing1Click},
      {MenuItem::Table, &TTALSHELLFORM::Table1Click},
      {MenuItem::Diagram, &TTALSHELLFORM::Diagram1Click},
      {MenuItem::Tile, &TTALSHELLFORM::Tile1Click},
      {MenuItem::Cascade, &TTALSHELLFORM::Cascade1Click},
      {MenuItem::TalshellIndex, &TTALSHELLFORM::TALSHELLIndex1Click},
      {MenuItem::TypesIndex, &TTALSHELLFORM::TypesIndex1Click},
      {MenuItem::TalpixIndex, &TTALSHELLFORM::TALPIXIndex1Click},
      {MenuItem::TalpixErrorMessages, &TTALSHELLFORM::TALPIXErrorMessages1Click},
      {MenuItem::AboutTalshell, &TTALSHELLFORM::AboutTALSHELL1Click},
      {MenuItem::TalpixWebsite, &TTALSHELLFORM::TALPIXWebsite1Click},
  };
  for (const auto& [item, handler] : commands) connect(actions_[item], &QAction::triggered, this, handler);
  connect(menus_[Menu::Utilities], &QMenu::aboutToShow, this, &TTALSHELLFORM::Utilities1Click);
  connect(menus_[Menu::Windows], &QMenu::aboutToShow, this, &TTALSHELLFORM::RefreshWindowList);
  connect(menus_[Menu::Plot], &QMenu::aboutToShow, this, &TTALSHELLFORM::Plot1Click);
}

// TALKIT mode: the menu shrinks to what forms need, step by step as the frame is created.
void TTALSHELLFORM::RebuildMenuForTalkit() {
  QApplication::setApplicationName("TALKIT");
  setWindowTitle("TALKIT");

  RemoveItem(MenuItem::RunTableOnCluster);  // cluster runs belong to the full shell
  RemoveItem(MenuItem::TypesIndex);
  RemoveItem(MenuItem::TalpixIndex);
  RemoveItem(MenuItem::TalpixErrorMessages);
  actions_[MenuItem::TalshellIndex]->setText("TALKIT Help");
  actions_[MenuItem::AboutTalshell]->setText("About TALKIT");

  // Top-level positions 5, 3 and 1, in that order.
  RemoveMenu(Menu::Utilities);
  RemoveMenu(Menu::Talkit);
  RemoveMenu(Menu::Edit);

  QMenu* file = menus_[Menu::File];
  {
    auto items = file->actions();
    QAction* setup = actions_[MenuItem::Setup];
    int at = static_cast<int>(items.indexOf(setup));
    RemoveItem(MenuItem::New);
    if (at + 1 < items.size() && items[at + 1]->isSeparator()) {
      file->removeAction(items[at + 1]);
      delete items[at + 1];
    }
    RemoveItem(MenuItem::Setup);
  }

  QMenu* talpix = menus_[Menu::Talpix];
  {
    auto items = talpix->actions();
    int at = static_cast<int>(items.indexOf(actions_[MenuItem::RunTable]));
    RemoveItem(MenuItem::CompileModule);
    RemoveItem(MenuItem::RebuildTalpix);
    RemoveItem(MenuItem::ExecuteUserCommand);
    if (at + 1 < items.size() && items[at + 1]->isSeparator()) {
      talpix->removeAction(items[at + 1]);
      delete items[at + 1];
    }
  }
  auto insertAt = [talpix](int position, QAction* action) {
    auto items = talpix->actions();
    talpix->insertAction(position < items.size() ? items[position] : nullptr, action);
  };
  auto makeItem = [this, talpix](MenuItem item, const char* caption) {
    auto* action = new QAction(caption, talpix);
    actions_[item] = action;
    return action;
  };
  QAction* primary = makeItem(MenuItem::PrimaryUnits, "Primary Units");
  QAction* secondary = makeItem(MenuItem::SecondaryUnits, "Secondary Units");
  primary->setCheckable(true);
  secondary->setCheckable(true);
  bool primaryUnits = CurrentSettings().units == 1;
  primary->setChecked(primaryUnits);
  secondary->setChecked(!primaryUnits);
  insertAt(2, primary);
  insertAt(3, secondary);
  auto* separator = new QAction(talpix);
  separator->setSeparator(true);
  insertAt(4, separator);
  insertAt(5, makeItem(MenuItem::UserCommand, "User Command"));
  connect(primary, &QAction::triggered, this, &TTALSHELLFORM::PrimaryUnits1Click);
  connect(secondary, &QAction::triggered, this, &TTALSHELLFORM::SecondaryUnits1Click);
  connect(actions_[MenuItem::UserCommand], &QAction::triggered, this, &TTALSHELLFORM::UserCommand1Click);

  QMenu* windows = menus_[Menu::Windows];
  QAction* afterCascade = windowListSeparator_;
  windows->insertSeparator(afterCascade);
  auto* about = new QAction("About TALKIT", windows);
  windows->insertAction(afterCascade, about);
  actions_[MenuItem::AboutTalkit] = about;
  connect(about, &QAction::triggered, this, &TTALSHELLFORM::AboutTALKIT1Click);
}

void TTALSHELLFORM::RemoveItem(MenuItem item) {
  auto found = actions_.find(item);
  if (found == actions_.end() || !found->second) return;
  delete found->second;  // a deleted action leaves every menu that showed it
  found->second = nullptr;
}

void TTALSHELLFORM::RemoveMenu(Menu which) {
  QMenu* menu = menus_[which];
  if (!menu) return;
  for (auto& [item, action] : actions_)
    if (action && menu->actions().contains(action)) action = nullptr;
  delete menu;
  menus_[which] = nullptr;
}

QAction* TTALSHELLFORM::action(MenuItem item) const {
  auto found = actions_.find(item);
  return found == actions_.end() ? nullptr : found->second;
}

QMenu* TTALSHELLFORM::menu(Menu which) const {
  auto found = menus_.find(which);
  return found == menus_.end() ? nullptr : found->second;
}

int TTALSHELLFORM::fileMenuHeadSize() const { return Program().talkitMode ? TalkitFileMenuHead : FullFileMenuHead; }

void TTALSHELLFORM::SetEnabled(MenuItem item, bool enabled) {
  if (QAction* a = action(item)) a->setEnabled(enabled);
}

// Step 5 of creation: the program directory becomes the working directory, and its index files
// (*.IDX, plain files) decide how Open behaves.
void TTALSHELLFORM::FindIndexFiles() {
  namespace fs = std::filesystem;
  indexPresent_ = false;
  lastIndexFile_.clear();
  const std::string& dir = Program().directory;
  if (dir.empty()) return;
  std::error_code ec;
  fs::current_path(dir, ec);
  std::vector<std::string> found;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code fileError;
    if (!it->is_regular_file(fileError)) continue;
    std::string name = it->path().filename().string();
    if (ExtensionOf(name) == ".IDX") found.push_back(name);
  }
  if (found.empty()) return;
  std::sort(found.begin(), found.end());
  indexPresent_ = true;
  lastIndexFile_ = found.back();
}

// ---- children -----------------------------------------------------------------------------

QMdiSubWindow* TTALSHELLFORM::AddChild(TChildForm* child) {
  QMdiSubWindow* window = mdi_->addSubWindow(child);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowIcon(ChildWindowIcon(child->kind()));
  // A new child takes at least two thirds of the frame's area, so its content can be read.
  QSize least = mdi_->viewport()->size() * 2 / 3;
  window->resize(window->size().expandedTo(least));
  window->show();
  KeepInsideWorkspace(window);
  mdi_->setActiveSubWindow(window);
  // The frame may not be the active window (start-up, tests): activate the child ourselves.
  if (activeChild_ != child) child->FormActivate();
  return window;
}

void TTALSHELLFORM::KeepInsideWorkspace(QMdiSubWindow* window) {
  if (!window || window->isMaximized()) return;
  int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
  int before = static_cast<int>(mdi_->subWindowList().size()) - 1;
  QRect placed = PlaceInsideWorkspace(window->geometry(), mdi_->viewport()->size(), before, std::max(step, 20));
  if (placed != window->geometry()) window->setGeometry(placed);
}

std::vector<TChildForm*> TTALSHELLFORM::children() const {
  std::vector<TChildForm*> result;
  auto windows = mdi_->subWindowList(QMdiArea::StackingOrder);
  for (auto it = windows.rbegin(); it != windows.rend(); ++it)
    if (auto* child = qobject_cast<TChildForm*>((*it)->widget())) result.push_back(child);
  return result;
}

TChildForm* TTALSHELLFORM::FirstChildOfKind(KindCode kind) const {
  for (TChildForm* child : children())
    if (child->kind() == kind) return child;
  return nullptr;
}

void TTALSHELLFORM::BringToFront(TChildForm* child) {
  QMdiSubWindow* window = child ? child->subWindow() : nullptr;
  if (!window) return;
  if (window->isMinimized()) window->showNormal();
  mdi_->setActiveSubWindow(window);
  window->raise();
  if (activeChild_ != child) child->FormActivate();
}

void TTALSHELLFORM::FreeChild(TChildForm* child) {
  if (!child) return;
  // Out of the frame at once, destroyed once control is back in the event loop: the window may
  // be freed from inside one of its own handlers.
  for (QPointer<TChildForm>* remembered : {&activeChild_, &lastCreatedEditor_, &tableWindow_})
    if (*remembered == child) *remembered = nullptr;
  if (QMdiSubWindow* window = child->subWindow()) {
    window->hide();
    mdi_->removeSubWindow(window);
    window->deleteLater();
  } else {
    child->hide();
    child->deleteLater();
  }
}

bool TTALSHELLFORM::AskCloseQuestions(const std::vector<KindCode>& kinds) {
  for (TChildForm* child : children())
    if (std::find(kinds.begin(), kinds.end(), child->kind()) != kinds.end() && !child->closeQuery()) return false;
  return true;
}

void TTALSHELLFORM::SubWindowActivated(QMdiSubWindow* window) {
  if (window) {
    if (auto* child = qobject_cast<TChildForm*>(window->widget())) child->FormActivate();
    return;
  }
  // Focus left the frame (a dialog is up) or the last child went: only the latter counts.
  if (mdi_->subWindowList().isEmpty()) {
    activeChild_ = nullptr;
    UpdateMenu();
  }
}

// ---- commands of the frame itself ---------------------------------------------------------

// Exit: close the frame (the children's close questions may keep it open), then write the
// recent-file list into the program directory. Only this command writes the list.
void TTALSHELLFORM::Exit1Click() {
  close();
  const std::string& dir = Program().directory;
  std::error_code ec;
  std::filesystem::current_path(dir, ec);
  std::string error = recentFiles_.save(dir);
  if (!error.empty()) ShowMessageKind(error, ErrorOk, true);
}

void TTALSHELLFORM::closeEvent(QCloseEvent* event) {
  for (TChildForm* child : children()) {
    if (!child->closeQuery()) {
      event->ignore();
      return;
    }
  }
  if (!ConfirmCloseDuringRun()) {
    event->ignore();
    return;
  }
  event->accept();
}

void TTALSHELLFORM::AboutTALSHELL1Click() { ShowAboutBox(); }

void TTALSHELLFORM::AboutTALKIT1Click() { ShowAboutBox(); }

void TTALSHELLFORM::Tile1Click() { mdi_->tileSubWindows(); }

void TTALSHELLFORM::Cascade1Click() { mdi_->cascadeSubWindows(); }

}  // namespace tal

namespace tal {

// Undo acts on the editor window created last, whichever window is active.
void TTALSHELLFORM::Undo1Click() {
  if (lastCreatedEditor_) lastCreatedEditor_->undo();
  UpdateMenu();
}

// The Utilities menu is opening: its first item names the front-end the installation uses.
void TTALSHELLFORM::Utilities1Click() {
  if (QAction* first = action(MenuItem::Voxen)) first->setText(UsesMerodinFrontEnd() ? "MERODIN" : "VOXEN");
}

}  // namespace tal
