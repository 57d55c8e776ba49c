#include "Engine.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "Deck.h"
#include "EngineFiles.h"
#include "Simulation.h"

namespace talpix {

namespace {

constexpr const char* Usage = "usage: TALPIX32 DECK [/N]";

std::string Seconds(double s) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f s", s);
  return buf;
}

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.10g", v);
  return buf;
}

std::string Message(const Diagnostic& d) {
  std::string kind = d.error ? "*** Error" : "*** Warning";
  return d.line > 0 ? kind + " in line " + std::to_string(d.line) + ": " + d.text : kind + ": " + d.text;
}

// Reads the whole deck, or says why not: a deck beyond DeckSizeLimit is refused before it is
// held, and a read that fails half-way is never taken for the whole deck.
bool ReadDeckFile(const std::string& path, std::string& text, std::string& why) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    why = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    why = "not a regular file";
    return false;
  }
  auto tooLarge = [&](std::uintmax_t size) {
    why = "it holds " + std::to_string(size) + " bytes, more than the " + std::to_string(DeckSizeLimit) + " bytes read at most";
    return false;
  };
  if (static_cast<std::uintmax_t>(st.st_size) > DeckSizeLimit) return tooLarge(static_cast<std::uintmax_t>(st.st_size));
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!in) {
    why = "it cannot be opened";
    return false;
  }
  text.clear();
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in.get())) > 0;) {
    if (text.size() + n > DeckSizeLimit) return tooLarge(text.size() + n);  // grew while read
    text.append(buffer, n);
  }
  if (std::ferror(in.get())) {
    why = std::string("reading it failed: ") + std::strerror(errno);
    return false;
  }
  return true;
}

struct ListingContent {
  std::string deckPath;
  const std::vector<std::string>* lines = nullptr;
  const std::vector<Diagnostic>* diagnostics = nullptr;
  const Simulation* simulation = nullptr;
  const RunSummary* summary = nullptr;
  bool ran = false;
  bool ok = false;
  bool running = false;  // written before the run, so a stopped engine leaves no stale listing
};

// The deck with line numbers and each message after the line it concerns, then messages without
// a line, the run section and the summary.
std::string ListingText(const ListingContent& c) {
  std::string t = std::string(EngineTitle) + "\nDeck: " + c.deckPath + "\n\n";
  const auto& diags = *c.diagnostics;
  std::vector<std::vector<const Diagnostic*>> byLine(c.lines ? c.lines->size() + 1 : 1);
  std::vector<const Diagnostic*> general;
  for (const auto& d : diags) {
    if (d.line > 0 && d.line < static_cast<int>(byLine.size())) byLine[d.line].push_back(&d);
    else general.push_back(&d);
  }
  if (c.lines) {
    for (std::size_t i = 0; i < c.lines->size(); ++i) {
      char num[32];
      std::snprintf(num, sizeof num, "%5zu  ", i + 1);
      t += num + (*c.lines)[i] + "\n";
      for (const Diagnostic* d : byLine[i + 1]) t += Message(*d) + "\n";
    }
    t += "\n";
  }
  for (const Diagnostic* d : general) t += Message(*d) + "\n";
  long errors = std::count_if(diags.begin(), diags.end(), [](const Diagnostic& d) { return d.error; });
  // Steps that did not converge are warnings too, though the listing names only the first ones.
  long warnings = static_cast<long>(diags.size()) - errors + (c.summary ? c.summary->unconvergedSteps : 0);
  if (c.simulation && c.ran) {
    const Simulation& s = *c.simulation;
    t += "Simulation from " + Number(s.start()) + " to " + Number(s.stop()) + " h in steps of " + Number(s.step()) + " h (" +
         std::to_string(s.stepCount()) + " steps); tolerance " + Number(s.tolerance()) + ", at most " +
         std::to_string(s.iterationLimit()) + " iterations in a step\n";
    for (const auto& line : s.runLines()) t += line + "\n";
    const RunSummary& r = *c.summary;
    t += "\nRun summary\n";
    t += "  steps:                  " + std::to_string(r.steps) + "\n";
    t += "  iterations:             " + std::to_string(r.iterations) + " (at most " + std::to_string(r.mostIterations) + " in a step)\n";
    t += "  steps not converged:    " + std::to_string(r.unconvergedSteps) + "\n";
    t += "  time taken:             " + Seconds(r.seconds) + "\n";
    for (const auto& f : r.files) t += "  written:                " + f + "\n";
  }
  t += "\n" + std::to_string(errors) + " error" + (errors == 1 ? "" : "s") + ", " + std::to_string(warnings) + " warning" +
       (warnings == 1 ? "" : "s") + ". ";
  if (c.running)
    t += "The run has started; this listing is completed when it ends (a run stopped from outside leaves it so).\n";
  else if (c.ran && c.summary->stopped)
    t += StoppedText(c.summary->stoppedAt) + "\n";
  else
    t += c.ok ? "The run ended normally.\n" : "The run was stopped by the error" + std::string(errors == 1 ? "" : "s") + " above.\n";
  return t;
}

bool WriteListing(const std::string& path, const std::string& text, std::ostream& err) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    err << "TALPIX32: the listing " << path << " cannot be written: it is not a regular file\n";
    return false;
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    err << "TALPIX32: the listing " << path << " cannot be written: " << std::strerror(errno) << '\n';
    return false;
  }
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) err << "TALPIX32: writing the listing " << path << " failed\n";
  return ok;
}

