#include "shell/ViewForm.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include "shell/FileWatch.h"
#include "shell/FindDialogs.h"
#include "shell/PrintJob.h"
#include "shell/ProgramFonts.h"
#include "shell/TalshellForm.h"
#include "support/Messages.h"
#include "support/Files.h"
#include "support/Interaction.h"
#include "support/QtStrings.h"

namespace tal {

namespace {

constexpr std::size_t FirstScreenBytes = 256 * 1024;
constexpr int TabWidth = 8;
constexpr int TextIndent = 4;

// Screen columns of a line: tabs run to the next multiple of eight; other control characters
// (form feeds of listings, stray carriage returns) show as one blank.
int DisplayWidthOf(char c, int column) {
  return c == '\t' ? TabWidth - column % TabWidth : 1;
}

QString DisplayText(const std::string& line) {
  QString out;
  out.reserve(static_cast<qsizetype>(line.size()));
  for (char c : line) {
    int width = DisplayWidthOf(c, static_cast<int>(out.size()));
    auto u = static_cast<unsigned char>(c);
    if (c == '\t' || u < 0x20 || u == 0x7f)
      out += QString(width, QLatin1Char(' '));
    else
      out += QLatin1Char(c);
  }
  return out;
}

int DisplayColumn(const std::string& line, std::size_t byteColumn) {
  int column = 0;
  for (std::size_t i = 0; i < byteColumn && i < line.size(); ++i) column += DisplayWidthOf(line[i], column);
  if (byteColumn > line.size()) column += static_cast<int>(byteColumn - line.size());
  return column;
}

std::size_t ByteColumn(const std::string& line, int displayColumn) {
  int column = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    int width = DisplayWidthOf(line[i], column);
    if (displayColumn < column + (width + 1) / 2) return i;
    column += width;
  }
  return line.size();
}

bool IsWordByte(char c) {
  auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) || c == '_' || c == '.' || u >= 0xC0;
}

}  // namespace

// ---- the text area -----------------------------------------------------------------------------

TTextFileView::TTextFileView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFont(TextWindowFont());
  QPalette p = viewport()->palette();
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::Window, Qt::white);
  p.setColor(QPalette::Text, Qt::black);
  p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
  viewport()->setPalette(p);
  viewport()->setAutoFillBackground(true);
  viewport()->setCursor(Qt::IBeamCursor);
  setFocusPolicy(Qt::StrongFocus);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

TTextFileView::~TTextFileView() {
  // Stop the workers while this object can still take (and drop) their last reports.
  search_.reset();
  scan_.reset();
}

