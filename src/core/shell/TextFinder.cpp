#include "shell/TextFinder.h"

#include <algorithm>
#include <cstdint>

#include "shell/TextFileSearch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tal {

namespace {

// The other byte that folds to the same letter as `folded`, or `folded` itself when there is none.
unsigned char OtherForm(const std::array<unsigned char, 256>& fold, unsigned char folded) {
  for (int c = 0; c < 256; ++c)
    if (c != folded && fold[static_cast<std::size_t>(c)] == folded) return static_cast<unsigned char>(c);
  return folded;
}

#if defined(__SSE2__)
// Bit k set where bytes[k] is either of two forms.
inline unsigned EitherForm(const char* bytes, __m128i form0, __m128i form1) {
  __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, form0), _mm_cmpeq_epi8(block, form1))));
}
#endif

}  // namespace

TextFinder::TextFinder(const std::string& text, bool matchCase) : text_(text) {
  for (int c = 0; c < 256; ++c)
    fold_[static_cast<std::size_t>(c)] =
        matchCase ? static_cast<unsigned char>(c) : static_cast<unsigned char>(FoldLatin1(static_cast<char>(c)));
  for (char& c : text_) c = static_cast<char>(fold_[static_cast<unsigned char>(c)]);
  if (text_.empty()) return;
  auto forms = [&](char c) {
    auto folded = static_cast<unsigned char>(c);
    return std::array<unsigned char, 2>{folded, OtherForm(fold_, folded)};
  };
  first_ = forms(text_.front());
  last_ = forms(text_.back());
}

#if defined(__SSE2__)
TextFinder::Forms TextFinder::SimdForms() const {
  auto spread = [](unsigned char c) { return _mm_set1_epi8(static_cast<char>(c)); };
  return {spread(first_[0]), spread(first_[1]), spread(last_[0]), spread(last_[1])};
}
#endif

bool TextFinder::MatchesAt(const char* p) const {
  for (std::size_t k = 0; k < text_.size(); ++k)
    if (fold_[static_cast<unsigned char>(p[k])] != static_cast<unsigned char>(text_[k])) return false;
  return true;
}

#if defined(__SSE2__)
// Bit k set where a match may start at p + k, for the 32 starts from p.
inline std::uint32_t TextFinder::Candidates(const char* p, const Forms& forms) const {
  const char* last = p + text_.size() - 1;
  std::uint32_t low = EitherForm(p, forms.first0, forms.first1) & EitherForm(last, forms.last0, forms.last1);
  std::uint32_t high = EitherForm(p + 16, forms.first0, forms.first1) & EitherForm(last + 16, forms.last0, forms.last1);
  return low | high << 16;
}
#endif

const char* TextFinder::FindFirst(const char* begin, const char* end) const {
  const std::size_t m = text_.size();
  if (m == 0 || end < begin || static_cast<std::size_t>(end - begin) < m) return nullptr;
  const char* const lastStart = end - m;
  const char* p = begin;
#if defined(__SSE2__)
  const Forms forms = SimdForms();
  // 32 starts p .. p+31 at a time; the last byte of the last of them is at most end - 1.
  for (; lastStart - p >= 31; p += 32) {
    for (std::uint32_t candidates = Candidates(p, forms); candidates; candidates &= candidates - 1) {
      const char* start = p + __builtin_ctz(candidates);
      if (MatchesAt(start)) return start;
    }
  }
#endif
  for (; p <= lastStart; ++p)
    if (MatchesAt(p)) return p;
  return nullptr;
}

const char* TextFinder::FindLast(const char* begin, const char* end) const {
  const std::size_t m = text_.size();
  if (m == 0 || end < begin || static_cast<std::size_t>(end - begin) < m) return nullptr;
  const char* stop = end - m + 1;  // starts below this remain to be looked at
#if defined(__SSE2__)
  const Forms forms = SimdForms();
  for (; stop - begin >= 32; stop -= 32) {
    const char* p = stop - 32;
    for (std::uint32_t candidates = Candidates(p, forms); candidates;) {
      const int highest = 31 - __builtin_clz(candidates);
      if (MatchesAt(p + highest)) return p + highest;
      candidates &= ~(1u << highest);
    }
  }
#endif
  while (stop > begin)
    if (MatchesAt(--stop)) return stop;
  return nullptr;
}

}  // namespace tal
