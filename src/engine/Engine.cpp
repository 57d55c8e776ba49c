#include "Engine.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

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
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    why = "it cannot be opened";
    return false;
  }
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
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

}  // namespace

int RunEngine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
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
  auto hasError = [&] { return std::any_of(diags.begin(), diags.end(), [](const Diagnostic& d) { return d.error; }); };
  Simulation simulation(deck, FolderOf(deckPath), DeckBase(deckPath), diags);
  RunSummary summary;
  bool ran = false, ok = false;
  if (!hasError() && simulation.build()) {
    ListingContent started{deckPath, &deck.lines, &diags};
    started.running = true;
    WriteListing(listingPath, ListingText(started), err);
    ran = true;
    ok = simulation.run(summary) && !hasError();
  }
  ListingContent c{deckPath, &deck.lines, &diags, &simulation, &summary, ran, ok};
  bool listed = WriteListing(listingPath, ListingText(c), err);
  ReportOnStandardError(deckPath, diags, err);
  if (summary.unconvergedSteps > 0)
    err << deckPath << ": warning: " << summary.unconvergedSteps << (summary.unconvergedSteps == 1 ? " step" : " steps")
        << " did not converge (first at " << Number(summary.firstUnconverged) << " h)\n";
  if (ran) out << summary.steps << " steps, " << summary.iterations << " iterations, " << Seconds(summary.seconds) << '\n';
  out << "listing " << listingPath << '\n';
  for (const auto& f : summary.files) out << "results " << f << '\n';
  if (!ok) return 1;
  return listed ? 0 : 1;
}

}  // namespace talpix