int TTextFileView::lineHeight() const { return fontMetrics().height(); }
int TTextFileView::charWidth() const { return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M'))); }

std::string TTextFileView::Open(const std::string& path) {
  CancelFind();
  StopBackgroundScan();
  keptTopLine_.reset();
  followEnd_ = false;
  anchor_ = caret_ = {};
  std::string failure = index_.Open(path);
  if (failure.empty()) index_.IndexMore(FirstScreenBytes);
  UpdateScrollRanges();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  if (!index_.complete()) StartBackgroundScan();
  viewport()->update();
  return failure;
}

void TTextFileView::StartBackgroundScan() {
  QPointer<TTextFileView> self(this);
  const unsigned generation = scanGeneration_;
  scan_ = std::make_unique<BackgroundLineScan>(index_.file(), index_.scan(), index_.size(),
                                               [self, generation](BackgroundLineScan::Delivery delivery) {
                                                 // Runs on the worker: hand the report to the window's thread.
                                                 QMetaObject::invokeMethod(
                                                     self.data(), [self, generation, d = std::move(delivery)]() mutable {
                                                       if (self) self->TakeScan(generation, std::move(d));
                                                     },
                                                     Qt::QueuedConnection);
                                               });
}

void TTextFileView::StopBackgroundScan() {
  ++scanGeneration_;  // a report already on its way belongs to the file as it was
  scan_.reset();
}

void TTextFileView::TakeScan(unsigned generation, BackgroundLineScan::Delivery delivery) {
  if (generation != scanGeneration_) return;
  std::size_t before = index_.lineCount();
  if (!index_.Apply(delivery.from, delivery.to, std::move(delivery.added), delivery.atEnd)) return;
  IndexGrew(before);
}

// Bookkeeping after the index grew: scroll ranges, a repaint when new lines reach the screen, the
// end followed, a found match that was waiting for its line.
void TTextFileView::IndexGrew(std::size_t linesBefore) {
  UpdateScrollRanges();
  if (followEnd_) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  if (keptTopLine_ && (index_.complete() || index_.lineCount() >= *keptTopLine_ + visibleLineCount())) {
    ScrollToLine(*keptTopLine_);
    keptTopLine_.reset();
  }
  if (linesBefore < firstVisibleLine() + static_cast<std::size_t>(visibleLineCount()) + 1) viewport()->update();
  ShowPendingMatch();
  if (index_.complete()) {
    scan_.reset();
    if (followEnd_) ScrollToEnd();
    followEnd_ = false;
    keptTopLine_.reset();
    ClampSelection();
    emit indexComplete();
  }
}

bool TTextFileView::showingEnd() const {
  return followEnd_ || (index_.complete() && verticalScrollBar()->value() >= verticalScrollBar()->maximum());
}

bool TTextFileView::CheckFile() {
  if (index_.path().empty()) return false;
  const FileStamp now = StampOf(index_.path());
  // A file deleted stays shown as it was read, until a file of its name is there again.
  if (!now.exists || now == index_.stamp()) return false;
  Reload();
  return true;
}

void TTextFileView::Reload() {
  const bool followEnd = showingEnd();
  const std::size_t top = firstVisibleLine();
  StopBackgroundScan();
  followEnd_ = false;
  keptTopLine_.reset();
  if (!index_.Extend()) {
    // Rewritten or replaced: a search under way or a match waiting for its line belongs to the old
    // text. A file that cannot be read now (being replaced) shows empty until it can.
    CancelFind();
    index_.Open(index_.path());
  }
  index_.IndexMore(FirstScreenBytes);
  UpdateScrollRanges();
  if (!index_.complete()) StartBackgroundScan();
  if (followEnd)
    ScrollToEnd();
  else
    KeepTopLine(top);
  ClampSelection();
  viewport()->update();
  emit caretMoved();  // the status bar's place may have moved with a shorter file
}

// The top line after a reload: at once when the index reaches it, else as soon as it does.
void TTextFileView::KeepTopLine(std::size_t line) {
  ScrollToLine(line);
  if (!index_.complete() && index_.lineCount() < line + static_cast<std::size_t>(visibleLineCount()))
    keptTopLine_ = line;
}

// A selection beyond the end of a file that became shorter ends at its end.
void TTextFileView::ClampSelection() {
  if (!index_.complete()) return;  // the lines beyond the index may still come
  const std::size_t lines = index_.lineCount();
  auto clamp = [&](TextPlace place) {
    if (lines == 0) return TextPlace{};
    if (place.line >= lines) return TextPlace{lines - 1, index_.Line(lines - 1).size()};
    return TextPlace{place.line, std::min(place.column, index_.Line(place.line).size())};
  };
  anchor_ = clamp(anchor_);
  caret_ = clamp(caret_);
}

void TTextFileView::IndexAll() {
  if (index_.complete()) return;
  StopBackgroundScan();  // printing needs every line now: finish here
  std::size_t before = index_.lineCount();
  index_.IndexThrough(index_.size());
  IndexGrew(before);
}

int TTextFileView::visibleLineCount() const { return std::max(1, viewport()->height() / std::max(1, lineHeight())); }

std::size_t TTextFileView::firstVisibleLine() const { return static_cast<std::size_t>(verticalScrollBar()->value()); }

void TTextFileView::UpdateScrollRanges() {
  int visible = visibleLineCount();
  std::size_t lines = index_.lineCount();
  auto maxTop = static_cast<std::size_t>(std::max<long long>(0, static_cast<long long>(lines) - visible));
  verticalScrollBar()->setRange(0, static_cast<int>(std::min<std::size_t>(maxTop, INT32_MAX)));
  verticalScrollBar()->setPageStep(visible);
  verticalScrollBar()->setSingleStep(1);
  std::size_t widest = std::min(index_.longestLine(), TextFileIndex::MaxShownLine) + 2;
  long long width = static_cast<long long>(widest) * charWidth() + TextIndent - viewport()->width();
  horizontalScrollBar()->setRange(0, static_cast<int>(std::clamp<long long>(width, 0, INT32_MAX)));
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setSingleStep(charWidth());
}

void TTextFileView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRanges();
}

