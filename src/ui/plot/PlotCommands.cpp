// The Plot menu: New Plot, Overlay Plot, Modify Plot and Export; the plot window maker used by
// opening a ".SPF" file; and the rule that enables New Plot when the menu opens.
#include <QMenu>
#include <filesystem>

#include "plot/PlotDataExport.h"
#include "plot/PlotForm.h"
#include "plot/PlotSetup.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/Text.h"

namespace tal {

namespace {

// The setup dialog lives for the whole run, made on first use.
TPlotSetup& PlotSetupDialog(TTALSHELLFORM& frame) {
  auto* dialog = frame.findChild<TPlotSetup*>(QString(), Qt::FindDirectChildrenOnly);
  if (!dialog) dialog = new TPlotSetup(&frame);
  return *dialog;
}

// Whether `folder` holds a plot data file (".PLT") or an output file (".O*").
bool HoldsPlotData(const std::string& folder) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? "." : folder, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string ext = ExtensionOf(entry.path().filename().string());
    if (ext == ".PLT" || ext.rfind(".O", 0) == 0) return true;
  }
  return false;
}

}  // namespace

TChildForm* TTALSHELLFORM::NewPlotWindow(const std::string& name) {
  auto* plot = new TPlotForm(this);
  if (!plot->Open(name)) {
    delete plot;
    return nullptr;
  }
  AddChild(plot);
  return plot;
}

void TTALSHELLFORM::Plot1Click() {
  if (QAction* item = action(MenuItem::NewPlot))
    item->setEnabled(!currentInputDeck().empty() && HoldsPlotData(FolderOf(currentInputDeck())));
}

void TTALSHELLFORM::NewPlot1Click() {
  TPlotSetup& setup = PlotSetupDialog(*this);
  setup.PltFileName = currentInputDeck();
  setup.IsOverlay = false;
  setup.TargetPlot = nullptr;
  setup.Run(*this);
  UpdateMenu();
}

void TTALSHELLFORM::OverlayPlot1Click() {
  // The target is the plot window activated least recently; with more than one, two beeps say so.
  std::vector<TChildForm*> plots;
  for (TChildForm* child : children())
    if (child->kind() == KindCode::Plot) plots.push_back(child);
  auto* target = plots.empty() ? nullptr : qobject_cast<TPlotForm*>(plots.back());
  if (!target) return;
  if (plots.size() > 1) {
    interaction().beep();
    interaction().beep();
  }
  TPlotSetup& setup = PlotSetupDialog(*this);
  setup.PltFileName = currentPlotFile();
  setup.IsOverlay = true;
  setup.TargetPlot = target;
  setup.Run(*this);
  UpdateMenu();
}

void TTALSHELLFORM::ModifyPlot1Click() {
  if (auto* plot = qobject_cast<TPlotForm*>(activeChild()); plot && plot->kind() == KindCode::Plot) ShowModifyPlot(*plot);
  UpdateMenu();
}

void TTALSHELLFORM::ZoomToFit1Click() {
  if (auto* plot = qobject_cast<TPlotForm*>(activeChild())) plot->ZoomToFit();
}

void TTALSHELLFORM::ReloadData1Click() {
  if (auto* plot = qobject_cast<TPlotForm*>(activeChild())) plot->ReloadData();
}

void TTALSHELLFORM::ExportPlot1Click() {
  auto* plot = qobject_cast<TPlotForm*>(activeChild());
  if (!plot) return;
  FileDialogRequest request;
  request.title = "Export plot";
  const std::string proposed = plot->ExportName();
  request.directory = FolderOf(proposed);
  request.fileName = FileNameOf(proposed) + ".png";
  request.filters = {"PNG pictures (*.png)", "SVG drawings (*.svg)", "PDF documents (*.pdf)"};
  request.defaultExtension = "png";
  std::optional<FileChoice> choice = interaction().saveFile(request);
  if (!choice || choice->path.empty()) return;
  std::string name = choice->path;
  if (ExtensionOf(FileNameOf(name)).empty()) name += std::string(".") + (choice->filterIndex == 1 ? "svg" : choice->filterIndex == 2 ? "pdf" : "png");
  std::string error = plot->ExportTo(name);
  if (!error.empty()) ShowMessageKind(error, ErrorOk, true);
}

void TTALSHELLFORM::ExportData1Click() {
  auto* plot = qobject_cast<TPlotForm*>(activeChild());
  if (!plot) return;
  FileDialogRequest request;
  request.title = "Export data";
  const std::string proposed = plot->ExportName();
  request.directory = FolderOf(proposed);
  request.fileName = FileNameOf(proposed) + ".csv";
  request.filters = {"CSV tables, all rows (*.csv)", "CSV tables, the rows in view (*.csv)"};
  request.defaultExtension = "csv";
  std::optional<FileChoice> choice = interaction().saveFile(request);
  if (!choice || choice->path.empty()) return;
  std::string name = choice->path;
  if (ExtensionOf(FileNameOf(name)).empty()) name += ".csv";
  std::string error = ExportPlotData(name, plot->info(), choice->filterIndex == 1);
  if (!error.empty()) ShowMessageKind(error, ErrorOk, true);
}

}  // namespace tal
