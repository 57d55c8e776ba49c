#pragma once
// The model behind the viewer window: a text file far too large to hold as a document (an engine
// run can leave hundreds of megabytes of output) read through a sparse line index.
//
// The file is never loaded whole. Opening only takes its size; the index grows in slices, either
// here (IndexMore) or from a background scan whose results are applied here (Apply), so that a
// window can show the first screen at once and never waits for the disk. Lines are read back on
// demand with positioned reads, so a file that the engine rewrites or shortens meanwhile never
// crashes the viewer: it only shows fewer lines.
//
// The index keeps one checkpoint (line number, byte offset) per block of lines: a new block starts
// after 64 lines or after 64 KiB, whichever comes first, so finding any line means one binary
// search and a forward scan of at most about 64 KiB. Its memory is a small fraction of the file.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/ByteLanes.h"
#include "support/FileStamp.h"

namespace tal {

// Positioned reads of one open file. Reading is safe from any thread, so a background scan or
// search shares the file with the window that shows it.
class FileBytes {
 public:
  // Opens `path`; nullptr with a message naming the file when it cannot be read.
  static std::shared_ptr<const FileBytes> Open(const std::string& path, std::string& error);
  ~FileBytes();
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  // The size when the file was opened.
  std::uint64_t size() const { return size_; }
  // The file's stamp when it was opened.
  const FileStamp& stamp() const { return stamp_; }
  // What scans and searches read at a time: small enough to stay in the processor's cache
  // between being read and being looked at.
  static constexpr std::size_t ReadPiece = 128 * 1024;

  // Reads up to `count` bytes at `offset` (fewer at the end, or when the file was shortened).
  std::size_t Read(std::uint64_t offset, char* buffer, std::size_t count) const;

 private:
  FileBytes(int fd, const FileStamp& stamp) : fd_(fd), size_(stamp.size), stamp_(stamp) {}
  int fd_;
  std::uint64_t size_;
  FileStamp stamp_;
};

struct LineCheckpoint {
  std::uint64_t line;
  std::uint64_t offset;
};

// Where a scan of the file stands: everything needed to go on scanning, here or on another thread.
struct LineScan {
  static constexpr std::size_t LinesPerBlock = 64;
  static constexpr std::uint64_t BytesPerBlock = 64 * 1024;

  std::uint64_t indexed = 0;        // bytes scanned
  std::uint64_t lines = 0;          // line feeds seen
  std::uint64_t lastLineStart = 0;  // start of the line being scanned
  std::size_t longest = 0;          // longest line seen, in bytes
  LineCheckpoint lastCheckpoint{0, 0};

  // Scans the next `count` bytes of the file (they start at `indexed`), adding the checkpoints of
  // new blocks to `added`; `lanes` says how many bytes are compared at once.
  void Scan(const char* bytes, std::size_t count, std::vector<LineCheckpoint>& added,
            ByteLanes lanes = FastestLanes());

 private:
  friend struct LineScanLoops;  // the scan, compiled once for each kind of lanes
  void TakeLineFeed(std::uint64_t feedOffset, std::vector<LineCheckpoint>& added);
};

class TextFileIndex {
 public:
  // What a line shows at most on screen; a longer line is shown cut (the file is never changed).
  static constexpr std::size_t MaxShownLine = 64 * 1024;

  TextFileIndex() = default;

  // Opens `path` for reading and takes its current size as the extent to index. Returns "" on
  // success, else a message naming the file (the index is then empty and complete).
  std::string Open(const std::string& path);
  bool isOpen() const { return file_ != nullptr; }
  const std::string& path() const { return path_; }
  // The open file, to share with a background scan or search.
  std::shared_ptr<const FileBytes> file() const { return file_; }

  // The stamp of the file as it was opened or last extended ("exists" false when it could not be
  // opened): a different stamp of path() means the file changed on disk.
  const FileStamp& stamp() const;
  // Takes in text appended to the file since it was opened: when path() leads to the same file,
  // now longer, whose beginning and old end read as they did, the lines known so far stay and the
  // new part is indexed next (the index is no longer complete); true then. False, with nothing
  // changed, when the file was rewritten, replaced, shortened or did not grow: it must be opened
  // anew.
  bool Extend();

  // Indexes about `budgetBytes` more of the file; true when the whole file is indexed.
  bool IndexMore(std::size_t budgetBytes);
  // Indexes until `offset` is covered (or the file is done).
  void IndexThrough(std::uint64_t offset);
  // Where the index stands, for a background scan to go on from.
  const LineScan& scan() const { return scan_; }
  // Takes over a background scan's progress: `from` must be the state the scan started from or
  // last delivered; `atEnd` says the scan reached the end of the file (a short read ends it too).
  // A delivery that does not continue the current state is ignored; returns whether it applied.
  bool Apply(const LineScan& from, const LineScan& to, std::vector<LineCheckpoint> added, bool atEnd);

  bool complete() const { return complete_; }
  std::uint64_t indexedBytes() const { return scan_.indexed; }
  std::uint64_t size() const { return size_; }

  // Lines known so far: every line ended by a line feed within the indexed part, plus the last
  // line of a file that does not end with one once the index is complete.
  std::size_t lineCount() const;
  // The longest line seen so far, in bytes (drives the horizontal scroll range).
  std::size_t longestLine() const { return scan_.longest; }

  // Line `n` (0-based, < lineCount()) without its line end ("\n" or "\r\n"), cut to MaxShownLine.
  std::string Line(std::size_t n) const;
  // Lines first .. first+count-1 (fewer at the end), read in one pass.
  std::vector<std::string> Lines(std::size_t first, std::size_t count) const;
  // Byte offset where line `n` starts (n <= lineCount(); lineCount() gives the indexed end).
  std::uint64_t LineStart(std::size_t n) const;
  // The line that holds byte `offset` (offset < indexedBytes(), else the last known line).
  std::size_t LineAt(std::uint64_t offset) const;

  // Reads up to `count` bytes at `offset` (never past the size); returns the bytes read.
  std::size_t Read(std::uint64_t offset, char* buffer, std::size_t count) const;
  // Bytes [from, to) as a string (cut to the file's size).
  std::string Bytes(std::uint64_t from, std::uint64_t to) const;

  // Approximate memory the index itself holds, in bytes.
  std::size_t memoryUse() const { return checkpoints_.capacity() * sizeof(LineCheckpoint) + buffer_.capacity(); }

 private:
  void Finish(std::uint64_t end);
  const LineCheckpoint& CheckpointFor(std::size_t line) const;
  // The bytes that tell an append from a rewrite: the file's beginning and the end it had.
  std::string Sample(const FileBytes& file, std::uint64_t size) const;

  std::string path_;
  std::shared_ptr<const FileBytes> file_;
  std::uint64_t size_ = 0;
  LineScan scan_;
  bool complete_ = false;
  std::vector<LineCheckpoint> checkpoints_;
  std::vector<char> buffer_;
  std::string sample_;  // Sample() of the file as opened or last extended
};

}  // namespace tal
