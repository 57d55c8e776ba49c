#pragma once
// Finds a text in a block of 8-bit bytes, with or without regard to case, in one pass and without
// copying or folding the block. Without match case, letters compare case-free in Latin-1 (A-Z and
// the accented capitals with their small letters, as FoldLatin1 says).
//
// The search looks at 64 places at once: a place is a candidate only when its byte can be
// the text's first byte and the byte the text's length further on can be its last; only
// candidates are compared whole. Output files are mostly digits, blanks and signs, so a text
// with letters leaves few candidates and the search runs at the speed memory is read. Of the
// two bytes, the one less common in such files is looked for first, and the other only in the
// blocks that hold it.
#include <array>
#include <cstddef>
#include <string>

#include "shell/ByteLanes.h"

namespace tal {

class TextFinder {
 public:
  // `lanes` says how many bytes are compared at once (the processor's widest unless a test asks).
  TextFinder(const std::string& text, bool matchCase, ByteLanes lanes = FastestLanes());

  std::size_t size() const { return text_.size(); }
  // Start of the first match that lies wholly in [begin, end), or nullptr.
  const char* FindFirst(const char* begin, const char* end) const;
  // Start of the last match that lies wholly in [begin, end), or nullptr.
  const char* FindLast(const char* begin, const char* end) const;

 private:
  friend struct TextFinderLoops;  // the searches, compiled once for each kind of lanes
  bool MatchesAt(const char* p) const;

  // A byte of the text at `offset`, in its two forms (the same byte twice when it has one form).
  struct Probe {
    std::size_t offset = 0;
    char form0 = 0, form1 = 0;
  };

  ByteLanes lanes_;
  std::string text_;                       // folded unless case matters
  std::array<unsigned char, 256> fold_{};  // the identity when case matters
  Probe rare_, other_;                     // the first and the last byte, the rarer one first
};

}  // namespace tal