void TTextFileView::ScrollToLine(std::size_t line) {
  verticalScrollBar()->setValue(static_cast<int>(std::min<std::size_t>(line, INT32_MAX)));
}

void TTextFileView::ScrollToEnd() {
  if (!index_.complete()) followEnd_ = true;
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  std::size_t lines = index_.lineCount();
  if (index_.complete() && lines > 0) {
    std::size_t last = lines - 1;
    anchor_ = caret_ = {last, index_.Line(last).size()};
  }
  viewport()->update();
}

void TTextFileView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int height = lineHeight();
  const int width = charWidth();
  const int ascent = fontMetrics().ascent();
  const int left = TextIndent - horizontalScrollBar()->value();
  const std::size_t first = firstVisibleLine();
  std::vector<std::string> lines = index_.Lines(first, static_cast<std::size_t>(visibleLineCount()) + 1);
  const TextPlace from = std::min(anchor_, caret_);
  const TextPlace to = std::max(anchor_, caret_);
  const QPalette& palette = viewport()->palette();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::size_t number = first + i;
    const std::string& line = lines[i];
    const int top = static_cast<int>(i) * height;
    if (hasSelection() && number >= from.line && number <= to.line) {
      int start = number == from.line ? DisplayColumn(line, from.column) : 0;
      int end = number == to.line ? DisplayColumn(line, to.column) : DisplayColumn(line, line.size()) + 1;
      painter.fillRect(left + start * width, top, (end - start) * width, height, palette.color(QPalette::Highlight));
    }
    painter.setPen(palette.color(QPalette::Text));
    painter.drawText(left, top + ascent, DisplayText(line));
    if (hasSelection() && number >= from.line && number <= to.line) {
      // Selected characters in the highlighted-text colour, clipped to the selected columns.
      int start = number == from.line ? DisplayColumn(line, from.column) : 0;
      int end = number == to.line ? DisplayColumn(line, to.column) : DisplayColumn(line, line.size());
      painter.save();
      painter.setClipRect(left + start * width, top, (end - start) * width, height);
      painter.setPen(palette.color(QPalette::HighlightedText));
      painter.drawText(left, top + ascent, DisplayText(line));
      painter.restore();
    }
    if (hasFocus() && number == caret_.line) {
      int x = left + DisplayColumn(line, caret_.column) * width;
      painter.fillRect(x, top, 1, height, palette.color(QPalette::Text));
    }
  }
}

std::uint64_t TTextFileView::OffsetOf(TextPlace place) const {
  if (index_.lineCount() == 0) return 0;
  std::size_t line = std::min(place.line, index_.lineCount() - 1);
  return index_.LineStart(line) + place.column;
}

TextPlace TTextFileView::PlaceOf(std::uint64_t offset) const {
  std::size_t line = index_.LineAt(offset);
  std::uint64_t start = index_.LineStart(line);
  return {line, static_cast<std::size_t>(offset > start ? offset - start : 0)};
}

