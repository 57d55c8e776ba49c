#include "shell/EditForm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QTextDocumentFragment>
#include <memory>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QToolTip>
#include <QVBoxLayout>

#include "shell/CommentToggle.h"
#include "shell/DeckHighlighter.h"
#include "shell/FileWatch.h"
#include "shell/EditorText.h"
#include "shell/FindDialogs.h"
#include "shell/LongLines.h"
#include "shell/PrintJob.h"
#include "runs/RunProblems.h"
#include "shell/ProgramFonts.h"
#include "shell/TalshellForm.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/QtStrings.h"
#include "support/Text.h"
#include "shell/WindowIcons.h"

namespace tal {

// ---- the text control --------------------------------------------------------------------------

namespace {

class Gutter : public QWidget {
 public:
  explicit Gutter(TEditorText* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->gutterWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->paintGutter(event); }
  bool event(QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = editor_->markTipAt(help->pos().y());
    if (tip.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(help->globalPos(), tip, this);
    return true;
  }

 private:
  TEditorText* editor_;
};

const QColor ErrorMarkColour(0xd0, 0x20, 0x20);
const QColor WarningMarkColour(0xf0, 0x90, 0x00);

}  // namespace

TEditorText::TEditorText(QWidget* parent) : QPlainTextEdit(parent), gutter_(new Gutter(this)) {
  setFont(TextWindowFont());
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(false);
  setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
  // The selection stays visible while another window has the focus.
  QPalette p = palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(p);

  connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { setViewportMargins(gutterWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, &TEditorText::updateGutter);
  setViewportMargins(gutterWidth(), 0, 0, 0);
}

int TEditorText::gutterWidth() const {
  int digits = 1;
  for (int n = std::max(1, blockCount()); n >= 10; n /= 10) ++digits;
  // Room on the left for the mark of a line with a problem.
  const int markRoom = lineMarks_.empty() ? 0 : fontMetrics().height() - 4;
  return 10 + markRoom + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

void TEditorText::updateGutter(const QRect& rect, int dy) {
  if (dy)
    gutter_->scroll(0, dy);
  else
    gutter_->update(0, rect.y(), gutter_->width(), rect.height());
}

void TEditorText::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  QRect area = contentsRect();
  gutter_->setGeometry(QRect(area.left(), area.top(), gutterWidth(), area.height()));
}

void TEditorText::paintGutter(QPaintEvent* event) {
  QPainter painter(gutter_);
  painter.fillRect(event->rect(), QColor(0xf0, 0xf0, 0xf0));
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.setFont(font());
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  int width = gutter_->width() - 5;
  // The pieces of a very long line (LongLines.h) share its number, shown at its first piece.
  const bool pieces = hasLinePieces && hasLinePieces();
  int line = pieces ? LineOfBlock(block) : block.blockNumber();
  // Only the blocks in view are painted, so a long deck costs no more than a short one.
  while (block.isValid() && top <= event->rect().bottom()) {
    int height = qRound(blockBoundingRect(block).height());
    const bool continuation = pieces && IsContinuation(block);
    if (block.isVisible() && top + height >= event->rect().top() && !continuation) {
      if (auto mark = lineMarks_.find(static_cast<std::size_t>(line) + 1); mark != lineMarks_.end()) {
        const int size = std::max(4, fontMetrics().height() - 6);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(mark->second.error ? ErrorMarkColour : WarningMarkColour);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(2, top + (fontMetrics().height() - size) / 2, size, size);
        painter.setPen(QColor(0x80, 0x80, 0x80));
      }
      painter.drawText(0, top, width, fontMetrics().height(), Qt::AlignRight, QString::number(line + 1));
    }
    top += height;
    block = block.next();
    if (!pieces || !IsContinuation(block)) ++line;
  }
}

void TEditorText::setLineMarks(std::map<std::size_t, LineMark> marks) {
  lineMarks_ = std::move(marks);
  setViewportMargins(gutterWidth(), 0, 0, 0);
  gutter_->update();
}

QString TEditorText::markTipAt(int y) const {
  if (lineMarks_.empty()) return {};
  QTextBlock block = cursorForPosition(QPoint(0, y)).block();
  if (!block.isValid()) return {};
  const bool pieces = hasLinePieces && hasLinePieces();
  const int line = pieces ? LineOfBlock(block) : block.blockNumber();
  auto mark = lineMarks_.find(static_cast<std::size_t>(line) + 1);
  return mark == lineMarks_.end() ? QString() : mark->second.text;
}

void TEditorText::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Slash && event->modifiers() == Qt::ControlModifier && toggleCommentKey) {
    if (!toggleCommentKey()) QApplication::beep();
    return;
  }
  // Home and End go to the start and end of the whole line, also when it is held in pieces.
  if ((event->key() == Qt::Key_Home || event->key() == Qt::Key_End) &&
      (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::ShiftModifier)) {
    QTextCursor cursor = textCursor();
    QTextBlock block = cursor.block();
    if (IsContinuation(block) || IsContinuation(block.next())) {
      auto mode = event->modifiers() == Qt::ShiftModifier ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
      if (event->key() == Qt::Key_Home) {
        cursor.setPosition(FirstBlockOfLine(block).position(), mode);
      } else {
        QTextBlock last = LastBlockOfLine(block);
        cursor.setPosition(last.position() + last.length() - 1, mode);
      }
      setTextCursor(cursor);
      return;
    }
  }
  // Delete at the end of a piece and Backspace at the start of one take the character beyond the
  // join, as they would in the line held whole; undo and redo put back the pieces' marks.
  const bool pieces = hasLinePieces && hasLinePieces() && !isReadOnly();
  const bool forward = event->key() == Qt::Key_Delete;
  if (pieces && (forward || event->key() == Qt::Key_Backspace) && event->modifiers() == Qt::NoModifier &&
      !textCursor().hasSelection()) {
    QTextCursor cursor = textCursor();
    if (forward ? cursor.atBlockEnd() && IsContinuation(cursor.block().next()) : cursor.atBlockStart() && IsContinuation(cursor.block())) {
      cursor.movePosition(forward ? QTextCursor::NextCharacter : QTextCursor::PreviousCharacter);
      if (forward ? !cursor.atBlockEnd() : !cursor.atBlockStart()) {
        forward ? cursor.deleteChar() : cursor.deletePreviousChar();
        setTextCursor(cursor);
        return;
      }
    }
  }
  if (pieces && undoRedo && (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))) {
    undoRedo(event->matches(QKeySequence::Redo));
    return;
  }
  if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
    setOverwriteMode(!overwriteMode());  // the caret becomes a block in overwrite mode
    viewport()->update();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void TEditorText::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && !(event->modifiers() & Qt::ShiftModifier) && textCursor().hasSelection() &&
      rightClickWithSelection && rightClickWithSelection()) {
    swallowContextMenu_ = true;
    event->accept();
    return;
  }
  QPlainTextEdit::mousePressEvent(event);
}

