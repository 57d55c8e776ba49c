#pragma once
// Names for every menu and menu item of the main window, so commands, tests and other windows
// reach an item without searching captions.

namespace tal {

enum class Menu { File, Edit, Talpix, Talkit, Parametrics, Utilities, Plot, Windows, Help };

enum class MenuItem {
  // File
  New, Open, Save, SaveAs, Print, PrintSetup, Setup, Exit,
  // Edit
  Undo, Cut, Copy, Paste, Clear, Find, Replace, SearchAgain, GoToLine,
  // TALPIX
  Calculate, RunTable, RunTableOnCluster, CompileModule, RebuildTalpix, ExecuteUserCommand,
  // TALKIT
  MakeTalkitFile, EditTalkitFile,
  // Parametrics
  NewTable, AlterTable, InsertDeleteRuns, InsertDeleteVars, TableResults,
  // Utilities (the first one is captioned "VOXEN" or "MERODIN")
  Voxen, Lumet, Orva, Kanto, Mirell,
  // Plot
  NewPlot, OverlayPlot, ModifyPlot, ZoomToFit, ReloadData, ExportPlot, ExportData,
  // Windows
  Input, Output, Listing, Table, Diagram, Tile, Cascade,
  // Help
  TalshellIndex, TypesIndex, TalpixIndex, TalpixErrorMessages, AboutTalshell, TalpixWebsite,
  // Only in TALKIT mode
  PrimaryUnits, SecondaryUnits, UserCommand, AboutTalkit,
  // Run control, at the end of the TALPIX menu in both modes, and the Problems window (Windows menu)
  StopRun, RunLog, Problems,
};

// The help context number stored on every action that has one (read with HelpContextOf).
inline constexpr const char* HelpContextProperty = "helpContext";

}  // namespace tal
