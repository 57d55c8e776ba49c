#pragma once
// File names of the engine: files named in the deck resolve beside the deck, and every file is
// found whatever the letter case of its name (run decks of tables are written in upper case).
#include <cstdio>
#include <string>
#include <vector>

namespace talpix {

// The deck's folder ("." when it has none).
std::string FolderOf(const std::string& path);
// Folder and file name up to the first "." of the file name: /a/b/HOUSE.DCK gives /a/b/HOUSE.
std::string DeckBase(const std::string& deckPath);
// `path` itself when it exists, else the entry of its folder whose name differs only in letter
// case, else `path`.
std::string ResolveNoCase(const std::string& path);
// A file named in the deck: "\" read as "/", relative names beside the deck; for reading
// resolved without regard to letter case.
std::string ResolveDeckFile(const std::string& deckFolder, const std::string& name, bool reading);
// base + extension, or the existing entry that differs from it only in letter case, so that a
// run replaces its earlier results instead of adding a second file beside them.
std::string ResultFileName(const std::string& base, const std::string& extension);

// Reads a text file line by line whatever its line ends (LF, CR LF or CR alone), refusing a line
// longer than a stated limit instead of holding it.
class LineReader {
 public:
  enum class Result { Line, End, TooLong, Failed };
  LineReader(std::FILE* file, std::size_t lineLimit) : file_(file), limit_(lineLimit) {}
  // The next line without its end; TooLong stops at a line beyond the limit, Failed at a read
  // error (errno tells which). End only after the whole file was read.
  Result next(std::string& line);
  // The 1-based number of the line last returned or refused.
  long lineNumber() const { return number_; }

 private:
  bool fill();
  std::FILE* file_;
  std::size_t limit_;
  long number_ = 0;
  char buffer_[1 << 16];
  std::size_t at_ = 0, end_ = 0;
  bool failed_ = false;
};

// A file the run reads or writes, so that before the first step the engine can tell that no
// result would be written over the deck, a file the run reads or another result of the run.
struct FileUse {
  std::string path;
  bool writing = false;
  std::string what;  // as messages name it: "the deck", "the plot file of unit 9" ...
  int line = 0;      // the deck line that gives the file (its ASSIGN line where it has one), or 0
  bool assigned = false;  // given by an ASSIGN line
};

// True when `a` and `b` name one file: the same folder and names that differ at most in letter
// case (the engine finds files whatever their case), or one existing file reached by two paths.
bool SameFile(const std::string& a, const std::string& b);

struct FileClash {
  int line = 0;
  std::string text;
};

// The first pair of uses where a written file is also read or written by another use; false
// when every written file is a file of its own.
bool FindFileClash(const std::vector<FileUse>& uses, FileClash& clash);

}  // namespace talpix