void TEditorText::contextMenuEvent(QContextMenuEvent* event) {
  if (swallowContextMenu_) {
    swallowContextMenu_ = false;
    event->accept();
    return;
  }
  if (!contextMenu) return QPlainTextEdit::contextMenuEvent(event);
  std::unique_ptr<QMenu> menu(contextMenu());
  menu->exec(event->globalPos());
}

// A selection across the pieces of a long line is copied as the line is, without line breaks
// where its pieces join.
QMimeData* TEditorText::createMimeDataFromSelection() const {
  const QTextCursor cursor = textCursor();
  if (!hasLinePieces || !hasLinePieces() ||
      document()->findBlock(cursor.selectionStart()) == document()->findBlock(cursor.selectionEnd()))
    return QPlainTextEdit::createMimeDataFromSelection();
  auto* data = new QMimeData;
  data->setText(JoinPiecesOfSelection(cursor, cursor.selection().toPlainText()));
  return data;
}

// ---- the window --------------------------------------------------------------------------------

namespace {

// The end a line was read with, where it differs from the file's usual one. It stays with the
// line (the text block) while the line is edited; lines the user adds have none.
class OwnLineEnd : public QTextBlockUserData {
 public:
  explicit OwnLineEnd(LineEnd end) : end(end) {}
  LineEnd end;
};

}  // namespace