TextPlace TTextFileView::PlaceAt(const QPoint& point) const {
  std::size_t lines = index_.lineCount();
  if (lines == 0) return {};
  long long row = static_cast<long long>(firstVisibleLine()) + std::max(0, point.y()) / lineHeight();
  std::size_t line = static_cast<std::size_t>(std::min<long long>(row, static_cast<long long>(lines) - 1));
  std::string text = index_.Line(line);
  int column = (point.x() - TextIndent + horizontalScrollBar()->value() + charWidth() / 2) / charWidth();
  return {line, ByteColumn(text, std::max(0, column))};
}

void TTextFileView::Select(TextPlace anchor, TextPlace caret) {
  anchor_ = anchor;
  caret_ = caret;
  EnsureVisible(caret_);
  viewport()->update();
  emit caretMoved();
}

void TTextFileView::MoveCaret(TextPlace place, bool extend) {
  caret_ = place;
  if (!extend) anchor_ = place;
  EnsureVisible(place);
  viewport()->update();
  emit caretMoved();
}

void TTextFileView::EnsureVisible(TextPlace place) {
  std::size_t first = firstVisibleLine();
  auto visible = static_cast<std::size_t>(visibleLineCount());
  if (place.line < first)
    ScrollToLine(place.line);
  else if (place.line >= first + visible)
    ScrollToLine(place.line + 1 - visible);
  int x = DisplayColumn(index_.Line(place.line), place.column) * charWidth();
  QScrollBar* bar = horizontalScrollBar();
  if (x < bar->value())
    bar->setValue(std::max(0, x - viewport()->width() / 4));
  else if (x > bar->value() + viewport()->width() - 2 * charWidth())
    bar->setValue(x - viewport()->width() * 3 / 4);
}

void TTextFileView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    CopySelection();
    return;
  }
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  const bool control = event->modifiers() & Qt::ControlModifier;
  const std::size_t lines = index_.lineCount();
  if (lines == 0) return QAbstractScrollArea::keyPressEvent(event);
  TextPlace place = caret_;
  const auto page = static_cast<std::size_t>(std::max(1, visibleLineCount() - 1));
  auto lineLength = [this](std::size_t line) { return index_.Line(line).size(); };
  switch (event->key()) {
    case Qt::Key_Up: if (place.line > 0) --place.line; break;
    case Qt::Key_Down: if (place.line + 1 < lines) ++place.line; break;
    case Qt::Key_PageUp: place.line = place.line > page ? place.line - page : 0; break;
    case Qt::Key_PageDown: place.line = std::min(lines - 1, place.line + page); break;
    case Qt::Key_Left:
      if (place.column > 0) --place.column;
      else if (place.line > 0) place = {place.line - 1, lineLength(place.line - 1)};
      break;
    case Qt::Key_Right:
      if (place.column < lineLength(place.line)) ++place.column;
      else if (place.line + 1 < lines) place = {place.line + 1, 0};
      break;
    case Qt::Key_Home: place = control ? TextPlace{} : TextPlace{place.line, 0}; break;
    case Qt::Key_End:
      if (control) {
        ScrollToEnd();
        if (!index_.complete()) return;  // the view follows the index to the end
        place = caret_;
      } else {
        place.column = lineLength(place.line);
      }
      break;
    default: return QAbstractScrollArea::keyPressEvent(event);
  }
  place.column = std::min(place.column, lineLength(place.line));
  MoveCaret(place, extend);
}

void TTextFileView::mousePressEvent(QMouseEvent* event) {
  setFocus();
  if (event->button() != Qt::LeftButton) return;
  MoveCaret(PlaceAt(event->pos()), event->modifiers() & Qt::ShiftModifier);
}

void TTextFileView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) MoveCaret(PlaceAt(event->pos()), true);
}

