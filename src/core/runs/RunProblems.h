#pragma once
// The errors and warnings of a run: gathered from what the engine wrote on standard error and from
// the marked lines of its listing, kept for the Problems window and the deck editors' margin marks
// until the next run, and the message that tells why a run failed.
#include <QObject>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "runs/EngineOutput.h"

namespace tal {

struct RunOutcome;

// What one run wrote: the problems on its standard error (and the count of steps that did not
// converge), and its last lines on either channel.
class RunTranscript {
 public:
  // `deck` is the file of the problems that name none.
  explicit RunTranscript(std::string deck) : deck_(std::move(deck)) {}
  void Add(std::string_view piece, bool standardError);
  // At the end of the run: the unfinished last lines.
  void Finish();
  const std::vector<Problem>& problems() const { return problems_; }
  // At most LastLineCount lines, oldest first, blank lines left out.
  std::vector<std::string> lastLines() const { return {last_.begin(), last_.end()}; }

  static constexpr std::size_t LastLineCount = 5;
  static constexpr std::size_t ProblemLimit = 1000;

 private:
  void Line(std::string_view line, bool standardError);

  std::string deck_;
  OutputLines out_, err_;
  std::deque<std::string> last_;
  std::vector<Problem> problems_;
};

// The problems the engine reported, then the listing's marked lines that are not among them (the
// same kind and text, and the same deck line where the listing names one).
std::vector<Problem> MergeProblems(std::vector<Problem> reported, const std::vector<ListingProblem>& listed);

// The message of a run that ended with a non-zero status or abnormally: its first error with the
// file and line, or else the exit status and the last lines the program wrote.
std::string FailedRunMessage(const RunOutcome& outcome, const std::vector<Problem>& problems,
                             const std::vector<std::string>& lastLines);

// The same file, however the two names spell it (relative names, "." and "..", links).
bool SameFile(const std::string& a, const std::string& b);

// The problems of the last engine run, from its end until the next run starts.
class RunProblems : public QObject {
  Q_OBJECT

 public:
  static RunProblems& instance();
  const std::vector<Problem>& problems() const { return problems_; }
  // The problems whose file is `file`.
  std::vector<Problem> ProblemsOf(const std::string& file) const;
  void Set(std::vector<Problem> problems);
  void Clear();

 signals:
  void changed();

 private:
  RunProblems() = default;
  std::vector<Problem> problems_;
};

}  // namespace tal
