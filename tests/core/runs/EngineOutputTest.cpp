// What an engine says while it runs: progress lines taken out of its output, problem lines, the
// listing's marked lines, the time left, and the message of a run that failed.
#include <gtest/gtest.h>

#include "runs/EngineOutput.h"
#include "runs/ProgramRunner.h"
#include "runs/RunProblems.h"
#include "runs/RunProgress.h"

using namespace tal;

TEST(EngineOutput, ProgressLinesAreReadAndOthersAreNot) {
  struct Case {
    const char* line;
    bool progress;
    double time, fraction;
  } cases[] = {
      {"progress 4380 0 8760", true, 4380, 0.5},
      {"progress\t1.5e3  1000 2000\r", true, 1500, 0.5},
      {"progress 9000 0 8760", true, 9000, 1},   // past the stop: done, not more
      {"progress -5 0 8760", true, -5, 0},
      {"progress 3 3 3", true, 3, 1},            // a run of no length is done
      {"progress 1 5 2", false, 0, 0},            // stop before start
      {"progress 1 2", false, 0, 0},
      {"progress 1 2 3 4", false, 0, 0},
      {"progress nan 0 1", false, 0, 0},
      {"progress inf 0 1", false, 0, 0},
      {"progress 1e999 0 1", false, 0, 0},
      {"progress 0x10 0 100", false, 0, 0},
      {"Progress 1 0 2", false, 0, 0},
      {"progressive 1 0 2", false, 0, 0},
      {"", false, 0, 0},
  };
  for (const auto& c : cases) {
    auto report = ParseProgressLine(c.line);
    ASSERT_EQ(report.has_value(), c.progress) << c.line;
    if (!report) continue;
    EXPECT_EQ(report->time, c.time) << c.line;
    EXPECT_DOUBLE_EQ(report->fraction(), c.fraction) << c.line;
  }
}

TEST(EngineOutput, ProgressFilterTakesOutProgressLinesAndPassesEveryOtherByte) {
  const std::string output = "TALPIX sample engine 1.0: /w/A.DCK\nprogress 1 0 4\npro";
  const std::string rest = "gress 2 0 4\nprogramme\r\nprogress 3 0 4 extra\nlast without end";
  // Whatever the pieces the output arrives in, everything comes in the order of the output.
  for (std::size_t cut = 0; cut <= output.size(); ++cut) {
    ProgressFilter filter;
    std::string seen;
    auto pass = [&](std::string_view text) { seen += text; };
    auto note = [&](const ProgressReport& r) { seen += "<" + std::to_string(static_cast<int>(r.time)) + ">"; };
    filter.Add(output.substr(0, cut), pass, note);
    filter.Add(output.substr(cut), pass, note);
    filter.Add(rest, pass, note);
    filter.Finish(pass);
    EXPECT_EQ(seen, "TALPIX sample engine 1.0: /w/A.DCK\n<1><2>programme\r\nprogress 3 0 4 extra\nlast without end") << cut;
  }
  // A line that cannot be a progress line passes at once, before its end arrives.
  ProgressFilter filter;
  std::string seen;
  auto pass = [&](std::string_view text) { seen += text; };
  filter.Add("pr", pass, {});
  EXPECT_EQ(seen, "");
  filter.Add("inted", pass, {});
  EXPECT_EQ(seen, "printed");
  const std::string overlong = "\nprogress " + std::string(300, '1');
  filter.Add(overlong, pass, {});
  EXPECT_EQ(seen, "printed" + overlong) << "too long for a progress line";
}