void TTextFileView::mouseDoubleClickEvent(QMouseEvent* event) {
  TextPlace place = PlaceAt(event->pos());
  std::string line = index_.Line(place.line);
  std::size_t start = place.column, end = place.column;
  while (start > 0 && IsWordByte(line[start - 1])) --start;
  while (end < line.size() && IsWordByte(line[end])) ++end;
  Select({place.line, start}, {place.line, end});
}

std::string TTextFileView::selectedText() const {
  if (!hasSelection()) return {};
  std::uint64_t from = OffsetOf(std::min(anchor_, caret_));
  std::uint64_t to = OffsetOf(std::max(anchor_, caret_));
  if (to - from > MaxCopyBytes) return {};
  return index_.Bytes(from, to);
}

bool TTextFileView::CopySelection() {
  if (!hasSelection()) {
    interaction().beep();
    return false;
  }
  std::uint64_t from = OffsetOf(std::min(anchor_, caret_));
  std::uint64_t to = OffsetOf(std::max(anchor_, caret_));
  if (to - from > MaxCopyBytes) {
    ShowMessageKind("The selection is too large to copy (more than 64 MB).", ErrorOk, true);
    return false;
  }
  QApplication::clipboard()->setText(ToQt(index_.Bytes(from, to)));
  return true;
}

void TTextFileView::StartFind(const std::string& text, bool matchCase, bool down, std::function<void(bool)> done) {
  CancelFind();
  FileSearchRequest request;
  request.text = text;
  request.matchCase = matchCase;
  request.forward = down;
  request.from = down ? OffsetOf(std::max(anchor_, caret_)) : OffsetOf(std::min(anchor_, caret_));
  searchDone_ = std::move(done);
  searchLength_ = text.size();
  unsigned generation = ++searchGeneration_;
  QPointer<TTextFileView> self(this);
  search_ = std::make_unique<BackgroundSearch>(index_.file(), index_.size(), request,
                                               [self, generation](std::optional<std::uint64_t> offset) {
                                                 QMetaObject::invokeMethod(
                                                     self.data(), [self, generation, offset] {
                                                       if (self) self->TakeSearchResult(generation, offset);
                                                     },
                                                     Qt::QueuedConnection);
                                               });
}

void TTextFileView::CancelFind() {
  ++searchGeneration_;  // a result already on its way is dropped
  search_.reset();
  pendingMatch_.reset();
  searchDone_ = nullptr;
}

void TTextFileView::TakeSearchResult(unsigned generation, std::optional<std::uint64_t> offset) {
  if (generation != searchGeneration_) return;
  search_.reset();
  if (!offset) return FinishSearch(false);
  pendingMatch_ = offset;
  ShowPendingMatch();
}

// A match can only be shown by line once the index has reached it.
void TTextFileView::ShowPendingMatch() {
  if (!pendingMatch_) return;
  if (!index_.complete() && index_.indexedBytes() < *pendingMatch_ + searchLength_) return;
  FinishSearch(true);
}

void TTextFileView::FinishSearch(bool found) {
  if (found && pendingMatch_) {
    std::uint64_t offset = *pendingMatch_;
    Select(PlaceOf(offset), PlaceOf(offset + searchLength_));
  }
  pendingMatch_.reset();
  std::function<void(bool)> done = std::move(searchDone_);
  searchDone_ = nullptr;
  if (done) done(found);
}

// ---- the window --------------------------------------------------------------------------------

