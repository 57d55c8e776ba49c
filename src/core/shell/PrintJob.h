#pragma once
// The print job of the Print command: one document into which the chosen windows print one
// after another. The job owns the page layout (margins, job header, page headers, the running
// position y and page breaks); each window kind draws its own content at (leftMargin(), y()) and
// moves on with Advance, which starts a new page with its header when the page is full.
//
// The job draws onto any QPainter over a paged device (a QPrinter in the program, a QPdfWriter in
// tests), so its layout is the same on paper and in a PDF file.
#include <QDateTime>
#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "shell/KindCode.h"

namespace tal {

// The device's printable area in device units, and its orientation.
struct PageGeometry {
  int width = 0;
  int height = 0;
  bool landscape = false;
};

class TPrintJob {
 public:
  // The size of the job's text after the header, in points.
  static constexpr int TextPointSize = 10;

  // `newPage` starts the next page on the device (QPagedPaintDevice::newPage or QPrinter::newPage).
  TPrintJob(QPainter& painter, PageGeometry page, std::function<bool()> newPage);
  ~TPrintJob();
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  // True only while a job runs (between Begin and End); the job that runs, or nullptr.
  static bool Printing() { return running_ != nullptr; }
  static TPrintJob* Running() { return running_; }

  // The file of the window being printed: the headers name it, so the pages of a job of several
  // windows can be told apart ("" for none).
  void setDocumentName(const QString& name) { documentName_ = name; }
  const QString& documentName() const { return documentName_; }

  // The date and time the headers show (tests fix it); the system's clock by default.
  void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
  // Pixels per inch of the screen the windows are shown on (pictures print one screen inch as m).
  void setScreenDpi(double dpi) { screenDpi_ = dpi > 0 ? dpi : 96.0; }

  // Margins from the page, font Arial 9 pt, clip to the page, the job header ("TALSHELL Ver. "
  // and the version text, and the date and time), then font size 10, the line height and the
  // first position below the header.
  void Begin(const std::string& versionText);
  // Removes the clip region and clears the printing flag; the caller ends the device's document.
  void End();

  QPainter& painter() { return painter_; }
  int pageWidth() const { return page_.width; }
  int pageHeight() const { return page_.height; }
  bool landscape() const { return page_.landscape; }
  // The margin unit m: the page height / 11 (the width / 11 in landscape); also the top and
  // bottom margin.
  int margin() const { return margin_; }
  int leftMargin() const { return margin_ / 2; }
  // Height of "h" in the job's font (Arial 10) plus 1.
  int lineHeight() const { return lineHeight_; }
  int y() const { return y_; }
  void setY(int y) { y_ = y; }
  // 1 for the first page.
  int pageNumber() const { return pageNumber_; }
  // Printer units per screen pixel: one screen inch becomes m.
  double screenScale() const { return static_cast<double>(margin_) / screenDpi_; }

  // Adds d to y; while the job runs, a y below the page height minus m starts a new page with its
  // header ("Page " and the page number, and the date and time) and puts y at m + d.
  void Advance(int d);
  // Ends the page: y goes past the bottom margin so that the next Advance starts a new page.
  void EndPage() { y_ = page_.height - margin_ + 1; }

  // Draws `text` with the top of its line at `top` in the painter's current font.
  void DrawText(int x, int top, const QString& text);
  // Draws `text` so that it ends at the page width minus half the left margin.
  void DrawRightAligned(int top, const QString& text);
  // Height of "h" in the painter's current font on this device.
  int TextHeight() const;
  // The current date and time in the system's short format.
  QString Timestamp() const;

 private:
  void PageHeader();
  // The document name after the header's left text, shortened at its start to end before the
  // date and time.
  void DrawDocumentName(int top, const QString& leftText);

  QPainter& painter_;
  PageGeometry page_;
  std::function<bool()> newPage_;
  std::function<QDateTime()> clock_;
  double screenDpi_ = 96.0;
  QString documentName_;
  int margin_ = 0;
  int lineHeight_ = 0;
  int y_ = 0;
  int pageNumber_ = 1;
  static TPrintJob* running_;
};

// What one chosen window contributes to a job: its kind code and its print operation. Plots also
// give the height they need, so that the job can start them on a fresh page.
struct PrintEntry {
  KindCode kind = KindCode::None;
  std::function<void(TPrintJob&)> print{};
  std::function<int(TPrintJob&)> printHeight{};  // plots only
  std::string name{};                            // the window's file, named in the page headers
};

// Prints every entry in order into the begun job: text, form, table and diagram windows each
// followed by two empty lines; a plot on a page of its own.
void PrintEntries(TPrintJob& job, const std::vector<PrintEntry>& entries);

// The printable area and orientation of a printer or PDF writer.
PageGeometry PageGeometryOf(const QPagedPaintDevice& device);

struct PrintOptions {
  std::string versionText;
  double screenDpi = 96.0;
  std::function<QDateTime()> clock;  // empty: the system's clock
};

// One whole job on `device`: begins the document, prints the header and every entry, ends the
// document. False when the device cannot be painted on or the document cannot be finished.
bool PrintDocument(QPagedPaintDevice& device, const std::vector<PrintEntry>& entries, const PrintOptions& options);

// Editor and viewer print: each line drawn at the left margin in "MS LineDraw" (the job's size),
// advancing one line height per line. `nextLine` yields the lines in order and false at the end.
// A line wider than the page goes on in the following printed lines, indented, broken after a
// blank where one is near the edge: no character is lost at the page's edge.
void PrintTextLines(TPrintJob& job, const std::function<bool(std::string&)>& nextLine);

// Diagram print: the picture stretched to its size times the job's screen scale, at the left
// margin and y, then Advance by the printed height.
void PrintPicture(TPrintJob& job, const QImage& picture);

}  // namespace tal