TEST(EngineOutput, ProblemLinesNameFileLineAndText) {
  struct Case {
    const char* line;
    bool problem;
    Problem expected;
  } cases[] = {
      {"/w/ERR.DCK:37: error: unit 1: TYPE 77 is not known", true, {ProblemKind::Error, "/w/ERR.DCK", 37, "unit 1: TYPE 77 is not known"}},
      {"/w/ERR.DCK: error: the deck has no SIMULATION line", true, {ProblemKind::Error, "/w/ERR.DCK", 0, "the deck has no SIMULATION line"}},
      {"/w/A.DCK:4: warning: unit 2 prints every step: x", true, {ProblemKind::Warning, "/w/A.DCK", 4, "unit 2 prints every step: x"}},
      {"C:/a:b/X.DCK:12:5: Error: bad\r", true, {ProblemKind::Error, "C:/a:b/X.DCK", 12, "bad"}},
      {"/w/12: error: x", true, {ProblemKind::Error, "/w/12", 0, "x"}},  // a file named by digits
      {"/w/B.DCK:99999999999: error: x", true, {ProblemKind::Error, "/w/B.DCK:99999999999", 0, "x"}},
      {"/w/B.DCK:0: error: x", true, {ProblemKind::Error, "/w/B.DCK:0", 0, "x"}},
      {"/w/B.DCK:3: error:", false, {}},
      {": error: no file", false, {}},
      {"error: no file", false, {}},
      {"listing /w/A.LST", false, {}},
  };
  for (const auto& c : cases) {
    auto problem = ParseProblemLine(c.line);
    ASSERT_EQ(problem.has_value(), c.problem) << c.line;
    if (problem) {
      EXPECT_EQ(*problem, c.expected) << c.line;
    }
  }
}

TEST(EngineOutput, OutputLinesCutPiecesIntoLines) {
  OutputLines lines;
  std::vector<std::string> got;
  auto take = [&](std::string_view line) { got.emplace_back(line); };
  lines.Add("one\r\ntw", take);
  lines.Add("o\n", take);
  lines.Add(std::string(OutputLines::MaxLineBytes + 10, 'x') + "\nend", take);
  lines.Finish(take);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0], "one");
  EXPECT_EQ(got[1], "two");
  EXPECT_EQ(got[2].size(), OutputLines::MaxLineBytes);
  EXPECT_EQ(got[3], "end");
}

TEST(EngineOutput, ListingMarksAreFoundWithTheirDeckLines) {
  const std::string listing =
      "TALPIX sample engine 1.0\n    4  X=Y\n*** Error in line 4: X=Y: unknown name Y\n"
      "*** Warning at TIME = 0: the step did not converge in 7 iterations\n"
      "*** Further steps that did not converge are only counted\n"
      "  ***  FATAL ERROR at time 3: the solver gave up\n"
      "***ERROR in line 9 of the deck\n"
      "1 error, 0 warnings.\n";
  auto found = FindListingProblems(listing, "/w/A.LST", "/w/A.DCK");
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].listingLine, 3u);
  EXPECT_EQ(found[0].problem, (Problem{ProblemKind::Error, "/w/A.DCK", 4, "X=Y: unknown name Y"}));
  EXPECT_EQ(found[1].problem, (Problem{ProblemKind::Warning, "/w/A.LST", 4, "at TIME = 0: the step did not converge in 7 iterations"}));
  EXPECT_EQ(found[2].problem, (Problem{ProblemKind::Error, "/w/A.LST", 6, "at time 3: the solver gave up"}));
  EXPECT_EQ(found[3].problem, (Problem{ProblemKind::Error, "/w/A.DCK", 9, "of the deck"}));
  EXPECT_EQ(FindListingProblems(listing, "/w/A.LST", "/w/A.DCK", 2).size(), 2u);
}

