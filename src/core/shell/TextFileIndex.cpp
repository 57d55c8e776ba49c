#include "shell/TextFileIndex.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tal {

namespace {

constexpr std::size_t ReadPiece = FileBytes::ReadPiece;
constexpr std::size_t ScanWindow = 64 * 1024;
// Bytes compared at the beginning and at the old end of a file that grew: a program that writes
// its file anew (a listing of the next run) rarely leaves both as they were, one that appends
// always does.
constexpr std::size_t SampleBytes = 4096;

// Walks the file forward through one reused window of bytes, so that scanning many short lines
// costs one read per window rather than one per line.
class ForwardScanner {
 public:
  ForwardScanner(const TextFileIndex& file, std::uint64_t limit) : file_(file), limit_(limit) {}

  // Offset of the first line feed at or after `offset`, or the limit when there is none.
  std::uint64_t FindLineFeed(std::uint64_t offset) {
    while (offset < limit_) {
      if (!Load(offset)) return limit_;
      const char* begin = window_.data() + (offset - start_);
      const char* end = window_.data() + length_;
      if (const void* hit = std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)))
        return offset + static_cast<std::uint64_t>(static_cast<const char*>(hit) - begin);
      offset = start_ + length_;
    }
    return limit_;
  }

  // Appends bytes [from, to) to `out`.
  void Append(std::uint64_t from, std::uint64_t to, std::string& out) {
    while (from < to) {
      if (!Load(from)) return;
      std::uint64_t stop = std::min<std::uint64_t>(to, start_ + length_);
      out.append(window_.data() + (from - start_), static_cast<std::size_t>(stop - from));
      from = stop;
    }
  }

 private:
  bool Load(std::uint64_t offset) {
    if (offset >= start_ && offset < start_ + length_) return true;
    window_.resize(ScanWindow);
    std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(ScanWindow, limit_ - offset));
    start_ = offset;
    length_ = file_.Read(offset, window_.data(), want);
    return length_ > 0;
  }

  const TextFileIndex& file_;
  std::uint64_t limit_;
  std::vector<char> window_;
  std::uint64_t start_ = 0;
  std::size_t length_ = 0;
};

std::string WithoutCarriageReturn(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

std::shared_ptr<const FileBytes> FileBytes::Open(const std::string& path, std::string& error) {
  // Without O_NONBLOCK, opening a FIFO would wait for a writer before fstat could refuse it.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = "Cannot open " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    error = "Cannot open " + path + ": not a plain file";
    return nullptr;
  }
  return std::shared_ptr<const FileBytes>(new FileBytes(fd, StampOfOpenFile(fd)));
}

FileBytes::~FileBytes() { ::close(fd_); }

std::size_t FileBytes::Read(std::uint64_t offset, char* buffer, std::size_t count) const {
  if (offset >= size_) return 0;
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::pread(fd_, buffer + done, count - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the file was shortened under us, or cannot be read: show what we have
    done += static_cast<std::size_t>(n);
  }
  return done;
}

inline void LineScan::TakeLineFeed(std::uint64_t feedOffset, std::vector<LineCheckpoint>& added) {
  longest = std::max<std::size_t>(longest, static_cast<std::size_t>(feedOffset - lastLineStart));
  ++lines;
  lastLineStart = feedOffset + 1;
  if (lines - lastCheckpoint.line >= LinesPerBlock || lastLineStart - lastCheckpoint.offset >= BytesPerBlock) {
    lastCheckpoint = LineCheckpoint{lines, lastLineStart};
    added.push_back(lastCheckpoint);
  }
}

struct LineScanLoops {
  // Output files hold short lines, about one per block of 64 bytes: most blocks are taken
  // together by CountBlocks, and the others one line feed at a time.
  template <class Lanes>
  [[gnu::always_inline]] static void Scan(LineScan& s, const char* bytes, std::size_t count,
                                          std::vector<LineCheckpoint>& added) {
    std::size_t at = 0;
    while (count - at >= LaneBlock) {
      at = CountBlocks<Lanes>(s, bytes, at, count);
      if (count - at < LaneBlock) break;
      const std::uint64_t base = s.indexed + at;
      for (std::uint64_t feeds = Lanes::Equal(bytes + at, '\n'); feeds; feeds &= feeds - 1)
        s.TakeLineFeed(base + static_cast<std::uint64_t>(std::countr_zero(feeds)), added);
      at += LaneBlock;
    }
    for (; at < count; ++at)
      if (bytes[at] == '\n') s.TakeLineFeed(s.indexed + at, added);
    s.indexed += count;
  }

