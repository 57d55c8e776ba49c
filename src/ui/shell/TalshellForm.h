#pragma once
// The main frame window: one multiple-document frame that owns every child window, carries the
// whole menu and keeps the state that ties the windows of one simulation together (the active
// child, the current input deck, the Windows entries of its results, the recent-file list).
//
// The class is defined over several files by concern: TalshellForm.cpp (creation, menus,
// TALKIT rebuild, exit), UpdateMenu.cpp, WindowsMenu.cpp, RecentFileMenu.cpp, UnitsMenu.cpp,
// ChildWindows.cpp (making child windows), ReadaFile.cpp, ResultFiles.cpp, OpenSaveCommands.cpp
// (Open, Save, Save as, Edit TALKIT file); the subsystems define their own commands and window
// makers in their folders (plot/PlotCommands.cpp: the Plot menu and the plot window maker).
#include <QMainWindow>
#include <QPointer>
#include <map>
#include <string>
#include <vector>

#include "shell/ChildForm.h"
#include "shell/KindCode.h"
#include "shell/MenuItem.h"
#include "shell/OpenSaveRules.h"
#include "shell/RecentFiles.h"
#include "tables/TableResults.h"

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QAction;
class QDialog;

namespace tal {

struct Problem;

// The help context number stored on `action`, or 0 when it has none.
int HelpContextOf(const QAction* action);

class TTALSHELLFORM : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the frame for the mode in Program() with the settings in CurrentSettings(), which
  // must have been read already (see CreateMainWindow in Startup.h): adapts the menu to TALKIT
  // mode, loads the recent-file list, clears the state, runs UpdateMenu and looks for index files
  // in the program directory (which becomes the working directory).
  explicit TTALSHELLFORM(QWidget* parent = nullptr);
  ~TTALSHELLFORM() override;

  // ---- menus -------------------------------------------------------------------------------
  // nullptr for items and menus that TALKIT mode removed.
  QAction* action(MenuItem item) const;
  QMenu* menu(Menu which) const;
  QMenu* outputMenu() const { return outputMenu_; }
  // Number of File menu items before the recent files: 11, or 8 in TALKIT mode.
  int fileMenuHeadSize() const;

  // ---- children ----------------------------------------------------------------------------
  QMdiArea* mdiArea() const { return mdi_; }
  // Shows `child` in a new sub-window of the frame and activates it. The frame owns it; it is
  // freed when closed.
  QMdiSubWindow* AddChild(TChildForm* child);
  // Moves (and if need be shrinks) a child window that runs past the workspace's edges inside it.
  void KeepInsideWorkspace(QMdiSubWindow* window);
  // Every child window, the front one first.
  std::vector<TChildForm*> children() const;
  TChildForm* FirstChildOfKind(KindCode kind) const;
  // Activates `child` and brings it to the front (restoring it when minimised).
  void BringToFront(TChildForm* child);
  // Frees `child` without its close question (callers ask first where changes matter): it leaves
  // the frame and every list at once and is destroyed when control returns to the event loop.
  void FreeChild(TChildForm* child);
  // Asks the close question of every child of the given kinds, front first; false as soon as
  // one answers Cancel. The windows stay open either way.
  bool AskCloseQuestions(const std::vector<KindCode>& kinds);

  TChildForm* activeChild() const { return activeChild_; }
  void setActiveChild(TChildForm* child) { activeChild_ = child; }

  // Editors: each creation takes the next number ("NoName" + number + ".DCK" for new documents)
  // and the editor created last is the target of Undo.
  int NextEditorNumber() { return ++editorCount_; }
  int editorCount() const { return editorCount_; }
  void setLastCreatedEditor(TChildForm* editor) { lastCreatedEditor_ = editor; }
  TChildForm* lastCreatedEditor() const { return lastCreatedEditor_; }

  // The one table window of the program (nullptr when there is none).
  TChildForm* tableWindow() const { return tableWindow_; }
  void setTableWindow(TChildForm* table) { tableWindow_ = table; }

