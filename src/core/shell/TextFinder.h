#pragma once
// Finds a text in a block of 8-bit bytes, with or without regard to case, in one pass and without
// copying or folding the block. Without match case, letters compare case-free in Latin-1 (A-Z and
// the accented capitals with their small letters, as FoldLatin1 says).
//
// The search looks at 32 places at once: a place is a candidate only when its byte can be
// the text's first byte and the byte the text's length further on can be its last; only
// candidates are compared whole. Output files are mostly digits, blanks and signs, so a text
// with letters leaves few candidates and the search runs at the speed memory is read.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tal {

class TextFinder {
 public:
  TextFinder(const std::string& text, bool matchCase);

  std::size_t size() const { return text_.size(); }
  // Start of the first match that lies wholly in [begin, end), or nullptr.
  const char* FindFirst(const char* begin, const char* end) const;
  // Start of the last match that lies wholly in [begin, end), or nullptr.
  const char* FindLast(const char* begin, const char* end) const;

 private:
  bool MatchesAt(const char* p) const;
#if defined(__SSE2__)
  struct Forms {
    __m128i first0, first1, last0, last1;
  };
  Forms SimdForms() const;
  std::uint32_t Candidates(const char* p, const Forms& forms) const;
#endif

  std::string text_;                       // folded unless case matters
  std::array<unsigned char, 256> fold_{};  // the identity when case matters
  // The two forms each of the first and the last byte (the same byte twice when it has one form).
  std::array<unsigned char, 2> first_{}, last_{};
};

}  // namespace tal