  // Takes the blocks from `at` whose line feeds need not be visited one by one; returns where
  // it stopped: at the first block with a feed that begins a checkpoint block, or at once while
  // the longest line is shorter than a block. A block's first feed may end a line of any length;
  // the others end lines shorter than the block. The checkpoint rules only grow with the lines
  // and offsets, so a block whose last feed begins no checkpoint block holds none that does.
  // The scan's state is kept in locals here (where the compiler keeps it in registers).
  template <class Lanes>
  [[gnu::always_inline]] static std::size_t CountBlocks(LineScan& s, const char* bytes, std::size_t at,
                                                        std::size_t count) {
    if (s.longest < LaneBlock) return at;
    std::uint64_t lines = s.lines, lineStart = s.lastLineStart;
    std::size_t longest = s.longest;
    const std::uint64_t lineLimit = s.lastCheckpoint.line + LineScan::LinesPerBlock;
    const std::uint64_t startLimit = s.lastCheckpoint.offset + LineScan::BytesPerBlock;
    for (; count - at >= LaneBlock; at += LaneBlock) {
      // A block without a feed changes nothing; it is not branched around, as which blocks have
      // none follows no pattern a processor could foresee.
      const std::uint64_t feeds = Lanes::Equal(bytes + at, '\n');
      const std::uint64_t base = s.indexed + at;
      const std::uint64_t moreLines = lines + static_cast<std::uint64_t>(std::popcount(feeds));
      const std::uint64_t nextStart =
          feeds ? base + LaneBlock - static_cast<std::uint64_t>(std::countl_zero(feeds)) : lineStart;
      const std::uint64_t firstLine = feeds ? base + static_cast<std::uint64_t>(std::countr_zero(feeds)) - lineStart : 0;
      if (moreLines >= lineLimit || nextStart >= startLimit) break;
      longest = std::max<std::size_t>(longest, static_cast<std::size_t>(firstLine));
      lines = moreLines;
      lineStart = nextStart;
    }
    s.lines = lines;
    s.lastLineStart = lineStart;
    s.longest = longest;
    return at;
  }
};

namespace {

#if defined(TAL_HAVE_AVX2_LANES)
TAL_AVX2_TARGET void ScanAvx2(LineScan& s, const char* bytes, std::size_t count, std::vector<LineCheckpoint>& added) {
  LineScanLoops::Scan<Avx2Lanes>(s, bytes, count, added);
}
#endif

}  // namespace

void LineScan::Scan(const char* bytes, std::size_t count, std::vector<LineCheckpoint>& added, ByteLanes lanes) {
#if defined(TAL_HAVE_AVX2_LANES)
  if (UsableLanes(lanes) == ByteLanes::Avx2) return ScanAvx2(*this, bytes, count, added);
#endif
  LineScanLoops::Scan<BaselineLanes>(*this, bytes, count, added);
}

std::string TextFileIndex::Open(const std::string& path) {
  path_ = path;
  size_ = 0;
  scan_ = LineScan{};
  complete_ = false;
  checkpoints_.assign(1, LineCheckpoint{0, 0});
  std::string error;
  file_ = FileBytes::Open(path, error);
  if (!file_) {
    complete_ = true;  // nothing to index: a caller waiting for the index must not wait forever
    return error;
  }
  size_ = file_->size();
  if (size_ == 0) complete_ = true;
  sample_ = Sample(*file_, size_);
  return "";
}

const FileStamp& TextFileIndex::stamp() const {
  static const FileStamp none;
  return file_ ? file_->stamp() : none;
}

std::string TextFileIndex::Sample(const FileBytes& file, std::uint64_t size) const {
  const std::uint64_t head = std::min<std::uint64_t>(SampleBytes, size);
  const std::uint64_t tailStart = size - std::min<std::uint64_t>(SampleBytes, size - head);
  std::string sample(static_cast<std::size_t>(head + (size - tailStart)), '\0');
  std::size_t got = file.Read(0, sample.data(), static_cast<std::size_t>(head));
  got += file.Read(tailStart, sample.data() + got, static_cast<std::size_t>(size - tailStart));
  sample.resize(got);
  return sample;
}

bool TextFileIndex::Extend() {
  if (!file_) return false;
  std::string error;
  std::shared_ptr<const FileBytes> grown = FileBytes::Open(path_, error);
  if (!grown || !grown->stamp().sameFile(file_->stamp()) || grown->size() <= file_->size()) return false;
  const std::uint64_t oldSize = file_->size();
  if (Sample(*grown, oldSize) != sample_) return false;
  // Lines indexed so far stay; a last line without its line end is counted again once the scan
  // has gone past it.
  file_ = std::move(grown);
  size_ = file_->size();
  complete_ = false;
  sample_ = Sample(*file_, size_);
  return true;
}

std::size_t TextFileIndex::Read(std::uint64_t offset, char* buffer, std::size_t count) const {
  if (!file_ || offset >= size_) return 0;
  return file_->Read(offset, buffer, static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset)));
}