TEditForm::TEditForm(TTALSHELLFORM* shell, KindCode kind)
    : TChildForm(shell, kind), editor_(new TEditorText(this)), watch_(new FileWatch(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(editor_);
  setFocusProxy(editor_);
  resize(640, 420);
  editor_->rightClickWithSelection = [this] { return ToggleComments(); };
  editor_->toggleCommentKey = [this] { return ToggleComments(); };
  editor_->hasLinePieces = [this] { return linePieces_; };
  editor_->contextMenu = [this] { return CreateContextMenu(); };
  editor_->undoRedo = [this](bool redo) { UndoRedo(redo); };
  connect(editor_->document(), &QTextDocument::contentsChanged, this, [this] {
    if (linePieces_ && !undoing_) NoteLinePieces();
  });
  connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    if (this->shell() && this->shell()->activeChild() == this) ShowCursorPlace(*this->shell());
  });
  // The Undo item follows the undo state of the editor created last.
  connect(editor_->document(), &QTextDocument::undoAvailable, this, [this] {
    if (this->shell() && this->shell()->lastCreatedEditor() == this) this->shell()->UpdateMenu();
  });
  // Another program may change the file while it is shown (a generator, a run, another editor).
  connect(watch_, &FileWatch::mayHaveChanged, this, &TEditForm::CheckFile);
  connect(&RunProblems::instance(), &RunProblems::changed, this, &TEditForm::MarkProblemLines);
  UpdateHighlighting();
}

TEditForm::~TEditForm() {
  if (findDlg_) delete findDlg_;
  if (replaceDlg_) delete replaceDlg_;
}

std::function<bool(TEditForm&)>& TEditForm::SaveAsHandler() {
  static std::function<bool(TEditForm&)> handler;
  return handler;
}

void TEditForm::setKind(KindCode kind) {
  TChildForm::setKind(kind);
  UpdateHighlighting();
  if (QMdiSubWindow* window = subWindow()) window->setWindowIcon(ChildWindowIcon(kind));
}

void TEditForm::UpdateHighlighting() {
  bool deck = kind() == KindCode::DeckEditor || kind() == KindCode::TalkitText;
  if (deck && !highlighter_) {
    highlighter_ = new DeckHighlighter(editor_->document());
  } else if (!deck && highlighter_) {
    delete highlighter_;
    highlighter_ = nullptr;
  }
}

bool TEditForm::isModified() const { return editor_->document()->isModified(); }
void TEditForm::setModified(bool modified) { editor_->document()->setModified(modified); }

std::string TEditForm::text() const {
  // Block by block rather than toPlainText(), which would turn non-breaking blanks into blanks.
  std::string out;
  for (QTextBlock block = editor_->document()->begin(); block.isValid(); block = block.next()) {
    if (block != editor_->document()->begin() && !IsContinuation(block)) out += '\n';
    out += FromQt(block.text());
  }
  return out;
}

void TEditForm::setText(const std::string& text) {
  std::vector<int> continuations;
  QString shown = SplitLongLines(ToQt(text), continuations);
  editor_->setPlainText(shown);
  MarkContinuations(*editor_->document(), continuations);
  linePieces_ = !continuations.empty();
  pieceSteps_.clear();
  if (linePieces_) NoteLinePieces();
  if (linePieces_ && highlighter_) highlighter_->rehighlight();
  // Text put in from elsewhere is not what the file holds.
  fileHoldsText_ = false;
  hasOwnEnds_ = false;
}

// Lines, not blocks: the pieces of a very long line (LongLines.h) have no line end of their own.
EditorLineEnds TEditForm::lineEnds() const {
  EditorLineEnds ends = lineEnds_;
  ends.own.clear();
  if (!hasOwnEnds_) return ends;
  std::size_t line = 0;
  for (QTextBlock block = editor_->document()->begin(); block.isValid(); block = block.next()) {
    if (IsContinuation(block)) continue;
    auto* own = dynamic_cast<OwnLineEnd*>(block.userData());
    if (own) {
      if (ends.own.size() <= line) ends.own.resize(line + 1, LineEnd::None);
      ends.own[line] = own->end;
    }
    ++line;
  }
  return ends;
}

bool TEditForm::Open(const std::string& name) {
  setKind(ExtensionOf(name) == ".DCK" ? KindCode::DeckEditor : KindCode::TextEditor);
  setFileName(name);
  setCaption(name);
  // Taken before reading: a change made while the file is read shows as a change afterwards.
  const FileStamp stamp = StampOf(name);
  std::optional<std::string> bytes = ReadWholeFile(name);
  if (!bytes) {
    editor_->clear();
    ShowMessageKind("Cannot read " + name, ErrorOk, true);
    return false;
  }
  ShowFileText(*bytes);
  TakeDiskStamp(stamp);
  return true;
}