  // ---- program-wide state ------------------------------------------------------------------
  const std::string& currentInputDeck() const { return currentInputDeck_; }
  void setCurrentInputDeck(const std::string& deck) { currentInputDeck_ = deck; }
  const std::string& currentPlotFile() const { return currentPlotFile_; }
  void setCurrentPlotFile(const std::string& name) { currentPlotFile_ = name; }
  // Search mode of Search Again: the last search was a find or a replace.
  bool lastSearchWasFind() const { return lastSearchWasFind_; }
  bool lastSearchWasReplace() const { return lastSearchWasReplace_; }
  void setSearchMode(bool find, bool replace) { lastSearchWasFind_ = find; lastSearchWasReplace_ = replace; }
  // Index files in the program directory, found when the frame was created.
  bool indexPresent() const { return indexPresent_; }
  const std::string& lastIndexFile() const { return lastIndexFile_; }
  // True until the first Open in TALKIT mode has shown the project index.
  bool firstStart() const { return firstStart_; }
  void setFirstStart(bool first) { firstStart_ = first; }

  RecentFiles& recentFiles() { return recentFiles_; }

  // ---- menu state --------------------------------------------------------------------------
  void UpdateMenu();

  // ---- Windows menu entries ----------------------------------------------------------------
  // Each points the entry at a file ("Listing " + name, enabled) or resets it ("Listing",
  // disabled). The Input entry only shows the deck; the current input deck is set apart.
  void setInputEntry(const std::string& name);
  void resetInputEntry();
  void setListingEntry(const std::string& name);
  void resetListingEntry();
  void setTableEntry(const std::string& name);
  void resetTableEntry();
  void setDiagramEntry(const std::string& name);
  void resetDiagramEntry();
  // Output submenu: one item per output file, captioned with its name without folder; clicking
  // it runs OpenOutFile with the full name. Adding enables "Output"; clearing removes every
  // item (the start-up placeholder too) and disables it.
  void addOutputEntry(const std::string& fullName);
  void clearOutputEntries();

  // Frees every child of `code` (no close question) and resets the Windows entry it belongs to.
  void DisposeTALPIXWindows(KindCode code);
  // Opens an output file in a new output viewer, or says that it no longer exists.
  void OpenOutFile(const std::string& name);

  // ---- recent files ------------------------------------------------------------------------
  void FixFileNameList();
  // Opens the recent entry at `position` (0 = oldest), or drops it when the file is gone.
  void OpenFileItem(std::size_t position);

  // ---- opening files and results -----------------------------------------------------------
  // Opens one file by its type and adds it to the recent-file list. Windows it would free that
  // hold unsaved changes are asked their close question first; Cancel leaves everything as it was.
  virtual void ReadaFile(const std::string& name);
  // Attach a deck's result files to the Windows menu (open = also show them). Each first frees
  // the windows of its kind that show the previous deck's file (after their close question).
  virtual void GetLSTFile(const std::string& name, bool open);
  virtual void GetOUTFile(const std::string& name, bool open);
  virtual void GetPLTFile(const std::string& name, bool open);
  virtual void GetTBLFile(const std::string& name, bool open);
  virtual void GetDGMFile(const std::string& name);

  // Child window makers used by the shell's own commands (Windows entries, ReadaFile).
  // An editor window for `name` (kind 1000 for a .DCK name, else 7000), registered as the
  // editor created last.
  virtual TChildForm* NewEditorWindow(const std::string& name);
  // A read-only viewer (kind 3000 or 6000) titled with `name`.
  virtual TChildForm* NewViewerWindow(const std::string& name, KindCode kind);
  // A form window (kind 2000) reading the form deck `name`.
  virtual TChildForm* NewFormWindow(const std::string& name);
  // A plot window (kind 4000) opening the plot description `name`.
  virtual TChildForm* NewPlotWindow(const std::string& name);
  // The table window (kind 5000, remembered as the one table) reading the table file `name`.
  virtual TChildForm* NewTableWindow(const std::string& name);
  // A diagram window (kind 8000) showing the picture `name`, fitted to it when `fit` is set.
  virtual TChildForm* NewDiagramWindow(const std::string& name, bool fit);
  // The index dialog for the index file `name`, modal.
  virtual void ShowIndexDialog(const std::string& name);

