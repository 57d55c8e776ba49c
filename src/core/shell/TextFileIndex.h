#pragma once
// The model behind the viewer window: a text file far too large to hold as a document (an engine
// run can leave hundreds of megabytes of output) read through a sparse line index.
//
// The file is never loaded whole. Opening only takes its size; the index is built in slices
// (IndexMore) so that a window can show the first screen at once and keep indexing from its
// event loop. Lines are read back on demand with positioned reads, so a file that the engine
// rewrites or shortens meanwhile never crashes the viewer: it only shows fewer lines.
//
// The index keeps one checkpoint (line number, byte offset) per block of lines: a new block starts
// after 64 lines or after 64 KiB, whichever comes first, so finding any line means one binary
// search and a forward scan of at most about 64 KiB. Its memory is a small fraction of the file.
#include <cstdint>
#include <string>
#include <vector>

namespace tal {

class TextFileIndex {
 public:
  // What a line shows at most on screen; a longer line is shown cut (the file is never changed).
  static constexpr std::size_t MaxShownLine = 64 * 1024;

  TextFileIndex() = default;
  ~TextFileIndex();
  TextFileIndex(const TextFileIndex&) = delete;
  TextFileIndex& operator=(const TextFileIndex&) = delete;

  // Opens `path` for reading and takes its current size as the extent to index. Returns "" on
  // success, else a message naming the file.
  std::string Open(const std::string& path);
  bool isOpen() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }

  // Indexes about `budgetBytes` more of the file; true when the whole file is indexed.
  bool IndexMore(std::size_t budgetBytes);
  // Indexes until `offset` is covered (or the file is done).
  void IndexThrough(std::uint64_t offset);
  bool complete() const { return complete_; }
  std::uint64_t indexedBytes() const { return indexed_; }
  std::uint64_t size() const { return size_; }

  // Lines known so far: every line ended by a line feed within the indexed part, plus the last
  // line of a file that does not end with one once the index is complete.
  std::size_t lineCount() const;
  // The longest line seen so far, in bytes (drives the horizontal scroll range).
  std::size_t longestLine() const { return longest_; }

  // Line `n` (0-based, < lineCount()) without its line end ("\n" or "\r\n"), cut to MaxShownLine.
  std::string Line(std::size_t n) const;
  // Lines first .. first+count-1 (fewer at the end), read in one pass.
  std::vector<std::string> Lines(std::size_t first, std::size_t count) const;
  // Byte offset where line `n` starts (n <= lineCount(); lineCount() gives the indexed end).
  std::uint64_t LineStart(std::size_t n) const;
  // The line that holds byte `offset` (offset < indexedBytes(), else the last known line).
  std::size_t LineAt(std::uint64_t offset) const;

  // Reads up to `count` bytes at `offset` (never past the indexed size); returns the bytes read.
  std::size_t Read(std::uint64_t offset, char* buffer, std::size_t count) const;
  // Bytes [from, to) as a string (cut to the file's size).
  std::string Bytes(std::uint64_t from, std::uint64_t to) const;

  // Approximate memory the index itself holds, in bytes.
  std::size_t memoryUse() const { return checkpoints_.capacity() * sizeof(Checkpoint) + buffer_.capacity(); }

 private:
  struct Checkpoint {
    std::uint64_t line;
    std::uint64_t offset;
  };
  static constexpr std::size_t LinesPerBlock = 64;
  static constexpr std::uint64_t BytesPerBlock = 64 * 1024;

  void Close();
  void NoteLineStart(std::uint64_t offset);
  const Checkpoint& CheckpointFor(std::size_t line) const;
  // Offset of the start of the line after the one starting at `offset`, or the indexed end.
  std::uint64_t NextLineStart(std::uint64_t offset) const;

  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t indexed_ = 0;
  std::uint64_t lines_ = 0;          // line feeds seen
  std::uint64_t lastLineStart_ = 0;  // start of the line being scanned
  std::size_t longest_ = 0;
  bool complete_ = false;
  std::vector<Checkpoint> checkpoints_;
  std::vector<char> buffer_;
};

}  // namespace tal