// The text of the file's bytes, caret at the start, not modified.
void TEditForm::ShowFileText(const std::string& bytes) {
  editor_->hide();
  editor_->clear();
  EditorFileText content = EditorTextOf(bytes);
  lineEnd_ = content.lineEnd;
  lineEnds_ = content.ends;
  setText(content.text);
  hasOwnEnds_ = !content.ends.own.empty();
  if (hasOwnEnds_) {
    std::size_t line = 0;
    for (QTextBlock block = editor_->document()->begin(); block.isValid() && line < content.ends.own.size();
         block = block.next()) {
      if (IsContinuation(block)) continue;  // the end belongs to the line's first block
      if (content.ends.own[line] != LineEnd::None) block.setUserData(new OwnLineEnd(content.ends.own[line]));
      ++line;
    }
  }
  editor_->show();
  editor_->moveCursor(QTextCursor::Start);
  editor_->horizontalScrollBar()->setValue(0);
  editor_->verticalScrollBar()->setValue(0);
  setModified(false);
  MarkProblemLines();
  fileHoldsText_ = true;
}

void TEditForm::TakeDiskStamp(const FileStamp& stamp) {
  stampName_ = fileName();
  diskStamp_ = stamp;
  keptStamp_ = {};
  watch_->setPath(fileName());
}

// True when the file under the window's name is the one it read or wrote, and another program
// has changed it since. A file deleted meanwhile holds nobody's work: no change.
bool TEditForm::ChangedOnDisk(FileStamp* now) const {
  if (stampName_.empty() || stampName_ != fileName()) return false;
  const FileStamp stamp = StampOf(fileName());
  if (now) *now = stamp;
  return stamp.exists && stamp != diskStamp_;
}

void TEditForm::CheckFile() {
  FileStamp now;
  if (askingAboutDisk_ || !ChangedOnDisk(&now) || now == keptStamp_) return;
  if (fileHoldsText_ && !isModified()) {
    Reload();
    return;
  }
  if (AskAboutDisk(" has been changed by another program.  Read it again and lose the changes made here?"))
    Reload();
  else
    keptStamp_ = now;  // Save asks before writing over it
}

// The watch goes on while a question waits: it must not ask a second one meanwhile.
bool TEditForm::AskAboutDisk(const std::string& question) {
  askingAboutDisk_ = true;
  const Button answer = ShowMessageKind(fileName() + question, WarningYesNo, true);
  askingAboutDisk_ = false;
  return answer == Button::Yes;
}

bool TEditForm::Reload() {
  const FileStamp stamp = StampOf(fileName());
  std::optional<std::string> bytes = ReadWholeFile(fileName());
  if (!bytes) return false;  // being replaced, or gone: the text stays until the file can be read
  const std::size_t line = currentLine();
  const int scroll = editor_->verticalScrollBar()->value();
  const bool focused = editor_->hasFocus();
  ShowFileText(*bytes);
  TakeDiskStamp(stamp);
  const int index = static_cast<int>(std::min(line, lineCount())) - 1;
  QTextBlock block = linePieces_ ? BlockOfLine(*editor_->document(), index) : editor_->document()->findBlockByNumber(index);
  if (block.isValid()) editor_->setTextCursor(QTextCursor(block));
  editor_->verticalScrollBar()->setValue(scroll);
  if (focused) editor_->setFocus();
  return true;
}

bool TEditForm::Save() {
  if (fileName().empty() || firstSaveGoesThroughSaveAs()) return SaveAsHandler() ? SaveAsHandler()(*this) : false;
  // Unchanged since it was read or saved: the file already holds it, byte for byte.
  if (fileHoldsText_ && !isModified()) return true;
  // Another program's work is written over only when the user says so.
  if (ChangedOnDisk() &&
      !AskAboutDisk(" has been changed by another program since it was read.  Write the text of this window over it?"))
    return false;
  std::string failure = WriteFileAtomically(fileName(), EditorFileBytes(text(), lineEnds()));
  if (!failure.empty()) {
    ShowMessageKind(failure, ErrorOk, true);
    return false;  // the text stays marked as changed
  }
  setModified(false);
  fileHoldsText_ = true;
  TakeDiskStamp(StampOf(fileName()));
  fileWritten();
  return true;
}

