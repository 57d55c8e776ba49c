// Parametric tables at their limits: a table of 9,999 runs by 50 variables opened (read and first
// paint), scrolled and saved; the run decks of 1,000 runs of a 2,000-line deck written; and 8 runs
// of an engine that takes a second each, two at a time. Inputs are generated in a temporary folder.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include "TestSupport.h"
#include "support/ScriptedInteraction.h"
#include "tables/TableFile.h"
#include "tables/TableForm.h"
#include "tables/TableRunDecks.h"
#include "tables/TableRunner.h"

namespace {

constexpr int Runs = 9999;
constexpr int Variables = 50;

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "talbench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!QCoreApplication::instance()) new QApplication(argc, argv);  // kept for the whole run
}

struct Workspace {
  taltest::TempDir dir;
  std::string deck, table;
  Workspace() {
    std::string text = "CONSTANTS " + std::to_string(Variables) + "\n";
    std::vector<std::string> names;
    for (int v = 0; v < Variables; ++v) {
      names.push_back("VARIABLE_" + std::to_string(v) + " ");
      text += names.back() + "= 1\n";
    }
    deck = dir.write("BIG.DCK", text);
    tal::TableModel model(Runs, names);
    model.deckFileName = deck;
    for (int c = 1; c <= Variables; ++c)
      for (int r = 1; r <= Runs; ++r) model.setValue(c, r, r * 0.5L + c);
    table = dir.file("BIG.TBL");
    tal::SaveTable(model, table);
  }
};

Workspace& Shared() {
  static Workspace workspace;
  return workspace;
}

std::unique_ptr<tal::TTableForm> OpenShown() {
  auto form = std::make_unique<tal::TTableForm>(nullptr);
  if (!form->ReadTable(Shared().table)) return nullptr;
  form->resize(900, 600);
  form->show();
  QApplication::processEvents();  // the first paint
  return form;
}

void BM_OpenTable(benchmark::State& state) {
  EnsureApplication();
  tal::ScriptedInteraction ui;
  for (auto _ : state) {
    auto form = OpenShown();
    if (!form) {
      state.SkipWithError("table did not read");
      break;
    }
    state.PauseTiming();
    form.reset();
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenTable)->Unit(benchmark::kMillisecond)->Iterations(5);

// One page down and its repaint, through the whole table and back to the top.
void BM_ScrollTablePage(benchmark::State& state) {
  EnsureApplication();
  tal::ScriptedInteraction ui;
  auto form = OpenShown();
  if (!form) return state.SkipWithError("table did not read");
  QScrollBar* bar = form->grid()->verticalScrollBar();
  for (auto _ : state) {
    int next = bar->value() + bar->pageStep();
    bar->setValue(next > bar->maximum() ? 0 : next);
    form->grid()->viewport()->repaint();
  }
}
BENCHMARK(BM_ScrollTablePage)->Unit(benchmark::kMillisecond);

void BM_SaveTable(benchmark::State& state) {
  tal::TableReadResult read = tal::ReadTableFile(Shared().table);
  if (!read.ok) return state.SkipWithError("table did not read");
  std::string copy = Shared().dir.file("COPY.TBL");
  for (auto _ : state) benchmark::DoNotOptimize(tal::SaveTable(read.table, copy));
}
BENCHMARK(BM_SaveTable)->Unit(benchmark::kMillisecond);

void BM_WriteRunDecks(benchmark::State& state) {
  taltest::TempDir dir;
  std::string text = "CONSTANTS 5\nA = 1\nB = 2\nC = 3\nD = 4\nE = 5\nASSIGN RUN.OUT 12\n";
  for (int line = 7; line < 2000; ++line) text += "UNIT " + std::to_string(line) + " TYPE 15 SOME COMPONENT AND ITS PARAMETERS\n";
  tal::TableModel table(1000, {"A ", "B ", "C ", "D ", "E "});
  table.deckFileName = dir.write("RUN.DCK", text);
  for (int c = 1; c <= 5; ++c)
    for (int r = 1; r <= 1000; ++r) table.setValue(c, r, r + c);
  tal::ScriptedInteraction ui;
  for (auto _ : state) {
    if (tal::WriteTableDeck(table)) return state.SkipWithError("run decks not written");
    state.PauseTiming();
    tal::DeleteRunDecks(table);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_WriteRunDecks)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_EightOneSecondRunsTwoAtATime(benchmark::State& state) {
  EnsureApplication();
  taltest::TempDir dir;
  std::string engine = dir.writeScript("TALPIX32", "sleep 1\n");
  std::vector<std::string> decks;
  for (int r = 1; r <= 8; ++r) decks.push_back(dir.write("R" + std::to_string(r) + ".TMP", "deck\n"));
  tal::TableRunSettings settings;
  settings.engine = engine;
  settings.jobs = 2;
  for (auto _ : state) benchmark::DoNotOptimize(tal::RunTableDecks(decks, settings));
}
BENCHMARK(BM_EightOneSecondRunsTwoAtATime)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