TViewForm::TViewForm(TTALSHELLFORM* shell, const std::string& path, KindCode kind)
    : TChildForm(shell, kind), view_(new TTextFileView(this)), watch_(new FileWatch(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  setFocusProxy(view_);
  resize(640, 420);
  connect(view_, &TTextFileView::caretMoved, this, [this] {
    if (this->shell() && this->shell()->activeChild() == this) ShowCursorPlace(*this->shell());
  });
  setFileName(path);
  setCaption(path);
  std::string failure = view_->Open(path);
  open_ = failure.empty();
  if (!open_) ShowMessageKind(failure, ErrorOk, true);
  // A run may write the file while it is shown: the window follows what is on disk.
  connect(watch_, &FileWatch::mayHaveChanged, this, [this] { CheckFile(); });
  watch_->setPath(path);
}

bool TViewForm::CheckFile() { return view_->CheckFile(); }

void TViewForm::Reload() { view_->Reload(); }

void TViewForm::FollowEnd() { view_->ScrollToEnd(); }

void TViewForm::ShowNote(const std::string& note) {
  if (!note_) {
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    note_->setMargin(4);
    note_->setAutoFillBackground(true);
    QPalette p = note_->palette();
    p.setColor(QPalette::Window, QColor(0xff, 0xf4, 0xc0));
    note_->setPalette(p);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, note_);
  }
  note_->setText(ToQt(note));
  note_->setVisible(!note.empty());
}

std::string TViewForm::note() const { return note_ && !note_->isHidden() ? FromQt(note_->text()) : std::string{}; }

TViewForm::~TViewForm() {
  if (findDlg_) delete findDlg_;
}

void TViewForm::copySelection() { view_->CopySelection(); }

TFindDlg* TViewForm::findDialog() {
  if (!findDlg_) {
    findDlg_ = new TFindDlg(false, this->window());
    findDlg_->onFindNext = [this] { Find(); };
  }
  return findDlg_;
}

void TViewForm::ShowFind() {
  findDialog()->Reopen();
}

// A search of a large file can take a while: the status bar says that it runs and, when nothing
// was found, what was searched where.
void TViewForm::Find(std::function<void(bool)> done) {
  SearchOptions options = findDialog()->options();
  QPointer<TViewForm> self(this);
  QPointer<QStatusBar> status = shell() ? shell()->statusBar() : nullptr;
  const QString what = "\"" + ToQt(options.findText) + "\"";
  const QString where = ToQt(FileNameOf(fileName()));
  if (status) status->showMessage("Searching for " + what + " in " + where + "...");
  view_->StartFind(options.findText, options.matchCase, options.down, [self, done, status, what, where, options](bool found) {
    if (status) {
      if (found)
        status->clearMessage();
      else
        status->showMessage(what + " was not found " + (options.down ? "below" : "above") + " the cursor in " + where + ".");
    }
    if (!found) interaction().beep();
    if (self && self->shell()) self->shell()->UpdateMenu();
    if (done) done(found);
  });
}

std::size_t TViewForm::lineCount() const { return view_->index().lineCount(); }

std::size_t TViewForm::currentLine() const { return view_->caret().line + 1; }

void TViewForm::goToLine(std::size_t line) {
  if (line == 0 || line > lineCount()) return;
  view_->Select({line - 1, 0}, {line - 1, 0});
  view_->setFocus();
}

void TViewForm::countAllLines() {
  if (!view_->indexing()) return;
  BusyScope busy;
  view_->IndexAll();
}

std::string TViewForm::cursorPlace() const {
  TextPlace caret = view_->caret();
  if (caret.line >= lineCount()) return CursorPlaceText(caret.line + 1, caret.column + 1);
  return CursorPlaceText(caret.line + 1, static_cast<std::size_t>(DisplayColumn(view_->index().Line(caret.line), caret.column)) + 1);
}

void TViewForm::printOn(TPrintJob& job) {
  view_->IndexAll();
  const TextFileIndex& index = view_->index();
  std::size_t next = 0;
  std::vector<std::string> batch;
  std::size_t inBatch = 0;
  PrintTextLines(job, [&](std::string& line) {
    if (inBatch == batch.size()) {
      batch = index.Lines(next, 2000);
      inBatch = 0;
      if (batch.empty()) return false;
      next += batch.size();
    }
    line = std::move(batch[inBatch++]);
    return true;
  });
}

}  // namespace tal