bool TEditForm::SaveAs(const std::string& name) {
  if (name != fileName()) fileHoldsText_ = false;
  setFileName(name);
  setCaption(name);
  MarkProblemLines();
  return Save();
}

bool TEditForm::closeQuery() {
  if (!isModified()) return true;
  std::string who = fileName().empty() ? "This file" : fileName();
  switch (ShowMessageKind(who + " has been changed.  Save it?", WarningYesNoCancel, false)) {
    case Button::Yes:
      // A failed write keeps the window open: closing it would lose the changes.
      return Save();
    case Button::No:
      return true;
    default:
      return false;
  }
}

bool TEditForm::canUndo() const { return editor_->document()->isUndoAvailable(); }
void TEditForm::undo() { UndoRedo(false); }

void TEditForm::NoteLinePieces() {
  const auto step = static_cast<std::size_t>(editor_->document()->availableUndoSteps());
  if (pieceSteps_.size() <= step) pieceSteps_.resize(step + 1);
  auto blocks = std::make_shared<const std::vector<int>>(ContinuationBlocks(*editor_->document()));
  // Most steps leave the pieces as they were: those share the numbers of the step before.
  const bool same = step > 0 && pieceSteps_[step - 1] && *pieceSteps_[step - 1] == *blocks;
  pieceSteps_[step] = same ? pieceSteps_[step - 1] : blocks;
}

// An edit that joined two pieces (a deletion or replacement across their join) is undone with a
// block that has lost its mark, which would break the line there: the marks are put back.
void TEditForm::UndoRedo(bool redo) {
  undoing_ = true;
  redo ? editor_->redo() : editor_->undo();
  undoing_ = false;
  const auto step = static_cast<std::size_t>(editor_->document()->availableUndoSteps());
  if (linePieces_ && step < pieceSteps_.size() && pieceSteps_[step] &&
      MarkContinuations(*editor_->document(), *pieceSteps_[step])) {
    if (highlighter_) highlighter_->rehighlight();
    editor_->viewport()->update();
  }
}

void TEditForm::printOn(TPrintJob& job) {
  QTextBlock block = editor_->document()->begin();
  PrintTextLines(job, [&block](std::string& line) {
    if (!block.isValid()) return false;
    line = FromQt(block.text());
    for (block = block.next(); IsContinuation(block); block = block.next()) line += FromQt(block.text());
    return true;
  });
}

void TEditForm::cutSelection() { editor_->cut(); }
void TEditForm::copySelection() { editor_->copy(); }
void TEditForm::pasteClipboard() { editor_->paste(); }
void TEditForm::clearSelection() { editor_->textCursor().removeSelectedText(); }

TFindDlg* TEditForm::findDialog() {
  if (!findDlg_) {
    findDlg_ = new TFindDlg(true, this->window());
    findDlg_->onFindNext = [this] { Find(); };
  }
  return findDlg_;
}

TReplaceDlg* TEditForm::replaceDialog() {
  if (!replaceDlg_) {
    replaceDlg_ = new TReplaceDlg(this->window());
    replaceDlg_->onFindNext = [this] { Find(replaceDlg_->options()); };
    replaceDlg_->onReplace = [this](bool all) { Replace(all); };
  }
  return replaceDlg_;
}

void TEditForm::ShowFind() {
  findDialog()->Reopen();
}

void TEditForm::ShowReplace() {
  replaceDialog()->Reopen();
}

void TEditForm::SearchDone() {
  if (shell()) shell()->UpdateMenu();
}

bool TEditForm::Find() { return Find(findDialog()->options()); }

bool TEditForm::Find(const SearchOptions& options) {
  QTextCursor found = FindInDocument(*editor_->document(), editor_->textCursor(), options);
  if (found.isNull())
    interaction().beep();
  else
    editor_->setTextCursor(found);
  // Both dialogs start from the text searched last.
  findDialog()->setFindText(options.findText);
  replaceDialog()->setFindText(options.findText);
  return !found.isNull();
}

int TEditForm::Replace(bool all) { return Replace(replaceDialog()->options(), all); }

