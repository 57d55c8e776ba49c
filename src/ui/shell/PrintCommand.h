#pragma once
// The Print command: the windows chosen in "Select Windows to Print" go into one print job, on the
// printer when one is installed, else into a PDF file that the user names.
#include <QPrinter>
#include <functional>
#include <vector>

class QWidget;

namespace tal {

class TChildForm;

// The printer that Print and Print Setup share for the whole run.
QPrinter& ShellPrinter();
// Whether a printer is installed; tests replace the check.
std::function<bool()>& PrinterInstalledCheck();
// Prints `windows` in order as one job. False when nothing was printed: no windows, the PDF file
// chooser was cancelled, or the job failed (then after an error naming the destination).
bool PrintWindows(const std::vector<TChildForm*>& windows, QWidget* parent);

}  // namespace tal
