#pragma once
// The two lists of the "Select Windows to Print" dialog: "Windows:" on the left (kept sorted by
// name) and "Print:" on the right, and how entries move between them. The dialog shows these lists;
// the entries refer to windows by an id the caller chooses.
#include <string>
#include <vector>

namespace tal {

// The name a window is listed under: a caption holding "Plot " up to its first ":" ("Plot 2" for
// "Plot 2: /work/A.PLT"); any other caption after its last directory separator.
std::string PrintShortName(const std::string& caption);

struct PrintListEntry {
  std::string name;  // the short name shown
  int id = 0;        // the window it refers to
};

class PrintSelection {
 public:
  // Fresh lists: every window but the active one on the left, the active one on the right.
  void Fill(const std::vector<PrintListEntry>& others, const PrintListEntry* active);

  const std::vector<PrintListEntry>& left() const { return left_; }
  const std::vector<PrintListEntry>& right() const { return right_; }

  // ">" and "<": moves the entries at the `selected` positions of the source list to the other
  // list, the last selected first (so they arrive in reverse order), and returns the position to select in the source list afterwards: that
  // of the first moved entry, the last entry when that is past the end, the first when nothing was
  // selected, -1 when the source list is empty.
  int MoveRight(const std::vector<int>& selected) { return Move(left_, right_, selected); }
  int MoveLeft(const std::vector<int>& selected) { return Move(right_, left_, selected); }
  // ">>" and "<<": moves every entry in order; returns the position to select (-1: the source
  // list is empty now).
  int MoveAllRight() { return MoveAll(left_, right_); }
  int MoveAllLeft() { return MoveAll(right_, left_); }

  // OK, "<" and "<<" need something to print; ">" and ">>" something to choose from.
  bool canPrint() const { return !right_.empty(); }
  bool canChoose() const { return !left_.empty(); }

 private:
  int Move(std::vector<PrintListEntry>& from, std::vector<PrintListEntry>& to, std::vector<int> selected);
  int MoveAll(std::vector<PrintListEntry>& from, std::vector<PrintListEntry>& to);
  void Append(std::vector<PrintListEntry>& to, PrintListEntry entry);

  std::vector<PrintListEntry> left_;
  std::vector<PrintListEntry> right_;
};

}  // namespace tal