std::string TextFileIndex::Bytes(std::uint64_t from, std::uint64_t to) const {
  std::string out;
  if (to <= from || from >= size_) return out;
  to = std::min(to, size_);
  out.resize(static_cast<std::size_t>(to - from));
  out.resize(Read(from, out.data(), out.size()));
  return out;
}

void TextFileIndex::Finish(std::uint64_t end) {
  size_ = std::min(size_, end);
  complete_ = true;
  if (scan_.lastLineStart < size_)
    scan_.longest = std::max<std::size_t>(scan_.longest, static_cast<std::size_t>(size_ - scan_.lastLineStart));
}

bool TextFileIndex::IndexMore(std::size_t budgetBytes) {
  if (complete_ || !file_) return true;
  buffer_.resize(ReadPiece);
  std::uint64_t stop = std::min<std::uint64_t>(size_, scan_.indexed + std::max<std::size_t>(budgetBytes, 1));
  while (scan_.indexed < stop) {
    std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(ReadPiece, stop - scan_.indexed));
    std::size_t got = Read(scan_.indexed, buffer_.data(), want);
    if (got == 0) break;  // shortened or unreadable: the file ends here
    scan_.Scan(buffer_.data(), got, checkpoints_);
    if (got < want) break;
  }
  if (scan_.indexed >= size_ || scan_.indexed < stop) Finish(scan_.indexed);
  return complete_;
}

bool TextFileIndex::Apply(const LineScan& from, const LineScan& to, std::vector<LineCheckpoint> added, bool atEnd) {
  if (complete_ || from.indexed != scan_.indexed || from.lines != scan_.lines) return false;
  checkpoints_.insert(checkpoints_.end(), added.begin(), added.end());
  scan_ = to;
  if (atEnd || scan_.indexed >= size_) Finish(scan_.indexed);
  return true;
}

void TextFileIndex::IndexThrough(std::uint64_t offset) {
  while (!complete_ && scan_.indexed <= offset) IndexMore(ReadPiece * 4);
}

std::size_t TextFileIndex::lineCount() const {
  bool unterminatedLast = complete_ && scan_.lastLineStart < size_;
  return static_cast<std::size_t>(scan_.lines) + (unterminatedLast ? 1 : 0);
}

const LineCheckpoint& TextFileIndex::CheckpointFor(std::size_t line) const {
  auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), static_cast<std::uint64_t>(line),
                                [](std::uint64_t l, const LineCheckpoint& c) { return l < c.line; });
  return *(after - 1);  // the first checkpoint is line 0, so there is always one
}

std::uint64_t TextFileIndex::LineStart(std::size_t n) const {
  if (n >= lineCount()) return complete_ ? size_ : scan_.lastLineStart;
  const LineCheckpoint& cp = CheckpointFor(n);
  ForwardScanner scan(*this, scan_.indexed);
  std::uint64_t offset = cp.offset;
  for (std::uint64_t line = cp.line; line < n; ++line) offset = scan.FindLineFeed(offset) + 1;
  return offset;
}

std::vector<std::string> TextFileIndex::Lines(std::size_t first, std::size_t count) const {
  std::vector<std::string> out;
  std::size_t total = lineCount();
  if (first >= total) return out;
  count = std::min(count, total - first);
  out.reserve(count);
  ForwardScanner scan(*this, scan_.indexed);
  std::uint64_t offset = LineStart(first);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint64_t feed = scan.FindLineFeed(offset);
    std::string line;
    scan.Append(offset, std::min<std::uint64_t>(feed, offset + MaxShownLine + 1), line);
    line = WithoutCarriageReturn(std::move(line));
    if (line.size() > MaxShownLine) line.resize(MaxShownLine);
    out.push_back(std::move(line));
    offset = feed + 1;
  }
  return out;
}

std::string TextFileIndex::Line(std::size_t n) const {
  std::vector<std::string> one = Lines(n, 1);
  return one.empty() ? std::string() : std::move(one.front());
}

std::size_t TextFileIndex::LineAt(std::uint64_t offset) const {
  std::size_t total = lineCount();
  if (total == 0) return 0;
  auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), offset,
                                [](std::uint64_t o, const LineCheckpoint& c) { return o < c.offset; });
  const LineCheckpoint& cp = *(after - 1);
  ForwardScanner scan(*this, scan_.indexed);
  std::size_t line = static_cast<std::size_t>(cp.line);
  std::uint64_t start = cp.offset;
  while (line + 1 < total) {
    std::uint64_t next = scan.FindLineFeed(start) + 1;
    if (next > offset) break;
    ++line;
    start = next;
  }
  return line;
}

}  // namespace tal
