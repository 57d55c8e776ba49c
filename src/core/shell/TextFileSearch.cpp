#include "shell/TextFileSearch.h"

#include <algorithm>
#include <functional>
#include <iterator>

#include "shell/TextFileIndex.h"

namespace tal {

char FoldLatin1(char c) {
  auto u = static_cast<unsigned char>(c);
  bool asciiCapital = u >= 'A' && u <= 'Z';
  bool accentedCapital = u >= 0xC0 && u <= 0xDE && u != 0xD7;  // 0xD7 is the multiplication sign
  return (asciiCapital || accentedCapital) ? static_cast<char>(u + 0x20) : c;
}

namespace {
void Fold(char* begin, char* end) { std::transform(begin, end, begin, FoldLatin1); }
}  // namespace

TextFileSearch::TextFileSearch(std::shared_ptr<const FileBytes> file, std::uint64_t size, FileSearchRequest request)
    : file_(std::move(file)), size_(file_ ? size : 0), request_(std::move(request)), needle_(request_.text) {
  if (!request_.matchCase) Fold(needle_.data(), needle_.data() + needle_.size());
  if (needle_.empty()) state_ = State::NotFound;
  next_ = request_.forward ? request_.from : std::min(request_.from, size_);
}

TextFileSearch::TextFileSearch(const TextFileIndex& index, FileSearchRequest request)
    : TextFileSearch(index.file(), index.size(), std::move(request)) {}

bool TextFileSearch::SearchSlice(std::uint64_t start, std::uint64_t stopStart) {
  // A match may start anywhere before stopStart, so read the needle's length less one beyond it.
  std::uint64_t end = std::min(size_, stopStart - 1 + needle_.size());
  if (end <= start || end - start < needle_.size()) return false;
  slice_.resize(static_cast<std::size_t>(end - start));
  std::size_t got = file_->Read(start, slice_.data(), slice_.size());
  slice_.resize(got);
  if (!request_.matchCase) Fold(slice_.data(), slice_.data() + slice_.size());
  if (request_.forward) {
    std::boyer_moore_horspool_searcher searcher(needle_.begin(), needle_.end());
    auto hit = std::search(slice_.begin(), slice_.end(), searcher);
    if (hit == slice_.end()) return false;
    found_ = start + static_cast<std::uint64_t>(hit - slice_.begin());
  } else {
    std::boyer_moore_horspool_searcher searcher(needle_.rbegin(), needle_.rend());
    auto hit = std::search(slice_.rbegin(), slice_.rend(), searcher);
    if (hit == slice_.rend()) return false;
    // hit points at the match's last byte seen from the end; its first byte lies needle-1 further.
    std::uint64_t lastByte = start + static_cast<std::uint64_t>(slice_.rend() - hit) - 1;
    found_ = lastByte + 1 - needle_.size();
  }
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