  // ---- commands that free windows and save documents -----------------------------------------
  // One user command. Within it each window's close question is asked at most once: the answers
  // are forgotten when the outermost scope ends.
  class CommandScope {
   public:
    explicit CommandScope(TTALSHELLFORM& frame) : frame_(frame) { ++frame_.commandDepth_; }
    ~CommandScope() {
      if (--frame_.commandDepth_ == 0) frame_.answeredInCommand_.clear();
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

   private:
    TTALSHELLFORM& frame_;
  };
  // Asks the close question of each window (front first) that has not answered it in the running
  // command; false as soon as one answers Cancel. Every command that frees windows holding a
  // document asks this first, so no change is thrown away without its question.
  bool AskBeforeFreeing(const std::vector<TChildForm*>& windows);
  bool AskBeforeFreeing(const std::vector<KindCode>& kinds);
  // Save: writes every document (see Save1Click). False when one of them could not be written.
  bool SaveAllWindows();
  // Save as for `child` (the active child for the command, an unnamed editor for its close
  // question). True when the document was written.
  bool SaveAsWindow(TChildForm* child);
  // The file dialogs keep their file name, filter and default extension from one use to the next.
  FileDialogState& openDialogState() { return openDialog_; }
  FileDialogState& saveDialogState() { return saveDialog_; }

  // Converts the values of every open form window between units systems (1 primary,
  // 2 secondary) and repaints them.
  void ConvertOpenForms(int from, int to);

  // The about box, modal.
  virtual void ShowAboutBox();

  // ---- problems of a run (runs/ProblemCommands.cpp) --------------------------------------------
  // Shows the problem's file at its line, selected: in the window that shows it, or opened.
  void OpenProblem(const Problem& problem);
  // A Calculate that failed: the run log, the listing at `listingLine` (0: as it opens) and the
  // Problems window come forward.
  void ShowFailedRun(const std::string& deck, std::size_t listingLine);