void ReportOnStandardError(const std::string& deck, const std::vector<Diagnostic>& diags, std::ostream& err) {
  for (const auto& d : diags)
    err << deck << (d.line > 0 ? ":" + std::to_string(d.line) : std::string()) << ": " << (d.error ? "error: " : "warning: ")
        << d.text << '\n';
}

// The deck, the listing and every file an ASSIGN line names: the listing is written even for a
// deck with errors, so it is compared with these before the deck is checked any further.
std::vector<FileUse> ListingAndAssignedFiles(const Deck& deck, const std::string& deckPath, std::vector<FileUse> uses) {
  for (const Assignment& a : deck.assignments)
    uses.push_back({ResolveDeckFile(FolderOf(deckPath), a.file, true), false,
                    "the file of logical unit " + std::to_string(a.logicalUnit) + " (ASSIGN in line " + std::to_string(a.line) + ")",
                    a.line, true});
  return uses;
}

// Before the first step: no file the units write is the deck, the listing, a file the run reads
// or another result of the run.
bool ResultsAreFilesOfTheirOwn(const Simulation& simulation, std::vector<FileUse> uses, std::vector<Diagnostic>& diags) {
  uses.insert(uses.end(), simulation.fileUses().begin(), simulation.fileUses().end());
  FileClash clash;
  if (!FindFileClash(uses, clash)) return true;
  diags.push_back({clash.line, true, clash.text});
  return false;
}

}  // namespace

std::string StoppedText(double time) { return "The run was stopped at " + Number(time) + " h."; }

int RunEngine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err, const RunControl& control) {
  std::string deckPath;
  for (const auto& a : arguments) {
    if (a == "/N" || a == "/n") continue;  // table runs: nothing to wait for, as every run
    if (!deckPath.empty() || a.empty()) {
      err << Usage << '\n';
      return 2;
    }
    deckPath = a;
  }
  if (deckPath.empty()) {
    err << Usage << '\n';
    return 2;
  }
  const std::string listingPath = ResultFileName(DeckBase(deckPath), ".LST");
  std::vector<Diagnostic> diags;
  if (SameFile(deckPath, listingPath)) {
    diags.push_back({0, true, "the deck has the name of its own listing, " + listingPath +
                                  ": the listing would overwrite the deck; give the deck another name, such as one ending in .DCK"});
    ReportOnStandardError(deckPath, diags, err);
    return 1;
  }
  std::string text, why;
  if (!ReadDeckFile(deckPath, text, why)) {
    diags.push_back({0, true, "the deck " + deckPath + " cannot be read: " + why});
    ReportOnStandardError(deckPath, diags, err);
    // Beside a deck that is missing or not a regular file, but never for a folder given as deck.
    struct stat st {}, self {};
    bool folderGiven = stat(deckPath.c_str(), &self) == 0 && S_ISDIR(self.st_mode);
    if (!folderGiven && stat(FolderOf(deckPath).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      ListingContent c{deckPath, nullptr, &diags};
      WriteListing(listingPath, ListingText(c), err);
    }
    return 2;
  }

  out << EngineTitle << ": " << deckPath << std::endl;
  Deck deck = ReadDeckText(text, diags);
  std::vector<FileUse> uses{{deckPath, false, "the deck", 0}, {listingPath, true, "the listing", 0}};
  if (FileClash clash; FindFileClash(ListingAndAssignedFiles(deck, deckPath, uses), clash)) {
    // The listing is not written: it would destroy a file the deck names.
    diags.push_back({clash.line, true, clash.text});
    ReportOnStandardError(deckPath, diags, err);
    return 1;
  }
  auto hasError = [&] { return std::any_of(diags.begin(), diags.end(), [](const Diagnostic& d) { return d.error; }); };
  Simulation simulation(deck, FolderOf(deckPath), DeckBase(deckPath), diags);
  RunSummary summary;
  bool ran = false, ok = false;
  if (!hasError() && simulation.build() && ResultsAreFilesOfTheirOwn(simulation, uses, diags) && simulation.openResults()) {
    ListingContent started{deckPath, &deck.lines, &diags};
    started.running = true;
    WriteListing(listingPath, ListingText(started), err);
    ran = true;
    // Flushed at once: whoever started the engine reads these lines while it runs.
    simulation.onProgress([&](double time) {
      out << "progress " << Number(time) << ' ' << Number(simulation.start()) << ' ' << Number(simulation.stop()) << std::endl;
    });
    ok = simulation.run(summary, control) && !hasError();
  }
  ListingContent c{deckPath, &deck.lines, &diags, &simulation, &summary, ran, ok};
  bool listed = WriteListing(listingPath, ListingText(c), err);
  ReportOnStandardError(deckPath, diags, err);
  if (summary.unconvergedSteps > 0)
    err << deckPath << ": warning: " << summary.unconvergedSteps << (summary.unconvergedSteps == 1 ? " step" : " steps")
        << " did not converge (first at " << Number(summary.firstUnconverged) << " h)\n";
  if (summary.stopped) err << StoppedText(summary.stoppedAt) << '\n';
  if (ran) out << summary.steps << " steps, " << summary.iterations << " iterations, " << Seconds(summary.seconds) << '\n';
  out << "listing " << listingPath << '\n';
  for (const auto& f : summary.files) out << "results " << f << '\n';
  if (!ok || summary.stopped) return 1;
  return listed ? 0 : 1;
}

}  // namespace talpix
