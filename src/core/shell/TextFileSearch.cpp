#include "shell/TextFileSearch.h"

#include <algorithm>

#include "shell/TextFileIndex.h"

namespace tal {

char FoldLatin1(char c) {
  auto u = static_cast<unsigned char>(c);
  bool asciiCapital = u >= 'A' && u <= 'Z';
  bool accentedCapital = u >= 0xC0 && u <= 0xDE && u != 0xD7;  // 0xD7 is the multiplication sign
  return (asciiCapital || accentedCapital) ? static_cast<char>(u + 0x20) : c;
}

TextFileSearch::TextFileSearch(std::shared_ptr<const FileBytes> file, std::uint64_t size, FileSearchRequest request)
    : file_(std::move(file)),
      size_(file_ ? size : 0),
      request_(std::move(request)),
      finder_(request_.text, request_.matchCase) {
  if (finder_.size() == 0) state_ = State::NotFound;
  next_ = request_.forward ? request_.from : std::min(request_.from, size_);
}

TextFileSearch::TextFileSearch(const TextFileIndex& index, FileSearchRequest request)
    : TextFileSearch(index.file(), index.size(), std::move(request)) {}

bool TextFileSearch::SearchSlice(std::uint64_t start, std::uint64_t stopStart) {
  const std::size_t length = finder_.size();
  // A match may start anywhere before stopStart, so read the text's length less one beyond it.
  const std::uint64_t end = std::min(size_, stopStart - 1 + length);
  if (end <= start || end - start < length) return false;
  // Read a piece at a time, consecutive pieces overlapping by the text's length less one, so a
  // match across two pieces lies whole in one; pieces are taken in the order of the search.
  const std::uint64_t piece = std::max<std::uint64_t>(FileBytes::ReadPiece, 2 * length);
  const std::uint64_t advance = piece - (length - 1);
  if (request_.forward) {
    for (std::uint64_t from = start;; from += advance) {
      const std::uint64_t to = std::min(end, from + piece);
      if (SearchPiece(from, to)) return true;
      if (to == end) return false;
    }
  }
  for (std::uint64_t to = end;; to -= advance) {
    const std::uint64_t from = to - start > piece ? to - piece : start;
    if (SearchPiece(from, to)) return true;
    if (from == start) return false;
  }
}

bool TextFileSearch::SearchPiece(std::uint64_t from, std::uint64_t to) {
  // The buffer only grows: shrinking it for the short last piece of a step would have the next
  // step fill it with zeros again before reading over them.
  const auto length = static_cast<std::size_t>(to - from);
  if (slice_.size() < length) slice_.resize(length);
  const std::size_t got = file_->Read(from, slice_.data(), length);
  const char* begin = slice_.data();
  const char* hit = request_.forward ? finder_.FindFirst(begin, begin + got) : finder_.FindLast(begin, begin + got);
  if (!hit) return false;
  found_ = from + static_cast<std::uint64_t>(hit - begin);
  return true;
}

TextFileSearch::State TextFileSearch::Step(std::size_t budgetBytes) {
  if (state_ != State::Running) return state_;
  std::uint64_t budget = std::max<std::size_t>(budgetBytes, 1);
  std::uint64_t size = size_;
  if (request_.forward) {
    if (next_ >= size) return state_ = State::NotFound;
    std::uint64_t stop = std::min(size, next_ + budget);
    bool hit = SearchSlice(next_, stop);
    searched_ += stop - next_;
    next_ = stop;
    if (hit) return state_ = State::Found;
  } else {
    if (next_ == 0) return state_ = State::NotFound;
    std::uint64_t low = next_ > budget ? next_ - budget : 0;
    bool hit = SearchSlice(low, next_);
    searched_ += next_ - low;
    next_ = low;
    if (hit) return state_ = State::Found;
  }
  return state_;
}

TextFileSearch::State TextFileSearch::Run() {
  while (Step(8 * 1024 * 1024) == State::Running) {
  }
  return state_;
}

}  // namespace tal
