#include "shell/PrintJob.h"

#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <algorithm>
#include <cmath>

#include "shell/ProgramFonts.h"

namespace tal {

TPrintJob* TPrintJob::running_ = nullptr;

TPrintJob::TPrintJob(QPainter& painter, PageGeometry page, std::function<bool()> newPage)
    : painter_(painter), page_(page), newPage_(std::move(newPage)), clock_([] { return QDateTime::currentDateTime(); }) {}

TPrintJob::~TPrintJob() {
  if (running_ == this) running_ = nullptr;
}

int TPrintJob::TextHeight() const { return QFontMetrics(painter_.font(), painter_.device()).height(); }

QString TPrintJob::Timestamp() const { return QLocale::system().toString(clock_(), QLocale::ShortFormat); }

void TPrintJob::DrawText(int x, int top, const QString& text) {
  QFontMetrics metrics(painter_.font(), painter_.device());
  painter_.drawText(x, top + metrics.ascent(), text);
}

void TPrintJob::DrawRightAligned(int top, const QString& text) {
  QFontMetrics metrics(painter_.font(), painter_.device());
  int right = page_.width - leftMargin() / 2;
  DrawText(right - metrics.horizontalAdvance(text), top, text);
}

void TPrintJob::Begin(const std::string& versionText) {
  running_ = this;
  margin_ = (page_.landscape ? page_.width : page_.height) / 11;
  painter_.setFont(ProgramFont("Arial", 9));
  painter_.setPen(Qt::black);
  painter_.setClipRect(0, 0, page_.width, page_.height);

  int headerTop = margin_ / 4;
  QString title = "TALSHELL Ver. " + QString::fromLatin1(versionText.substr(0, 20).c_str());
  DrawText(leftMargin(), headerTop, title);
  DrawRightAligned(headerTop, Timestamp());
  DrawDocumentName(headerTop, title);

  QFont font = painter_.font();
  font.setPointSize(TextPointSize);
  painter_.setFont(font);
  int h = TextHeight();
  lineHeight_ = h + 1;
  y_ = headerTop + 3 * h + 3;
}

void TPrintJob::End() {
  painter_.setClipping(false);
  if (running_ == this) running_ = nullptr;
}

void TPrintJob::PageHeader() {
  QFont previous = painter_.font();
  painter_.setFont(ProgramFont("Arial", 10));
  int top = margin_ / 4;
  QString page = "Page " + QString::number(pageNumber_);
  DrawText(leftMargin(), top, page);
  DrawRightAligned(top, Timestamp());
  DrawDocumentName(top, page);
  painter_.setFont(previous);
}

void TPrintJob::DrawDocumentName(int top, const QString& leftText) {
  if (documentName_.isEmpty()) return;
  QFontMetrics metrics(painter_.font(), painter_.device());
  int gap = metrics.horizontalAdvance(QStringLiteral("    "));
  int left = leftMargin() + metrics.horizontalAdvance(leftText) + gap;
  int right = page_.width - leftMargin() / 2 - metrics.horizontalAdvance(Timestamp()) - gap;
  if (right <= left) return;
  DrawText(left, top, metrics.elidedText(documentName_, Qt::ElideLeft, right - left));
}

void TPrintJob::Advance(int d) {
  y_ += d;
  if (running_ != this || y_ <= page_.height - margin_) return;
  newPage_();
  ++pageNumber_;
  PageHeader();
  y_ = margin_ + d;
}

PageGeometry PageGeometryOf(const QPagedPaintDevice& device) {
  return {device.width(), device.height(), device.pageLayout().orientation() == QPageLayout::Landscape};
}

bool PrintDocument(QPagedPaintDevice& device, const std::vector<PrintEntry>& entries, const PrintOptions& options) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  TPrintJob job(painter, PageGeometryOf(device), [&device] { return device.newPage(); });
  if (!entries.empty()) job.setDocumentName(QString::fromLatin1(entries.front().name.c_str()));
  if (options.clock) job.setClock(options.clock);
  job.setScreenDpi(options.screenDpi);
  job.Begin(options.versionText);
  PrintEntries(job, entries);
  job.End();
  return painter.end();
}

