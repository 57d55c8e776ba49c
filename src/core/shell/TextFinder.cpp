#include "shell/TextFinder.h"

#include <bit>
#include <cstdint>

#include "shell/TextFileSearch.h"

namespace tal {

namespace {

// The other byte that folds to the same letter as `folded`, or `folded` itself when there is none.
unsigned char OtherForm(const std::array<unsigned char, 256>& fold, unsigned char folded) {
  for (int c = 0; c < 256; ++c)
    if (c != folded && fold[static_cast<std::size_t>(c)] == folded) return static_cast<unsigned char>(c);
  return folded;
}

// Bytes that fill the engine's output files: numbers, blanks and line ends.
bool CommonInOutput(unsigned char c) {
  return (c >= '0' && c <= '9') || c == ' ' || c == '.' || c == '+' || c == '-' || c == 'E' || c == 'e' ||
         c == '\n' || c == '\r' || c == '\t';
}

}  // namespace

TextFinder::TextFinder(const std::string& text, bool matchCase, ByteLanes lanes) : lanes_(UsableLanes(lanes)), text_(text) {
  for (int c = 0; c < 256; ++c)
    fold_[static_cast<std::size_t>(c)] =
        matchCase ? static_cast<unsigned char>(c) : static_cast<unsigned char>(FoldLatin1(static_cast<char>(c)));
  for (char& c : text_) c = static_cast<char>(fold_[static_cast<unsigned char>(c)]);
  if (text_.empty()) return;
  auto probe = [&](std::size_t offset) {
    auto folded = static_cast<unsigned char>(text_[offset]);
    return Probe{offset, static_cast<char>(folded), static_cast<char>(OtherForm(fold_, folded))};
  };
  const Probe first = probe(0), last = probe(text_.size() - 1);
  const bool lastIsRarer = !CommonInOutput(static_cast<unsigned char>(last.form0)) ||
                           CommonInOutput(static_cast<unsigned char>(first.form0));
  rare_ = lastIsRarer ? last : first;
  other_ = lastIsRarer ? first : last;
}

bool TextFinder::MatchesAt(const char* p) const {
  for (std::size_t k = 0; k < text_.size(); ++k)
    if (fold_[static_cast<unsigned char>(p[k])] != static_cast<unsigned char>(text_[k])) return false;
  return true;
}

struct TextFinderLoops {
  // Bit k set where a match may start at p + k, for the 64 starts from p.
  template <class Lanes>
  [[gnu::always_inline]] static std::uint64_t Candidates(const TextFinder& f, const char* p) {
    const std::uint64_t rare = Lanes::Either(p + f.rare_.offset, f.rare_.form0, f.rare_.form1);
    if (!rare) return 0;
    return rare & Lanes::Either(p + f.other_.offset, f.other_.form0, f.other_.form1);
  }

  template <class Lanes>
  [[gnu::always_inline]] static const char* First(const TextFinder& f, const char* begin, const char* end) {
    const std::size_t m = f.text_.size();
    if (m == 0 || end < begin || static_cast<std::size_t>(end - begin) < m) return nullptr;
    const char* const lastStart = end - m;
    const char* p = begin;
    // 64 starts p .. p+63 at a time; the last byte of the last of them is at most end - 1.
    for (; lastStart - p >= static_cast<std::ptrdiff_t>(LaneBlock) - 1; p += LaneBlock) {
      for (std::uint64_t candidates = Candidates<Lanes>(f, p); candidates; candidates &= candidates - 1) {
        const char* start = p + std::countr_zero(candidates);
        if (f.MatchesAt(start)) return start;
      }
    }
    for (; p <= lastStart; ++p)
      if (f.MatchesAt(p)) return p;
    return nullptr;
  }

  template <class Lanes>
  [[gnu::always_inline]] static const char* Last(const TextFinder& f, const char* begin, const char* end) {
    const std::size_t m = f.text_.size();
    if (m == 0 || end < begin || static_cast<std::size_t>(end - begin) < m) return nullptr;
    const char* stop = end - m + 1;  // starts below this remain to be looked at
    for (; stop - begin >= static_cast<std::ptrdiff_t>(LaneBlock); stop -= LaneBlock) {
      const char* p = stop - LaneBlock;
      for (std::uint64_t candidates = Candidates<Lanes>(f, p); candidates;) {
        const int highest = 63 - std::countl_zero(candidates);
        if (f.MatchesAt(p + highest)) return p + highest;
        candidates &= ~(std::uint64_t{1} << highest);
      }
    }
    while (stop > begin)
      if (f.MatchesAt(--stop)) return stop;
    return nullptr;
  }
};

namespace {

#if defined(TAL_HAVE_AVX2_LANES)
TAL_AVX2_TARGET const char* FindFirstAvx2(const TextFinder& f, const char* begin, const char* end) {
  return TextFinderLoops::First<Avx2Lanes>(f, begin, end);
}
TAL_AVX2_TARGET const char* FindLastAvx2(const TextFinder& f, const char* begin, const char* end) {
  return TextFinderLoops::Last<Avx2Lanes>(f, begin, end);
}
#endif

}  // namespace

const char* TextFinder::FindFirst(const char* begin, const char* end) const {
#if defined(TAL_HAVE_AVX2_LANES)
  if (lanes_ == ByteLanes::Avx2) return FindFirstAvx2(*this, begin, end);
#endif
  return TextFinderLoops::First<BaselineLanes>(*this, begin, end);
}

const char* TextFinder::FindLast(const char* begin, const char* end) const {
#if defined(TAL_HAVE_AVX2_LANES)
  if (lanes_ == ByteLanes::Avx2) return FindLastAvx2(*this, begin, end);
#endif
  return TextFinderLoops::Last<BaselineLanes>(*this, begin, end);
}

}  // namespace tal
