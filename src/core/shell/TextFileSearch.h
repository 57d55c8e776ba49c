#pragma once
// Find in a viewed file, a slice at a time. A search through hundreds of megabytes must not
// freeze the window: the viewer calls Step from its event loop until the search is done, and
// can drop the search at any time. Text is 8-bit; without match case, letters compare
// case-free in Latin-1 (A-Z, and the accented capitals with their small letters).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/TextFinder.h"

namespace tal {

class FileBytes;
class TextFileIndex;

struct FileSearchRequest {
  std::string text;       // what to find (no line ends)
  bool matchCase = false;
  bool forward = true;    // down; false searches up
  // Forward: the first byte a match may start at. Backward: matches must start before it.
  std::uint64_t from = 0;
};

class TextFileSearch {
 public:
  enum class State { Running, Found, NotFound };

  // Searches the first `size` bytes of `file`.
  TextFileSearch(std::shared_ptr<const FileBytes> file, std::uint64_t size, FileSearchRequest request);
  // Searches the file of `index` as far as its size.
  TextFileSearch(const TextFileIndex& index, FileSearchRequest request);

  // Searches about `budgetBytes` more; returns the state reached.
  State Step(std::size_t budgetBytes);
  // Runs to the end (for callers that may block).
  State Run();
  State state() const { return state_; }
  std::uint64_t foundOffset() const { return found_; }
  std::size_t foundLength() const { return request_.text.size(); }
  // Bytes examined so far (for progress).
  std::uint64_t searchedBytes() const { return searched_; }

 private:
  // Looks in bytes [start, start + length) for a match starting in [start, stopStart).
  bool SearchSlice(std::uint64_t start, std::uint64_t stopStart);
  // Looks in bytes [from, to) for a match lying wholly within them.
  bool SearchPiece(std::uint64_t from, std::uint64_t to);

  std::shared_ptr<const FileBytes> file_;
  std::uint64_t size_;
  FileSearchRequest request_;
  TextFinder finder_;
  std::vector<char> slice_;
  std::uint64_t next_ = 0;  // forward: next slice start; backward: end of the next slice
  std::uint64_t found_ = 0;
  std::uint64_t searched_ = 0;
  State state_ = State::Running;
};

// Folds a Latin-1 byte to its small letter (A-Z and the accented capitals; other bytes stay).
char FoldLatin1(char c);

}  // namespace tal
