#include "shell/PrintCommand.h"

#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <QScreen>

#include "shell/AboutTexts.h"
#include "shell/ChildForm.h"
#include "shell/PrintDlg.h"
#include "shell/PrintJob.h"
#include "shell/TalshellForm.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/QtStrings.h"

namespace tal {

QPrinter& ShellPrinter() {
  static QPrinter printer(QPrinter::HighResolution);
  return printer;
}

std::function<bool()>& PrinterInstalledCheck() {
  static std::function<bool()> check = [] { return !QPrinterInfo::availablePrinterNames().isEmpty(); };
  return check;
}

namespace {

// Without a printer the job goes to a PDF file; false when the user cancels the chooser.
bool ChooseDestination(QPrinter& printer, std::string& destination) {
  if (PrinterInstalledCheck()()) {
    printer.setOutputFormat(QPrinter::NativeFormat);
    destination = FromQt(printer.printerName());
    return true;
  }
  FileDialogRequest request;
  request.title = "Print to PDF file";
  request.fileName = "TALSHELL.pdf";
  request.filters = {"PDF files (*.pdf)", "All files (*)"};
  request.defaultExtension = "pdf";
  std::optional<FileChoice> choice = interaction().saveFile(request);
  if (!choice || choice->path.empty()) return false;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(ToQt(choice->path));
  destination = choice->path;
  return true;
}

double ScreenDpi() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInch() : 96.0;
}

}  // namespace

bool PrintWindows(const std::vector<TChildForm*>& windows, QWidget* parent) {
  if (windows.empty()) return false;
  QPrinter& printer = ShellPrinter();
  std::string destination;
  if (!ChooseDestination(printer, destination)) return false;

  std::vector<PrintEntry> entries;
  for (TChildForm* child : windows) {
    QPointer<TChildForm> window(child);
    entries.push_back({child->kind(),
                       [window](TPrintJob& job) {
                         if (window) window->printOn(job);
                       },
                       [window](TPrintJob& job) { return window ? window->printHeight(job) : 0; },
                       child->fileName().empty() ? child->caption() : child->fileName()});
  }
  TPrintProgress progress(parent);
  progress.show();
  bool printed;
  {
    BusyScope busy;
    printed = PrintDocument(printer, entries, {ProgramVersion, ScreenDpi(), {}});
  }
  progress.close();
  if (!printed) ShowMessageKind("The document could not be printed to " + destination + ".", ErrorOk, true);
  return printed;
}

// Print: the selection dialog, created once and refilled each time; OK prints the right list.
void TTALSHELLFORM::Print1Click() {
  auto* dialog = findChild<TPrintDlg*>(QString(), Qt::FindDirectChildrenOnly);
  if (!dialog) dialog = new TPrintDlg(this);
  dialog->Fill(children(), activeChild());
  if (dialog->exec() == QDialog::Accepted) PrintWindows(dialog->chosen(), this);
  UpdateMenu();
}

void TTALSHELLFORM::PrintSetup1Click() {
  QPageSetupDialog dialog(&ShellPrinter(), this);
  dialog.exec();
}

}  // namespace tal