 public slots:
  // File
  void New1Click();
  virtual void Open1Click();
  void Save1Click();
  void Saveas1Click();
  void Print1Click();
  void PrintSetup1Click();
  void Setup1Click();
  void Exit1Click();
  // Edit
  void Undo1Click();
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void Clear1Click();
  void Find1Click();
  void Replace1Click();
  void SearchAgain1Click();
  void GoToLine1Click();
  // TALPIX
  void Calculate1Click();
  void RunTable1Click();
  void RunTableOnCluster1Click();
  void CompileModule1Click();
  void RebuildTALPIX1Click();
  void ExecuteUserCommand1Click();
  // TALKIT
  void MakeTALKITfile1Click();
  void EditTALKITfile1Click();
  // Parametrics
  void NewTable1Click();
  void AlterTable1Click();
  void InsertDeleteRuns1Click();
  void InsertDeleteVars1Click();
  // The results grid of the table's runs (TableResultsCommand.cpp); it is read again after each
  // Run Table while it is open.
  void TableResults1Click();
  // A table run of `deck` ended: the runs whose files are not theirs are kept for the results grid.
  void TableRunEnded(const std::string& deck, std::vector<FailedRun> failedRuns);
  // Utilities
  void Utilities1Click();  // the menu is opening: caption of its first item
  void VOXEN1Click();
  void LUMET1Click();
  void ORVA1Click();
  void KANTO1Click();
  void MIRELL1Click();
  // Plot
  void NewPlot1Click();
  void OverlayPlot1Click();
  void ModifyPlot1Click();
  void ZoomToFit1Click();   // the plot in front shows all its points again (also its Home key)
  void ReloadData1Click();  // the plot in front reads its curves' data files again
  void ExportPlot1Click();  // the plot in front as a PNG, SVG or PDF picture
  void ExportData1Click();  // the values of the plot in front as a CSV table
  void Plot1Click();        // the menu is opening: New Plot needs plot data beside the deck
  // Windows
  void Input1Click();
  void Listing1Click();
  void Table1Click();
  void Diagram1Click();
  void Tile1Click();
  void Cascade1Click();
  // Help
  void TALSHELLIndex1Click();
  void TypesIndex1Click();
  void TALPIXIndex1Click();
  void TALPIXErrorMessages1Click();
  void AboutTALSHELL1Click();
  void TALPIXWebsite1Click();
  // TALKIT mode
  void PrimaryUnits1Click();
  void SecondaryUnits1Click();
  void UserCommand1Click();
  void AboutTALKIT1Click();
  // Run control: stop the programs being waited for; show the run log.
  void StopRun1Click();
  void RunLog1Click();
  // Windows: the errors and warnings of the last run.
  void Problems1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void RebuildMenuForTalkit();
  void ConnectCommands();
  void RemoveItem(MenuItem item);
  void RemoveMenu(Menu which);
  void SetEnabled(MenuItem item, bool enabled);
  void PointEntryAt(MenuItem item, const std::string& plainCaption, const std::string& name);
  void ResetEntry(MenuItem item, const std::string& plainCaption);
  void RefreshWindowList();
  void FindIndexFiles();
  void SubWindowActivated(QMdiSubWindow* window);
  // The menu rules by the active child's kind (UpdateMenu adds the run lock around them).
  void UpdateMenuByKind();
  // Run control (RunCommands.cpp): the Stop and Run Log items, the status bar, and the lock
  // that keeps Calculate and Run Table disabled while an engine run is in progress.
  void SetUpRunControls();
  void ReleaseRunLock();
  void HoldRunLock();
  // Closing while a program is waited for, or a compile or user command left running has not
  // ended: asks whether to stop it; false keeps the frame open.
  bool ConfirmCloseDuringRun();
  bool SaveUnnamedWindow(TChildForm* child);
  bool SaveWindowAs(TChildForm* child, const std::string& name);

  QMdiArea* mdi_ = nullptr;
  std::map<MenuItem, QAction*> actions_;
  std::map<Menu, QMenu*> menus_;
  QMenu* outputMenu_ = nullptr;
  QAction* windowListSeparator_ = nullptr;
  std::vector<QAction*> windowListItems_;

  QPointer<TChildForm> activeChild_;
  QPointer<TChildForm> lastCreatedEditor_;
  QPointer<TChildForm> tableWindow_;
  int editorCount_ = 0;
  std::string currentInputDeck_;
  std::string currentPlotFile_;
  bool lastSearchWasFind_ = false;
  bool lastSearchWasReplace_ = false;
  bool indexPresent_ = false;
  std::string lastIndexFile_;
  bool firstStart_ = false;
  RecentFiles recentFiles_;
  QPointer<QDialog> aboutBox_;  // created once, kept for the whole run
  // While an engine run holds Calculate and Run Table disabled: the states the menu rules gave them.
  struct RunLock {
    bool held = false;
    bool calculate = false;
    bool runTable = false;
  } runLock_;
  QPointer<QWidget> runLog_;  // the run log window, made on first use
  QPointer<QWidget> problems_;  // the Problems window, made on first use
  QPointer<QWidget> tableResults_;  // the results grid of the table, while it is open
  std::string lastTableRunDeck_;      // the deck of the last table run and its failed runs
  std::vector<FailedRun> lastTableRunFailures_;
  int commandDepth_ = 0;
  std::vector<QPointer<TChildForm>> answeredInCommand_;
  FileDialogState openDialog_ = InitialOpenDialog();
  FileDialogState saveDialog_ = InitialSaveDialog();
  FileDialogState talkitFileDialog_ = InitialTalkitFileDialog();
};

}  // namespace tal