TEST(RunProblems, StandardErrorAndListingMergeWithoutDoubles) {
  RunTranscript transcript("/w/A.DCK");
  transcript.Add("TALPIX sample engine 1.0: /w/A.DCK\n", false);
  transcript.Add("/w/A.DCK:4: error: X=Y: unknown name Y\n/w/A.DCK: error: no SIMULA", true);
  transcript.Add("TION line\n3 steps did not converge (first at 2.5 h)\nplain words\n", true);
  transcript.Finish();
  ASSERT_EQ(transcript.problems().size(), 3u);
  EXPECT_EQ(transcript.problems()[2], (Problem{ProblemKind::Warning, "/w/A.DCK", 0, "3 steps did not converge (first at 2.5 h)"}));
  EXPECT_EQ(transcript.lastLines().back(), "plain words");

  const std::string listing = "*** Error in line 4: X=Y: unknown name Y\n*** Error: no SIMULATION line\n"
                              "*** Warning at TIME = 1: the step did not converge\n*** Error in line 5: X=Y: unknown name Y\n";
  auto merged = MergeProblems(transcript.problems(), FindListingProblems(listing, "/w/A.LST", "/w/A.DCK"));
  ASSERT_EQ(merged.size(), 5u);
  EXPECT_EQ(merged[3], (Problem{ProblemKind::Warning, "/w/A.LST", 3, "at TIME = 1: the step did not converge"}));
  EXPECT_EQ(merged[4], (Problem{ProblemKind::Error, "/w/A.DCK", 5, "X=Y: unknown name Y"}));
}

TEST(RunProblems, FailedRunMessageNamesTheFirstErrorOrTheLastLines) {
  RunOutcome outcome;
  outcome.program = "TALPIX32";
  outcome.end = RunEnd::Finished;
  outcome.exitCode = 1;
  const std::vector<Problem> problems{{ProblemKind::Warning, "/w/A.DCK", 2, "a warning"},
                                      {ProblemKind::Error, "/w/A.DCK", 37, "unit 1: TYPE 77 is not known"},
                                      {ProblemKind::Error, "/w/A.DCK", 40, "another"}};
  EXPECT_EQ(FailedRunMessage(outcome, problems, {"x"}),
            "TALPIX32 ended with exit status 1. The first error, in line 37 of /w/A.DCK:\nunit 1: TYPE 77 is not known\n\n"
            "1 more error is listed in the Problems window.");
  EXPECT_EQ(FailedRunMessage(outcome, {{ProblemKind::Error, "/w/A.DCK", 0, "no deck"}}, {}),
            "TALPIX32 ended with exit status 1. The first error, in /w/A.DCK:\nno deck");
  outcome.exitCode = 3;
  EXPECT_EQ(FailedRunMessage(outcome, {problems[0]}, {"reading", "Segmentation at 0x0"}),
            "TALPIX32 ended with exit status 3. The last lines it wrote:\nreading\nSegmentation at 0x0");
  outcome.end = RunEnd::Crashed;
  EXPECT_EQ(FailedRunMessage(outcome, {}, {}), "TALPIX32 ended abnormally and wrote nothing.");
}

TEST(RunProgress, TimeLeftAndTableCounts) {
  EXPECT_LT(EstimateSecondsLeft(0, 5), 0);
  EXPECT_DOUBLE_EQ(EstimateSecondsLeft(0.25, 10), 30);
  EXPECT_EQ(TimeLeftText(-1), "");
  EXPECT_EQ(TimeLeftText(44.6), "about 45 s left");
  EXPECT_EQ(TimeLeftText(70), "about 1 min 10 s left");
  EXPECT_EQ(TimeLeftText(7500), "about 2 h 5 min left");

  ProgressView view = EngineProgressView({4380, 0, 8760}, 2);
  EXPECT_EQ(view.percent(), 50);
  EXPECT_EQ(view.text, "4380 of 8760 h simulated, about 2 s left");
  EXPECT_EQ(EngineProgressView({0.5, 0, 2}, 0).text, "0.50 of 2.00 h simulated");  // nothing to estimate from yet

  TableProgressCount count(4);
  count.Started(1);
  count.Started(2);
  count.Progress(1, 0.5);
  count.Progress(3, 0.9);  // not running: ignored
  EXPECT_EQ(count.View(0).text, "Runs: 0 done, 2 running, 2 left");
  count.Finished(1);
  count.Progress(2, 1);
  EXPECT_DOUBLE_EQ(count.fraction(), 0.5);
  EXPECT_EQ(count.View(10).text, "Runs: 1 done, 1 running, 2 left, about 10 s left");
}