void PrintEntries(TPrintJob& job, const std::vector<PrintEntry>& entries) {
  for (const PrintEntry& entry : entries) {
    if (!entry.print) continue;
    job.setDocumentName(QString::fromLatin1(entry.name.c_str()));
    if (entry.kind == KindCode::Plot) {
      int height = entry.printHeight ? entry.printHeight(job) : 0;
      if (job.pageHeight() - job.margin() < job.y() + height) job.EndPage();
      entry.print(job);
      job.EndPage();  // what follows a plot starts on a new page
    } else {
      job.Advance(0);  // a plot before ended its page: start the new one before drawing
      entry.print(job);
      job.Advance(2 * job.lineHeight());
    }
  }
}

namespace {
// Tabs become blanks to the next multiple of eight columns: a printer draws no tab stops.
QString ExpandTabs(const std::string& line) {
  QString out;
  out.reserve(static_cast<qsizetype>(line.size()));
  for (char c : line) {
    if (c == '\t') {
      do out += QLatin1Char(' ');
      while (out.size() % 8 != 0);
    } else {
      out += QLatin1Char(c);
    }
  }
  return out;
}
}  // namespace

namespace {
// How many characters of `text` from `from` fit into `width` (at least one, so the printing
// always moves on).
qsizetype CharactersThatFit(const QFontMetrics& metrics, const QString& text, qsizetype from, int width) {
  // No more characters fit than of the narrowest ones: a very long line is never measured whole.
  int narrowest = metrics.horizontalAdvance(QLatin1Char('i'));
  for (char c : {'l', '.', ' '}) narrowest = std::min(narrowest, metrics.horizontalAdvance(QLatin1Char(c)));
  narrowest = std::max(narrowest, 1);
  qsizetype high = std::min<qsizetype>(text.size() - from, width / narrowest + 1);
  if (metrics.horizontalAdvance(text.mid(from, high)) <= width) return high;
  qsizetype low = 1;
  --high;
  while (low < high) {  // the largest count that fits
    qsizetype middle = (low + high + 1) / 2;
    if (metrics.horizontalAdvance(text.mid(from, middle)) <= width)
      low = middle;
    else
      high = middle - 1;
  }
  return low;
}
}  // namespace

void PrintTextLines(TPrintJob& job, const std::function<bool(std::string&)>& nextLine) {
  job.painter().setFont(ProgramFont("MS LineDraw", TPrintJob::TextPointSize));
  QFontMetrics metrics(job.painter().font(), job.painter().device());
  // Text ends where the header's date ends; continuations are indented by four characters.
  const int width = job.pageWidth() - job.leftMargin() - job.leftMargin() / 2;
  const int indent = metrics.horizontalAdvance(QStringLiteral("    "));
  std::string line;
  while (nextLine(line)) {
    QString text = ExpandTabs(line);
    qsizetype from = 0;
    bool first = true;
    do {
      int room = first ? width : std::max(width - indent, 1);
      qsizetype count = CharactersThatFit(metrics, text, from, room);
      if (from + count < text.size()) {
        // Break after the last blank of the piece when it lies in its second half.
        qsizetype blank = text.lastIndexOf(QLatin1Char(' '), from + count - 1);
        if (blank >= from + count / 2) count = blank - from + 1;
      }
      job.DrawText(job.leftMargin() + (first ? 0 : indent), job.y(), text.mid(from, count));
      job.Advance(job.lineHeight());
      from += count;
      first = false;
    } while (from < text.size());
  }
}

void PrintPicture(TPrintJob& job, const QImage& picture) {
  if (picture.isNull()) return;
  double scale = job.screenScale();
  int width = static_cast<int>(std::lround(picture.width() * scale));
  int height = static_cast<int>(std::lround(picture.height() * scale));
  // A picture that would run past the bottom margin starts on the next page, unless it stands at
  // the top of one already (a picture taller than a page is printed as far as the page goes).
  if (job.y() + height > job.pageHeight() - job.margin() && job.y() > job.margin()) {
    job.EndPage();
    job.Advance(0);
  }
  job.painter().drawImage(QRect(job.leftMargin(), job.y(), width, height), picture);
  job.Advance(height);
}

}  // namespace tal
