#include "runs/RunProblems.h"

#include <algorithm>
#include <filesystem>

#include "runs/ProgramRunner.h"

namespace fs = std::filesystem;

namespace tal {

namespace {

// "17 steps did not converge (first at 2.5 h)": a warning the engine counts rather than lists.
bool IsConvergenceCount(std::string_view line) {
  std::size_t digits = 0;
  while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
  if (digits == 0) return false;
  std::string_view rest = line.substr(digits);
  return rest.starts_with(" steps did not converge") || rest.starts_with(" step did not converge");
}

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

bool SameProblem(const Problem& reported, const Problem& listed) {
  if (reported.kind != listed.kind || reported.text != listed.text) return false;
  // The listing names the deck line where it knows one, else its own line.
  return !SameFile(reported.file, listed.file) || reported.line == listed.line;
}

std::string PlaceOf(const Problem& problem) {
  if (problem.file.empty()) return "";
  if (problem.line == 0) return problem.file;
  return "line " + std::to_string(problem.line) + " of " + problem.file;
}

}  // namespace

void RunTranscript::Add(std::string_view piece, bool standardError) {
  (standardError ? err_ : out_).Add(piece, [&](std::string_view line) { Line(line, standardError); });
}

void RunTranscript::Finish() {
  out_.Finish([&](std::string_view line) { Line(line, false); });
  err_.Finish([&](std::string_view line) { Line(line, true); });
}

void RunTranscript::Line(std::string_view line, bool standardError) {
  if (!IsBlankLine(line)) {
    last_.emplace_back(line.substr(0, std::min<std::size_t>(line.size(), 300)));
    if (last_.size() > LastLineCount) last_.pop_front();
  }
  if (!standardError || problems_.size() >= ProblemLimit) return;
  if (auto problem = ParseProblemLine(line)) {
    problems_.push_back(std::move(*problem));
  } else if (IsConvergenceCount(line)) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.pop_back();
    problems_.push_back({ProblemKind::Warning, deck_, 0, text});
  }
}

std::vector<Problem> MergeProblems(std::vector<Problem> reported, const std::vector<ListingProblem>& listed) {
  const std::size_t reportedCount = reported.size();
  for (const ListingProblem& l : listed) {
    auto first = reported.begin(), last = reported.begin() + static_cast<std::ptrdiff_t>(reportedCount);
    if (std::none_of(first, last, [&](const Problem& r) { return SameProblem(r, l.problem); })) reported.push_back(l.problem);
  }
  return reported;
}

std::string FailedRunMessage(const RunOutcome& outcome, const std::vector<Problem>& problems,
                             const std::vector<std::string>& lastLines) {
  std::string ended = outcome.end == RunEnd::Finished
                          ? outcome.program + " ended with exit status " + std::to_string(outcome.exitCode)
                          : outcome.program + " ended abnormally";
  auto error = std::find_if(problems.begin(), problems.end(), [](const Problem& p) { return p.kind == ProblemKind::Error; });
  if (error != problems.end()) {
    const long errors = std::count_if(problems.begin(), problems.end(), [](const Problem& p) { return p.kind == ProblemKind::Error; });
    std::string place = PlaceOf(*error);
    std::string message = ended + ". The first error" + (place.empty() ? "" : ", in " + place) + ":\n" + error->text;
    if (errors > 1) message += "\n\n" + std::to_string(errors - 1) + " more error" + (errors > 2 ? "s are" : " is") + " listed in the Problems window.";
    return message;
  }
  if (lastLines.empty()) return ended + " and wrote nothing.";
  std::string message = ended + ". The last lines it wrote:";
  for (const auto& line : lastLines) message += "\n" + line;
  return message;
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  if (a.empty() || b.empty()) return false;
  std::error_code ecA, ecB;
  if (fs::equivalent(a, b, ecA)) return true;
  const fs::path canonicalA = fs::weakly_canonical(a, ecA), canonicalB = fs::weakly_canonical(b, ecB);
  return !ecA && !ecB && canonicalA == canonicalB;
}

RunProblems& RunProblems::instance() {
  static RunProblems* problems = new RunProblems;  // lives until the program ends
  return *problems;
}

std::vector<Problem> RunProblems::ProblemsOf(const std::string& file) const {
  std::vector<Problem> found;
  for (const Problem& p : problems_)
    if (SameFile(p.file, file)) found.push_back(p);
  return found;
}

void RunProblems::Set(std::vector<Problem> problems) {
  problems_ = std::move(problems);
  emit changed();
}

void RunProblems::Clear() {
  if (problems_.empty()) return;
  problems_.clear();
  emit changed();
}

}  // namespace tal
