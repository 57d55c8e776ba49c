#pragma once
// The viewer window (kinds 3000 listing and 6000 output): a read-only view of a text file of any
// size. The view reads the file through a line index: the beginning is indexed at once for the
// first screen, the rest by a worker thread whose progress the window takes over from its event
// loop, and searches run on a worker too. So a large file or a slow disk never holds the window,
// and the file is never loaded whole.
#include <QAbstractScrollArea>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>

class QLabel;

#include "shell/BackgroundFileWork.h"
#include "shell/ChildForm.h"
#include "shell/TextFileIndex.h"
#include "shell/TextFileSearch.h"

namespace tal {

class FileWatch;
class TFindDlg;

// A place in the viewed file: line and byte column.
struct TextPlace {
  std::size_t line = 0;
  std::size_t column = 0;
  bool operator==(const TextPlace&) const = default;
  auto operator<=>(const TextPlace&) const = default;
};

// The scrolling text area of a viewer window.
class TTextFileView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TTextFileView(QWidget* parent = nullptr);
  ~TTextFileView() override;

  // Opens `path` and indexes its beginning at once; the rest is indexed in the background.
  // Returns "" or a message naming the file.
  std::string Open(const std::string& path);
  const TextFileIndex& index() const { return index_; }
  bool indexing() const { return !index_.complete(); }
  // Indexes the rest of the file now (printing needs every line).
  void IndexAll();

  std::size_t firstVisibleLine() const;
  int visibleLineCount() const;
  void ScrollToLine(std::size_t line);
  // Shows the end of the file; while the index is still growing, it follows it to the end.
  void ScrollToEnd();
  // True when the view shows the end of the file or follows the index there.
  bool showingEnd() const;

  // Looks at the file on disk: when its stamp (size, time or identity) differs from the one read,
  // reads it again (Reload). True when it did.
  bool CheckFile();
  // Reads the file again: text appended to it is indexed on from where the index stood, a file
  // rewritten or replaced is read anew. The line at the top stays at the top and the selection
  // where it was, as far as the new text reaches; a view that showed the end follows the new end,
  // so a file being written can be watched as it grows.
  void Reload();

  // Selection: from the anchor to the caret (either order).
  TextPlace anchor() const { return anchor_; }
  TextPlace caret() const { return caret_; }
  void Select(TextPlace anchor, TextPlace caret);
  bool hasSelection() const { return anchor_ != caret_; }
  // The selected bytes, lines separated as in the file.
  std::string selectedText() const;
  // Copies the selection to the clipboard; false (after a beep) when nothing is selected or the
  // selection is too large for the clipboard.
  bool CopySelection();

  // Starts a search from the caret; `done(found)` runs when it ends. A new search replaces a
  // running one.
  void StartFind(const std::string& text, bool matchCase, bool down, std::function<void(bool)> done);
  bool searching() const { return search_ != nullptr || pendingMatch_.has_value(); }
  void CancelFind();

  // The largest selection CopySelection puts on the clipboard.
  static constexpr std::size_t MaxCopyBytes = 64u * 1024 * 1024;

 signals:
  void indexComplete();
  // The caret moved (by keys, the mouse, a find or Go to Line).
  void caretMoved();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void StartBackgroundScan();
  void StopBackgroundScan();
  void TakeScan(unsigned generation, BackgroundLineScan::Delivery delivery);
  void KeepTopLine(std::size_t line);
  void ClampSelection();
  void IndexGrew(std::size_t linesBefore);
  void TakeSearchResult(unsigned generation, std::optional<std::uint64_t> offset);
  void ShowPendingMatch();
  void FinishSearch(bool found);
  void UpdateScrollRanges();
  void MoveCaret(TextPlace place, bool extend);
  void EnsureVisible(TextPlace place);
  TextPlace PlaceAt(const QPoint& point) const;
  std::uint64_t OffsetOf(TextPlace place) const;
  TextPlace PlaceOf(std::uint64_t offset) const;
  int lineHeight() const;
  int charWidth() const;

  TextFileIndex index_;
  std::unique_ptr<BackgroundLineScan> scan_;
  unsigned scanGeneration_ = 0;  // reports of a scan stopped by a reload are dropped
  std::optional<std::size_t> keptTopLine_;  // after a reload: the top line, once the index reaches it
  std::unique_ptr<BackgroundSearch> search_;
  unsigned searchGeneration_ = 0;
  std::size_t searchLength_ = 0;
  std::optional<std::uint64_t> pendingMatch_;  // found, waiting for the index to reach it
  std::function<void(bool)> searchDone_;
  bool followEnd_ = false;
  TextPlace anchor_;
  TextPlace caret_;
};

class TViewForm : public TChildForm {
  Q_OBJECT

 public:
  // A viewer of `path`, titled with it. When the file cannot be read the window shows the
  // message and stays empty (isOpen() is false).
  TViewForm(TTALSHELLFORM* shell, const std::string& path, KindCode kind);
  ~TViewForm() override;

  bool isOpen() const { return open_; }
  TTextFileView* view() const { return view_; }
  // The file changed on disk: the view reads it again (TTextFileView::Reload). The window's watch
  // calls CheckFile; Reload reads the file again now.
  bool CheckFile();
  void Reload();
  // Shows the end of the file and keeps showing it as the file grows, until the user scrolls away.
  void FollowEnd();
  // A line above the text saying why the file is shown this way; "" while there is none.
  void ShowNote(const std::string& note);
  std::string note() const;

  void copySelection() override;
  void printOn(TPrintJob& job) override;

  // Lines and the caret (Go to Line, the status bar); lines not yet indexed are not counted.
  std::size_t lineCount() const override;
  std::size_t currentLine() const override;
  void goToLine(std::size_t line) override;
  void countAllLines() override;
  std::string cursorPlace() const override;

  void ShowFind();
  // Runs a find with the find dialog's options; beeps when nothing is found. The search runs in
  // slices; `done` (optional) hears the result.
  void Find(std::function<void(bool)> done = {});
  TFindDlg* findDialog();

 private:
  TTextFileView* view_;
  QLabel* note_ = nullptr;
  QPointer<TFindDlg> findDlg_;
  FileWatch* watch_;
  bool open_ = false;
};

}  // namespace tal