int TEditForm::Replace(const SearchOptions& options, bool all) {
  lastReplaceWasAll_ = all;
  int count = 0;
  if (all) {
    count = ReplaceAll(*editor_->document(), options);
  } else {
    QTextCursor done = ReplaceNext(*editor_->document(), editor_->textCursor(), options);
    if (!done.isNull()) {
      editor_->setTextCursor(done);
      count = 1;
    }
  }
  if (count == 0) interaction().beep();
  SearchDone();
  return count;
}

int TEditForm::ReplaceAgain() { return Replace(lastReplaceWasAll_); }

std::size_t TEditForm::lineCount() const {
  return static_cast<std::size_t>(linePieces_ ? LineCount(*editor_->document()) : editor_->blockCount());
}

std::size_t TEditForm::currentLine() const {
  QTextBlock block = editor_->textCursor().block();
  return static_cast<std::size_t>(linePieces_ ? LineOfBlock(block) : block.blockNumber()) + 1;
}

void TEditForm::goToLine(std::size_t line) {
  const int index = static_cast<int>(line) - 1;
  QTextBlock block = linePieces_ ? BlockOfLine(*editor_->document(), index) : editor_->document()->findBlockByNumber(index);
  if (!block.isValid()) return;
  editor_->setTextCursor(QTextCursor(block));
  editor_->centerCursor();
  editor_->setFocus();
}

void TEditForm::SelectLine(std::size_t line) {
  goToLine(line);
  QTextCursor cursor = editor_->textCursor();
  if (static_cast<std::size_t>(currentLine()) != line) return;
  cursor.movePosition(QTextCursor::StartOfBlock);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  editor_->setTextCursor(cursor);
}

void TEditForm::MarkProblemLines() {
  std::map<std::size_t, TEditorText::LineMark> marks;
  if (!fileName().empty()) {
    for (const Problem& p : RunProblems::instance().ProblemsOf(fileName())) {
      if (p.line == 0) continue;
      TEditorText::LineMark& mark = marks[p.line];
      const bool error = p.kind == ProblemKind::Error;
      mark.error = mark.error || error;
      mark.text += (mark.text.isEmpty() ? "" : "\n") + QString(error ? "error: " : "warning: ") + ToQt(p.text);
    }
  }
  if (marks.empty() && editor_->lineMarks().empty()) return;
  editor_->setLineMarks(std::move(marks));
}

std::string TEditForm::cursorPlace() const {
  QTextCursor cursor = editor_->textCursor();
  if (!linePieces_)
    return CursorPlaceText(static_cast<std::size_t>(cursor.blockNumber()) + 1,
                           static_cast<std::size_t>(cursor.positionInBlock()) + 1);
  return CursorPlaceText(currentLine(), static_cast<std::size_t>(ColumnInLine(cursor.block(), cursor.positionInBlock())) + 1);
}

QMenu* TEditForm::CreateContextMenu() {
  auto* menu = new QMenu(editor_);
  const bool selection = editor_->textCursor().hasSelection();
  if (kind() == KindCode::DeckEditor || kind() == KindCode::TalkitText) {
    QAction* toggle = menu->addAction("Toggle Comment", this, [this] { ToggleComments(); });
    toggle->setShortcut(QKeySequence("Ctrl+/"));
    toggle->setEnabled(selection);
    menu->addSeparator();
  }
  QAction* cut = menu->addAction("Cut", this, [this] {
    cutSelection();
    if (shell()) shell()->UpdateMenu();
  });
  cut->setShortcut(QKeySequence::Cut);
  cut->setEnabled(selection && !editor_->isReadOnly());
  QAction* copy = menu->addAction("Copy", this, [this] { copySelection(); });
  copy->setShortcut(QKeySequence::Copy);
  copy->setEnabled(selection);
  QAction* paste = menu->addAction("Paste", this, [this] {
    pasteClipboard();
    if (shell()) shell()->UpdateMenu();
  });
  paste->setShortcut(QKeySequence::Paste);
  paste->setEnabled(editor_->canPaste());
  return menu;
}

bool TEditForm::ToggleComments() {
  if (kind() != KindCode::DeckEditor && kind() != KindCode::TalkitText) return false;
  QTextCursor selection = editor_->textCursor();
  if (!ToggleCommentLines(*editor_->document(), selection)) return false;
  return true;
}

}  // namespace tal
