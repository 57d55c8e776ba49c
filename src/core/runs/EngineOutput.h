#pragma once
// What an engine says about its run while it runs: "progress TIME START STOP" lines (simulated
// hours) on standard output, and its problems as "FILE:LINE: error: TEXT" (or "warning:") lines on
// standard error. Engines of other makes write neither; their listing is searched for the lines
// that mark its errors and warnings instead.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tal {

struct ProgressReport {
  double time = 0;
  double start = 0;
  double stop = 0;
  // The part of the run done, from 0 to 1 (1 for a run whose stop is its start).
  double fraction() const;
};

// A "progress TIME START STOP" line (blanks or tabs between, finite numbers, STOP not before
// START); nullopt for any other line.
std::optional<ProgressReport> ParseProgressLine(std::string_view line);

// Takes the progress lines out of a program's standard output as it arrives; every other byte
// passes on as it came, held back only while its line may still turn out to be a progress line.
// Passed text and progress reports are handed on in the order of the output.
class ProgressFilter {
 public:
  static constexpr std::size_t MaxProgressLine = 256;
  using PassFunction = std::function<void(std::string_view text)>;
  using ProgressFunction = std::function<void(const ProgressReport&)>;

  void Add(std::string_view piece, const PassFunction& pass, const ProgressFunction& progress);
  // At the end of the output: passes what is still held back.
  void Finish(const PassFunction& pass);

 private:
  std::string held_;      // the start of the current line, while it may be a progress line
  bool passing_ = false;  // the current line is not a progress line: pass it on
};

enum class ProblemKind { Error, Warning };

struct Problem {
  ProblemKind kind = ProblemKind::Error;
  std::string file;      // as the engine named it; "" when it named none
  std::size_t line = 0;  // 1 for the first line; 0 when the problem has no line
  std::string text;
  bool operator==(const Problem&) const = default;
};

// "FILE:LINE: error: TEXT", "FILE: warning: TEXT" ...: nullopt for any other line. The file name
// may itself hold colons.
std::optional<Problem> ParseProblemLine(std::string_view line);

// Cuts pieces of output into lines, without their line ends ("\n", "\r\n"). A line longer than
// MaxLineBytes is handed on cut there, the rest of it dropped.
class OutputLines {
 public:
  static constexpr std::size_t MaxLineBytes = 64 * 1024;
  using LineFunction = std::function<void(std::string_view line)>;

  // Hands on every line that `piece` completes; keeps the unfinished rest.
  void Add(std::string_view piece, const LineFunction& line);
  // At the end of the output: the unfinished rest, when there is one, as a last line.
  void Finish(const LineFunction& line);
  bool holdsPartLine() const { return !rest_.empty() || cut_; }

 private:
  std::string rest_;
  bool cut_ = false;  // the current line was cut; drop the rest of it
};

// A listing's marked lines: "*** Error ..." (also "*** Fatal", "*** Warning"; any letter case,
// blanks allowed before and after the stars). "in line N" after the marker names line N of
// `deck`; otherwise the problem's place is the listing line itself.
struct ListingProblem {
  std::size_t listingLine = 0;  // 1 for the first line
  Problem problem;
};
std::vector<ListingProblem> FindListingProblems(std::string_view listing, const std::string& listingPath,
                                                const std::string& deck, std::size_t limit = 1000);

}  // namespace tal
