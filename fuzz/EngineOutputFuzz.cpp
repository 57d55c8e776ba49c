// What an engine writes while it runs, cut into pieces of any size (the first byte chooses it):
// the progress filter passes every byte that is not a progress line, in order, whatever the pieces;
// the problem and listing readers and the transcript take any bytes.
#include "FuzzSupport.h"
#include "runs/EngineOutput.h"
#include "runs/ProgramRunner.h"
#include "runs/RunProblems.h"

using namespace tal;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t piece = 1 + data[0] % 32;
  std::string_view bytes = talfuzz::Bytes(data + 1, size - 1);

  ProgressFilter whole, pieces;
  std::string passed, passedInPieces;
  auto note = [](std::string& into) {
    return [&into](const ProgressReport& r) {
      if (!(r.fraction() >= 0 && r.fraction() <= 1)) talfuzz::Fail("a progress fraction outside 0 to 1");
      into += '\0';  // where the report came, among the bytes passed
    };
  };
  auto append = [](std::string& into) { return [&into](std::string_view text) { into += text; }; };
  whole.Add(bytes, append(passed), note(passed));
  whole.Finish(append(passed));
  RunTranscript transcript("/w/A.DCK");
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    std::string_view part = bytes.substr(at, piece);
    pieces.Add(part, append(passedInPieces), note(passedInPieces));
    transcript.Add(part, (at / piece) % 2 == 1);
  }
  pieces.Finish(append(passedInPieces));
  transcript.Finish();
  if (passed != passedInPieces) talfuzz::Fail("the pieces change what passes, or when the reports come");
  if (transcript.lastLines().size() > RunTranscript::LastLineCount) talfuzz::Fail("too many last lines kept");

  auto listed = FindListingProblems(bytes, "/w/A.LST", "/w/A.DCK");
  for (const ListingProblem& l : listed)
    if (l.listingLine == 0 || l.problem.line == 0) talfuzz::Fail("a listing problem without its line");
  auto merged = MergeProblems(transcript.problems(), listed);
  if (merged.size() > transcript.problems().size() + listed.size()) talfuzz::Fail("merging made problems");
  RunOutcome outcome;
  outcome.program = "TALPIX32";
  outcome.end = RunEnd::Finished;
  outcome.exitCode = 1;
  if (FailedRunMessage(outcome, merged, transcript.lastLines()).empty()) talfuzz::Fail("an empty message");
  return 0;
}
